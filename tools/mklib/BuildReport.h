#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace qelvane::mklib {

// What the builder mended, merged or left out of the data sets, rule by rule: how often
// each rule applied and the first few cases, so a reader of the report can check them.
class BuildReport {
public:
    static constexpr int Examples = 3;

    void count(const QString& rule, const QString& example = {});
    int countOf(const QString& rule) const;
    bool isEmpty() const { return m_rules.isEmpty(); }
    // One line a rule in the order the rules first applied: "  rule：N 处，例：a；b；c".
    QStringList lines() const;

private:
    struct Rule {
        QString name;
        int count = 0;
        QStringList examples;
    };
    QList<Rule> m_rules;
};

} // namespace qelvane::mklib

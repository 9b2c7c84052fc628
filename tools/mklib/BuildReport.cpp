#include "BuildReport.h"

#include <algorithm>

namespace qelvane::mklib {

void BuildReport::count(const QString& rule, const QString& example)
{
    auto found = std::find_if(m_rules.begin(), m_rules.end(), [&](const Rule& r) { return r.name == rule; });
    if (found == m_rules.end()) {
        m_rules.append({rule, 0, {}});
        found = m_rules.end() - 1;
    }
    ++found->count;
    if (!example.isEmpty() && found->examples.size() < Examples && !found->examples.contains(example))
        found->examples << example;
}

int BuildReport::countOf(const QString& rule) const
{
    for (const Rule& r : m_rules)
        if (r.name == rule)
            return r.count;
    return 0;
}

QStringList BuildReport::lines() const
{
    QStringList lines;
    for (const Rule& r : m_rules) {
        QString line = QStringLiteral("  %1：%2 处").arg(r.name).arg(r.count);
        if (!r.examples.isEmpty())
            line += QStringLiteral("，例：") + r.examples.join(QStringLiteral("；"));
        lines << line;
    }
    return lines;
}

} // namespace qelvane::mklib

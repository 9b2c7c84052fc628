#pragma once

#include <QTreeWidgetItem>

namespace qelvane {

// An entry of a poem list. Titles sort as a Chinese reader orders them (by pinyin),
// not by character code.
class PoemEntry : public QTreeWidgetItem {
public:
    PoemEntry(const QString& key, const QString& title);
    bool operator<(const QTreeWidgetItem& other) const override;
};

} // namespace qelvane

#include "PoemEntry.h"

#include "Icons.h"
#include "NodeData.h"

#include <QCollator>

namespace qelvane {

PoemEntry::PoemEntry(const QString& key, const QString& title)
{
    setText(0, title);
    setData(0, KeyRole, key);
    setIcon(0, treeImage(QStringLiteral("Poem")));
}

bool PoemEntry::operator<(const QTreeWidgetItem& other) const
{
    static const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return collator.compare(text(column), other.text(column)) < 0;
}

} // namespace qelvane

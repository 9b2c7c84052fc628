#include "PoemEntry.h"

#include "Icons.h"
#include "NodeData.h"
#include "Text.h"


namespace qelvane {

PoemEntry::PoemEntry(const QString& key, const QString& title)
{
    setText(0, title);
    setData(0, KeyRole, key);
    setIcon(0, treeImage(QStringLiteral("Poem")));
}

bool PoemEntry::operator<(const QTreeWidgetItem& other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return text::chineseLess(text(column), other.text(column));
}

} // namespace qelvane

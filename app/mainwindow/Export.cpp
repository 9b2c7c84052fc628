// The poem chosen in the list, as the window shows it, into a word-processor document.
#include "frmMain.h"

#include "platform/MessageBox.h"
#include "platform/PoemExport.h"
#include "store/Recordset.h"
#include "store/Statements.h"
#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"

#include <QPlainTextEdit>
#include <QTreeWidget>

namespace qelvane {

void frmMain::ExportPoem()
{
    QTreeWidgetItem* entry = chosenEntry();
    if (!entry) {
        msg::notice(this, QStringLiteral("请选择一首诗词再输出!"));
        return;
    }
    const LibrarySide side = keys::sideOfMarker(CurrentPoemSource);
    const QString id = keys::idOf(side, entry->data(0, KeyRole).toString());
    QString author = QStringLiteral("不详");
    {
        Recordset rs(m_db, forSide(side, sql::ChinaPoemAuthor, sql::ForeignPoemAuthor), {id});
        if (!rs.Eof())
            author = rs.Text(QStringLiteral("Author"));
    }
    ExportToWord(m_services, this,
                 {entry->text(0), txtPoemDetail->toPlainText(), author, txtAuthorDetail->toPlainText(),
                  txtPoemNote->toPlainText()});
}

} // namespace qelvane

// The poem chosen in the list, as the window shows it, into a word-processor document.
#include "frmMain.h"

#include "platform/MessageBox.h"
#include "platform/PoemExport.h"
#include "store/Library.h"
#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"

#include <QTreeWidget>

namespace qelvane {

void frmMain::ExportPoem()
{
    const std::optional<ChosenPoem> poem = selectedPoem();
    if (!poem) {
        msg::notice(this, QStringLiteral("请选择一首诗词再输出!"));
        return;
    }
    const QString author = library::authorNameOfPoem(m_db, poem->side, poem->id).value_or(QStringLiteral("不详"));
    ExportToWord(m_services, this,
                 {poem->entry->text(0), m_reading->poem(), author, m_reading->biography(), m_reading->notes()});
}

} // namespace qelvane

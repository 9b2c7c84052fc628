// The poem shown, as the reader sees it, into a word-processor document.
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
    // The poem the reader shows, as he sees it.
    const std::optional<PoemReader::Poem>& poem = m_reader->poem();
    if (!poem || !selectedPoem()) {
        msg::notice(this, QStringLiteral("请选择一首诗词再输出!"));
        return;
    }
    // The author as the library holds him now (a poem deleted meanwhile has none).
    const QString author = library::authorNameOfPoem(m_db, poem->side, poem->id).value_or(QStringLiteral("不详"));
    ExportToWord(m_services, this,
                 {poem->shown.title, poem->shown.content, author, m_reading->biography(), poem->shown.notes});
}

} // namespace qelvane

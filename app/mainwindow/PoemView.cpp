// The poem list, the poem shown from it, and a poem handed over by the search dialog.
#include "frmMain.h"

#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"
#include "ui/Text.h"
#include "platform/MessageBox.h"
#include "StatusBar.h"
#include "store/Library.h"

#include <QTreeWidget>
#include <stdexcept>

namespace qelvane {

std::optional<ChosenPoem> frmMain::selectedPoem() const
{
    return m_poems->selected();
}

LibrarySide frmMain::listedSide() const
{
    return m_poems->side();
}

bool frmMain::listSorted() const
{
    return m_poems->sorted();
}

Qt::SortOrder frmMain::listSortOrder() const
{
    return m_poems->sortOrder();
}

void frmMain::lvwPoem_ColumnClick(int column)
{
    m_poems->sortByColumn(column);
}

void frmMain::lvwPoem_ItemClick(QTreeWidgetItem* entry)
{
    if (!entry) {
        m_reader->clear();
        return;
    }
    const ChosenPoem clicked = m_poems->poemOf(entry);
    m_reader->show(clicked.side, clicked.id);
}

void frmMain::mQueryForm_ShowQueryResult(QString& PoemID, QString& PoemName, LibrarySide PoemType)
{
    // A library another program holds locked is told to the reader once, and nothing
    // more is read for this result.
    bool read = false;
    unlessRefused([&] {
        lvwPoem_ItemClick(m_poems->showOnly(PoemID, PoemName, PoemType));
        read = true;
    });
    if (!read)
        return;

    // From here on a failing step is reported and the next one still runs, so the
    // poem is shown even when its author cannot be found.
    auto step = [this](auto&& work) {
        try {
            work();
        } catch (const std::exception& failure) {
            msg::notice(this, QString::fromUtf8(failure.what()));
        }
    };
    const LibrarySide side = PoemType;
    QString authorId = QStringLiteral("不详");
    step([&] {
        authorId = library::authorIdOfPoem(m_db, side, keys::idOf(side, PoemID)).value_or(authorId);
    });
    step([&] {
        // A foreign result never selects a Chinese author, whatever its key.
        const QString key = keys::keyOf(side, text::trimSpaces(authorId));
        QTreeWidgetItem* node = nodeByKey(side, key);
        if (!node)
            throw std::runtime_error(
                QStringLiteral("树状视图中找不到作者节点“%1”。").arg(key).toStdString());
        m_tree->setCurrentQuietly(node);
    });
    step([&] {
        m_reading->showBiography(library::biography(m_db, side, authorId));
    });
    showPosition(QStringLiteral("当前状态：查找诗词结果"));
}

} // namespace qelvane

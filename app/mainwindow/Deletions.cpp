// Deleting an author, an epoch or country, or a poem for good, and taking it off the
// screen. Each deletion is one change: a failure leaves the library and the screen
// as they were.
#include "frmMain.h"

#include "NodeKind.h"
#include "platform/MessageBox.h"
#include "store/Changes.h"
#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"

#include <QTreeWidget>

namespace qelvane {

namespace {
const QString CrLf = QStringLiteral("\r\n");

// Runs a deletion; false (after saying why) when it failed and nothing was deleted.
template <typename Deletion>
bool deleted(QWidget* parent, Deletion deletion)
{
    try {
        deletion();
        return true;
    } catch (const StoreError& failure) {
        msg::notice(parent, QStringLiteral("删除失败，诗词库没有改变：%1").arg(failure.description()));
        return false;
    }
}
} // namespace

// What was deleted leaves every pane; the node the tree now has current is shown
// with its own list, biography and counts.
void frmMain::showCurrentAfterDeletion()
{
    tvwPoem_NodeClick(m_tree->current());
}

void frmMain::DeleteAuthor()
{
    QTreeWidgetItem* node = m_tree->current();
    if (!node) {
        msg::plain(this, QStringLiteral("请选择一位作者!"));
        return;
    }
    const NodeIdentity identity = identityOf(node);
    if (!identity.isAuthor()) {
        msg::show(this, {QStringLiteral("请选择一位作者!"), msg::ApplicationTitle, msg::Icon::Information,
                         msg::Buttons::Ok, msg::Answer::Ok});
        return;
    }
    if (msg::warning(this, QStringLiteral("确实要删除作者") + node->text(0) + QStringLiteral("吗？") + CrLf +
                               QStringLiteral("这将导致该作者的全部诗词作品被删除并且无法恢复!")) == msg::Answer::No)
        return;
    const LibrarySide side = identity.side;
    const QString id = keys::idOf(side, keyOf(node));
    if (!deleted(this, [&] { changes::deleteAuthor(m_db, side, id); }))
        return;
    removeNode(node);
    showCurrentAfterDeletion();
}

void frmMain::DeleteEpoch()
{
    QTreeWidgetItem* node = m_tree->current();
    if (!node) {
        msg::plain(this, QStringLiteral("请选择一个年代或国家!"));
        return;
    }
    const NodeIdentity identity = identityOf(node);
    const QString place = node->text(0);
    if (!identity.isPlace()) {
        msg::notice(this, QStringLiteral("请选择一个年代或国家！"));
        return;
    }
    // A country is asked about in the epoch's words: it goes with every author and poem.
    // Its box defaults to No, so a stray Enter deletes nothing.
    const bool epoch = identity.side == LibrarySide::China;
    const QString kind = epoch ? QStringLiteral("年代") : QStringLiteral("国家");
    const QString question = QStringLiteral("如果删除") + kind + place + QStringLiteral(",则该") + kind +
                             QStringLiteral("的全部作者、作品都会被删除。") + CrLf + QStringLiteral("确实要删除吗？");
    const msg::Answer answer = epoch ? msg::warning(this, question)
                                     : msg::show(this, {question, QStringLiteral("警告"), msg::Icon::Critical,
                                                        msg::Buttons::YesNo, msg::Answer::No});
    if (answer != msg::Answer::Yes)
        return;
    if (!deleted(this, [&] { changes::deletePlace(m_db, identity.side, place); }))
        return;
    removeNode(node);
    showCurrentAfterDeletion();
}

void frmMain::DeletePoem()
{
    const std::optional<ChosenPoem> poem = selectedPoem();
    if (!poem) {
        msg::notice(this, QStringLiteral("请选择一首诗词"));
        return;
    }
    if (msg::warning(this, QStringLiteral("确实要删除当前诗词") + poem->entry->text(0) + QStringLiteral("吗？")) ==
        msg::Answer::No)
        return;
    if (!deleted(this, [&] { changes::deletePoem(m_db, poem->side, poem->id); }))
        return;
    // The deleted poem's text leaves the panes, and the count follows. No other entry
    // is chosen in its place: what a command acts on is what the panes show.
    m_poems->remove(poem->entry);
    m_reading->clearPoem();
    showNodeSummary(m_tree->current());
}

} // namespace qelvane

// Deleting an author, an epoch or country, or a poem for good, and taking it off the
// screen. Each deletion is one change: a failure leaves the library and the screen
// as they were.
#include "frmMain.h"

#include "NodeKind.h"
#include "platform/MessageBox.h"
#include "ui/Refusal.h"
#include "store/Changes.h"
#include "store/DbConnection.h"
#include "store/Library.h"
#include "ui/LibraryKeys.h"
#include "ui/LongChange.h"
#include "ui/NodeData.h"
#include "ui/Text.h"

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
        msg::notice(parent, refusalText(failure, QStringLiteral("删除失败，诗词库没有改变：%1")));
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
    const LibrarySide side = identity.side;
    const QString key = keyOf(node);
    const QString id = keys::idOf(side, key);
    // The count is the library's, in either view: the favourites view deletes the
    // author's every poem too.
    const int poems = library::poemCountOfAuthor(m_db, side, id);
    if (msg::warning(this, QStringLiteral("确实要删除作者") + node->text(0) + QStringLiteral("吗？") + CrLf +
                               QStringLiteral("这将导致该作者的全部诗词作品（共 %1 首诗词）被删除并且无法恢复!")
                                   .arg(poems)) != msg::Answer::Yes)
        return;
    const QString label = QStringLiteral("正在删除作者%1及其 %2 首诗词……").arg(node->text(0)).arg(poems);
    if (!deleted(this, [&] {
            longchange::run(this, m_db, label, [&](DbConnection& db, const changes::Progress& progress) {
                changes::deleteAuthor(db, side, id, progress);
            });
        }))
        return;
    // The window went on while the change ran: its node is looked up again.
    removeNode(nodeByKey(side, key));
    showCurrentAfterDeletion();
    compactFindIndexWhenIdle();
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
    const bool epoch = identity.side == LibrarySide::China;
    const QString kind = epoch ? QStringLiteral("年代") : QStringLiteral("国家");
    const int poems = library::poemCountOfPlace(m_db, identity.side, place);
    const QString question = QStringLiteral("如果删除") + kind + place + QStringLiteral(",则该") + kind +
                             QStringLiteral("的全部作者、作品（共 %1 位作者、%2 首诗词）都会被删除。")
                                 .arg(m_tree->authorCount(node))
                                 .arg(poems) +
                             CrLf + QStringLiteral("确实要删除吗？");
    if (msg::warning(this, question) != msg::Answer::Yes)
        return;
    const QString label = QStringLiteral("正在删除%1%2的 %3 位作者和 %4 首诗词……")
                              .arg(kind, place)
                              .arg(m_tree->authorCount(node))
                              .arg(poems);
    if (!deleted(this, [&] {
            longchange::run(this, m_db, label, [&](DbConnection& db, const changes::Progress& progress) {
                changes::deletePlace(db, identity.side, place, progress);
            });
        }))
        return;
    removeNode(m_tree->placeNode(identity.side, place));
    showCurrentAfterDeletion();
    compactFindIndexWhenIdle();
}

void frmMain::DeletePoem()
{
    const std::optional<ChosenPoem> poem = selectedPoem();
    if (!poem) {
        msg::notice(this, QStringLiteral("请选择一首诗词"));
        return;
    }
    const QString title = poem->entry->text(0);
    const std::optional<QString> authorId = library::authorIdOfPoem(m_db, poem->side, poem->id);
    if (FavoritesMode) {
        // In the favourites view the reader may mean the favourites only: that is
        // offered first, and the library's deletion is named as what it is.
        const msg::Answer answer = msg::show(
            this, {QStringLiteral("要把“%1”从收藏夹中移除，还是从诗词库中删除？").arg(title) + CrLf +
                       QStringLiteral("从收藏夹中移除：这首诗词仍留在诗词库中。") + CrLf +
                       QStringLiteral("从诗词库中删除：这首诗词将被永久删除，无法恢复!"),
                   QStringLiteral("警告"), msg::Icon::Critical, msg::Buttons::YesNoCancel, msg::Answer::Yes,
                   {QStringLiteral("从收藏夹中移除"), QStringLiteral("从诗词库中删除"), QStringLiteral("取消")}});
        if (answer == msg::Answer::Cancel)
            return;
        if (answer == msg::Answer::Yes) {
            if (deleted(this, [&] { changes::unmarkFavorite(m_db, poem->side, poem->id); }))
                poemLeftView(*poem, authorId);
            return;
        }
    } else if (msg::warning(this, QStringLiteral("确实要删除当前诗词") + title + QStringLiteral("吗？")) !=
               msg::Answer::Yes) {
        return;
    }
    if (deleted(this, [&] { changes::deletePoem(m_db, poem->side, poem->id); })) {
        poemLeftView(*poem, authorId);
        compactFindIndexWhenIdle();
    }
}

// The poem deleted or taken out of the favourites leaves the list and the panes; no
// other entry is chosen in its place (what a command acts on is what the panes show).
// Panel 1 tells how many poems the view still holds of its author; in the favourites
// view an author left with none leaves the tree.
void frmMain::poemLeftView(const ChosenPoem& poem, const std::optional<QString>& authorId)
{
    m_poems->remove(poem.entry);
    m_reader->clear();
    if (!authorId)
        return;
    const int left = library::poemCountOfAuthor(m_db, poem.side, *authorId, FavoritesMode);
    QTreeWidgetItem* node = nodeByKey(poem.side, keys::keyOf(poem.side, text::trimSpaces(*authorId)));
    if (FavoritesMode && left == 0 && node) {
        removeNode(node);
        showCurrentAfterDeletion();
        return;
    }
    const QString name = node ? node->text(0) : library::authorName(m_db, poem.side, *authorId).value_or(QString());
    showAuthorSummary(poem.side, name, left);
}

} // namespace qelvane

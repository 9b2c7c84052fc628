// Opening the author and poem editors for the current selection, and what the window
// shows after them.
#include "frmMain.h"

#include "NodeKind.h"
#include "dialogs/frmAuthor.h"
#include "dialogs/frmPoem.h"
#include "platform/MessageBox.h"
#include "store/Changes.h"
#include "store/Library.h"
#include "ui/FocusReturn.h"
#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"

#include <QTreeWidget>

namespace qelvane {

namespace {
const QString NoAdding = QStringLiteral("您不能在收藏夹中增加诗词!");
const QString ChooseAnAuthor = QStringLiteral("请选择一位作者!");

// The poem editor's properties, in the order its setters need them.
void preparePoemEditor(frmPoem& editor, bool addNew, LibrarySide side, const QString& authorId,
                       const QString& placeId)
{
    editor.setAddNew(addNew);
    editor.setCountryType(side);
    editor.setPoetID(authorId);
    editor.setEpochID(placeId);
}
} // namespace

void frmMain::askToReloadTree()
{
    if (msg::question(this, QStringLiteral("现在更新作者列表吗？"), QStringLiteral("提示")) == msg::Answer::Yes)
        reloadTreeKeepingPlace();
}

void frmMain::AddNewAuthor()
{
    const FocusReturn focus(this);
    frmAuthor editor(m_services, this);
    editor.setAddNew(true);
    editor.exec();
    if (!FavoritesMode)
        askToReloadTree();
}

void frmMain::EditAuthor()
{
    if (FavoritesMode) {
        msg::notice(this, QStringLiteral("您不能在收藏夹中更改作者资料!"));
        return;
    }
    QTreeWidgetItem* node = m_tree->current();
    if (!node)
        return;
    const NodeIdentity identity = identityOf(node);
    if (!identity.isAuthor()) {
        msg::notice(this, ChooseAnAuthor);
        return;
    }
    const LibrarySide side = identity.side;
    const FocusReturn focus(this);
    frmAuthor editor(m_services, this);
    editor.setCountryType(side);
    editor.setPoetID(keys::idOf(side, keyOf(node)));
    editor.setAddNew(false);
    editor.showAuthor(node->text(0), m_reading->biography(), node->parent() ? node->parent()->text(0) : QString());
    editor.exec();
    compactFindIndexWhenIdle();
    askToReloadTree();
}

// The author the tree has selected, for the poem editor: side, ID and the ID of the
// epoch or country. Nothing when the selection is no author (after saying so).
std::optional<frmMain::SelectedAuthor> frmMain::selectedAuthorForPoems()
{
    if (FavoritesMode) {
        msg::notice(this, NoAdding);
        return std::nullopt;
    }
    QTreeWidgetItem* node = m_tree->current();
    if (!node)
        return std::nullopt;
    const NodeIdentity identity = identityOf(node);
    if (!identity.isAuthor()) {
        msg::notice(this, ChooseAnAuthor);
        return std::nullopt;
    }
    SelectedAuthor author;
    author.side = identity.side;
    author.id = keys::idOf(author.side, keyOf(node));
    // A foreign author's country is the one its own row names.
    author.placeId = library::placeIdOfAuthor(m_db, author.side, author.id).value_or(QString());
    return author;
}

void frmMain::AddNewPoem()
{
    const std::optional<SelectedAuthor> author = selectedAuthorForPoems();
    if (!author)
        return;
    const FocusReturn focus(this);
    frmPoem editor(m_services, this);
    try {
        preparePoemEditor(editor, true, author->side, author->id, author->placeId);
    } catch (const changes::NumberingUnavailable& failure) {
        // Only adding needs the counter: reading and every other command go on.
        msg::notice(this, failure.description());
        return;
    }
    if (editor.exec() != QDialog::Accepted)
        return;
    // The author's list shows the new poem at once.
    if (keyOf(m_tree->current()) == keys::keyOf(author->side, author->id) && m_poems->side() == author->side) {
        m_poems->add(keys::keyOf(author->side, editor.PoemID()), editor.title());
        showNodeSummary(m_tree->current());
    }
}

void frmMain::EditPoem()
{
    const std::optional<ChosenPoem> poem = selectedPoem();
    if (!poem) {
        msg::notice(this, QStringLiteral("请选择一首诗!"));
        return;
    }
    ShowPoemEditor(poem->id);
}

void frmMain::ShowPoemEditor(const QString& PoemID)
{
    const std::optional<SelectedAuthor> author = selectedAuthorForPoems();
    if (!author)
        return;
    const FocusReturn focus(this);
    frmPoem editor(m_services, this);
    preparePoemEditor(editor, false, author->side, author->id, author->placeId);
    editor.setPoemID(PoemID);
    if (editor.exec() != QDialog::Accepted)
        return;
    compactFindIndexWhenIdle();
    // The entry and the poem view show what was saved.
    if (const std::optional<ChosenPoem> poem = selectedPoem(); poem && poem->id == PoemID) {
        poem->entry->setText(0, editor.title());
        lvwPoem_ItemClick(poem->entry);
    }
}

} // namespace qelvane

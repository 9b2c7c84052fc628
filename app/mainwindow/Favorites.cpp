// Marking the poem chosen in the list as a favourite.
#include "frmMain.h"

#include "platform/MessageBox.h"
#include "ui/Refusal.h"
#include "store/Changes.h"
#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"
#include "ui/Text.h"

#include <QTreeWidget>

namespace qelvane {

void frmMain::AddToFavorites()
{
    if (FavoritesMode) {
        msg::notice(this, QStringLiteral("您现在处于收藏夹中，请切换到全部诗词再添加!"));
        return;
    }
    const std::optional<ChosenPoem> poem = selectedPoem();
    if (!poem) {
        msg::notice(this, QStringLiteral("当前诗词为空，请选择一首诗词再添加!"));
        return;
    }
    bool marked = false;
    try {
        marked = changes::markFavorite(m_db, poem->side, poem->id);
    } catch (const StoreError& failure) {
        // Nothing was written; the connection goes on. The reason follows the message.
        msg::notice(this, refusalText(failure, QStringLiteral("添加到收藏夹时出现错误!\n%1")));
        return;
    }
    if (!marked) {
        msg::notice(this, QStringLiteral("当前诗词已经在收藏夹中了！"));
        return;
    }
    msg::notice(this, QStringLiteral("当前诗词：") + text::trimSpaces(poem->entry->text(0)) +
                          QStringLiteral(" 已经被加入到您的收藏夹中"));
}

} // namespace qelvane

// The find box: where it sits, its shortcuts, opening what it found, building the index
// of a library that has none, and sweeping the tombstones of deleted poems out of it.
#include "frmMain.h"

#include "BarMain.h"
#include "FindBox.h"
#include "platform/MessageBox.h"
#include "store/DbConnection.h"
#include "store/FindIndex.h"
#include "store/FindIndexUpkeep.h"
#include "ui/LibraryKeys.h"
#include "ui/Text.h"

#include <QLineEdit>
#include <QPointer>
#include <QShortcut>
#include <QTimer>

namespace qelvane {

void frmMain::buildFindBox()
{
    m_find = new FindBox(barMain->menuBar(), this, m_db);
    connect(m_find, &FindBox::poemChosen, this, &frmMain::openFoundPoem);
    connect(m_find, &FindBox::authorChosen, this, &frmMain::openFoundAuthor);
    connect(m_find, &FindBox::left, this, [this] { m_tree->widget()->setFocus(Qt::ShortcutFocusReason); });
    connect(m_find, &FindBox::indexWanted, this, &frmMain::offerFindIndex);
    // "/" reaches the box from anywhere in the window but a text field, which types it.
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::Key_Slash)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, m_find, &FindBox::focus);
    }
}

void frmMain::openFoundPoem(LibrarySide side, const QString& poemId)
{
    openFound(side, poemId, true);
}

void frmMain::openFoundAuthor(LibrarySide side, const QString& poemId)
{
    openFound(side, poemId, false);
}

// The author of a found poem shown as a click on his node shows him, and the poem too
// when asked, as a click on it would (in the all-poems view when the favourites do not
// hold it).
void frmMain::openFound(LibrarySide side, const QString& poemId, bool withPoem)
{
    unlessRefused([&] {
        const std::optional<QString> authorId = library::authorIdOfPoem(m_db, side, poemId);
        if (!authorId) {
            msg::notice(this, QStringLiteral("诗词库中已没有这首诗词。"));
            return;
        }
        const QString authorKey = keys::keyOf(side, text::trimSpaces(*authorId));
        const QString poemKey = keys::keyOf(side, poemId);
        for (bool again : {false, true}) {
            QTreeWidgetItem* node = nodeByKey(side, authorKey);
            if (node) {
                m_tree->setCurrentQuietly(node);
                tvwPoem_NodeClick(node);
                if (!withPoem) {
                    m_tree->widget()->setFocus(Qt::OtherFocusReason);
                    return;
                }
                if (QTreeWidgetItem* entry = m_poems->choose(poemKey)) {
                    lvwPoem_ItemClick(entry);
                    m_poems->widget()->setFocus(Qt::OtherFocusReason);
                    return;
                }
            }
            if (again || !FavoritesMode)
                break;
            switchView(false);
        }
        msg::notice(this, QStringLiteral("树状视图中找不到作者节点“%1”。").arg(authorKey));
    });
}

void frmMain::offerFindIndex()
{
    if (m_indexOffered || (m_indexWorker && m_indexWorker->job() == FindIndexWorker::Job::Build))
        return;
    m_indexOffered = true;
    if (msg::question(this,
                      QStringLiteral("这个诗词库还没有查找索引，查找框要用它来查找诗句。\n"
                                     "现在就在后台建立吗？建立期间可以照常阅读和修改。"),
                      QStringLiteral("查找索引")) != msg::Answer::Yes)
        return;
    m_indexWorker.reset();
    m_find->setState(FindBox::State::Building, 0);
    QPointer<frmMain> window(this);
    FindIndexWorker::Callbacks callbacks;
    callbacks.progress = [window](int done, int total) {
        const int percent = total > 0 ? done * 100 / total : 0;
        QMetaObject::invokeMethod(window, [window, percent] {
            if (window && window->m_indexWorker)
                window->m_find->setState(FindBox::State::Building, percent);
        }, Qt::QueuedConnection);
    };
    callbacks.finished = [window](const QString& failure) {
        QMetaObject::invokeMethod(window, [window, failure] {
            if (window)
                window->findIndexBuilt(failure);
        }, Qt::QueuedConnection);
    };
    m_indexWorker = std::make_unique<FindIndexWorker>(m_db.path(), FindIndexWorker::Job::Build, callbacks);
}

void frmMain::findIndexBuilt(const QString& failure)
{
    m_indexWorker.reset();
    if (failure.isEmpty()) {
        m_find->setState(FindBox::State::Ready);
        showStatus(QStringLiteral("查找索引已建立"));
        return;
    }
    m_find->setState(FindBox::State::Missing);
    m_indexOffered = false;
    msg::notice(this, QStringLiteral("查找索引没有建成：%1").arg(failure));
}

namespace {
// Fewer tombstones cost the finder nothing worth a pass over the whole index.
constexpr int TombstonesWorthCompacting = 500;
// How long the reader pauses before the compaction starts.
constexpr int IdleMs = 3000;
} // namespace

void frmMain::compactFindIndexWhenIdle()
{
    if (m_db.isReadOnly() || !m_db.isOpen())
        return;
    int tombstones = 0;
    try {
        tombstones = findindex::tombstones(m_db.sqliteHandle());
    } catch (const StoreError&) {
        return;
    }
    if (tombstones < TombstonesWorthCompacting)
        return;
    if (!m_compactionTimer) {
        m_compactionTimer = new QTimer(this);
        m_compactionTimer->setSingleShot(true);
        connect(m_compactionTimer, &QTimer::timeout, this, &frmMain::compactFindIndex);
    }
    m_compactionTimer->start(IdleMs);
}

void frmMain::compactFindIndex()
{
    if (m_indexWorker || m_unloaded)
        return;
    QPointer<frmMain> window(this);
    FindIndexWorker::Callbacks callbacks;
    callbacks.progress = [window](int done, int total) {
        const int percent = total > 0 ? done * 100 / total : 0;
        QMetaObject::invokeMethod(window, [window, percent] {
            if (window && window->m_indexWorker)
                window->showStatus(QStringLiteral("正在整理查找索引……%1%").arg(percent));
        }, Qt::QueuedConnection);
    };
    callbacks.finished = [window](const QString& failure) {
        QMetaObject::invokeMethod(window, [window, failure] {
            if (window)
                window->findIndexCompacted(failure);
        }, Qt::QueuedConnection);
    };
    m_indexWorker = std::make_unique<FindIndexWorker>(m_db.path(), FindIndexWorker::Job::Compact, callbacks);
}

// A compaction that did not finish leaves the index answering as before; the next
// change that leaves tombstones tries again.
void frmMain::findIndexCompacted(const QString& failure)
{
    m_indexWorker.reset();
    showStatus(failure.isEmpty() ? QStringLiteral("查找索引已整理")
                                 : QStringLiteral("查找索引没有整理完：%1").arg(failure));
}

} // namespace qelvane

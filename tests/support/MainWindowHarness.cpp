#include "MainWindowHarness.h"

#include "dialogs/frmOptions.h"
#include "dialogs/frmQueryPoem.h"
#include "mainwindow/BarMain.h"
#include "mainwindow/SplitterHandle.h"
#include "mainwindow/StatusBar.h"
#include "mainwindow/frmMain.h"
#include "store/DbConnection.h"

#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTreeWidget>
#include <QtTest>

namespace qelvane::test {

MainWindowHarness::MainWindowHarness(bool load)
{
    form = std::make_unique<frmMain>(services(), std::make_unique<RecordingMusicBackend>(&musicLog));
    if (load)
        form->Load();
}

MainWindowHarness::~MainWindowHarness()
{
    form.reset();
}

namespace {
template <typename T>
T* named(const QWidget* form, const char* name)
{
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        QTest::qFail(qPrintable(QStringLiteral("no %1 in the main window").arg(QLatin1String(name))), __FILE__,
                     __LINE__);
    return found;
}
} // namespace

QTreeWidget* tvwPoem(const QWidget* form)
{
    return named<QTreeWidget>(form, "tvwPoem");
}

QTreeWidget* lvwPoem(const QWidget* form)
{
    return named<QTreeWidget>(form, "lvwPoem");
}

QTextEdit* txtPoemDetail(const QWidget* form)
{
    return named<QTextEdit>(form, "txtPoemDetail");
}

QPlainTextEdit* txtPoemNote(const QWidget* form)
{
    return named<QPlainTextEdit>(form, "txtPoemNote");
}

QPlainTextEdit* txtAuthorDetail(const QWidget* form)
{
    return named<QPlainTextEdit>(form, "txtAuthorDetail");
}

StatusBar* sbStatusBar(const QWidget* form)
{
    return named<StatusBar>(form, "sbStatusBar");
}

SplitterHandle* imgSplitter(const QWidget* form)
{
    return named<SplitterHandle>(form, "imgSplitter");
}

QWidget* part(const QWidget* form, const char* name)
{
    return named<QWidget>(form, name);
}

BarMain* barMain(const QWidget* form)
{
    return form->findChild<BarMain*>();
}

frmQueryPoem* queryDialog(const QWidget* form)
{
    return form->findChild<frmQueryPoem*>();
}

frmOptions* optionsDialog(const QWidget* form)
{
    return form->findChild<frmOptions*>();
}

QTreeWidgetItem* chooseNode(frmMain* form, const QStringList& path)
{
    QTreeWidget* tree = tvwPoem(form);
    QTreeWidgetItem* node = nodeAt(tree, path);
    if (!node) {
        QTest::qFail(qPrintable(QStringLiteral("no node %1").arg(path.join(QLatin1Char('/')))), __FILE__, __LINE__);
        return nullptr;
    }
    tree->setCurrentItem(node);
    form->tvwPoem_NodeClick(node);
    return node;
}

QTreeWidgetItem* chooseEntry(frmMain* form, const QString& title)
{
    QTreeWidget* list = lvwPoem(form);
    const QList<QTreeWidgetItem*> found = list->findItems(title, Qt::MatchExactly);
    if (found.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("no entry %1").arg(title)), __FILE__, __LINE__);
        return nullptr;
    }
    list->setCurrentItem(found.first());
    form->lvwPoem_ItemClick(found.first());
    return found.first();
}

QTreeWidgetItem* nodeAt(QTreeWidget* tree, const QStringList& path)
{
    QTreeWidgetItem* node = nullptr;
    for (const QString& text : path) {
        QTreeWidgetItem* next = nullptr;
        const int count = node ? node->childCount() : tree->topLevelItemCount();
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem* candidate = node ? node->child(i) : tree->topLevelItem(i);
            if (candidate->text(0) == text)
                next = candidate;
        }
        if (!next)
            return nullptr;
        node = next;
    }
    return node;
}

QStringList childTexts(QTreeWidget* tree, QTreeWidgetItem* parent)
{
    QStringList texts;
    const int count = parent ? parent->childCount() : tree->topLevelItemCount();
    for (int i = 0; i < count; ++i)
        texts << (parent ? parent->child(i) : tree->topLevelItem(i))->text(0);
    return texts;
}

QStringList entryTexts(QTreeWidget* list)
{
    return childTexts(list, nullptr);
}

} // namespace qelvane::test

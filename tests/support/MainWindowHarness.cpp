#include "MainWindowHarness.h"

#include "mainwindow/frmMain.h"
#include "store/DbConnection.h"

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

QTreeWidgetItem* chooseNode(frmMain* form, const QStringList& path)
{
    QTreeWidgetItem* node = nodeAt(form->tvwPoem, path);
    if (!node) {
        QTest::qFail(qPrintable(QStringLiteral("no node %1").arg(path.join(QLatin1Char('/')))), __FILE__, __LINE__);
        return nullptr;
    }
    form->tvwPoem->setCurrentItem(node);
    form->tvwPoem_NodeClick(node);
    return node;
}

QTreeWidgetItem* chooseEntry(frmMain* form, const QString& title)
{
    const QList<QTreeWidgetItem*> found = form->lvwPoem->findItems(title, Qt::MatchExactly);
    if (found.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("no entry %1").arg(title)), __FILE__, __LINE__);
        return nullptr;
    }
    form->lvwPoem->setCurrentItem(found.first());
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

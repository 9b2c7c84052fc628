#pragma once

#include "TestLibrary.h"

#include <QStringList>
#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

class QPlainTextEdit;
class QTextEdit;
class QWidget;

namespace qelvane {
class BarMain;
class SplitterHandle;
class StatusBar;
class frmMain;
class frmOptions;
class frmQueryPoem;
}

namespace qelvane::test {

// A loaded main window on a fresh fixture library with its own settings file and a
// recording music backend.
struct MainWindowHarness : LibraryFixture {
    explicit MainWindowHarness(bool load = true);
    ~MainWindowHarness();

    QStringList musicLog;
    std::unique_ptr<frmMain> form;
};

// The main window's parts, found by their object names as a user's tools find them
// (the window keeps its widgets to itself).
QTreeWidget* tvwPoem(const QWidget* form);         // the library tree
QTreeWidget* lvwPoem(const QWidget* form);         // the poem list
QTextEdit* txtPoemDetail(const QWidget* form);      // the poem
QPlainTextEdit* txtPoemNote(const QWidget* form);   // its notes
QPlainTextEdit* txtAuthorDetail(const QWidget* form); // the author's biography
StatusBar* sbStatusBar(const QWidget* form);
SplitterHandle* imgSplitter(const QWidget* form);
QWidget* part(const QWidget* form, const char* name); // picSplitter, picPoem, picAuthor …
BarMain* barMain(const QWidget* form);
frmQueryPoem* queryDialog(const QWidget* form);
frmOptions* optionsDialog(const QWidget* form);

// Makes the node at a path of node texts current and shows it as a click does; the
// running test fails when there is none.
QTreeWidgetItem* chooseNode(frmMain* form, const QStringList& path);
// Makes the list entry with that title current and shows it as a click does.
QTreeWidgetItem* chooseEntry(frmMain* form, const QString& title);

// The node reached by a path of node texts from the roots, such as {"中国诗词", "唐", "李白"}.
QTreeWidgetItem* nodeAt(QTreeWidget* tree, const QStringList& path);
// The texts of an item's children, or of the roots for nullptr.
QStringList childTexts(QTreeWidget* tree, QTreeWidgetItem* parent);
// The texts of the entries of a one-column list.
QStringList entryTexts(QTreeWidget* list);

} // namespace qelvane::test

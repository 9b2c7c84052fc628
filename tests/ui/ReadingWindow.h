#pragma once

#include "MainWindowHarness.h"
#include "mainwindow/frmMain.h"

#include <QObject>
#include <QtTest>
#include <memory>

namespace qelvane::test {

// A main window on the fixture library, shown at 1000 x 700 as a reader has it.
class ReadingWindow : public QObject {
protected:
    std::unique_ptr<MainWindowHarness> h;
    frmMain* form() { return h->form.get(); }
    void showAuthor(const QStringList& path) { QVERIFY(chooseNode(form(), path)); }

    void openWindow()
    {
        h = std::make_unique<MainWindowHarness>();
        form()->resize(1000, 700);
        form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(form()));
    }
    void closeWindow() { h.reset(); }
};

} // namespace qelvane::test

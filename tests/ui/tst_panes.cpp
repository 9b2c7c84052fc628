// The reading panes as the window lays them out: the split a reader chose comes back
// after a small window, and the whole splitter handle can be grabbed.
#include "ReadingWindow.h"
#include "SplitterHandle.h"
#include "mainwindow/frmMain.h"

#include <QtTest>

using namespace qelvane;

class tst_Panes : public test::ReadingWindow {
    Q_OBJECT

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void theChosenSplitComesBack()
    {
        SplitterHandle* handle = test::imgSplitter(form());
        const QPoint grip(handle->width() / 2, handle->height() / 2);
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(60, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(60, 0));
        const int split = handle->x();
        const int listWidth = test::lvwPoem(form())->width();
        QVERIFY(listWidth > 0);
        form()->resize(200, 120);
        QVERIFY(test::lvwPoem(form())->width() < listWidth);
        form()->resize(1000, 700);
        QCOMPARE(handle->x(), split);
        QCOMPARE(test::lvwPoem(form())->width(), listWidth);
    }

    void theWholeHandleCanBeGrabbed()
    {
        SplitterHandle* handle = test::imgSplitter(form());
        for (int x : {0, handle->width() / 2, handle->width() - 1}) {
            const QPoint inWindow = handle->mapTo(form(), QPoint(x, handle->height() / 2));
            QCOMPARE(form()->childAt(inWindow), static_cast<QWidget*>(handle));
        }
        QCOMPARE(handle->cursor().shape(), Qt::SplitHCursor);
    }
};

QTEST_MAIN(tst_Panes)
#include "tst_panes.moc"

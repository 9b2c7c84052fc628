// The main window's panes: the layout on numbers, on the widgets, and the splitter drag.
#include "MainWindowHarness.h"
#include "mainwindow/Layout.h"
#include "mainwindow/SplitterHandle.h"
#include "mainwindow/StatusBar.h"
#include "ui/Twips.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"

#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

using namespace qelvane;

namespace {

LayoutInput window(float width, float height, bool statusBar = true)
{
    LayoutInput in;
    in.windowWidth = width;
    in.innerHeight = height;
    in.statusBarVisible = statusBar;
    in.statusBarHeight = 300;
    return in;
}

QRect pixels(const TwipsRect& r)
{
    return {toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height)};
}

} // namespace

class tst_Layout : public QObject {
    Q_OBJECT

private slots:
    void thePanesOnNumbers()
    {
        const PaneLayout l = computeLayout(window(12000, 9000), 6000);
        QCOMPARE(l.x, 6000.0f);
        QCOMPARE(l.authorPane.left, 2760.0f);
        QCOMPARE(l.authorPane.width, 3230.0f);
        QCOMPARE(l.splitter.left, 6000.0f);
        QCOMPARE(l.splitter.width, 135.0f);
        QCOMPARE(l.poemPane.left, 6040.0f);
        QCOMPARE(l.poemPane.width, 5880.0f);
        QCOMPARE(l.tree.top, 975.0f);
        QCOMPARE(l.tree.height, 7725.0f);
        QCOMPARE(l.authorPane.top, 975.0f);
        QCOMPARE(l.poemPane.height, 7725.0f);
        QCOMPARE(l.splitter.top, 975.0f);
        QCOMPARE(l.splitter.height, 7725.0f);
        // Three quarters for the list and the poem, a 40-twip gap, the rest below.
        QCOMPARE(l.poemList.width, 3230.0f);
        QCOMPARE(l.poemList.height, 5793.75f);
        QCOMPARE(l.authorDetail.top, 5833.75f);
        QCOMPARE(l.authorDetail.height, 1891.25f);
        QCOMPARE(l.poemDetail.width, 5880.0f);
        QCOMPARE(l.poemNote.top, 5833.75f);
        QCOMPARE(l.poemNote.height, 1891.25f);
    }

    void withoutTheStatusBarThePanesReachTheBottom()
    {
        QCOMPARE(computeLayout(window(12000, 9000, false), 6000).tree.height, 8025.0f);
    }

    void theSplitIsClamped()
    {
        QCOMPARE(computeLayout(window(12000, 9000), 11000).x, 10500.0f);
        QCOMPARE(computeLayout(window(12000, 9000), 10500).x, 10500.0f);
        // Left of the author pane's start the split stops where that pane is closed.
        const PaneLayout left = computeLayout(window(12000, 9000), 500);
        QCOMPARE(left.x, 2770.0f);
        QCOMPARE(left.authorPane.width, 0.0f);
        QCOMPARE(left.poemPane.left, 2810.0f);
        QCOMPARE(left.poemPane.width, 9110.0f);
        // The narrowest window still gives the poem pane its room.
        const PaneLayout narrow = computeLayout(window(3000, 4000), 2000);
        QCOMPARE(narrow.x, 2770.0f);
        QCOMPARE(narrow.poemPane.width, 110.0f);
    }

    void noSplitGivesANegativeSize()
    {
        for (float width : {3000.0f, 4500.0f, 12000.0f}) {
            for (float height : {0.0f, 1000.0f, 9000.0f}) {
                for (float x = -2000; x <= width + 2000; x += 125) {
                    const PaneLayout l = computeLayout(window(width, height), x);
                    for (const TwipsRect& r : {l.tree, l.authorPane, l.splitter, l.poemPane, l.poemList, l.authorDetail,
                                               l.poemDetail, l.poemNote})
                        QVERIFY2(r.width >= 0 && r.height >= 0, qPrintable(QString("x=%1 w=%2").arg(x).arg(width)));
                }
            }
        }
    }

    void theWidgetsFollowTheLayout()
    {
        test::MainWindowHarness h;
        frmMain* form = h.form.get();
        form->show();
        form->resize(800, 600);
        float x = 6000;
        form->SizeControls(x);
        const PaneLayout l = computeLayout(form->layoutInput(), 6000);
        QCOMPARE(test::tvwPoem(form)->geometry(), pixels(l.tree));
        QCOMPARE(test::part(form, "picAuthor")->geometry(), pixels(l.authorPane));
        QCOMPARE(test::imgSplitter(form)->geometry(), pixels(l.splitter));
        QCOMPARE(test::part(form, "picPoem")->geometry(), pixels(l.poemPane));
        QCOMPARE(test::lvwPoem(form)->geometry(), pixels(l.poemList));
        QCOMPARE(test::txtAuthorDetail(form)->geometry(), pixels(l.authorDetail));
        QCOMPARE(test::txtPoemDetail(form)->geometry(), pixels(l.poemDetail));
        QCOMPARE(test::txtPoemNote(form)->geometry(), pixels(l.poemNote));
        // The panes end where the status bar starts.
        QCOMPARE(test::tvwPoem(form)->geometry().bottom() + 1, test::sbStatusBar(form)->geometry().top());

        test::sbStatusBar(form)->hide();
        form->SizeControls(x);
        QCOMPARE(test::tvwPoem(form)->geometry().bottom() + 1, form->height());

        // The clamped position is written back.
        x = 100;
        form->SizeControls(x);
        QCOMPARE(x, 2770.0f);
    }

    // The same layout in literal pixels (15 twips each, rounded to the nearest): a
    // conversion that truncated, or a pane a pixel off, shows here.
    void theWidgetsInPixels()
    {
        test::MainWindowHarness h;
        frmMain* form = h.form.get();
        form->show();
        form->resize(800, 600);
        float x = 6010;
        form->SizeControls(x);
        // The split at 6010 twips is 400.67 pixels: 401, not 400.
        QCOMPARE(test::imgSplitter(form)->geometry(), QRect(401, 65, 9, 515));
        QCOMPARE(test::tvwPoem(form)->geometry(), QRect(8, 65, 174, 515));
        QCOMPARE(test::part(form, "picAuthor")->geometry(), QRect(184, 65, 216, 515));
        // 6050 twips from the left, 5870 wide: 403.3 and 391.3 pixels.
        QCOMPARE(test::part(form, "picPoem")->geometry(), QRect(403, 65, 391, 515));
        QCOMPARE(test::lvwPoem(form)->geometry(), QRect(0, 0, 216, 386));
        QCOMPARE(test::txtAuthorDetail(form)->geometry(), QRect(0, 389, 216, 126));
        QCOMPARE(test::txtPoemDetail(form)->geometry(), QRect(0, 0, 391, 386));
        QCOMPARE(test::txtPoemNote(form)->geometry(), QRect(0, 389, 391, 126));
    }

    void resizing()
    {
        test::MainWindowHarness h;
        frmMain* form = h.form.get();
        form->show();
        form->resize(900, 500);
        QCOMPARE(test::sbStatusBar(form)->width(), 900);
        // Whatever the split, the poem pane ends 80 twips before the window's right edge.
        QVERIFY(qAbs(test::part(form, "picPoem")->geometry().right() + 1 - toPixels(toTwips(900) - 80)) <= 1);
        // Never narrower than its menus with the find box's button (and at least 3000 twips).
        form->resize(100, 500);
        QCOMPARE(form->width(), form->minimumWidth());
        QVERIFY(form->width() >= 200);
        // A minimized window lays out nothing and says nothing.
        msg::Recorder boxes;
        form->showMinimized();
        form->resize(50, 50);
        QVERIFY(boxes.shown().isEmpty());
    }

    void draggingTheSplitter()
    {
        test::MainWindowHarness h;
        frmMain* form = h.form.get();
        form->resize(1000, 600);
        form->show();
        SplitterHandle* handle = test::imgSplitter(form);
        const int start = handle->x();

        QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(3, 50));
        QVERIFY(test::part(form, "picSplitter")->isVisible());
        QCOMPARE(test::part(form, "picSplitter")->geometry(),
                 QRect(handle->x(), handle->y(), handle->width() / 2, handle->height() - toPixels(20)));
        QCOMPARE(test::part(form, "picSplitter")->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));

        QTest::mouseMove(handle, QPoint(103, 50));
        QCOMPARE(test::part(form, "picSplitter")->x(), start + 103);
        // Nothing else moves during the drag.
        QCOMPARE(handle->x(), start);

        QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(103, 50));
        QVERIFY(!test::part(form, "picSplitter")->isVisible());
        QCOMPARE(handle->x(), start + 103);
        QCOMPARE(test::part(form, "picPoem")->x(), start + 103 + toPixels(40));
    }

    void draggingPastTheEdges()
    {
        test::MainWindowHarness h;
        frmMain* form = h.form.get();
        form->resize(1000, 600);
        form->show();
        SplitterHandle* handle = test::imgSplitter(form);

        QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(3, 50));
        QTest::mouseMove(handle, QPoint(-handle->x() - 50, 50));
        QCOMPARE(test::part(form, "picSplitter")->x(), toPixels(500));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(-handle->x() - 50, 50));
        QCOMPARE(handle->x(), toPixels(2770));
        QCOMPARE(test::part(form, "picAuthor")->width(), 0);

        QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(3, 50));
        QTest::mouseMove(handle, QPoint(2000, 50));
        QCOMPARE(test::part(form, "picSplitter")->x(), toPixels(toTwips(1000) - 500));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(2000, 50));
        QCOMPARE(handle->x(), toPixels(toTwips(1000) - 1500));
        QVERIFY(test::part(form, "picPoem")->width() > 0);
    }
};

QTEST_MAIN(tst_Layout)
#include "tst_layout.moc"

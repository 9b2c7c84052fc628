// The main window's panes laid out on every resize and at the end of a splitter drag.
#include "frmMain.h"
#include "ui/VerseView.h"

#include "SplitterHandle.h"
#include "StatusBar.h"
#include "ui/Twips.h"

#include <QResizeEvent>
#include <QTreeWidget>

namespace qelvane {

namespace {
// The narrowest window, in twips.
constexpr float MinimumWindowWidth = 3000;

void place(QWidget* widget, const TwipsRect& r)
{
    widget->setGeometry(toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height));
}
} // namespace

LayoutInput frmMain::layoutInput() const
{
    LayoutInput in;
    in.windowWidth = toTwips(width());
    in.innerHeight = toTwips(height());
    in.treeLeft = toTwips(m_tree->widget()->x());
    in.treeWidth = toTwips(m_tree->widget()->width());
    in.titlesTop = toTwips(picTitles->y());
    in.titlesHeight = toTwips(picTitles->height());
    in.splitterWidth = toTwips(imgSplitter->width());
    in.statusBarVisible = sbStatusBar->isVisibleTo(this);
    in.statusBarHeight = toTwips(sbStatusBar->height());
    return in;
}

void frmMain::SizeControls(float& x)
{
    const PaneLayout layout = computeLayout(layoutInput(), x);
    x = layout.x;
    place(m_tree->widget(), layout.tree);
    place(picAuthor, layout.authorPane);
    place(imgSplitter, layout.splitter);
    place(picPoem, layout.poemPane);
    place(m_poems->widget(), layout.poemList);
    place(m_reading->biographyPane(), layout.authorDetail);
    place(m_reading->poemPane(), layout.poemDetail);
    place(m_reading->notesPane(), layout.poemNote);
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isMinimized())
        return;
    if (toTwips(width()) < MinimumWindowWidth) {
        resize(toPixels(MinimumWindowWidth), height());
        return;
    }
    picTitles->setGeometry(0, 0, width(), picTitles->height());
    placeStatusBar();
    float x = m_chosenSplit;
    SizeControls(x);
}

void frmMain::imgSplitter_MouseDown(float)
{
    picSplitter->setGeometry(imgSplitter->x(), imgSplitter->y(), imgSplitter->width() / 2,
                             std::max(0, imgSplitter->height() - toPixels(20)));
    picSplitter->show();
    picSplitter->raise();
    SplitterMoving = true;
}

void frmMain::imgSplitter_MouseMove(float x)
{
    if (!SplitterMoving)
        return;
    const float W = toTwips(width());
    float p = toTwips(imgSplitter->x()) + x;
    if (p < 500)
        p = 500;
    else if (p > W - 500)
        p = W - 500;
    picSplitter->move(toPixels(p), picSplitter->y());
}

void frmMain::imgSplitter_MouseUp(float)
{
    m_chosenSplit = toTwips(picSplitter->x());
    float x = m_chosenSplit;
    SizeControls(x);
    picSplitter->hide();
    SplitterMoving = false;
}

} // namespace qelvane

#include "Layout.h"

#include <algorithm>

namespace qelvane {

namespace {
// Poem list over biography, and poem text over notes: the upper box takes three
// quarters of its pane, the lower one the rest after a 40-twip gap.
void splitPane(float width, float height, TwipsRect& upper, TwipsRect& lower)
{
    upper = {0, 0, width, height / 4 * 3};
    lower.left = 0;
    lower.top = upper.height + 40;
    lower.width = width;
    lower.height = std::max(0.0f, height - upper.height - 40);
}
} // namespace

PaneLayout computeLayout(const LayoutInput& in, float x)
{
    PaneLayout out;
    const float W = in.windowWidth;
    if (x < 1500)
        x = 1500;
    if (x > W - 1500)
        x = W - 1500;
    // The author pane starts right of the tree; a split left of that would give it a
    // negative width, so the split stops where the pane is closed.
    x = std::max(x, in.treeWidth + 160);
    out.x = x;

    out.authorPane.left = in.authorLeft;
    out.authorPane.width = x - in.treeWidth - 160;
    out.splitter.left = x;
    out.splitter.width = in.splitterWidth;
    out.poemPane.left = x + 40;
    out.poemPane.width = std::max(0.0f, W - (in.treeWidth + out.authorPane.width + 280));

    out.tree.left = in.treeLeft;
    out.tree.width = in.treeWidth;
    out.tree.top = in.titlesHeight;
    out.authorPane.top = out.tree.top;
    out.poemPane.top = out.tree.top;
    const float below = in.statusBarVisible ? in.statusBarHeight + in.titlesHeight + in.titlesTop
                                            : in.titlesTop + in.titlesHeight;
    out.tree.height = std::max(0.0f, in.innerHeight - below);
    out.authorPane.height = out.tree.height;
    out.poemPane.height = out.tree.height;
    out.splitter.top = out.tree.top;
    out.splitter.height = out.tree.height;

    splitPane(out.authorPane.width, out.authorPane.height, out.poemList, out.authorDetail);
    splitPane(out.poemPane.width, out.poemPane.height, out.poemDetail, out.poemNote);
    return out;
}

} // namespace qelvane

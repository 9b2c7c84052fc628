#pragma once

namespace qelvane {

// The main window's pane layout as plain numbers (twips), so that it can be checked
// without a screen. frmMain::SizeControls applies it to the widgets.
struct TwipsRect {
    float left = 0, top = 0, width = 0, height = 0;
};

struct LayoutInput {
    float windowWidth = 0;       // W
    float innerHeight = 0;       // the window's inner height
    float treeLeft = 120;
    float treeWidth = 2610;
    float authorLeft = 2760;
    float titlesTop = 0;
    float titlesHeight = 975;
    float splitterWidth = 135;
    bool statusBarVisible = true;
    float statusBarHeight = 0;
};

struct PaneLayout {
    float x = 0;                 // the split position after clamping
    TwipsRect tree, authorPane, splitter, poemPane;
    TwipsRect poemList, authorDetail;      // inside the author pane
    TwipsRect poemDetail, poemNote;        // inside the poem pane
};

// The split position is kept between 1500 and W - 1500 twips; a position that leaves
// the author pane no room closes that pane instead of giving it a negative width.
PaneLayout computeLayout(const LayoutInput& in, float x);

} // namespace qelvane

#pragma once

namespace qelvane {

// A top-level window of the program that is neither a dialog nor a menu (the main
// window, the help window) is told to screen readers as a frame, as other programs'
// main windows are, not as an anonymous filler. Installed once; later calls do nothing.
void announceWindowsAsFrames();

} // namespace qelvane

#pragma once

#include "MusicPlayer.h"

#include <memory>

namespace qelvane {

// Background music through FluidSynth and the General MIDI sound font. Where no
// sound font or audio device can be had, the music stays silent and says nothing.
std::unique_ptr<MusicBackend> makeFluidSynthBackend();

// The General MIDI sound font the music is played with.
const char* soundFontPath();

} // namespace qelvane

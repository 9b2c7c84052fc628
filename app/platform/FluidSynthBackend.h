#pragma once

#include "MusicPlayer.h"

#include <QByteArray>
#include <memory>

namespace qelvane {

// Where the synthesiser's sound goes: the desktop's default audio device, or (for
// tests) one of FluidSynth's other drivers, such as "file" writing raw samples to
// `outputFile` on a thread of its own as a sound card would.
struct AudioOutput {
    QByteArray driver;
    QByteArray outputFile;
};

// Background music through FluidSynth and the General MIDI sound font. Where no
// sound font or audio device can be had, the music stays silent and says nothing.
std::unique_ptr<MusicBackend> makeFluidSynthBackend(const AudioOutput& output = {});

// The General MIDI sound font the music is played with.
const char* soundFontPath();

} // namespace qelvane

#pragma once

#include <QList>
#include <QString>

namespace qelvane::midi {

// One note: its degree in numbered notation (1 to 7; 0 a rest), the octave it is
// raised (+1) or lowered (-1) by, and its length in beats (quarter notes).
struct Note {
    int degree;
    int octave;
    double beats;
};

struct Melody {
    QString fileName;
    int tonic;      // the MIDI key of degree 1
    int tempo;      // quarter notes a minute
    int instrument; // General MIDI program, 0-based
    QList<Note> notes;
};

// The tunes the program ships, all public domain:
// - 茉莉花: a traditional folk song of Jiangsu, in the form generally taught in China;
// - 送别: the melody of J. P. Ordway's "Dreaming of Home and Mother" (1851), sung in
//   China to the words Li Shutong (李叔同) wrote for it in 1915;
// - 两只老虎: the traditional French round "Frère Jacques", a Chinese children's song.
// The note lists are written down for this program from the well-known tunes.
QList<Melody> melodies();

} // namespace qelvane::midi

// qelvane-mkmidi OUTFOLDER: writes the program's background tunes as Standard MIDI
// files (format 0) into OUTFOLDER.
#include "Melodies.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

using qelvane::midi::Melody;

constexpr int TicksPerBeat = 480;
constexpr int Channel = 0;
constexpr int Velocity = 100;
// The scale's degrees in semitones above the tonic.
constexpr int Major[8] = {0, 0, 2, 4, 5, 7, 9, 11};

void appendVariable(QByteArray& out, quint32 value)
{
    quint8 bytes[4];
    int count = 0;
    bytes[count++] = value & 0x7f;
    while (value >>= 7)
        bytes[count++] = quint8((value & 0x7f) | 0x80);
    while (count--)
        out.append(char(bytes[count]));
}

void appendBigEndian(QByteArray& out, quint32 value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xff));
}

QByteArray track(const Melody& melody)
{
    QByteArray events;
    const quint32 microsPerBeat = 60000000u / quint32(melody.tempo);
    appendVariable(events, 0);
    events.append("\xff\x51\x03", 3);
    appendBigEndian(events, microsPerBeat, 3);
    appendVariable(events, 0);
    events.append(char(0xc0 | Channel));
    events.append(char(melody.instrument));
    quint32 wait = 0;
    for (const auto& note : melody.notes) {
        const quint32 length = quint32(note.beats * TicksPerBeat + 0.5);
        if (note.degree == 0) {
            wait += length;
            continue;
        }
        const int key = melody.tonic + Major[note.degree] + 12 * note.octave;
        // Each note is held for most of its length, so repeated notes are heard apart.
        const quint32 held = length * 9 / 10;
        appendVariable(events, wait);
        events.append(char(0x90 | Channel));
        events.append(char(key));
        events.append(char(Velocity));
        appendVariable(events, held);
        events.append(char(0x80 | Channel));
        events.append(char(key));
        events.append(char(0));
        wait = length - held;
    }
    appendVariable(events, wait);
    events.append("\xff\x2f\x00", 3);
    return events;
}

QByteArray file(const Melody& melody)
{
    QByteArray out("MThd", 4);
    appendBigEndian(out, 6, 4);
    appendBigEndian(out, 0, 2); // format 0
    appendBigEndian(out, 1, 2); // one track
    appendBigEndian(out, TicksPerBeat, 2);
    const QByteArray events = track(melody);
    out.append("MTrk", 4);
    appendBigEndian(out, quint32(events.size()), 4);
    out.append(events);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qelvane-mkmidi OUTFOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "qelvane-mkmidi: cannot make %s\n", argv[1]);
        return 1;
    }
    for (const Melody& melody : qelvane::midi::melodies()) {
        QFile out(folder.filePath(melody.fileName));
        if (!out.open(QIODevice::WriteOnly) || out.write(file(melody)) < 0) {
            std::fprintf(stderr, "qelvane-mkmidi: cannot write %s\n", qPrintable(out.fileName()));
            return 1;
        }
    }
    return 0;
}

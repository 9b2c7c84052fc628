// The FluidSynth backend with a real audio thread (FluidSynth's file driver renders on
// a thread of its own, as a sound card's does): tunes opened, looped and closed many
// times while it renders, and nothing left open once the music is off.
#include "platform/FluidSynthBackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace qelvane;

namespace {

// A MIDI file of one short note: played to its end within a few blocks.
QByteArray shortTune()
{
    const QByteArray track = QByteArray::fromHex("00903c64" "0a803c00" "00ff2f00");
    QByteArray file = QByteArray::fromHex("4d546864" "00000006" "0000" "0001" "0060");
    file += QByteArray::fromHex("4d54726b");
    const quint32 length = quint32(track.size());
    file += char(length >> 24), file += char(length >> 16), file += char(length >> 8), file += char(length);
    return file + track;
}

// The files this process has open under `path`.
int openFilesNamed(const QString& path)
{
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == path)
            ++count;
    return count;
}

} // namespace

class tst_FluidSynth : public QObject {
    Q_OBJECT
    QTemporaryDir folder;
    QString tune;
    QString output;

    std::unique_ptr<MusicBackend> backend()
    {
        return makeFluidSynthBackend({"file", QFile::encodeName(output)});
    }

private slots:
    void initTestCase()
    {
        if (!QFileInfo::exists(soundFontPath()))
            QSKIP("the General MIDI sound font is not installed");
        tune = folder.filePath("short.mid");
        output = folder.filePath("rendered.raw");
        QFile file(tune);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(shortTune());
    }

    // Each loop swaps the player that has played to its end while the driver runs;
    // the sanitizers see any read of a player already freed.
    void loopsWhileTheAudioThreadRenders()
    {
        auto music = backend();
        int ended = 0;
        music->playedToEnd = [&] { ++ended; };
        QVERIFY(music->open(tune));
        music->play();
        for (int loop = 1; loop <= 3; ++loop) {
            QTRY_COMPARE_WITH_TIMEOUT(ended, loop, 5000);
            music->rewind();
            music->play();
        }
        music->close();
    }

    // Each tune is closed, rewound or stopped while the audio thread renders it.
    void openedAndClosedManyTimes()
    {
        auto music = backend();
        for (int i = 0; i < 40; ++i) {
            QVERIFY(music->open(tune));
            music->play();
            if (i % 2)
                music->rewind();
            if (i % 3)
                music->stop();
            if (i % 5)
                music->close();
        }
        music.reset();
        QCOMPARE(openFilesNamed(output), 0);
    }

    // Music off releases the synthesiser and its output, not only the player.
    void musicOffReleasesTheOutput()
    {
        auto music = backend();
        QVERIFY(music->open(tune));
        music->play();
        QCOMPARE(openFilesNamed(output), 1);
        music->close();
        QCOMPARE(openFilesNamed(output), 0);
        // And can start again.
        QVERIFY(music->open(tune));
        QCOMPARE(openFilesNamed(output), 1);
    }
};

QTEST_GUILESS_MAIN(tst_FluidSynth)
#include "tst_fluidsynth.moc"

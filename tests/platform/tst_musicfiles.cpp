// The tunes the program ships: each is a MIDI file FluidSynth plays with the sound
// font the program uses, and what it renders is music, not silence.
#include "platform/FluidSynthBackend.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>
#include <cmath>
#include <fluidsynth.h>

class tst_MusicFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        if (!QFileInfo::exists(qelvane::soundFontPath()))
            QSKIP("the General MIDI sound font is not installed");
    }

    void theShippedTunes_data()
    {
        QTest::addColumn<QString>("file");
        const QDir music(QStringLiteral(QELVANE_MUSIC_DIR));
        const QStringList tunes = music.entryList({"*.mid"}, QDir::Files, QDir::Name);
        QCOMPARE(tunes.size(), 3);
        for (const QString& tune : tunes)
            QTest::newRow(qPrintable(tune)) << music.filePath(tune);
    }

    void theShippedTunes()
    {
        QFETCH(QString, file);
        const QByteArray path = QFile::encodeName(file);
        QVERIFY(fluid_is_midifile(path.constData()));
        fluid_settings_t* settings = new_fluid_settings();
        fluid_settings_setint(settings, "synth.cpu-cores", 1);
        fluid_synth_t* synth = new_fluid_synth(settings);
        QVERIFY(fluid_synth_sfload(synth, qelvane::soundFontPath(), 1) != FLUID_FAILED);
        fluid_player_t* player = new_fluid_player(synth);
        QCOMPARE(fluid_player_add(player, path.constData()), FLUID_OK);
        QCOMPARE(fluid_player_play(player), FLUID_OK);

        // Rendered without an audio device, block by block, until the tune ends.
        constexpr int Block = 1024;
        float left[Block], right[Block];
        double peak = 0, energy = 0;
        qint64 frames = 0;
        double sampleRate = 44100;
        fluid_settings_getnum(settings, "synth.sample-rate", &sampleRate);
        const qint64 limit = qint64(sampleRate * 600);
        while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING && frames < limit) {
            QCOMPARE(fluid_synth_write_float(synth, Block, left, 0, 1, right, 0, 1), FLUID_OK);
            for (int i = 0; i < Block; ++i) {
                peak = std::max(peak, double(std::fabs(left[i])));
                energy += double(left[i]) * left[i];
            }
            frames += Block;
        }
        const double seconds = frames / sampleRate;
        const double rms = std::sqrt(energy / std::max<qint64>(frames, 1));
        qInfo("%s: %.1f s, peak %.3f, rms %.4f", qPrintable(QFileInfo(file).fileName()), seconds, peak, rms);
        QVERIFY2(seconds > 8 && seconds < 120, qPrintable(QString::number(seconds)));
        // Silence renders as zeros; a tune at the synthesizer's usual gain is well above.
        QVERIFY(peak > 0.01);
        QVERIFY(rms > 0.001);

        delete_fluid_player(player);
        delete_fluid_synth(synth);
        delete_fluid_settings(settings);
    }
};

QTEST_GUILESS_MAIN(tst_MusicFiles)
#include "tst_musicfiles.moc"

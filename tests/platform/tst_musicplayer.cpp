// The background-music device: its command words and its end-of-tune notice.
#include "TestLibrary.h"
#include "platform/MusicPlayer.h"

#include <QtTest>

using namespace qelvane;

class tst_MusicPlayer : public QObject {
    Q_OBJECT
    QStringList log;
    test::RecordingMusicBackend* backend = nullptr;
    std::unique_ptr<MusicPlayer> player;

private slots:
    void init()
    {
        log.clear();
        auto recording = std::make_unique<test::RecordingMusicBackend>(&log);
        backend = recording.get();
        player = std::make_unique<MusicPlayer>(std::move(recording));
    }

    void noFileMeansNoSound()
    {
        player->FileName.clear();
        for (const char* command : {"Open", "Play", "Prev", "Stop", "Close"})
            player->Command(command);
        QVERIFY(log.isEmpty());
        QVERIFY(!player->isOpen());
    }

    void aTuneIsOpenedPlayedAndClosed()
    {
        player->Command("Play");
        player->FileName = "/music/a.mid";
        player->Command("Open");
        player->Command("Open");
        player->Command("Play");
        player->Command("Prev");
        player->Command("Stop");
        player->Command("Pause");
        player->Command("Close");
        player->Command("Play");
        QCOMPARE(log, QStringList({"open /music/a.mid", "play", "rewind", "stop", "close"}));
    }

    void theEndOfATuneIsReported()
    {
        QSignalSpy done(player.get(), &MusicPlayer::Done);
        player->FileName = "/music/a.mid";
        player->Command("Open");
        player->Command("Play");
        backend->finish();
        QCOMPARE(done.count(), 1);
        QCOMPARE(done.first().at(0).toInt(), 1);
    }

    void aStoppedTuneDoesNotReportItsEnd()
    {
        QSignalSpy done(player.get(), &MusicPlayer::Done);
        player->FileName = "/music/a.mid";
        player->Command("Open");
        player->Command("Play");
        player->Command("Stop");
        backend->finish();
        player->Command("Close");
        backend->finish();
        QVERIFY(done.isEmpty());
    }

    void anOpenTuneIsClosedWithThePlayer()
    {
        player->FileName = "/music/a.mid";
        player->Command("Open");
        player.reset();
        QCOMPARE(log.last(), QString("close"));
    }
};

QTEST_GUILESS_MAIN(tst_MusicPlayer)
#include "tst_musicplayer.moc"

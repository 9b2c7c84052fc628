#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace qelvane {

// What actually makes the sound. The program only drives it through MusicPlayer.
class MusicBackend {
public:
    virtual ~MusicBackend() = default;
    virtual bool open(const QString& fileName) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual void rewind() = 0;
    virtual void close() = 0;
    // Called by the backend when an opened tune has played to its end.
    std::function<void()> playedToEnd;
};

// A backend that never makes a sound: used where no audio device is at hand.
class SilentMusicBackend : public MusicBackend {
public:
    bool open(const QString&) override { return false; }
    void play() override {}
    void stop() override {}
    void rewind() override {}
    void close() override {}
};

// The background-music device of the main window, driven by command words as a
// sequencer is: "Open", "Play", "Stop", "Close" and "Prev" (back to the start).
// Done(1) reports that a tune played to its end.
class MusicPlayer : public QObject {
    Q_OBJECT
public:
    explicit MusicPlayer(std::unique_ptr<MusicBackend> backend, QObject* parent = nullptr);
    ~MusicPlayer() override;

    QString FileName;
    // Unknown words and commands the device is not ready for are ignored.
    void Command(const QString& command);
    bool isOpen() const { return m_open; }

signals:
    void Done(int notifyCode);

private:
    std::unique_ptr<MusicBackend> m_backend;
    bool m_open = false;
    bool m_playing = false;
};

} // namespace qelvane

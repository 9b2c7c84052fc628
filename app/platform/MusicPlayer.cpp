#include "MusicPlayer.h"

namespace qelvane {

MusicPlayer::MusicPlayer(std::unique_ptr<MusicBackend> backend, QObject* parent)
    : QObject(parent), m_backend(std::move(backend))
{
    // Only a tune that is playing ends: a stopped or closed one never reports back.
    m_backend->playedToEnd = [this] {
        if (m_open && m_playing)
            emit Done(1);
    };
}

MusicPlayer::~MusicPlayer()
{
    if (m_open)
        m_backend->close();
}

void MusicPlayer::Command(const QString& command)
{
    if (command == QLatin1String("Open")) {
        if (m_open)
            return;
        m_open = !FileName.isEmpty() && m_backend->open(FileName);
    } else if (command == QLatin1String("Close")) {
        if (m_open)
            m_backend->close();
        m_open = false;
        m_playing = false;
    } else if (!m_open) {
        return;
    } else if (command == QLatin1String("Play")) {
        m_backend->play();
        m_playing = true;
    } else if (command == QLatin1String("Stop")) {
        m_backend->stop();
        m_playing = false;
    } else if (command == QLatin1String("Prev")) {
        m_backend->rewind();
    }
}

} // namespace qelvane

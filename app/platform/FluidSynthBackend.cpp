#include "FluidSynthBackend.h"

#include <QFile>
#include <QTimer>
#include <fluidsynth.h>

namespace qelvane {

namespace {

// How often the end of a tune is looked for.
constexpr int EndPollMs = 200;

// The audio driver renders on a thread of its own, through the synthesiser, from the
// player. Whatever the driver reads is only changed or freed while no driver runs:
// a player is swapped or deleted between stopping one driver and starting the next.
// With the music off, nothing of FluidSynth stays open.
class FluidSynthBackend : public MusicBackend {
public:
    explicit FluidSynthBackend(AudioOutput output) : m_output(std::move(output))
    {
        m_endPoll.setInterval(EndPollMs);
        QObject::connect(&m_endPoll, &QTimer::timeout, [this] {
            if (m_player && fluid_player_get_status(m_player) == FLUID_PLAYER_DONE) {
                m_endPoll.stop();
                if (playedToEnd)
                    playedToEnd();
            }
        });
    }

    ~FluidSynthBackend() override { close(); }

    bool open(const QString& fileName) override
    {
        close();
        if (!QFile::exists(fileName) || !fluid_is_midifile(QFile::encodeName(fileName).constData()))
            return false;
        m_fileName = QFile::encodeName(fileName);
        if (!makeSynth() || !makePlayer() || !startDriver()) {
            close();
            return false;
        }
        return true;
    }

    void play() override
    {
        if (!m_player)
            return;
        fluid_player_play(m_player);
        m_endPoll.start();
    }

    void stop() override
    {
        m_endPoll.stop();
        if (m_player)
            fluid_player_stop(m_player);
        if (m_synth)
            fluid_synth_all_notes_off(m_synth, -1);
    }

    // A player that has played its list to the end does not start again: the tune is
    // loaded into a fresh one, with the driver stopped while the players change. One
    // still playing is moved back to the start.
    void rewind() override
    {
        if (!m_player)
            return;
        if (fluid_player_get_status(m_player) != FLUID_PLAYER_DONE) {
            fluid_player_seek(m_player, 0);
            return;
        }
        stopDriver();
        deletePlayer();
        if (!makePlayer() || !startDriver())
            close();
    }

    void close() override
    {
        stop();
        stopDriver();
        deletePlayer();
        if (m_synth) {
            delete_fluid_synth(m_synth);
            m_synth = nullptr;
        }
        if (m_settings) {
            delete_fluid_settings(m_settings);
            m_settings = nullptr;
        }
    }

private:
    bool makeSynth()
    {
        fluid_set_log_function(FLUID_PANIC, nullptr, nullptr);
        fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        m_settings = new_fluid_settings();
        if (!m_settings)
            return false;
        if (!m_output.driver.isEmpty())
            fluid_settings_setstr(m_settings, "audio.driver", m_output.driver.constData());
        if (!m_output.outputFile.isEmpty())
            fluid_settings_setstr(m_settings, "audio.file.name", m_output.outputFile.constData());
        m_synth = new_fluid_synth(m_settings);
        return m_synth && fluid_synth_sfload(m_synth, soundFontPath(), 1) != FLUID_FAILED;
    }

    bool makePlayer()
    {
        m_player = new_fluid_player(m_synth);
        return m_player && fluid_player_add(m_player, m_fileName.constData()) == FLUID_OK;
    }

    bool startDriver()
    {
        m_driver = new_fluid_audio_driver(m_settings, m_synth);
        return m_driver != nullptr;
    }

    // Returns once the driver's thread has ended: nothing renders any more.
    void stopDriver()
    {
        if (m_driver) {
            delete_fluid_audio_driver(m_driver);
            m_driver = nullptr;
        }
    }

    void deletePlayer()
    {
        if (m_player) {
            fluid_player_stop(m_player);
            delete_fluid_player(m_player);
            m_player = nullptr;
        }
    }

    AudioOutput m_output;
    fluid_settings_t* m_settings = nullptr;
    fluid_synth_t* m_synth = nullptr;
    fluid_audio_driver_t* m_driver = nullptr;
    fluid_player_t* m_player = nullptr;
    QByteArray m_fileName;
    QTimer m_endPoll;
};

} // namespace

const char* soundFontPath()
{
    return "/usr/share/sounds/sf2/TimGM6mb.sf2";
}

std::unique_ptr<MusicBackend> makeFluidSynthBackend(const AudioOutput& output)
{
    return std::make_unique<FluidSynthBackend>(output);
}

} // namespace qelvane

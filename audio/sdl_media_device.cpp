// The media device over SDL2_mixer.
//
// A device holds one file at a time: a standard MIDI file goes to the mixer's single music
// stream (rendered by FluidSynth), anything else is decoded into a Mix_Chunk and played on a
// mixer channel that belongs to this device alone.
//
// Playback and Done:
// - "play" starts the file from its beginning unless this device is already playing and no
//   "prev" came since, in which case it keeps playing (there is no pause, so the only position
//   a stopped device can be at is the start).
// - "prev" does not touch what is being heard; it only makes the next "play" start over.
//   So the hit effect's "play" + "prev" on every hit restarts the effect each time.
// - Every "play" that starts playback is answered by exactly one Done, when that playback ends:
//   at the end of the file, on "close", or when a later "play" restarts it (on the same device,
//   or on another melody device, since there is only one music stream), or at the end of a fade.
//   Both kinds of device raise Done. A destroyed device raises nothing more.
//
// Volume: a device's percentage is the mixer's music volume while its melody holds the stream,
// or its own channel's volume, set again before each playback since the music stream is shared.
//
// The mixer calls its finished hooks on the audio thread, or inside Mix_Halt* on the calling
// thread. The hooks only look up the owner in a mutex-guarded table and post the Done to the
// owner's QObject as a queued call; the owner removes itself from the table before it dies,
// and deleting that QObject discards any Done still queued for it.
//
// Opening the output is slow: loading the mixer's libraries, starting the audio thread, and for
// the first melody FluidSynth reading its soundfont. With deferOutputUntilFirstFrame() the
// devices keep their commands, with the file name each "open" saw, until the first window has
// been painted, and then carry them out in the order they came.
#include "audio/media_device.h"
#include "audio/volume.h"
#include "sdl/mixer.h"
#include "sdl/room.h"
#include "shell/program.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <QtGlobal>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

namespace audio {
namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kChunkFrames = 1024;  // about 23 ms: short enough for the hit effect to feel immediate

const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
};

class SdlDevice;

// What the finished hooks need. Allocated once and never freed, so that the audio thread can
// still reach it while the process is exiting.
struct HookTable {
    std::mutex mutex;
    bool shuttingDown = false;
    SdlDevice* musicOwner = nullptr;  // set while a device's melody is in the music stream
    struct Channel {
        SdlDevice* owner = nullptr;   // the device this mixer channel is reserved for
        bool playing = false;         // a "play" on it has not been answered by Done yet
    };
    std::vector<Channel> channels;    // index = mixer channel
};

HookTable& hooks()
{
    static HookTable* table = new HookTable;
    return *table;
}

void postDone(SdlDevice* device);

void SDLCALL musicFinished()
{
    HookTable& t = hooks();
    std::lock_guard lock(t.mutex);
    SdlDevice* owner = t.musicOwner;
    t.musicOwner = nullptr;
    if (owner && !t.shuttingDown)
        postDone(owner);
}

void SDLCALL channelFinished(int channel)
{
    HookTable& t = hooks();
    std::lock_guard lock(t.mutex);
    if (channel < 0 || channel >= static_cast<int>(t.channels.size()))
        return;
    HookTable::Channel& c = t.channels[static_cast<size_t>(channel)];
    const bool wasPlaying = c.playing;
    c.playing = false;
    if (wasPlaying && c.owner && !t.shuttingDown)
        postDone(c.owner);
}

// The shared audio output; touched from the GUI thread only. g_sdl and g_mix are set while it is open.
enum class Output { Untried, Open, Unavailable };
Output g_output = Output::Untried;
const sdl::Library* g_sdl = nullptr;
const sdl::Mixer* g_mix = nullptr;

void closeOutputAtExit()
{
    {
        HookTable& t = hooks();
        std::lock_guard lock(t.mutex);
        t.shuttingDown = true;
    }
    if (g_output != Output::Open)
        return;
    g_output = Output::Unavailable;
    // Stop the audio thread before the rest of the process is torn down under it.
    g_mix->Mix_HaltChannel(-1);
    g_mix->Mix_HaltMusic();
    g_mix->Mix_CloseAudio();
}

bool outputReady()
{
    if (g_output != Output::Untried)
        return g_output == Output::Open;

    g_output = Output::Unavailable;
    const sdl::Library* lib = sdl::library();
    const sdl::Mixer* mix = lib ? sdl::mixer() : nullptr;
    if (!mix)
        return false;
    // Held until the process ends: the mixer's thread may run until then.
    static sdl::Subsystem* const audio = new sdl::Subsystem(SDL_INIT_AUDIO);
    if (!audio->start()) {
        qWarning("audio: no audio output (%s); sound is off", lib->SDL_GetError());
        return false;
    }
    if (mix->Mix_OpenAudio(kFrequency, MIX_DEFAULT_FORMAT, kChannels, kChunkFrames) != 0) {
        qWarning("audio: cannot open the audio output (%s); sound is off", lib->SDL_GetError());
        audio->stop();
        return false;
    }
    for (const char* font : kSoundFonts) {
        if (QFile::exists(QString::fromLatin1(font))) {
            mix->Mix_SetSoundFonts(font);
            break;
        }
    }
    mix->Mix_HookMusicFinished(&musicFinished);
    mix->Mix_ChannelFinished(&channelFinished);
    std::atexit(&closeOutputAtExit);
    g_sdl = lib;
    g_mix = mix;
    g_output = Output::Open;
    return true;
}

// Commands kept until the first frame; GUI thread only.
struct HeldCommand {
    SdlDevice* device;
    QString word;
    QString fileName; // the device's file name when the command came
    int fadeMs = -1;  // a fade instead of a word
};
bool g_holding = false;
std::vector<HeldCommand> g_held;

bool isMidi(const QByteArray& data)
{
    return data.startsWith("MThd");
}

class SdlDevice final : public MediaDevice {
public:
    ~SdlDevice() override
    {
        bool ownedMusic = false;
        {
            // From here on the hooks no longer know this device.
            HookTable& t = hooks();
            std::lock_guard lock(t.mutex);
            ownedMusic = t.musicOwner == this;
            if (ownedMusic)
                t.musicOwner = nullptr;
            if (m_channel >= 0)
                t.channels[static_cast<size_t>(m_channel)] = {};
        }
        if (g_output == Output::Open) {
            if (ownedMusic)
                g_mix->Mix_HaltMusic();
            if (m_channel >= 0)
                g_mix->Mix_HaltChannel(m_channel);
        }
        unload();
        std::erase_if(g_held, [this](const HeldCommand& c) { return c.device == this; });
        // m_context goes last and takes any queued Done with it.
    }

    void setCommand(const QString& word) override
    {
        if (g_holding)
            g_held.push_back({this, word, fileName()});
        else
            carryOut(word, fileName());
    }

    void setVolume(int percent) override
    {
        m_volume = std::clamp(percent, 0, 100);
        if (g_output != Output::Open)
            return;
        if (m_music && ownsMusic())
            g_mix->Mix_VolumeMusic(mixerVolume(m_volume));
        if (m_channel >= 0)
            g_mix->Mix_Volume(m_channel, mixerVolume(m_volume));
    }

    void fadeOut(int ms) override
    {
        if (g_holding)
            g_held.push_back({this, {}, {}, std::max(ms, 0)});
        else
            fade(ms);
    }

    bool awaitingDone() const override { return m_owed > 0; }

    void fade(int ms)
    {
        if (g_output != Output::Open || !isPlaying())
            return;
        m_restart = true;
        if (m_music)
            g_mix->Mix_FadeOutMusic(ms);
        else
            g_mix->Mix_FadeOutChannel(m_channel, ms);
    }

    void carryOut(const QString& word, const QString& path)
    {
        if (word.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0)
            open(path);
        else if (word.compare(QLatin1String("play"), Qt::CaseInsensitive) == 0)
            play();
        else if (word.compare(QLatin1String("prev"), Qt::CaseInsensitive) == 0)
            m_restart = true;
        else if (word.compare(QLatin1String("close"), Qt::CaseInsensitive) == 0)
            close();
    }

    // Runs on the GUI thread as a queued call.
    void deliverDone()
    {
        --m_owed;
        // A copy: the handler may destroy this device.
        const std::function<void()> handler = onDone;
        if (handler)
            handler();
    }

    QObject* context() { return &m_context; }

private:
    void open(const QString& path)
    {
        close();
        if (!outputReady())
            return;
        QFile file(path);
        if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
            return;
        m_data = file.readAll();
        if (m_data.isEmpty())
            return;
        m_path = path;
        SDL_RWops* rw = g_sdl->SDL_RWFromConstMem(m_data.constData(), static_cast<int>(m_data.size()));
        if (isMidi(m_data)) {
            m_music = g_mix->Mix_LoadMUSType_RW(rw, MUS_MID, SDL_TRUE);
        } else {
            m_chunk = g_mix->Mix_LoadWAV_RW(rw, SDL_TRUE);
            if (m_chunk && !reserveChannel()) {
                g_mix->Mix_FreeChunk(m_chunk);
                m_chunk = nullptr;
            }
        }
        if (!m_music && !m_chunk) {
            qWarning("audio: cannot load %s (%s)", qUtf8Printable(path), g_sdl->SDL_GetError());
            m_data.clear();
        }
        m_restart = true;
    }

    void play()
    {
        if (!m_music && !m_chunk)
            return;
        if (isPlaying() && !m_restart)
            return;
        m_restart = false;
        stop();
        if (m_music)
            startMusic();
        else
            startChunk();
    }

    void close()
    {
        unload();
        m_restart = true;
    }

    void startMusic()
    {
        // Whoever holds the single music stream loses it; the hook answers its "play".
        g_mix->Mix_HaltMusic();
        setMusicOwner(this);
        g_mix->Mix_VolumeMusic(mixerVolume(m_volume));
        if (g_mix->Mix_PlayMusic(m_music, 0) != 0) {
            qWarning("audio: cannot play %s (%s)", qUtf8Printable(m_path), g_sdl->SDL_GetError());
            setMusicOwner(nullptr);
            return;
        }
        ++m_owed;
    }

    void startChunk()
    {
        setChannelPlaying(true);
        g_mix->Mix_Volume(m_channel, mixerVolume(m_volume));
        if (g_mix->Mix_PlayChannel(m_channel, m_chunk, 0) < 0) {
            qWarning("audio: cannot play %s (%s)", qUtf8Printable(m_path), g_sdl->SDL_GetError());
            setChannelPlaying(false);
            return;
        }
        ++m_owed;
    }

    // Stops this device's playback; the hook queues its Done.
    void stop()
    {
        if (g_output != Output::Open)
            return;
        if (m_music && ownsMusic())
            g_mix->Mix_HaltMusic();
        if (m_channel >= 0)
            g_mix->Mix_HaltChannel(m_channel);
    }

    void unload()
    {
        stop();
        if (m_music) {
            g_mix->Mix_FreeMusic(m_music);
            m_music = nullptr;
        }
        if (m_chunk) {
            g_mix->Mix_FreeChunk(m_chunk);
            m_chunk = nullptr;
        }
        m_data.clear();
    }

    bool isPlaying()
    {
        HookTable& t = hooks();
        std::lock_guard lock(t.mutex);
        if (m_music)
            return t.musicOwner == this;
        return m_channel >= 0 && t.channels[static_cast<size_t>(m_channel)].playing;
    }

    bool ownsMusic()
    {
        HookTable& t = hooks();
        std::lock_guard lock(t.mutex);
        return t.musicOwner == this;
    }

    void setMusicOwner(SdlDevice* owner)
    {
        HookTable& t = hooks();
        std::lock_guard lock(t.mutex);
        if (owner || t.musicOwner == this)
            t.musicOwner = owner;
    }

    void setChannelPlaying(bool playing)
    {
        HookTable& t = hooks();
        std::lock_guard lock(t.mutex);
        t.channels[static_cast<size_t>(m_channel)].playing = playing;
    }

    // Gives this device a mixer channel of its own for the rest of its life.
    bool reserveChannel()
    {
        if (m_channel >= 0)
            return true;
        int needed = 0;
        {
            HookTable& t = hooks();
            std::lock_guard lock(t.mutex);
            size_t free = 0;
            while (free < t.channels.size() && t.channels[free].owner)
                ++free;
            if (free == t.channels.size())
                t.channels.emplace_back();
            t.channels[free] = {this, false};
            m_channel = static_cast<int>(free);
            needed = static_cast<int>(t.channels.size());
        }
        // Never called with the table locked: the mixer takes its own lock first in the hooks.
        if (g_mix->Mix_AllocateChannels(-1) < needed && g_mix->Mix_AllocateChannels(needed) < needed) {
            HookTable& t = hooks();
            std::lock_guard lock(t.mutex);
            t.channels[static_cast<size_t>(m_channel)] = {};
            m_channel = -1;
            return false;
        }
        return true;
    }

    QObject m_context;        // receiver of the queued Done
    QByteArray m_data;        // the file's bytes while it is loaded
    QString m_path;           // the file that the last "open" loaded
    Mix_Music* m_music = nullptr;
    Mix_Chunk* m_chunk = nullptr;
    int m_channel = -1;       // this device's mixer channel, once it has loaded a wave
    bool m_restart = true;    // the next "play" starts from the beginning
    int m_volume = 100;       // per cent
    int m_owed = 0;           // playbacks started whose Done has not been delivered yet
};

// Called with the hook table locked, so `device` cannot be destroyed meanwhile.
void postDone(SdlDevice* device)
{
    QMetaObject::invokeMethod(
        device->context(), [device] { device->deliverDone(); }, Qt::QueuedConnection);
}

void releaseHeldCommands()
{
    g_holding = false;
    // Carrying a command out calls no handler (Done is queued), so no device goes away meanwhile.
    for (const HeldCommand& c : std::exchange(g_held, {})) {
        if (c.fadeMs >= 0)
            c.device->fade(c.fadeMs);
        else
            c.device->carryOut(c.word, c.fileName);
    }
}

} // namespace

std::unique_ptr<MediaDevice> makeSdlDevice()
{
    return std::make_unique<SdlDevice>();
}

void deferOutputUntilFirstFrame()
{
    if (g_holding)
        return;
    g_holding = true;
    shell::afterFirstFrame(&releaseHeldCommands);
}

} // namespace audio

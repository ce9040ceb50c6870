#pragma once
// A media device: a file name, command words and an end-of-playback notification.
// The game owns two: MMControl1 (the hit effect, a wave file) and MMControl2 (the MIDI melodies).
#include <QString>
#include <functional>
#include <memory>

namespace audio {

class MediaDevice {
public:
    virtual ~MediaDevice() = default;

    // Full path of the file that the next "open" opens.
    void setFileName(const QString& path) { m_fileName = path; }
    const QString& fileName() const { return m_fileName; }

    // One command word: "open", "play", "prev" or "close"; any other word is ignored.
    // A command that cannot be carried out leaves the device silent and returns normally.
    virtual void setCommand(const QString& word) = 0;

    // Raised once for each "play" whose playback ends (end of file, a "close" that stopped it, or
    // the end of a fade). Always delivered later, as an ordinary event on the GUI thread, never
    // inside setCommand.
    std::function<void()> onDone;

    // The loudness of this device's playback, 0 .. 100 % of the file's own level: heard at once
    // in what plays, and kept for every file opened later. 100 % until set.
    virtual void setVolume(int percent) = 0;
    // Lowers what plays to silence over `ms` milliseconds and ends it there, with no click; the
    // file stays open, and the playback's Done comes at the end. Nothing when nothing plays.
    virtual void fadeOut(int ms) = 0;
    // Whether a "play" still waits for its Done: the playback goes on, fades out, or has ended
    // and its Done is on its way.
    virtual bool awaitingDone() const = 0;

private:
    QString m_fileName;
};

using DeviceFactory = std::function<std::unique_ptr<MediaDevice>()>;

// The real device over SDL2_mixer, which is loaded when the audio output is first opened: on the
// first "open". With no output, or no library, the device stays silent.
std::unique_ptr<MediaDevice> makeSdlDevice();

// From now until the first window has been painted (or a second has passed, should no window be
// exposed), SDL devices keep their commands; then they carry them out in order. So the audio
// output, the mixer's libraries and the soundfont do not hold up the first frame. Done keeps its
// rules: one for each "play" that starts playback, always later, never from a destroyed device.
// Call once the application object exists, before the first window is shown.
void deferOutputUntilFirstFrame();

} // namespace audio

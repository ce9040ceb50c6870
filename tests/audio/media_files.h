#pragma once
// Tiny media files written by the audio tests themselves, and event-loop helpers.
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QMetaObject>
#include <QString>
#include <QTest>

#include <cmath>
#include <cstdint>
#include <memory>

namespace testmedia {

inline void putBE(QByteArray& out, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline void putLE(QByteArray& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline void putVarLen(QByteArray& out, uint32_t value)
{
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = value & 0x7F;
        value >>= 7;
    } while (value);
    while (n-- > 0)
        out.append(static_cast<char>(groups[n] | (n ? 0x80 : 0)));
}

// A format-0 standard MIDI file: one piano note held for about `durationMs` (120 bpm, 480 ticks a beat).
inline QByteArray midiNote(int durationMs, int note = 60)
{
    QByteArray track;
    putVarLen(track, 0);
    track.append("\xC0\x00", 2);                          // program: acoustic grand piano
    putVarLen(track, 0);
    track.append(static_cast<char>(0x90));
    track.append(static_cast<char>(note));
    track.append(static_cast<char>(110));                 // note on
    putVarLen(track, static_cast<uint32_t>(durationMs) * 480 / 500);
    track.append(static_cast<char>(0x80));
    track.append(static_cast<char>(note));
    track.append(static_cast<char>(64));                  // note off
    putVarLen(track, 0);
    track.append("\xFF\x2F\x00", 3);                      // end of track

    QByteArray file("MThd");
    putBE(file, 6, 4);
    putBE(file, 0, 2);                                     // format 0
    putBE(file, 1, 2);                                     // one track
    putBE(file, 480, 2);                                   // ticks per quarter note
    file.append("MTrk");
    putBE(file, static_cast<uint32_t>(track.size()), 4);
    file.append(track);
    return file;
}

// A 16-bit mono RIFF wave of a 440 Hz tone whose amplitude falls linearly from `peak` to 0.
inline QByteArray fadingTone(int durationMs, int peak = 16000, int rate = 22050)
{
    const int frames = rate * durationMs / 1000;
    QByteArray samples;
    for (int i = 0; i < frames; ++i) {
        const double envelope = 1.0 - static_cast<double>(i) / frames;
        const double value = peak * envelope * std::sin(2.0 * M_PI * 440.0 * i / rate);
        putLE(samples, static_cast<uint32_t>(static_cast<int16_t>(std::lround(value))), 2);
    }
    QByteArray file("RIFF");
    putLE(file, static_cast<uint32_t>(36 + samples.size()), 4);
    file.append("WAVEfmt ");
    putLE(file, 16, 4);
    putLE(file, 1, 2);                                     // PCM
    putLE(file, 1, 2);                                     // mono
    putLE(file, static_cast<uint32_t>(rate), 4);
    putLE(file, static_cast<uint32_t>(rate * 2), 4);       // bytes a second
    putLE(file, 2, 2);                                     // bytes a frame
    putLE(file, 16, 2);                                    // bits a sample
    file.append("data");
    putLE(file, static_cast<uint32_t>(samples.size()), 4);
    file.append(samples);
    return file;
}

inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// Delivers everything already queued on the GUI thread: a marker posted now arrives after it.
inline bool deliverQueuedEvents()
{
    auto reached = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [reached] { *reached = true; }, Qt::QueuedConnection);
    return QTest::qWaitFor([reached] { return *reached; }, 2000);
}

} // namespace testmedia

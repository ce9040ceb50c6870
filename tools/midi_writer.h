#pragma once
// A small writer of Standard MIDI Files (format 0 or 1) for the game's melodies.
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// The variable-length quantity used for delta times and meta lengths: 7 bits a byte, high bit = "more".
std::vector<std::uint8_t> encodeVarLen(std::uint32_t value);

class MidiTrack {
public:
    // Channels are 0-based here (0..15); General MIDI drums are channel 9.
    void noteOn(std::uint32_t tick, int channel, int note, int velocity);
    void noteOff(std::uint32_t tick, int channel, int note);
    void programChange(std::uint32_t tick, int channel, int program);
    void controlChange(std::uint32_t tick, int channel, int controller, int value);
    void tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter);
    void timeSignature(std::uint32_t tick, int numerator, int denominator);
    void trackName(const std::string& name);

    // Where the end-of-track event goes; by default right after the last event.
    void setEnd(std::uint32_t tick) { m_end = tick; }
    std::uint32_t lastTick() const;

    // The whole MTrk chunk, header included. Events sharing a tick keep this order:
    // meta and controller events, then note-offs, then note-ons, so a repeated note is retriggered cleanly.
    std::vector<std::uint8_t> chunk() const;

private:
    enum Rank { Setup = 0, Release = 1, Strike = 2 };
    struct Event {
        std::uint32_t tick;
        Rank rank;
        std::vector<std::uint8_t> bytes;
    };
    void add(std::uint32_t tick, Rank rank, std::vector<std::uint8_t> bytes);
    void meta(std::uint32_t tick, std::uint8_t type, const std::vector<std::uint8_t>& data);

    std::vector<Event> m_events;
    std::uint32_t m_end = 0;
};

class MidiFile {
public:
    explicit MidiFile(int ticksPerQuarter = 480, int format = 1);

    MidiTrack& addTrack();
    std::vector<MidiTrack>& tracks() { return m_tracks; }
    int ticksPerQuarter() const { return m_ticksPerQuarter; }

    // MThd followed by every track. Format 0 requires exactly one track.
    std::vector<std::uint8_t> bytes() const;

private:
    int m_ticksPerQuarter;
    int m_format;
    std::vector<MidiTrack> m_tracks;
};

} // namespace tools

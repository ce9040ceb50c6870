#include "midi_writer.h"

#include <algorithm>
#include <stdexcept>

namespace tools {

namespace {

void checkRange(int value, int low, int high, const char* what)
{
    if (value < low || value > high)
        throw std::invalid_argument(std::string("MIDI ") + what + " out of range: " + std::to_string(value));
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

std::uint8_t byte(int value) { return static_cast<std::uint8_t>(value); }

} // namespace

std::vector<std::uint8_t> encodeVarLen(std::uint32_t value)
{
    if (value > 0x0FFFFFFF)
        throw std::invalid_argument("MIDI variable-length value too large");
    std::vector<std::uint8_t> groups{static_cast<std::uint8_t>(value & 0x7F)};
    while (value >>= 7)
        groups.push_back(static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    return {groups.rbegin(), groups.rend()};
}

void MidiTrack::add(std::uint32_t tick, Rank rank, std::vector<std::uint8_t> bytes)
{
    m_events.push_back({tick, rank, std::move(bytes)});
}

void MidiTrack::meta(std::uint32_t tick, std::uint8_t type, const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> bytes{0xFF, type};
    const auto length = encodeVarLen(static_cast<std::uint32_t>(data.size()));
    bytes.insert(bytes.end(), length.begin(), length.end());
    bytes.insert(bytes.end(), data.begin(), data.end());
    add(tick, Setup, std::move(bytes));
}

void MidiTrack::noteOn(std::uint32_t tick, int channel, int note, int velocity)
{
    checkRange(channel, 0, 15, "channel");
    checkRange(note, 0, 127, "note");
    checkRange(velocity, 1, 127, "velocity");
    add(tick, Strike, {byte(0x90 | channel), byte(note), byte(velocity)});
}

void MidiTrack::noteOff(std::uint32_t tick, int channel, int note)
{
    checkRange(channel, 0, 15, "channel");
    checkRange(note, 0, 127, "note");
    add(tick, Release, {byte(0x80 | channel), byte(note), 0x40});
}

void MidiTrack::programChange(std::uint32_t tick, int channel, int program)
{
    checkRange(channel, 0, 15, "channel");
    checkRange(program, 0, 127, "program");
    add(tick, Setup, {byte(0xC0 | channel), byte(program)});
}

void MidiTrack::controlChange(std::uint32_t tick, int channel, int controller, int value)
{
    checkRange(channel, 0, 15, "channel");
    checkRange(controller, 0, 127, "controller");
    checkRange(value, 0, 127, "controller value");
    add(tick, Setup, {byte(0xB0 | channel), byte(controller), byte(value)});
}

void MidiTrack::tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter)
{
    if (microsecondsPerQuarter == 0 || microsecondsPerQuarter > 0xFFFFFF)
        throw std::invalid_argument("MIDI tempo out of range");
    std::vector<std::uint8_t> data;
    putBigEndian(data, microsecondsPerQuarter, 3);
    meta(tick, 0x51, data);
}

void MidiTrack::timeSignature(std::uint32_t tick, int numerator, int denominator)
{
    checkRange(numerator, 1, 32, "time signature numerator");
    int power = 0;
    while ((1 << power) < denominator)
        ++power;
    if ((1 << power) != denominator)
        throw std::invalid_argument("MIDI time signature denominator must be a power of two");
    // 24 MIDI clocks per metronome click, 8 thirty-seconds per quarter.
    meta(tick, 0x58, {byte(numerator), byte(power), 24, 8});
}

void MidiTrack::trackName(const std::string& name)
{
    meta(0, 0x03, std::vector<std::uint8_t>(name.begin(), name.end()));
}

std::uint32_t MidiTrack::lastTick() const
{
    std::uint32_t last = 0;
    for (const auto& event : m_events)
        last = std::max(last, event.tick);
    return last;
}

std::vector<std::uint8_t> MidiTrack::chunk() const
{
    std::vector<const Event*> order;
    order.reserve(m_events.size());
    for (const auto& event : m_events)
        order.push_back(&event);
    std::stable_sort(order.begin(), order.end(), [](const Event* a, const Event* b) {
        return a->tick != b->tick ? a->tick < b->tick : a->rank < b->rank;
    });

    std::vector<std::uint8_t> body;
    std::uint32_t now = 0;
    for (const Event* event : order) {
        const auto delta = encodeVarLen(event->tick - now);
        body.insert(body.end(), delta.begin(), delta.end());
        body.insert(body.end(), event->bytes.begin(), event->bytes.end());
        now = event->tick;
    }
    const auto endDelta = encodeVarLen(std::max(m_end, now) - now);
    body.insert(body.end(), endDelta.begin(), endDelta.end());
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> out{'M', 'T', 'r', 'k'};
    putBigEndian(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

MidiFile::MidiFile(int ticksPerQuarter, int format)
    : m_ticksPerQuarter(ticksPerQuarter), m_format(format)
{
    checkRange(ticksPerQuarter, 1, 0x7FFF, "division");
    checkRange(format, 0, 1, "format");
}

MidiTrack& MidiFile::addTrack()
{
    return m_tracks.emplace_back();
}

std::vector<std::uint8_t> MidiFile::bytes() const
{
    if (m_tracks.empty() || (m_format == 0 && m_tracks.size() != 1))
        throw std::logic_error("MIDI format 0 holds exactly one track, format 1 at least one");
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    putBigEndian(out, static_cast<std::uint32_t>(m_format), 2);
    putBigEndian(out, static_cast<std::uint32_t>(m_tracks.size()), 2);
    putBigEndian(out, static_cast<std::uint32_t>(m_ticksPerQuarter), 2);
    for (const auto& track : m_tracks) {
        const auto chunk = track.chunk();
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

} // namespace tools

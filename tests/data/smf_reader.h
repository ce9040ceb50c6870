#pragma once
// An independent reader of Standard MIDI Files for the tests: it checks the chunk structure
// and collects notes, tempo changes and the end of each track.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace datatest {

struct SmfNote {
    std::uint32_t start;
    std::uint32_t end;
    int channel;
    int pitch;
    int velocity;
};

struct SmfTrack {
    std::string name;
    std::vector<SmfNote> notes;
    std::vector<int> programs; // 0-based, in order of appearance
    std::uint32_t endTick = 0;
    bool endsWithEndOfTrack = false;
    int unmatchedNoteOffs = 0;
    int danglingNoteOns = 0;
};

struct SmfFile {
    bool valid = false;
    std::string error;
    int format = -1;
    int division = 0;
    std::vector<SmfTrack> tracks;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> tempos; // tick, microseconds per quarter

    // Playing time up to the last end-of-track, following every tempo change.
    double seconds() const
    {
        std::uint32_t last = 0;
        for (const auto& track : tracks)
            last = std::max(last, track.endTick);
        auto changes = tempos;
        std::sort(changes.begin(), changes.end());
        double total = 0.0;
        std::uint32_t tick = 0, tempo = 500000;
        for (const auto& [at, value] : changes) {
            if (at >= last)
                break;
            total += static_cast<double>(at - tick) * tempo / division / 1e6;
            tick = at;
            tempo = value;
        }
        return total + static_cast<double>(last - tick) * tempo / division / 1e6;
    }
};

inline SmfFile readSmf(const std::string& bytes)
{
    SmfFile file;
    std::size_t at = 0;
    auto need = [&](std::size_t count) { return at + count <= bytes.size(); };
    auto u8 = [&]() { return static_cast<std::uint8_t>(bytes[at++]); };
    auto be = [&](int count) {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 8) | u8();
        return value;
    };
    auto fail = [&](const std::string& why) {
        file.valid = false;
        file.error = why + " at byte " + std::to_string(at);
        return file;
    };

    if (!need(14) || bytes.compare(0, 4, "MThd") != 0)
        return fail("no MThd");
    at = 4;
    if (be(4) != 6)
        return fail("header length is not 6");
    file.format = static_cast<int>(be(2));
    const std::uint32_t trackCount = be(2);
    file.division = static_cast<int>(be(2));
    if (file.format > 2 || file.division == 0 || (file.division & 0x8000))
        return fail("unsupported format or division");

    for (std::uint32_t t = 0; t < trackCount; ++t) {
        if (!need(8) || bytes.compare(at, 4, "MTrk") != 0)
            return fail("missing MTrk");
        at += 4;
        const std::uint32_t length = be(4);
        if (!need(length))
            return fail("track chunk runs past the file");
        const std::size_t end = at + length;
        SmfTrack track;
        std::map<std::pair<int, int>, std::vector<std::pair<std::uint32_t, int>>> open;
        std::uint32_t tick = 0;
        std::uint8_t status = 0;
        auto varLen = [&]() {
            std::uint32_t value = 0;
            for (int i = 0; i < 4 && at < end; ++i) {
                const std::uint8_t b = u8();
                value = (value << 7) | (b & 0x7F);
                if (!(b & 0x80))
                    return value;
            }
            return 0xFFFFFFFFu;
        };
        while (at < end) {
            if (track.endsWithEndOfTrack)
                return fail("events after end-of-track");
            const std::uint32_t delta = varLen();
            if (delta == 0xFFFFFFFFu || at >= end)
                return fail("broken delta time");
            tick += delta;
            std::uint8_t first = u8();
            if (first == 0xFF) {
                const std::uint8_t type = u8();
                const std::uint32_t size = varLen();
                if (size == 0xFFFFFFFFu || at + size > end)
                    return fail("meta event runs past its chunk");
                const std::string data = bytes.substr(at, size);
                at += size;
                if (type == 0x2F) {
                    track.endsWithEndOfTrack = true;
                    track.endTick = tick;
                } else if (type == 0x51 && size == 3) {
                    file.tempos.push_back({tick, (static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[0])) << 16) |
                                                     (static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[1])) << 8) |
                                                     static_cast<std::uint8_t>(data[2])});
                } else if (type == 0x03) {
                    track.name = data;
                }
                continue;
            }
            if (first == 0xF0 || first == 0xF7) {
                const std::uint32_t size = varLen();
                if (size == 0xFFFFFFFFu || at + size > end)
                    return fail("sysex runs past its chunk");
                at += size;
                continue;
            }
            if (first & 0x80) {
                status = first;
                if (at >= end)
                    return fail("truncated event");
                first = u8();
            } else if (!status) {
                return fail("running status without a status byte");
            }
            const int kind = status & 0xF0;
            const int channel = status & 0x0F;
            const bool oneByte = kind == 0xC0 || kind == 0xD0;
            int second = 0;
            if (!oneByte) {
                if (at >= end)
                    return fail("truncated event");
                second = u8();
            }
            if ((first & 0x80) || (second & 0x80))
                return fail("data byte with the high bit set");
            if (kind == 0xC0)
                track.programs.push_back(first);
            if (kind == 0x90 && second > 0) {
                open[{channel, first}].push_back({tick, second});
            } else if (kind == 0x80 || kind == 0x90) {
                auto& waiting = open[{channel, first}];
                if (waiting.empty()) {
                    ++track.unmatchedNoteOffs;
                } else {
                    track.notes.push_back({waiting.front().first, tick, channel, first, waiting.front().second});
                    waiting.erase(waiting.begin());
                }
            }
        }
        if (at != end)
            return fail("track chunk length disagrees with its events");
        for (const auto& [key, waiting] : open)
            track.danglingNoteOns += static_cast<int>(waiting.size());
        file.tracks.push_back(std::move(track));
    }
    file.valid = true;
    return file;
}

} // namespace datatest

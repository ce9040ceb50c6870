#pragma once
// The text notation in which the game's melodies are written, and its translation to a MIDI file.
//
// A score file holds header lines, named phrases and tracks:
//   title Sunny March        tempo 132        meter 4/4        ppq 480
//   phrase A                 ... note tokens ...     end
//   track Lead ch=1 prog=81 vol=100 pan=64 rev=40 cho=0 gate=90   ... note tokens ...   end
// Note tokens, separated by spaces ("#" starts a comment):
//   c4:8  f#5:4.  bb3:2+8   a note: letter, accidentals (# or b), octave (C4 = middle C), ":" length
//                           (1 2 4 8 16 32, "." dotted, "t" triplet, "+" joins); octave and length carry over
//   r:4                     a rest
//   [c4 e4 g4]:2            a chord
//   kick snare hat ohat ... General MIDI drum names; n60 a raw MIDI note number
//   suffix > accent, ' staccato          v96 velocity   q80 gate percent   T+2 transpose in semitones
//   |  bar check (fails unless the position is on a bar line)    @A  the tokens of phrase A
//   ( ... )x4  repeat
// Every track must come out the same whole number of bars long, so the melody loops seamlessly.
#include "midi_writer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

struct ScoreNote {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    int pitch = 60;
    int velocity = 90;
};

struct ScorePart {
    std::string name;
    int channel = 1;   // 1..16, 10 is the General MIDI drum channel
    int program = 1;   // General MIDI program number 1..128
    int volume = 100;
    int pan = 64;
    int reverb = 40;
    int chorus = 0;
    std::vector<ScoreNote> notes;
    std::uint32_t length = 0;
};

struct Score {
    std::string title;
    double bpm = 120.0;
    int meterNumerator = 4;
    int meterDenominator = 4;
    int ticksPerQuarter = 480;
    std::vector<ScorePart> parts;
    std::uint32_t length = 0;

    std::uint32_t barTicks() const;
    double seconds() const;
};

// Throws std::runtime_error naming the source and line of the first mistake.
Score parseScore(std::string_view text, const std::string& sourceName = "score");

MidiFile scoreToMidi(const Score& score);

} // namespace tools

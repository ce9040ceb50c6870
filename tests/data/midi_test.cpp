// The MIDI writer, the score notation and the five generated melodies.
#include "data_files.h"
#include "midi_writer.h"
#include "score.h"
#include "smf_reader.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

using datatest::readBytes;
using datatest::readSmf;

namespace {

std::string asString(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

std::filesystem::path melodyPath(int number)
{
    return datatest::playDir() / "music" / (std::to_string(number) + ".mid");
}

std::filesystem::path scorePath(int number)
{
    for (const auto& entry : std::filesystem::directory_iterator(datatest::sourceDir() / "tools" / "melodies"))
        if (entry.path().filename().string().rfind(std::to_string(number) + "-", 0) == 0)
            return entry.path();
    return {};
}

// A one-track score whose body is the given tokens, in 4/4 at 120 beats a minute.
tools::Score scoreOf(const std::string& body, const std::string& header = "")
{
    return tools::parseScore("tempo 120\n" + header + "track T ch=1 prog=1\n" + body + "\nend\n");
}

} // namespace

TEST(MidiWriter, VariableLengthQuantitiesMatchTheStandardExamples)
{
    using V = std::vector<std::uint8_t>;
    EXPECT_EQ(tools::encodeVarLen(0), V{0x00});
    EXPECT_EQ(tools::encodeVarLen(0x7F), V{0x7F});
    EXPECT_EQ(tools::encodeVarLen(0x80), (V{0x81, 0x00}));
    EXPECT_EQ(tools::encodeVarLen(0x2000), (V{0xC0, 0x00}));
    EXPECT_EQ(tools::encodeVarLen(0x3FFF), (V{0xFF, 0x7F}));
    EXPECT_EQ(tools::encodeVarLen(0x200000), (V{0x81, 0x80, 0x80, 0x00}));
    EXPECT_EQ(tools::encodeVarLen(0x0FFFFFFF), (V{0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_THROW(tools::encodeVarLen(0x10000000), std::invalid_argument);
}

TEST(MidiWriter, RepeatedNoteIsReleasedBeforeItIsStruckAgain)
{
    tools::MidiFile file(96);
    tools::MidiTrack& track = file.addTrack();
    // Added out of order on purpose: the strike at 96 comes before the release at 96.
    track.noteOn(96, 2, 64, 80);
    track.noteOn(0, 2, 64, 100);
    track.noteOff(96, 2, 64);
    track.noteOff(192, 2, 64);
    const auto smf = readSmf(asString(file.bytes()));
    ASSERT_TRUE(smf.valid) << smf.error;
    ASSERT_EQ(smf.tracks.size(), 1u);
    const auto& notes = smf.tracks[0].notes;
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].start, 0u);
    EXPECT_EQ(notes[0].end, 96u);
    EXPECT_EQ(notes[0].velocity, 100);
    EXPECT_EQ(notes[1].start, 96u);
    EXPECT_EQ(notes[1].end, 192u);
    EXPECT_EQ(notes[1].channel, 2);
    EXPECT_EQ(smf.tracks[0].unmatchedNoteOffs, 0);
}

TEST(MidiWriter, HeaderTempoAndEndOfTrackAreWritten)
{
    tools::MidiFile file(480, 1);
    tools::MidiTrack& conductor = file.addTrack();
    conductor.tempo(0, 400000);
    conductor.setEnd(1920);
    tools::MidiTrack& notes = file.addTrack();
    notes.programChange(0, 9, 0);
    notes.noteOn(0, 9, 36, 100);
    notes.noteOff(240, 9, 36);
    const std::string bytes = asString(file.bytes());
    EXPECT_EQ(bytes.substr(0, 14), std::string("MThd\0\0\0\6\0\1\0\2\1\xE0", 14));
    const auto smf = readSmf(bytes);
    ASSERT_TRUE(smf.valid) << smf.error;
    EXPECT_EQ(smf.tracks[0].endTick, 1920u);
    EXPECT_EQ(smf.tracks[1].endTick, 240u);
    EXPECT_TRUE(smf.tracks[1].endsWithEndOfTrack);
    EXPECT_DOUBLE_EQ(smf.seconds(), 4 * 0.4);
}

TEST(MidiWriter, RefusesValuesMidiCannotCarry)
{
    tools::MidiTrack track;
    EXPECT_THROW(track.noteOn(0, 16, 60, 90), std::invalid_argument);
    EXPECT_THROW(track.noteOn(0, 0, 128, 90), std::invalid_argument);
    EXPECT_THROW(track.noteOn(0, 0, 60, 0), std::invalid_argument);
    EXPECT_THROW(track.timeSignature(0, 3, 3), std::invalid_argument);
    tools::MidiFile single(480, 0);
    single.addTrack();
    single.addTrack();
    EXPECT_THROW(single.bytes(), std::logic_error);
}

TEST(ScoreNotation, OctaveAndLengthCarryOverToTheNextNote)
{
    const auto score = scoreOf("c4:8 d e5 r f:2 | g:2. a4:4 |");
    const auto& notes = score.parts[0].notes;
    ASSERT_EQ(notes.size(), 6u);
    EXPECT_EQ(notes[0].pitch, 60);
    EXPECT_EQ(notes[1].pitch, 62);
    EXPECT_EQ(notes[1].start, 240u);
    EXPECT_EQ(notes[2].pitch, 76);
    EXPECT_EQ(notes[3].pitch, 77);
    EXPECT_EQ(notes[3].start, 4u * 240);
    EXPECT_EQ(notes[4].start, 1920u);
    EXPECT_EQ(notes[4].length, 1440u * 90 / 100);
    EXPECT_EQ(notes[5].pitch, 69);
    EXPECT_EQ(score.length, 3840u);
    EXPECT_DOUBLE_EQ(score.seconds(), 4.0);
}

TEST(ScoreNotation, AccidentalsDottedTripletAndJoinedLengths)
{
    const auto score = scoreOf("c#4:8t db eb f#:4.+8 bb3:16 b:16 cb5:8 |");
    const auto& notes = score.parts[0].notes;
    ASSERT_EQ(notes.size(), 7u);
    EXPECT_EQ(notes[0].pitch, 61);
    EXPECT_EQ(notes[1].pitch, 61);
    EXPECT_EQ(notes[1].start, 160u);
    EXPECT_EQ(notes[3].start, 480u);
    EXPECT_EQ(notes[4].start, 480u + 960);
    EXPECT_EQ(notes[4].pitch, 58);
    EXPECT_EQ(notes[5].pitch, 59);
    EXPECT_EQ(notes[6].pitch, 71);
}

TEST(ScoreNotation, ChordNotesStartTogetherAndShareTheLength)
{
    const auto score = scoreOf("[c4 e4 g4]:2 [kick hat]:2 |");
    const auto& notes = score.parts[0].notes;
    ASSERT_EQ(notes.size(), 5u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(notes[static_cast<std::size_t>(i)].start, 0u);
        EXPECT_EQ(notes[static_cast<std::size_t>(i)].length, 960u * 90 / 100);
    }
    EXPECT_EQ(notes[3].pitch, 36);
    EXPECT_EQ(notes[4].pitch, 42);
    EXPECT_EQ(notes[4].start, 960u);
}

TEST(ScoreNotation, PhrasesRepeatsAndTransposeExpand)
{
    const auto score = tools::parseScore("tempo 120\nphrase P\nc4:4 e4\nend\n"
                                         "track T ch=1\n( @P )x2 | T+2 @P T0 c4:2 |\nend\n");
    const auto& notes = score.parts[0].notes;
    ASSERT_EQ(notes.size(), 7u);
    EXPECT_EQ(notes[2].pitch, 60);
    EXPECT_EQ(notes[2].start, 960u);
    EXPECT_EQ(notes[4].pitch, 62);
    EXPECT_EQ(notes[5].pitch, 66);
    EXPECT_EQ(notes[6].pitch, 60);
}

TEST(ScoreNotation, VelocityAccentAndStaccato)
{
    const auto score = scoreOf("v80 c4:4 d> e' v120 f> |");
    const auto& notes = score.parts[0].notes;
    EXPECT_EQ(notes[0].velocity, 80);
    EXPECT_EQ(notes[1].velocity, 96);
    EXPECT_EQ(notes[2].length, 480u * 45 / 100);
    EXPECT_EQ(notes[3].velocity, 127);
}

TEST(ScoreNotation, MistakesAreReportedNotGuessed)
{
    EXPECT_THROW(scoreOf("c4:4 d e | f g a b |"), std::runtime_error);   // miscounted bar
    EXPECT_THROW(scoreOf("c4:3 r:2. |"), std::runtime_error);            // not a power of two
    EXPECT_THROW(scoreOf("h4:1 |"), std::runtime_error);                 // no such note
    EXPECT_THROW(scoreOf("a9:1 |"), std::runtime_error);                 // above MIDI range
    EXPECT_THROW(scoreOf("@missing"), std::runtime_error);
    EXPECT_THROW(scoreOf("( c4:1"), std::runtime_error);
    EXPECT_THROW(scoreOf("c4:2"), std::runtime_error);                   // not a whole bar
    EXPECT_THROW(tools::parseScore("track T\nc4:1\n"), std::runtime_error); // never closed
    EXPECT_THROW(tools::parseScore("phrase L\n@L\nend\ntrack T\n@L\nend\n"), std::runtime_error);
    EXPECT_THROW(tools::parseScore("track A\nc4:1\nend\ntrack B\nc4:1 c4:1\nend\n"), std::runtime_error);
    EXPECT_THROW(tools::parseScore("track A bogus=1\nc4:1\nend\n"), std::runtime_error);
}

TEST(ScoreNotation, MeterSetsTheBarLength)
{
    const auto score = scoreOf("c4:2. | d:4 e f |", "meter 3/4\n");
    EXPECT_EQ(score.barTicks(), 1440u);
    EXPECT_EQ(score.length, 2880u);
}

TEST(ScoreToMidi, EveryNoteAndChannelSurvivesTheRoundTrip)
{
    const auto score = tools::parseScore("tempo 100\ntrack Lead ch=3 prog=81\nc5:8 d e f g:2 |\nend\n"
                                         "track Kit ch=10\nkick:4 snare kick snare |\nend\n");
    const auto smf = readSmf(asString(tools::scoreToMidi(score).bytes()));
    ASSERT_TRUE(smf.valid) << smf.error;
    ASSERT_EQ(smf.tracks.size(), 3u);
    EXPECT_EQ(smf.tracks[1].name, "Lead");
    EXPECT_EQ(smf.tracks[1].programs, std::vector<int>{80});
    EXPECT_EQ(smf.tracks[1].notes.size(), 5u);
    EXPECT_EQ(smf.tracks[1].notes[0].channel, 2);
    EXPECT_EQ(smf.tracks[2].notes[0].channel, 9);
    for (const auto& track : smf.tracks)
        EXPECT_EQ(track.endTick, score.length);
    EXPECT_NEAR(smf.seconds(), 2.4, 1e-3);
}

TEST(GeneratedMelodies, AreWellFormedStandardMidiFiles)
{
    for (int n = 1; n <= 5; ++n) {
        const auto smf = readSmf(readBytes(melodyPath(n)));
        ASSERT_TRUE(smf.valid) << n << ".mid: " << smf.error;
        EXPECT_EQ(smf.format, 1) << n << ".mid";
        ASSERT_FALSE(smf.tempos.empty()) << n << ".mid has no tempo";
        std::uint32_t end = 0;
        for (const auto& track : smf.tracks) {
            EXPECT_TRUE(track.endsWithEndOfTrack) << n << ".mid " << track.name;
            EXPECT_EQ(track.danglingNoteOns, 0) << n << ".mid " << track.name;
            EXPECT_EQ(track.unmatchedNoteOffs, 0) << n << ".mid " << track.name;
            end = std::max(end, track.endTick);
        }
        for (const auto& track : smf.tracks)
            for (const auto& note : track.notes)
                EXPECT_LE(note.end, end) << n << ".mid " << track.name << " rings past the loop point";
    }
}

TEST(GeneratedMelodies, LastBetweenFortyAndOneHundredTwentySeconds)
{
    for (int n = 1; n <= 5; ++n) {
        const auto smf = readSmf(readBytes(melodyPath(n)));
        ASSERT_TRUE(smf.valid) << n << ".mid: " << smf.error;
        EXPECT_GE(smf.seconds(), 40.0) << n << ".mid";
        EXPECT_LE(smf.seconds(), 120.0) << n << ".mid";
    }
}

TEST(GeneratedMelodies, AreFiveDifferentArrangements)
{
    std::set<std::string> files;
    std::set<std::vector<int>> instrumentations;
    bool someoneDrums = false;
    for (int n = 1; n <= 5; ++n) {
        const std::string bytes = readBytes(melodyPath(n));
        files.insert(bytes);
        const auto smf = readSmf(bytes);
        ASSERT_TRUE(smf.valid) << n << ".mid: " << smf.error;
        int voiced = 0;
        std::vector<int> programs;
        for (const auto& track : smf.tracks) {
            voiced += !track.notes.empty();
            for (const auto& note : track.notes) {
                someoneDrums |= note.channel == 9;
                EXPECT_GE(note.velocity, 30) << n << ".mid " << track.name;
                EXPECT_LE(note.velocity, 127) << n << ".mid " << track.name;
            }
            if (!track.notes.empty() && track.notes[0].channel != 9)
                programs.insert(programs.end(), track.programs.begin(), track.programs.end());
        }
        EXPECT_GE(voiced, 3) << n << ".mid needs melody, bass and harmony";
        instrumentations.insert(programs);
    }
    EXPECT_EQ(files.size(), 5u);
    EXPECT_EQ(instrumentations.size(), 5u);
    EXPECT_TRUE(someoneDrums);
}

TEST(GeneratedMelodies, MatchTheirScores)
{
    for (int n = 1; n <= 5; ++n) {
        const auto path = scorePath(n);
        ASSERT_FALSE(path.empty()) << "no score for melody " << n;
        const auto score = tools::parseScore(readBytes(path), path.string());
        EXPECT_EQ(asString(tools::scoreToMidi(score).bytes()), readBytes(melodyPath(n)))
            << n << ".mid is stale";
        EXPECT_FALSE(score.title.empty());
    }
}

#include "score.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <stdexcept>

namespace tools {

namespace {

struct Token {
    std::string text;
    int line = 0;
};

using Tokens = std::vector<Token>;

class Parser {
public:
    Parser(std::string_view text, std::string source) : m_text(text), m_source(std::move(source)) {}

    Score run();

private:
    [[noreturn]] void fail(int line, const std::string& message) const
    {
        throw std::runtime_error(m_source + ":" + std::to_string(line) + ": " + message);
    }

    static Tokens tokenize(std::string_view line, int number);
    int toInt(const std::string& text, int line, int low, int high) const;
    Tokens collectBlock(std::size_t& lineIndex, const std::vector<std::string_view>& lines, int openLine);
    void expand(const Tokens& tokens, Tokens& out, int depth) const;
    void perform(const Tokens& tokens, ScorePart& part, int gate);
    std::uint32_t parseLength(const std::string& text, int line) const;
    int parsePitch(const std::string& text, int line, bool& isRest, bool& isDrum);

    std::string_view m_text;
    std::string m_source;
    Score m_score;
    std::map<std::string, Tokens> m_phrases;

    // Performance state carried from token to token within one track.
    int m_octave = 4;
    std::uint32_t m_length = 0;
    int m_velocity = 90;
    int m_transpose = 0;
};

const std::map<std::string, int>& drumNames()
{
    static const std::map<std::string, int> names{
        {"kick", 36},   {"rim", 37},    {"snare", 38}, {"clap", 39},     {"esnare", 40},
        {"ltom", 45},   {"hat", 42},    {"phat", 44},  {"ohat", 46},     {"mtom", 47},
        {"htom", 48},   {"crash", 49},  {"ride", 51},  {"china", 52},    {"bell", 53},
        {"tamb", 54},   {"splash", 55}, {"cowbell", 56}, {"crash2", 57}, {"shaker", 70},
        {"triangle", 81}, {"otriangle", 80}};
    return names;
}

Tokens Parser::tokenize(std::string_view line, int number)
{
    Tokens tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '#') // a comment; a sharp sign never starts a token
            break;
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        std::string text;
        bool inChord = false;
        while (i < line.size()) {
            const char d = line[i];
            if (d == '[')
                inChord = true;
            else if (d == ']')
                inChord = false;
            if (!inChord && std::isspace(static_cast<unsigned char>(d)))
                break;
            text += std::isspace(static_cast<unsigned char>(d)) ? ' ' : d;
            ++i;
        }
        tokens.push_back({text, number});
    }
    return tokens;
}

int Parser::toInt(const std::string& text, int line, int low, int high) const
{
    std::size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        fail(line, "expected a number, got \"" + text + "\"");
    }
    if (used != text.size())
        fail(line, "expected a number, got \"" + text + "\"");
    if (value < low || value > high)
        fail(line, text + " is outside " + std::to_string(low) + ".." + std::to_string(high));
    return value;
}

Tokens Parser::collectBlock(std::size_t& lineIndex, const std::vector<std::string_view>& lines, int openLine)
{
    Tokens body;
    for (++lineIndex; lineIndex < lines.size(); ++lineIndex) {
        const int number = static_cast<int>(lineIndex) + 1;
        Tokens tokens = tokenize(lines[lineIndex], number);
        if (!tokens.empty() && tokens.front().text == "end") {
            if (tokens.size() > 1)
                fail(number, "\"end\" stands alone on its line");
            return body;
        }
        body.insert(body.end(), tokens.begin(), tokens.end());
    }
    fail(openLine, "block is never closed with \"end\"");
}

void Parser::expand(const Tokens& tokens, Tokens& out, int depth) const
{
    if (depth > 16)
        fail(tokens.empty() ? 0 : tokens.front().line, "phrases nest too deeply (a phrase using itself?)");
    std::vector<Tokens> groups(1);
    std::vector<int> openedAt;
    for (const Token& token : tokens) {
        if (token.text == "(") {
            groups.emplace_back();
            openedAt.push_back(token.line);
        } else if (token.text.size() >= 2 && token.text[0] == ')' && token.text[1] == 'x') {
            if (groups.size() < 2)
                fail(token.line, "\")\" without \"(\"");
            const int count = toInt(token.text.substr(2), token.line, 1, 64);
            Tokens inner = std::move(groups.back());
            groups.pop_back();
            openedAt.pop_back();
            for (int i = 0; i < count; ++i)
                groups.back().insert(groups.back().end(), inner.begin(), inner.end());
        } else if (token.text[0] == ')') {
            fail(token.line, "a repeat closes with \")xN\"");
        } else if (token.text[0] == '@') {
            const auto phrase = m_phrases.find(token.text.substr(1));
            if (phrase == m_phrases.end())
                fail(token.line, "unknown phrase " + token.text);
            expand(phrase->second, groups.back(), depth + 1);
        } else {
            groups.back().push_back(token);
        }
    }
    if (groups.size() > 1)
        fail(openedAt.back(), "\"(\" is never closed");
    out.insert(out.end(), groups.front().begin(), groups.front().end());
}

std::uint32_t Parser::parseLength(const std::string& text, int line) const
{
    std::uint32_t total = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('+', start);
        if (end == std::string::npos)
            end = text.size();
        std::string term = text.substr(start, end - start);
        int numerator = 1, denominator = 1;
        if (!term.empty() && term.back() == '.') {
            numerator = 3;
            denominator = 2;
            term.pop_back();
        } else if (!term.empty() && term.back() == 't') {
            numerator = 2;
            denominator = 3;
            term.pop_back();
        }
        const int division = toInt(term, line, 1, 64);
        if ((division & (division - 1)) != 0)
            fail(line, "note length " + term + " is not a power of two");
        const long long ticks = 4LL * m_score.ticksPerQuarter * numerator;
        if (ticks % (static_cast<long long>(division) * denominator) != 0)
            fail(line, "note length :" + text + " is not a whole number of ticks");
        total += static_cast<std::uint32_t>(ticks / (static_cast<long long>(division) * denominator));
        start = end + 1;
    }
    return total;
}

int Parser::parsePitch(const std::string& text, int line, bool& isRest, bool& isDrum)
{
    isRest = false;
    isDrum = false;
    if (text == "r") {
        isRest = true;
        return 0;
    }
    if (const auto drum = drumNames().find(text); drum != drumNames().end()) {
        isDrum = true;
        return drum->second;
    }
    if (text.size() > 1 && text[0] == 'n') {
        isDrum = true;
        return toInt(text.substr(1), line, 0, 127);
    }
    static const int semitones[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    if (text.empty() || text[0] < 'a' || text[0] > 'g')
        fail(line, "not a note: \"" + text + "\"");
    int pitch = semitones[text[0] - 'a'];
    std::size_t i = 1;
    for (; i < text.size() && (text[i] == '#' || text[i] == 'b'); ++i)
        pitch += text[i] == '#' ? 1 : -1;
    if (i < text.size())
        m_octave = toInt(text.substr(i), line, 0, 9);
    pitch += 12 * (m_octave + 1) + m_transpose;
    if (pitch < 0 || pitch > 127)
        fail(line, "note \"" + text + "\" is outside the MIDI range");
    return pitch;
}

void Parser::perform(const Tokens& tokens, ScorePart& part, int gate)
{
    m_octave = 4;
    m_length = static_cast<std::uint32_t>(m_score.ticksPerQuarter);
    m_velocity = 90;
    m_transpose = 0;
    std::uint32_t position = 0;
    const std::uint32_t bar = m_score.barTicks();

    for (const Token& token : tokens) {
        const std::string& text = token.text;
        if (text == "|") {
            if (position % bar != 0)
                fail(token.line, "bar line in track " + part.name + " falls " +
                                     std::to_string(position % bar) + " ticks into bar " +
                                     std::to_string(position / bar + 1));
            continue;
        }
        if (text.size() > 1 && text[0] == 'v' && std::isdigit(static_cast<unsigned char>(text[1]))) {
            m_velocity = toInt(text.substr(1), token.line, 1, 127);
            continue;
        }
        if (text.size() > 1 && text[0] == 'q' && std::isdigit(static_cast<unsigned char>(text[1]))) {
            gate = toInt(text.substr(1), token.line, 5, 100);
            continue;
        }
        if (text.size() > 1 && text[0] == 'T') {
            m_transpose = toInt(text[1] == '+' ? text.substr(2) : text.substr(1), token.line, -48, 48);
            continue;
        }

        // A note, rest or chord, then an optional length, then modifiers.
        std::string body = text;
        int velocity = m_velocity;
        int noteGate = gate;
        while (!body.empty() && (body.back() == '>' || body.back() == '\'')) {
            if (body.back() == '>')
                velocity = std::min(127, velocity + 16);
            else
                noteGate = std::min(noteGate, 45);
            body.pop_back();
        }
        std::string pitchText = body;
        const std::size_t close = body.rfind(']');
        const std::size_t colon = body.find(':', close == std::string::npos ? 0 : close);
        if (colon != std::string::npos) {
            pitchText = body.substr(0, colon);
            m_length = parseLength(body.substr(colon + 1), token.line);
        }

        std::vector<std::string> pitches;
        if (!pitchText.empty() && pitchText.front() == '[') {
            if (pitchText.back() != ']')
                fail(token.line, "chord \"" + text + "\" is not closed with \"]\"");
            const Tokens inner = tokenize(std::string_view(pitchText).substr(1, pitchText.size() - 2), token.line);
            if (inner.empty())
                fail(token.line, "empty chord");
            for (const Token& note : inner)
                pitches.push_back(note.text);
        } else {
            pitches.push_back(pitchText);
        }

        for (const std::string& pitchName : pitches) {
            bool isRest = false, isDrum = false;
            const int pitch = parsePitch(pitchName, token.line, isRest, isDrum);
            if (isRest)
                continue;
            const auto sounding = std::max<std::uint32_t>(1, m_length * static_cast<std::uint32_t>(noteGate) / 100);
            part.notes.push_back({position, sounding, pitch, velocity});
        }
        position += m_length;
    }
    part.length = position;
}

Score Parser::run()
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= m_text.size();) {
        std::size_t end = m_text.find('\n', start);
        if (end == std::string_view::npos)
            end = m_text.size();
        std::string_view line = m_text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }

    struct PendingTrack {
        ScorePart part;
        int gate;
        Tokens body;
    };
    std::vector<PendingTrack> tracks;

    for (std::size_t index = 0; index < lines.size(); ++index) {
        const int number = static_cast<int>(index) + 1;
        const Tokens words = tokenize(lines[index], number);
        if (words.empty())
            continue;
        const std::string& keyword = words.front().text;
        if (keyword == "title") {
            const std::string_view line = lines[index];
            const std::size_t from = line.find("title") + 5;
            const std::size_t first = line.find_first_not_of(" \t", from);
            m_score.title = first == std::string_view::npos ? "" : std::string(line.substr(first));
        } else if (keyword == "tempo" && words.size() == 2) {
            m_score.bpm = toInt(words[1].text, number, 20, 300);
        } else if (keyword == "ppq" && words.size() == 2) {
            if (!tracks.empty())
                fail(number, "ppq must come before the tracks");
            m_score.ticksPerQuarter = toInt(words[1].text, number, 24, 3840);
        } else if (keyword == "meter" && words.size() == 2) {
            const std::string& meter = words[1].text;
            const std::size_t slash = meter.find('/');
            if (slash == std::string::npos)
                fail(number, "meter is written like 3/4");
            m_score.meterNumerator = toInt(meter.substr(0, slash), number, 1, 16);
            m_score.meterDenominator = toInt(meter.substr(slash + 1), number, 1, 16);
            if ((m_score.meterDenominator & (m_score.meterDenominator - 1)) != 0)
                fail(number, "meter denominator must be a power of two");
        } else if (keyword == "phrase" && words.size() == 2) {
            const std::string name = words[1].text;
            if (m_phrases.count(name))
                fail(number, "phrase " + name + " is defined twice");
            m_phrases[name] = collectBlock(index, lines, number);
        } else if (keyword == "track" && words.size() >= 2) {
            PendingTrack track{{}, 90, {}};
            track.part.name = words[1].text;
            for (std::size_t w = 2; w < words.size(); ++w) {
                const std::string& option = words[w].text;
                const std::size_t equals = option.find('=');
                if (equals == std::string::npos)
                    fail(number, "track option \"" + option + "\" is written key=value");
                const std::string key = option.substr(0, equals);
                const std::string value = option.substr(equals + 1);
                if (key == "ch")
                    track.part.channel = toInt(value, number, 1, 16);
                else if (key == "prog")
                    track.part.program = toInt(value, number, 1, 128);
                else if (key == "vol")
                    track.part.volume = toInt(value, number, 0, 127);
                else if (key == "pan")
                    track.part.pan = toInt(value, number, 0, 127);
                else if (key == "rev")
                    track.part.reverb = toInt(value, number, 0, 127);
                else if (key == "cho")
                    track.part.chorus = toInt(value, number, 0, 127);
                else if (key == "gate")
                    track.gate = toInt(value, number, 5, 100);
                else
                    fail(number, "unknown track option \"" + key + "\"");
            }
            track.body = collectBlock(index, lines, number);
            tracks.push_back(std::move(track));
        } else {
            fail(number, "unexpected \"" + keyword + "\"");
        }
    }

    if (tracks.empty())
        fail(static_cast<int>(lines.size()), "no tracks");
    for (PendingTrack& track : tracks) {
        Tokens flat;
        expand(track.body, flat, 0);
        perform(flat, track.part, track.gate);
        m_score.parts.push_back(std::move(track.part));
    }

    m_score.length = 0;
    for (const ScorePart& part : m_score.parts)
        m_score.length = std::max(m_score.length, part.length);
    for (const ScorePart& part : m_score.parts) {
        if (part.length != m_score.length)
            fail(static_cast<int>(lines.size()),
                 "track " + part.name + " lasts " + std::to_string(part.length) + " ticks, the longest " +
                     std::to_string(m_score.length));
    }
    if (m_score.length == 0 || m_score.length % m_score.barTicks() != 0)
        fail(static_cast<int>(lines.size()), "the melody is not a whole number of bars");
    return m_score;
}

} // namespace

std::uint32_t Score::barTicks() const
{
    return static_cast<std::uint32_t>(ticksPerQuarter * 4 * meterNumerator / meterDenominator);
}

double Score::seconds() const
{
    return static_cast<double>(length) / ticksPerQuarter * 60.0 / bpm;
}

Score parseScore(std::string_view text, const std::string& sourceName)
{
    return Parser(text, sourceName).run();
}

MidiFile scoreToMidi(const Score& score)
{
    MidiFile file(score.ticksPerQuarter, 1);
    MidiTrack& conductor = file.addTrack();
    conductor.trackName(score.title);
    conductor.tempo(0, static_cast<std::uint32_t>(std::lround(60000000.0 / score.bpm)));
    conductor.timeSignature(0, score.meterNumerator, score.meterDenominator);
    conductor.setEnd(score.length);

    for (const ScorePart& part : score.parts) {
        MidiTrack& track = file.addTrack();
        const int channel = part.channel - 1;
        track.trackName(part.name);
        track.programChange(0, channel, part.program - 1);
        track.controlChange(0, channel, 7, part.volume);
        track.controlChange(0, channel, 10, part.pan);
        track.controlChange(0, channel, 91, part.reverb);
        track.controlChange(0, channel, 93, part.chorus);
        for (const ScoreNote& note : part.notes) {
            track.noteOn(note.start, channel, note.pitch, note.velocity);
            track.noteOff(note.start + note.length, channel, note.pitch);
        }
        track.setEnd(score.length);
    }
    return file;
}

} // namespace tools

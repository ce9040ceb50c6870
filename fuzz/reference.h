#pragma once
// An independent model of the game's number files for the fuzz targets to check against:
// tokens are runs of bytes between spaces, tabs, commas, CR and LF; a token is a number when it
// matches the decimal grammar and its value is finite as a 32-bit float. The model is written
// differently from shell/basic.cpp on purpose (a regular expression and std::from_chars), so a
// fault in either shows as a disagreement.
#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzref {

// Stops the fuzzer with a readable reason; libFuzzer records the input as a crash.
[[noreturn]] inline void fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.c_str());
    std::abort();
}

inline void check(bool condition, const char* what, const std::string& detail = {})
{
    if (!condition)
        fail(what, detail);
}

// Longest token the game's reader accepts; a longer one is never a number.
constexpr std::size_t kMaxToken = 64;

enum class TokenKind { Number, Bad };
struct Token {
    TokenKind kind;
    float value = 0;
    bool valueKnown = true; // false where the model cannot tell an underflow's exact result
    std::string text;
};

inline bool isSeparator(char c)
{
    return c == ' ' || c == ',' || c == '\r' || c == '\n' || c == '\t';
}

// The power of ten of a decimal text's leading nonzero digit ("123.4" → 2, "0.05e3" → 1),
// saturated far outside a double's range; text matching the decimal grammar only.
inline long long decimalExponent(std::string_view text)
{
    constexpr long long kFar = 1'000'000'000;
    const auto e = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::size_t k = e + 1;
        const bool negative = k < text.size() && text[k] == '-';
        if (k < text.size() && (text[k] == '-' || text[k] == '+'))
            ++k;
        for (; k < text.size(); ++k)
            exponent = std::min(kFar, exponent * 10 + (text[k] - '0'));
        if (negative)
            exponent = -exponent;
    }
    const auto point = mantissa.find('.');
    const auto first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return -kFar; // zero
    const long long intDigits = static_cast<long long>(point == std::string_view::npos ? mantissa.size() : point);
    const long long position = static_cast<long long>(first);
    // Digits before the point count from the point leftwards; after it, rightwards.
    const long long lead = position < intDigits ? intDigits - position - 1 : intDigits - position;
    return lead + exponent;
}

// The value of a token (ASCII only), or nothing when it is not a number of the game's files.
inline std::optional<Token> number(std::string_view text)
{
    static const std::regex grammar(R"([+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
    Token t{TokenKind::Bad, 0, true, std::string(text)};
    if (!std::regex_match(t.text, grammar))
        return std::nullopt;
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    double wide = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), wide);
    if (end != digits.data() + digits.size())
        fail("reference grammar and from_chars disagree", t.text);
    if (ec == std::errc::result_out_of_range) {
        // Overflow or an underflow below the smallest double: only an underflow may be accepted,
        // and then only as a value too small for a float's normal range. The sign of the
        // exponent alone does not tell them apart ("666…6e-45" with 600 digits overflows).
        if (decimalExponent(t.text) >= 0)
            return std::nullopt;
        t.kind = TokenKind::Number;
        t.valueKnown = false;
        return t;
    }
    const float value = static_cast<float>(wide);
    if (!std::isfinite(value))
        return std::nullopt;
    t.kind = TokenKind::Number;
    t.value = value;
    return t;
}

// All tokens of a file's bytes, in order, each classified as the game's reader should.
inline std::vector<Token> tokens(const uint8_t* data, std::size_t size)
{
    std::vector<Token> out;
    std::size_t i = 0;
    while (i < size) {
        if (isSeparator(static_cast<char>(data[i]))) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < size && !isSeparator(static_cast<char>(data[j])))
            ++j;
        const std::string_view text(reinterpret_cast<const char*>(data) + i, j - i);
        std::optional<Token> t;
        if (text.size() <= kMaxToken)
            t = number(text);
        out.push_back(t ? *t : Token{TokenKind::Bad, 0, true, std::string(text.substr(0, 80))});
        i = j;
    }
    return out;
}

// Whether a value read matches the model's token.
inline bool sameValue(float read, const Token& t)
{
    if (!t.valueKnown)
        return std::fabs(read) < 1.2e-38f; // an underflow gives zero or a subnormal
    return read == t.value || (std::isnan(read) && std::isnan(t.value));
}

// Two values that print to the same 7 significant digits lie this close together.
inline bool closeBySevenDigits(float a, float b)
{
    if (a == b)
        return true;
    const float scale = std::max(std::fabs(a), std::fabs(b));
    return std::fabs(a - b) <= 1e-6f * scale;
}

// Number texts have 7 significant digits, one more than a float keeps for sure, so a text read
// back may print one unit of the last digit apart (1E+28 reads as 9.999999E+27). Whole numbers
// below 10 million, every level, melody and cell value a player meets, come back exactly.
inline bool printsExactly(float v)
{
    return std::fabs(v) < 1e7f && v == std::trunc(v);
}

inline std::string show(float v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
    return buf;
}

} // namespace fuzzref

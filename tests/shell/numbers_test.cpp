// Number texts, print form and free-form reading shared by every file of the game.
#include "shell/basic.h"

#include <QBuffer>
#include <gtest/gtest.h>

using shell::FreeFormReader;

namespace {
std::vector<float> readAll(const QByteArray& bytes, FreeFormReader::Status* last = nullptr)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    FreeFormReader r(buf);
    std::vector<float> out;
    float v = 0;
    FreeFormReader::Status s;
    while ((s = r.next(v)) == FreeFormReader::Status::Number)
        out.push_back(v);
    if (last)
        *last = s;
    return out;
}
} // namespace

TEST(NumberText, WholeNumbersHaveNoPointAndNoLeadingSpace)
{
    EXPECT_EQ(shell::numText(3), "3");
    EXPECT_EQ(shell::numText(12), "12");
    EXPECT_EQ(shell::numText(0), "0");
    EXPECT_EQ(shell::numText(-0.0f), "0");
    EXPECT_EQ(shell::numText(-1), "-1");
}

TEST(NumberText, FractionsUseSevenSignificantDigits)
{
    EXPECT_EQ(shell::numText(4.2f), "4.2");
    EXPECT_EQ(shell::numText(0.5f), "0.5");
    EXPECT_EQ(shell::numText(-0.8f), "-0.8");
    EXPECT_EQ(shell::numText(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(shell::numText(112.65f), "112.65");
    EXPECT_EQ(shell::numText(1234567.0f), "1234567");
    EXPECT_EQ(shell::numText(1e10f), "1E+10");
}

TEST(PrintForm, SignPositionDigitsAndTrailingSpace)
{
    EXPECT_EQ(shell::printForm(5), " 5 ");
    EXPECT_EQ(shell::printForm(0), " 0 ");
    EXPECT_EQ(shell::printForm(0.5f), " .5 ");
    EXPECT_EQ(shell::printForm(-0.5f), "-.5 ");
    EXPECT_EQ(shell::printForm(4.2f), " 4.2 ");
    EXPECT_EQ(shell::printForm(-1), "-1 ");
}

TEST(FreeFormReading, ReadsTheProgramsOwnOutputBack)
{
    for (float v : {0.0f, 1.0f, 0.5f, -0.5f, 4.2f, -7.25f, 1234567.0f, 3.14159f}) {
        const auto back = readAll(shell::printForm(v).toLatin1() + "\r\n");
        ASSERT_EQ(back.size(), 1u) << v;
        EXPECT_EQ(back[0], v);
    }
}

TEST(FreeFormReading, CommasSpacesAndLineEndsAllSeparate)
{
    EXPECT_EQ(readAll("5,2,4"), (std::vector<float>{5, 2, 4}));
    EXPECT_EQ(readAll("5\r\n2\n4\r\n"), (std::vector<float>{5, 2, 4}));
    EXPECT_EQ(readAll("  5 ,\t2   4"), (std::vector<float>{5, 2, 4}));
}

TEST(FreeFormReading, BadTokensAreReportedNotGuessed)
{
    for (const char* bad : {"abc", "1e999", "nan", "inf", "4x", "--1", ".", "1e", "\xff\xfe"}) {
        FreeFormReader::Status s;
        EXPECT_TRUE(readAll(bad, &s).empty()) << bad;
        EXPECT_EQ(s, FreeFormReader::Status::NotANumber) << bad;
    }
    FreeFormReader::Status s;
    EXPECT_EQ(readAll("1 2 x 3", &s), (std::vector<float>{1, 2}));
    EXPECT_EQ(s, FreeFormReader::Status::NotANumber);
}

TEST(FreeFormReading, AVeryLongTokenIsNotANumber)
{
    FreeFormReader::Status s;
    EXPECT_TRUE(readAll(QByteArray(100000, '7'), &s).empty());
    EXPECT_EQ(s, FreeFormReader::Status::NotANumber);
}

TEST(TextToNumber, TrimsSpacesAndRejectsEmptyText)
{
    EXPECT_EQ(shell::textToNumber(" 5 "), 5.0f);
    EXPECT_EQ(shell::textToNumber("-3"), -3.0f);
    EXPECT_FALSE(shell::textToNumber(""));
    EXPECT_FALSE(shell::textToNumber("пять"));
}

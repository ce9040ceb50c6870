// Number texts and number reading under a desktop locale whose decimal separator is a comma:
// Qt adopts the environment's locale at start-up, so a Russian desktop runs the game in one.
#include "shell/basic.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

bool commaLocaleActive()
{
    const lconv* conv = std::localeconv();
    return conv && conv->decimal_point && std::string(conv->decimal_point) == ",";
}

// The name of a locale with a decimal comma: an installed one, or one compiled once into a
// temporary folder with localedef (LOCPATH then points there). Empty when there is none.
std::string commaLocaleName()
{
    static QTemporaryDir dir;
    static const std::string name = [] {
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        std::string found;
        for (const char* candidate : {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
            if (std::setlocale(LC_ALL, candidate) && commaLocaleActive()) {
                found = candidate;
                break;
            }
        }
        if (found.empty() && dir.isValid()
            && QProcess::execute(QStringLiteral("localedef"), {QStringLiteral("-i"), QStringLiteral("ru_RU"), QStringLiteral("-f"),
                                                               QStringLiteral("UTF-8"), dir.filePath(QStringLiteral("ru_RU.UTF-8"))}) == 0) {
            setenv("LOCPATH", dir.path().toLocal8Bit().constData(), 1);
            if (std::setlocale(LC_ALL, "ru_RU.UTF-8") && commaLocaleActive())
                found = "ru_RU.UTF-8";
        }
        std::setlocale(LC_ALL, previous.c_str());
        return found;
    }();
    return name;
}

// Runs one test in the comma locale and restores the previous locale afterwards.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = std::setlocale(LC_ALL, nullptr);
        const std::string name = commaLocaleName();
        if (name.empty() || !std::setlocale(LC_ALL, name.c_str()))
            GTEST_SKIP() << "no locale with a decimal comma available";
    }
    void TearDown() override { std::setlocale(LC_ALL, m_previous.c_str()); }

private:
    std::string m_previous;
};

} // namespace

TEST_F(CommaLocale, NumberTextsKeepThePoint)
{
    EXPECT_EQ(shell::numText(0.5f), "0.5");
    EXPECT_EQ(shell::numText(-4.2f), "-4.2");
    EXPECT_EQ(shell::numText(1e10f), "1E+10");
    EXPECT_EQ(shell::printForm(0.5f), " .5 ");
    EXPECT_EQ(shell::printForm(4.5f), " 4.5 ");
}

TEST_F(CommaLocale, TypedAndStoredNumbersReadWithThePoint)
{
    EXPECT_EQ(shell::textToNumber(QStringLiteral(" 4.5 ")), 4.5f);
    EXPECT_EQ(shell::parseNumber(u"-.25"), -0.25f);
    EXPECT_FALSE(shell::parseNumber(u"4,5")) << "a comma is a separator in the files, never a decimal point";

    QBuffer buf;
    buf.setData(" 5  1.5  4.2 \r\n");
    buf.open(QIODevice::ReadOnly);
    shell::FreeFormReader reader(buf);
    float v = 0;
    ASSERT_EQ(reader.next(v), shell::FreeFormReader::Status::Number);
    EXPECT_EQ(v, 5.0f);
    ASSERT_EQ(reader.next(v), shell::FreeFormReader::Status::Number);
    EXPECT_EQ(v, 1.5f);
    ASSERT_EQ(reader.next(v), shell::FreeFormReader::Status::Number);
    EXPECT_EQ(v, 4.2f);
    EXPECT_EQ(reader.next(v), shell::FreeFormReader::Status::End);
}

// The player's sound choices with recording devices: the menu "звук", what each choice does to the
// melody rotation and the devices, and sound.cfg across runs, damaged and unwritable.
#include "dialogs/form5.h"
#include "files/sound_cfg.h"
#include "game/form1.h"
#include "game/forms.h"
#include "game/sound_menu.h"
#include "support/fakes.h"
#include "support/qt_print.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using testing_support::GameFixture;
using testing_support::RecordingDevice;

namespace {

QString soundFile(const GameFixture& fx)
{
    return fx.startFolder() + QStringLiteral("/sound.cfg");
}

// Puts sound.cfg in place and runs the program afresh, which reads it.
void writeSoundFile(GameFixture& fx, const QByteArray& bytes)
{
    QFile f(soundFile(fx));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    fx.restart();
}

QByteArray readSoundFile(const GameFixture& fx)
{
    QFile f(soundFile(fx));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The melody files the music device was told to play since command `from`.
QStringList playedSince(const RecordingDevice& music, qsizetype from)
{
    QStringList names;
    QString lastOpened;
    for (const QString& c : music.commands.mid(from)) {
        if (c.startsWith(QLatin1String("open ")))
            lastOpened = QFileInfo(c.mid(5)).fileName();
        else if (c == QLatin1String("play"))
            names << lastOpened;
    }
    return names;
}

// Delivers the Done the recording devices queued.
void deliverDone(const RecordingDevice& music)
{
    ASSERT_TRUE(testing_support::waitFor([&] { return music.owed == 0 || music.playing; }));
    QCoreApplication::processEvents();
}

} // namespace

// Off: the melody fades out, and its Done closes it and starts nothing; on: the melody the rotation
// would play starts, once, also when it is switched on again before the fade has ended.
TEST(SoundMenu, MusicOffFadesTheMelodyOutAndOnStartsTheNextOneOnce)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    RecordingDevice& music = *fx.devices.at(1);
    fx.tick(); // the music start: melody 1
    ASSERT_TRUE(f1.zvuk->muzyka.checked());
    ASSERT_EQ(f1.num, 2.0f);

    qsizetype from = music.commands.size();
    f1.zvuk->muzyka.click();
    EXPECT_EQ(music.commands.mid(from), QStringList({"fade"}));
    deliverDone(music);
    EXPECT_EQ(music.commands.mid(from), QStringList({"fade", "close"})) << "the Done starts nothing";
    EXPECT_EQ(f1.num, 2.0f);
    EXPECT_EQ(readSoundFile(fx), "music off\nmusic-volume 100\neffect-volume 100\n");
    fx.tick(100);
    EXPECT_FALSE(music.playing);

    from = music.commands.size();
    f1.zvuk->muzyka.click();
    EXPECT_EQ(playedSince(music, from), QStringList({"2.mid"}));
    EXPECT_EQ(f1.num, 3.0f);
    EXPECT_EQ(fx.forms().form5().Text1.text(), "3");

    // Off and on again while the fade runs: the fade's Done starts melody 3, and nothing else does.
    from = music.commands.size();
    f1.zvuk->muzyka.click();
    f1.zvuk->muzyka.click();
    EXPECT_EQ(playedSince(music, from), QStringList());
    deliverDone(music);
    EXPECT_EQ(playedSince(music, from), QStringList({"3.mid"}));
    EXPECT_EQ(music.owed, 1) << "one melody plays, with one Done to come";
    EXPECT_TRUE(fx.messages.isEmpty()) << fx.messages.join('\n').toStdString();
}

// Started with the music off, the music start tick plays nothing and keeps its number, as does a
// melody chosen in the options; switched on, that melody plays and the rotation goes on from it.
TEST(SoundMenu, MusicOffFromTheStartPlaysNothingUntilOnThenTheRotationAsEver)
{
    GameFixture fx;
    writeSoundFile(fx, "music off\n");
    fx.writeFile(QStringLiteral("config.cfg"), " 5  5  4 \r\n");
    Form1& f1 = fx.start();
    RecordingDevice& music = *fx.devices.at(1);
    EXPECT_FALSE(f1.zvuk->muzyka.checked());
    fx.tick();
    EXPECT_FALSE(f1.Timer4.enabled());
    EXPECT_EQ(f1.Text1.text(), "5");
    EXPECT_EQ(playedSince(music, 0), QStringList());
    EXPECT_EQ(f1.num, 5.0f);

    Form5& options = fx.forms().form5();
    options.Text1.setText(QStringLiteral("3"));
    options.Command5.click();
    deliverDone(music);
    EXPECT_EQ(playedSince(music, 0), QStringList()) << "a chosen melody waits for the music";

    f1.zvuk->muzyka.click();
    EXPECT_EQ(playedSince(music, 0), QStringList({"3.mid"}));
    music.finishPlayback();
    deliverDone(music);
    music.finishPlayback();
    deliverDone(music);
    EXPECT_EQ(playedSince(music, 0), QStringList({"3.mid", "4.mid", "1.mid"})) << "the bound 5 is skipped as ever";
}

// A volume is heard at once on its device and kept; after a restart both devices play at the kept
// volumes, the menu ticks them, and a music volume of 0 still plays the music.
TEST(SoundMenu, VolumesActAtOnceAndHoldOverARestartAndZeroIsNoSwitch)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    ASSERT_EQ(fx.devices.at(1)->volume, 100);
    ASSERT_TRUE(f1.zvuk->musicVolumes.back().checked());
    f1.zvuk->musicVolumes.front().click();
    f1.zvuk->effectVolumes[3].click();
    EXPECT_EQ(fx.devices.at(1)->volume, 0);
    EXPECT_EQ(fx.devices.at(0)->volume, 30);
    EXPECT_FALSE(f1.zvuk->musicVolumes.back().checked()) << "one volume ticked at a time";
    EXPECT_EQ(readSoundFile(fx), "music on\nmusic-volume 0\neffect-volume 30\n");

    fx.restart();
    Form1& again = fx.start();
    EXPECT_EQ(fx.devices.at(1)->volume, 0);
    EXPECT_EQ(fx.devices.at(0)->volume, 30);
    EXPECT_TRUE(again.zvuk->muzyka.checked());
    EXPECT_TRUE(again.zvuk->musicVolumes.front().checked());
    EXPECT_TRUE(again.zvuk->effectVolumes[3].checked());
    fx.tick();
    EXPECT_EQ(playedSince(*fx.devices.at(1), 0), QStringList({"1.mid"}));
    EXPECT_TRUE(fx.messages.isEmpty()) << fx.messages.join('\n').toStdString();
}

TEST(SoundFile, ReadsTolerantlyAndReadsBackWhatItWrites)
{
    using sound_cfg::parse;
    using sound_cfg::Values;
    EXPECT_EQ(parse("").values, Values{});
    EXPECT_TRUE(parse("\n  \r\n").badLines.isEmpty());
    const auto crlf = parse("music off\r\nmusic-volume 0\r\n effect-volume\t55 \r\n");
    EXPECT_EQ(crlf.values, (Values{false, 0, 60})) << "between two steps, the nearer one";
    EXPECT_FALSE(crlf.damaged());
    // Every line that is no known setting with a good value is noted, and the good lines count.
    const auto odd = parse("music on\nmusic-volume 99999999999\neffect-volume -10\nmusic loud\n"
                           "music-volume 40\nvolume 50\nmusic off extra\n\x01\x02\nmusic-volume 101\n");
    EXPECT_EQ(odd.values, (Values{true, 40, 100}));
    EXPECT_EQ(odd.badLines, QList<int>({2, 3, 4, 6, 7, 8, 9}));
    for (const Values& v : {Values{}, Values{false, 0, 0}, Values{true, 70, 10}})
        EXPECT_EQ(parse(sound_cfg::text(v)).values, v);
}

// A hostile sound.cfg gives the defaults where it falls short and one clear message at the start;
// the game plays on.
TEST(SoundFile, DamagedOrHostileFilesGiveTheDefaultsAndTellThePlayer)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        bool music;
        const char* told;
    };
    const Case cases[] = {
        {"huge numbers", "music-volume 1e400\neffect-volume 18446744073709551616\n", true, "Непонятные строки: 1, 2."},
        {"negative volume and good lines", "music off\nmusic-volume -50\n", false, "Непонятная строка: 2."},
        {"text", "Громче, пожалуйста!\n", true, "Непонятная строка: 1."},
        {"binary", QByteArray("\0\xff\xfe music on\n", 13), true, "Непонятная строка: 1."},
        {"too long", "music off\n" + QByteArray(5000, '#'), false, "прочитано только его начало"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameFixture fx;
        writeSoundFile(fx, c.bytes);
        Form1& f1 = fx.start();
        EXPECT_EQ(f1.zvuk->muzyka.checked(), c.music);
        EXPECT_EQ(fx.devices.at(1)->volume, 100);
        ASSERT_EQ(fx.messages.size(), 1);
        EXPECT_TRUE(fx.messages[0].startsWith("Файл настроек звука повреждён: " + soundFile(fx))) << fx.messages[0].toStdString();
        EXPECT_TRUE(fx.messages[0].contains(QString::fromUtf8(c.told))) << fx.messages[0].toStdString();
        EXPECT_TRUE(fx.messages[0].contains("по умолчанию: музыка включена, громкость музыки 100 %")) << fx.messages[0].toStdString();
    }

    // A folder in its place: read as no file with a reason, and a choice then cannot be kept.
    GameFixture fx;
    ASSERT_TRUE(QDir().mkpath(soundFile(fx)));
    fx.restart();
    Form1& f1 = fx.start();
    ASSERT_EQ(fx.messages.size(), 1);
    EXPECT_TRUE(fx.messages[0].startsWith("Не удалось прочитать настройки звука: " + soundFile(fx))) << fx.messages[0].toStdString();
    EXPECT_TRUE(f1.zvuk->muzyka.checked());
    f1.zvuk->musicVolumes[5].click();
    EXPECT_EQ(fx.devices.at(1)->volume, 50) << "the choice holds for this run";
    ASSERT_EQ(fx.messages.size(), 2);
    EXPECT_TRUE(fx.messages[1].startsWith("Не удалось сохранить настройки звука")) << fx.messages[1].toStdString();
    EXPECT_TRUE(QFileInfo(soundFile(fx)).isDir());
}

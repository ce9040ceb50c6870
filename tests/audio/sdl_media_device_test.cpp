// The SDL media device on the dummy audio driver, which plays in real time without a sound card.
#include "audio/media_device.h"
#include "media_files.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using testmedia::deliverQueuedEvents;

struct Probe {
    std::unique_ptr<audio::MediaDevice> device;
    std::shared_ptr<int> done = std::make_shared<int>(0);

    explicit Probe(const QString& file = {}) : device(audio::makeSdlDevice())
    {
        device->onDone = [count = done] { ++*count; };
        device->setFileName(file);
    }
    void send(const char* word) { device->setCommand(QString::fromLatin1(word)); }
    bool waitForDone(int count, int timeoutMs = 4000)
    {
        return QTest::qWaitFor([&] { return *done >= count; }, timeoutMs);
    }
};

class SdlMediaDevice : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString file(const char* name, const QByteArray& bytes)
    {
        const QString path = testmedia::writeFile(m_dir.filePath(QString::fromLatin1(name)), bytes);
        EXPECT_FALSE(path.isEmpty());
        return path;
    }
    QString shortMelody() { return file("short.mid", testmedia::midiNote(500)); }
    QString longMelody() { return file("long.mid", testmedia::midiNote(30000)); }
    QString longEffect() { return file("ring.Wav", testmedia::fadingTone(3000)); }

private:
    QTemporaryDir m_dir;
};

// FluidSynth lets the last notes ring out for two or three seconds before the melody counts as
// ended, so this is the only test that waits for a natural end; the others end playback by command.
TEST_F(SdlMediaDevice, MelodyRaisesDoneOnceWhenItReachesItsEndAndCanPlayAgain)
{
    Probe melody(shortMelody());
    melody.send("open");
    QElapsedTimer clock;
    clock.start();
    melody.send("play");
    EXPECT_EQ(*melody.done, 0) << "Done must not be raised inside setCommand";

    ASSERT_TRUE(melody.waitForDone(1, 6000));
    EXPECT_GE(clock.elapsed(), 400) << "the melody ended before it could have been heard";
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 1);

    // The ended melody starts over: the close below has a playback to stop.
    melody.send("prev");
    melody.send("play");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 1);
    melody.send("close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 2);
}

TEST_F(SdlMediaDevice, CloseStopsPlayingMelodyAndRaisesDoneLater)
{
    Probe melody(longMelody());
    melody.send("open");
    melody.send("play");
    melody.send("close");
    EXPECT_EQ(*melody.done, 0) << "Done must not be raised inside setCommand";
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 1);
    melody.send("close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 1) << "a second close has nothing to stop";
}

// A fade ends the melody or the effect with its one Done; a Done still to come counts as awaited
// until it is delivered, and a restart owes one Done for each playback.
TEST_F(SdlMediaDevice, FadeEndsPlaybackWithItsDoneAndTheAwaitedDonesAreCounted)
{
    Probe melody(longMelody());
    melody.send("open");
    EXPECT_FALSE(melody.device->awaitingDone());
    melody.device->fadeOut(50);
    melody.send("play");
    EXPECT_TRUE(melody.device->awaitingDone());
    melody.device->fadeOut(50);
    ASSERT_TRUE(melody.waitForDone(1));
    EXPECT_FALSE(melody.device->awaitingDone());
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 1) << "a fade with nothing playing raised a Done";

    Probe effect(longEffect());
    effect.device->setVolume(40);
    effect.send("open");
    effect.send("play");
    effect.send("prev");
    effect.send("play"); // the restart ends the first playback
    effect.device->fadeOut(50);
    EXPECT_TRUE(effect.device->awaitingDone());
    ASSERT_TRUE(effect.waitForDone(2));
    EXPECT_FALSE(effect.device->awaitingDone());
}

TEST_F(SdlMediaDevice, PlayWhilePlayingKeepsTheCurrentPlayback)
{
    Probe melody(longMelody());
    melody.send("open");
    melody.send("play");
    melody.send("play");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 0);
    melody.send("close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 1);
}

TEST_F(SdlMediaDevice, PrevThenPlayRestartsAndAnswersTheEarlierPlay)
{
    Probe melody(longMelody());
    melody.send("open");
    melody.send("play");
    melody.send("prev");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 0) << "prev alone must not stop the melody";
    melody.send("play");
    EXPECT_EQ(*melody.done, 0);
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 1);
    melody.send("close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 2);
}

TEST_F(SdlMediaDevice, OpenOnAnOpenDeviceClosesItFirst)
{
    Probe melody(longMelody());
    melody.send("open");
    melody.send("play");
    melody.send("open");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 1);
    melody.send("play");
    melody.send("close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 2);
}

TEST_F(SdlMediaDevice, SecondMelodyDeviceTakesOverTheSingleMusicStream)
{
    const QString path = longMelody();
    Probe first(path), second(path);
    first.send("open");
    second.send("open");
    first.send("play");
    second.send("play");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*first.done, 1);
    EXPECT_EQ(*second.done, 0);

    first.send("close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*second.done, 0) << "closing the first device must not stop the second one's melody";
    second.send("close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*first.done, 1);
    EXPECT_EQ(*second.done, 1);
}

TEST_F(SdlMediaDevice, EveryHitRestartsTheEffect)
{
    Probe effect(longEffect());
    effect.send("open");
    for (int hit = 1; hit <= 5; ++hit) {
        effect.send("play");
        effect.send("prev");
        ASSERT_TRUE(deliverQueuedEvents());
        EXPECT_EQ(*effect.done, hit - 1) << "each hit cuts the previous instance, hit " << hit;
    }
    effect.send("close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*effect.done, 5);
}

TEST_F(SdlMediaDevice, EffectRaisesDoneWhenItEnds)
{
    Probe effect(file("ring.Wav", testmedia::fadingTone(150)));
    effect.send("open");
    effect.send("play");
    effect.send("prev");
    EXPECT_EQ(*effect.done, 0);
    ASSERT_TRUE(effect.waitForDone(1));
}

TEST_F(SdlMediaDevice, EffectsOfTwoDevicesDoNotCutEachOther)
{
    const QString path = longEffect();
    Probe first(path), second(path);
    first.send("open");
    second.send("open");
    first.send("play");
    second.send("play");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*first.done, 0);
    EXPECT_EQ(*second.done, 0);
    first.send("close");
    second.send("close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*first.done, 1);
    EXPECT_EQ(*second.done, 1);
}

TEST_F(SdlMediaDevice, EffectAndMelodyPlayTogether)
{
    Probe effect(longEffect()), melody(longMelody());
    effect.send("open");
    melody.send("open");
    melody.send("play");
    effect.send("play");
    effect.send("prev");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 0);
    EXPECT_EQ(*effect.done, 0);
    effect.send("close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 0);
    EXPECT_EQ(*effect.done, 1);
}

TEST_F(SdlMediaDevice, CommandsThatCannotBeCarriedOutAreSilent)
{
    Probe missing(QStringLiteral("/nonexistent/music/1.mid"));
    Probe garbage(file("garbage.Wav", QByteArray("this is not a sound file at all")));
    Probe empty(file("empty.mid", QByteArray()));
    Probe unnamed;
    for (Probe* probe : {&missing, &garbage, &empty, &unnamed}) {
        probe->send("open");
        probe->send("play");
        probe->send("prev");
        probe->send("play");
        probe->send("close");
    }
    ASSERT_TRUE(deliverQueuedEvents());
    for (Probe* probe : {&missing, &garbage, &empty, &unnamed})
        EXPECT_EQ(*probe->done, 0) << probe->device->fileName().toStdString();
}

TEST_F(SdlMediaDevice, PlayPrevCloseWithNothingOpenAreSilent)
{
    Probe device(shortMelody());
    device.send("play");
    device.send("prev");
    device.send("close");
    device.send("open");
    device.send("close");
    device.send("play");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*device.done, 0);
}

TEST_F(SdlMediaDevice, UnknownWordsAreIgnoredAndKnownOnesIgnoreCase)
{
    Probe melody(longMelody());
    melody.send("Open");
    melody.send("PLAY");
    for (const char* word : {"stop", "pause", "", "play now", "closed"})
        melody.send(word);
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 0) << "an unknown word stopped the melody";
    melody.send("Close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 1);
}

TEST_F(SdlMediaDevice, DestroyingDeviceWithDoneQueuedIsSafe)
{
    Probe melody(longMelody()), effect(longEffect());
    melody.send("open");
    effect.send("open");
    melody.send("play");
    effect.send("play");
    melody.send("close");
    effect.send("close");
    const auto melodyDone = melody.done, effectDone = effect.done;
    melody.device.reset();
    effect.device.reset();
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melodyDone, 0) << "a Done reached a destroyed device";
    EXPECT_EQ(*effectDone, 0) << "a Done reached a destroyed device";
}

TEST_F(SdlMediaDevice, DestroyingPlayingDeviceLeavesOthersWorking)
{
    const QString path = shortMelody();
    {
        Probe melody(path), effect(longEffect());
        melody.send("open");
        effect.send("open");
        melody.send("play");
        effect.send("play");
    }
    Probe next(path);
    next.send("open");
    next.send("play");
    next.send("close");
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*next.done, 1);
}

// Until a window is on screen the commands wait, each "open" with the file it named; then they
// run in order, and the "play" that started playback is answered as usual.
TEST_F(SdlMediaDevice, DeferredCommandsRunInOrderOnceAWindowIsOnScreen)
{
    audio::deferOutputUntilFirstFrame();
    Probe melody(longMelody()), dropped(longMelody());
    melody.send("open");
    melody.device->setFileName({});
    melody.send("play");
    melody.send("close");
    dropped.send("open");
    dropped.send("play");
    dropped.device.reset();
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 0) << "a command ran before any window was on screen";

    QWidget window;
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(melody.waitForDone(1));
    ASSERT_TRUE(deliverQueuedEvents());
    EXPECT_EQ(*melody.done, 1);
    EXPECT_EQ(*dropped.done, 0) << "a destroyed device's commands ran";
}

TEST_F(SdlMediaDevice, DoneHandlerMayDestroyItsDevice)
{
    Probe melody(longMelody());
    melody.device->onDone = [&melody] { melody.device.reset(); };
    melody.send("open");
    melody.send("play");
    melody.send("close");
    ASSERT_TRUE(QTest::qWaitFor([&melody] { return !melody.device; }, 2000));
}

} // namespace

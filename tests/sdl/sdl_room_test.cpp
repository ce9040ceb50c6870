// SDL's room as the sound and the gamepads share it, on the dummy audio driver.
#include "audio/media_device.h"
#include "audio/media_files.h"
#include "input/gamepads.h"

#include <QTemporaryDir>
#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

bool mixerLoaded()
{
    void* handle = dlopen("libSDL2_mixer-2.0.so.0", RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

std::string hint(const char* name)
{
    const char* value = SDL_GetHint(name);
    return value ? value : "";
}

} // namespace

// The gamepads alone load SDL with the program's hints, not the mixer and its forty libraries; and
// SDL's rule for programs in the background is left alone, the game deciding when a pad may act.
TEST(SdlRoom, GamepadsLoadSdlWithTheHintsButNotTheMixer)
{
    const bool mixerBefore = mixerLoaded();
    input::Gamepads pads;
    ASSERT_TRUE(pads.start()) << "no SDL joystick support";
    EXPECT_TRUE(SDL_WasInit(SDL_INIT_GAMECONTROLLER));
    if (!mixerBefore) {
        EXPECT_FALSE(mixerLoaded());
    }
    EXPECT_EQ(hint(SDL_HINT_NO_SIGNAL_HANDLERS), "1");
    EXPECT_EQ(hint(SDL_HINT_AUDIO_DEVICE_APP_NAME), "Plinkat");
    EXPECT_NE(hint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS), "1");
}

// Gamepads started before the sound and stopped while it plays leave it playing; started again and
// stopped after it, likewise. The sound keeps its output to the end.
TEST(SdlRoom, SoundAndGamepadsStartAndStopInEitherOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString effect = testmedia::writeFile(dir.filePath(QStringLiteral("ring.Wav")), testmedia::fadingTone(300));
    ASSERT_FALSE(effect.isEmpty());
    auto done = std::make_shared<int>(0);
    auto sound = audio::makeSdlDevice();
    sound->onDone = [done] { ++*done; };
    sound->setFileName(effect);

    auto pads = std::make_unique<input::Gamepads>();
    ASSERT_TRUE(pads->start());
    sound->setCommand(QStringLiteral("open"));
    sound->setCommand(QStringLiteral("play"));
    ASSERT_TRUE(SDL_WasInit(SDL_INIT_AUDIO)) << "no audio output";
    pads.reset();
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_GAMECONTROLLER));
    EXPECT_TRUE(SDL_WasInit(SDL_INIT_AUDIO));
    EXPECT_TRUE(QTest::qWaitFor([&] { return *done == 1; }, 5000)) << "the effect stopped playing with the gamepads";

    pads = std::make_unique<input::Gamepads>();
    EXPECT_TRUE(pads->start());
    pads.reset();
    EXPECT_TRUE(SDL_WasInit(SDL_INIT_AUDIO));
    sound->setCommand(QStringLiteral("prev"));
    sound->setCommand(QStringLiteral("play"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return *done == 2; }, 5000)) << "the effect no longer plays";
}

// The SDL media device when no audio output can be opened: everything is a silent no-op.
#include "../audio/media_files.h"
#include "audio/media_device.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class NoOutput : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The output opens once per process, on the first "open": make sure it cannot.
        qputenv("SDL_AUDIODRIVER", "plinkat-no-such-driver");
    }

    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString file(const char* name, const QByteArray& bytes)
    {
        return testmedia::writeFile(m_dir.filePath(QString::fromLatin1(name)), bytes);
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(NoOutput, EveryCommandIsASilentNoOp)
{
    const QString melodyFile = file("1.mid", testmedia::midiNote(200));
    const QString effectFile = file("ring.Wav", testmedia::fadingTone(100));
    int done = 0;
    for (const QString& path : {melodyFile, effectFile}) {
        auto device = audio::makeSdlDevice();
        device->onDone = [&done] { ++done; };
        device->setFileName(path);
        for (const char* word : {"open", "play", "prev", "play", "prev", "close", "play", "open", "play"})
            device->setCommand(QString::fromLatin1(word));
        ASSERT_TRUE(testmedia::deliverQueuedEvents());
    }
    EXPECT_EQ(done, 0);
}

TEST_F(NoOutput, DevicesCanBeDestroyedOpenOrPlaying)
{
    auto melody = audio::makeSdlDevice();
    auto effect = audio::makeSdlDevice();
    int done = 0;
    melody->onDone = effect->onDone = [&done] { ++done; };
    melody->setFileName(file("2.mid", testmedia::midiNote(200)));
    effect->setFileName(file("ring.Wav", testmedia::fadingTone(100)));
    melody->setCommand(QStringLiteral("open"));
    effect->setCommand(QStringLiteral("open"));
    melody->setCommand(QStringLiteral("play"));
    melody.reset();
    effect.reset();
    ASSERT_TRUE(testmedia::deliverQueuedEvents());
    EXPECT_EQ(done, 0);
}

} // namespace

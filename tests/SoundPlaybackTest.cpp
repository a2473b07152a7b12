#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <pulse/simple.h>

#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "media/ModuleCrpt.h"
#include "media/PulseSoundOutput.h"
#include "tests/support/AsNobody.h"
#include "tests/support/QtApp.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/TempInstall.h"

namespace {

class SoundPlaybackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }

    SoundPlaybackTest() : store(install.BinDir()), sound(store, output, messages) {}

    void StoreScrambled(const QString& word, const QByteArray& wav) {
        const QString relative = "Common/voice/" + word + ".abw";
        install.WriteFile(relative, wav);
        ModuleCrpt::ScrambleHeader(install.Root() + "/" + relative);
    }

    TempInstall install;
    MediaStore store;
    RecordingSoundOutput output;
    ScriptedMessageService messages;
    ModulePlaySound sound;
};

TEST_F(SoundPlaybackTest, ScrambledPronunciationIsPlainOnlyWhilePlaying) {
    StoreScrambled("apple", TempInstall::MakeWav(0.2));
    const QByteArray before = install.ReadFile("Common/voice/apple.abw");
    bool plainWhilePlaying = false;
    output.whilePlaying = [&](const QString&) {
        plainWhilePlaying = install.Exists("Common/voice/apple.wav") && !install.Exists("Common/voice/apple.abw");
        EXPECT_TRUE(sound.SoundBusy);
    };
    sound.PlayWordSound("  apple ");
    ASSERT_EQ(output.played.size(), 1);
    EXPECT_EQ(output.headers[0], "RIFF");
    EXPECT_TRUE(plainWhilePlaying);
    EXPECT_FALSE(sound.SoundBusy);
    EXPECT_FALSE(install.Exists("Common/voice/apple.wav"));
    EXPECT_EQ(install.ReadFile("Common/voice/apple.abw"), before);
}

TEST_F(SoundPlaybackTest, PlainPronunciationIsLeftScrambled) {
    const QByteArray wav = TempInstall::MakeWav(0.1);
    install.WriteFile("Common/voice/pig.wav", wav);
    sound.PlayWordSound("pig");
    EXPECT_EQ(output.played.size(), 1);
    EXPECT_FALSE(install.Exists("Common/voice/pig.wav"));
    const QByteArray stored = install.ReadFile("Common/voice/pig.abw");
    EXPECT_EQ(stored.size(), wav.size());
    EXPECT_EQ(stored.left(4), QByteArray("\x4A\x92\x62\x62"));
}

// Left so by a crash between flipping and renaming: the ".abw" holds a plain WAV.
TEST_F(SoundPlaybackTest, PlainSoundUnderTheScrambledNamePlaysEveryTime) {
    const QByteArray wav = TempInstall::MakeWav(0.1);
    install.WriteFile("Common/voice/hen.abw", wav);
    sound.PlayWordSound("hen");
    sound.PlayWordSound("hen");
    EXPECT_EQ(output.headers, QList<QByteArray>({"RIFF", "RIFF"}));
    EXPECT_EQ(install.ReadFile("Common/voice/hen.abw").left(4), QByteArray("\x4A\x92\x62\x62"));
    EXPECT_FALSE(install.Exists("Common/voice/hen.wav"));
}

// A store that cannot be written (as the user nobody; root would write
// anyway): the sound is unscrambled in memory and played from outside it.
TEST_F(SoundPlaybackTest, StoreThatCannotBeWrittenStillPlays) {
    StoreScrambled("apple", TempInstall::MakeWav(0.1));
    const QByteArray before = install.ReadFile("Common/voice/apple.abw");
    AsNobody::LetRead(install.Root());
    const AsNobody::Outcome outcome = AsNobody::Run([this] {
        sound.PlayWordSound("apple");
        if (output.played.size() != 1) return QString("played %1 sounds").arg(output.played.size());
        return QString("header=%1 inStore=%2 left=%3")
            .arg(QString::fromLatin1(output.headers[0]))
            .arg(output.played[0].startsWith(install.Root()))
            .arg(QFileInfo::exists(output.played[0]));
    });
    ASSERT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.report, "header=RIFF inStore=0 left=0");
    EXPECT_EQ(QDir(install.DataDir() + "/voice").entryList(QDir::Files), QStringList({"apple.abw"}));
    EXPECT_EQ(install.ReadFile("Common/voice/apple.abw"), before);
}

TEST_F(SoundPlaybackTest, MissingPronunciationPlaysNothingAndNextWordPlays) {
    StoreScrambled("cat", TempInstall::MakeWav(0.1));
    sound.PlayWordSound("zebra");
    sound.PlayWordSound("../voice/cat");
    EXPECT_TRUE(output.played.isEmpty());
    EXPECT_FALSE(sound.SoundBusy);
    sound.PlayWordSound("cat");
    ASSERT_EQ(output.played.size(), 1);
    EXPECT_TRUE(output.played[0].endsWith("/voice/cat.wav"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SoundPlaybackTest, BusyGuardSkipsANestedPronunciation) {
    install.WriteFile("Common/voice/a.wav", TempInstall::MakeWav(0.1));
    install.WriteFile("Common/voice/b.wav", TempInstall::MakeWav(0.1));
    output.whilePlaying = [&](const QString& path) {
        if (path.endsWith("a.wav")) sound.PlayWavFile("b");
    };
    sound.PlayWavFile("a");
    EXPECT_EQ(output.played.size(), 1);
    EXPECT_FALSE(sound.SoundBusy);
}

TEST_F(SoundPlaybackTest, RecordingKeepsBlanksAndAsksForOneWhenMissing) {
    install.WriteFile("Common/myvoice/ hello.wav", TempInstall::MakeWav(0.1));
    sound.PlayMyVoice(" hello");
    ASSERT_EQ(output.played.size(), 1);
    EXPECT_TRUE(output.played[0].endsWith("/myvoice/ hello.wav"));
    EXPECT_TRUE(messages.shown.empty());

    sound.PlayMyVoice("hello");
    EXPECT_EQ(output.played.size(), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "请先录音！");
    EXPECT_EQ(messages.shown[0].title, "跟读录音");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(install.Exists("Common/myvoice/ hello.wav"));  // recordings stay plain
}

TEST_F(SoundPlaybackTest, FeedbackSoundsByKind) {
    for (const char* name : {"SuccessWav1", "FailWav0", "Notify0"})
        install.WriteFile(QString("Common/appvoice/%1.wav").arg(name), TempInstall::MakeWav(0.05));
    for (qint16 kind : {1, 2, 3, 0}) sound.PlayFeedbackSound(kind);
    ASSERT_EQ(output.played.size(), 4);
    EXPECT_TRUE(output.played[0].endsWith("/appvoice/SuccessWav1.wav"));
    EXPECT_TRUE(output.played[1].endsWith("/appvoice/FailWav0.wav"));
    EXPECT_TRUE(output.played[2].endsWith("/appvoice/Notify0.wav"));
    EXPECT_TRUE(output.played[3].endsWith("/appvoice/Notify0.wav"));
}

bool SoundServerRunning() {
    const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, 8000, 1};
    pa_simple* probe = pa_simple_new(nullptr, "probe", PA_STREAM_PLAYBACK, nullptr, "probe", &sampleFormat, nullptr, nullptr, nullptr);
    if (probe) pa_simple_free(probe);
    return probe != nullptr;
}

// Real playback through the default output (the private PulseAudio null
// sink that scripts/test starts).
class RealPlaybackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }

    void SetUp() override {
        if (!SoundServerRunning()) GTEST_SKIP() << "no sound server here";
    }

    qint64 PlayMs(const QByteArray& bytes) {
        install.WriteFile("sound.wav", bytes);
        QElapsedTimer clock;
        clock.start();
        output.PlaySync(install.Root() + "/sound.wav");
        return clock.elapsed();
    }

    TempInstall install;
    PulseSoundOutput output;
};

// The sound server adds a constant latency of its own (the null sink's is
// large), so lengths are compared against a very short sound.
TEST_F(RealPlaybackTest, PlaybackTakesAboutTheSoundsLength) {
    const qint64 base = PlayMs(TempInstall::MakeWav(0.05, 22050, 1, 16));
    const qint64 ms = PlayMs(TempInstall::MakeWav(1.5, 22050, 1, 16));
    EXPECT_GE(ms - base, 1100) << ms << " against " << base;
    EXPECT_LE(ms - base, 1900) << ms << " against " << base;
}

TEST_F(RealPlaybackTest, CommonPcmFormatsPlay) {
    const qint64 base = PlayMs(TempInstall::MakeWav(0.05, 22050, 1, 16));
    const struct {
        int rate, channels, bits;
    } formats[] = {{44100, 2, 16}, {11025, 1, 8}, {8000, 2, 8}, {48000, 1, 16}};
    for (const auto& f : formats) {
        const qint64 ms = PlayMs(TempInstall::MakeWav(1.0, f.rate, f.channels, f.bits));
        EXPECT_GE(ms - base, 650) << f.rate << "/" << f.channels << "/" << f.bits;
        EXPECT_LE(ms - base, 1400) << f.rate << "/" << f.channels << "/" << f.bits;
    }
}

TEST_F(RealPlaybackTest, DamagedOrMissingFilesReturnPromptly) {
    QByteArray noise(5000, '\0');
    for (int i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919) % 251);
    EXPECT_LT(PlayMs(noise), 500);
    EXPECT_LT(PlayMs(TempInstall::MakeWav(1.0).left(30)), 500);
    EXPECT_LT(PlayMs(QByteArray()), 500);
    QElapsedTimer clock;
    clock.start();
    output.PlaySync(install.Root() + "/missing.wav");
    EXPECT_LT(clock.elapsed(), 500);
}

}  // namespace

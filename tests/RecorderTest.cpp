#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QtEndian>
#include <QTest>
#include <pulse/simple.h>
#include <sndfile.h>

#include "media/PcmConverter.h"
#include "media/PulseRecorder.h"
#include "media/modRecordWav.h"
#include "tests/support/QtApp.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRecorder.h"
#include "tests/support/TempInstall.h"

namespace {

quint32 Le32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
quint16 Le16(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

QStringList Titles(const ScriptedMessageService& messages) {
    QStringList titles;
    for (const auto& shown : messages.shown) titles << shown.title;
    return titles;
}

class RecordSequenceTest : public ::testing::Test {
protected:
    RecordSequenceTest() : rec(recorder, messages) {}

    QString Path(const QString& name) const { return install.DataDir() + "/myvoice/" + name; }

    TempInstall install;
    ScriptedRecorder recorder;
    ScriptedMessageService messages;
    modRecordWav rec;
};

TEST_F(RecordSequenceTest, RecordsInTheAskedLayoutAndPatchesTheByteRate) {
    rec.StartRecord("2", "16", "44100");
    EXPECT_TRUE(rec.Recording());
    EXPECT_EQ(recorder.format, (RecordFormat{2, 16, 44100}));
    rec.StopRecord(Path("cat.wav"));
    EXPECT_FALSE(rec.Recording());
    EXPECT_EQ(recorder.steps, QStringList({"open", "record", "stop", "save " + Path("cat.wav"), "close"}));
    EXPECT_EQ(rec.RecBytesPerSec, 176400u);
    const QByteArray wav = install.ReadFile("Common/myvoice/cat.wav");
    EXPECT_EQ(wav.mid(28, 4), QByteArray("\x10\xB1\x02\x00", 4));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RecordSequenceTest, MonoEightBitByteRate) {
    rec.StartRecord("1", "8", "11025");
    rec.StopRecord(Path("dog.wav"));
    EXPECT_EQ(rec.RecBytesPerSec, 11025u);
    const QByteArray wav = install.ReadFile("Common/myvoice/dog.wav");
    EXPECT_EQ(wav.mid(28, 3), QByteArray("\x11\x2B\x00", 3));
}

TEST_F(RecordSequenceTest, PatchTouchesOnlyBytes28To30OfAnExistingFile) {
    QByteArray original(60, '\x7F');
    install.WriteFile("Common/myvoice/pig.wav", original);
    rec.RecBytesPerSec = 0x0102B110;  // more than 24 bits: the top byte is not written
    rec.PatchWavByteRate(Path("pig.wav"));
    QByteArray expected = original;
    expected.replace(28, 3, QByteArray("\x10\xB1\x02", 3));
    EXPECT_EQ(install.ReadFile("Common/myvoice/pig.wav"), expected);

    rec.PatchWavByteRate(Path("none.wav"));
    EXPECT_FALSE(install.Exists("Common/myvoice/none.wav"));
    install.WriteFile("Common/myvoice/short.wav", QByteArray(20, 'x'));
    rec.PatchWavByteRate(Path("short.wav"));
    EXPECT_EQ(install.ReadFile("Common/myvoice/short.wav"), QByteArray(20, 'x'));
}

TEST_F(RecordSequenceTest, StopWithoutARecordingDoesNothing) {
    rec.StopRecord(Path("cat.wav"));
    EXPECT_TRUE(recorder.steps.isEmpty());
    EXPECT_FALSE(install.Exists("Common/myvoice/cat.wav"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RecordSequenceTest, NoInputIsOneMessageAndNothingRuns) {
    recorder.openError = "找不到录音设备";
    rec.StartRecord("2", "16", "44100");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Error");
    EXPECT_EQ(messages.shown[0].text, "找不到录音设备");
    EXPECT_FALSE(rec.Recording());
    rec.StopRecord(Path("cat.wav"));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(install.Exists("Common/myvoice/cat.wav"));
}

TEST_F(RecordSequenceTest, RefusedSettingsAreReportedInOrderAndTheUsualOnesKept) {
    rec.StartRecord("6", "12", "100");
    EXPECT_EQ(Titles(messages), QStringList({"Error (channels)", "Error (samples/sec)", "Error (bits/sample)"}));
    EXPECT_TRUE(rec.Recording());
    EXPECT_EQ(recorder.format, (RecordFormat{2, 16, 44100}));
    messages.shown.clear();
    rec.StartRecord("x", "8", "22050");
    EXPECT_EQ(Titles(messages), QStringList({"Error (channels)"}));
    EXPECT_EQ(recorder.format, (RecordFormat{2, 8, 22050}));
}

TEST_F(RecordSequenceTest, RefusedRecordingLeavesNothingToStop) {
    recorder.recordError = "格式不对";
    rec.StartRecord("2", "16", "44100");
    EXPECT_EQ(Titles(messages), QStringList({"Error (record)"}));
    EXPECT_FALSE(rec.Recording());
    rec.StopRecord(Path("cat.wav"));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(RecordSequenceTest, FailedSaveKeepsTheEarlierRecordingWhole) {
    QByteArray earlier = TempInstall::MakeWav(0.3, 11025, 1, 8);
    install.WriteFile("Common/myvoice/cat.wav", earlier);
    recorder.saveError = "写不进去";
    recorder.stopError = "停不下来";
    rec.StartRecord("2", "16", "44100");
    rec.StopRecord(Path("cat.wav"));
    EXPECT_EQ(Titles(messages), QStringList({"Error (stop)", "Error (save)"}));
    EXPECT_EQ(install.ReadFile("Common/myvoice/cat.wav"), earlier);
    EXPECT_FALSE(rec.Recording());
}

TEST_F(RecordSequenceTest, StartingAgainDiscardsTheUnsavedRecording) {
    rec.StartRecord("2", "16", "44100");
    rec.StartRecord("1", "16", "22050");
    EXPECT_EQ(recorder.steps, QStringList({"open", "record", "close", "open", "record"}));
    EXPECT_TRUE(rec.Recording());
}

TEST(PcmConverterTest, ChannelsAndRates) {
    const std::vector<qint16> mono = {100, -200, 300};
    EXPECT_EQ(PcmConverter::Convert(mono, 1, 8000, 2, 8000), (std::vector<qint16>{100, 100, -200, -200, 300, 300}));
    const std::vector<qint16> stereo = {100, 300, -100, -300};
    EXPECT_EQ(PcmConverter::Convert(stereo, 2, 8000, 1, 8000), (std::vector<qint16>{200, -200}));
    EXPECT_EQ(PcmConverter::Convert(std::vector<qint16>(22050, 7), 1, 22050, 2, 44100).size(), 88200u);
    EXPECT_TRUE(PcmConverter::Convert({}, 1, 22050, 2, 44100).empty());
}

bool SoundServerRunning() {
    const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, 8000, 1};
    pa_simple* probe =
        pa_simple_new(nullptr, "probe", PA_STREAM_RECORD, nullptr, "probe", &sampleFormat, nullptr, nullptr, nullptr);
    if (probe) pa_simple_free(probe);
    return probe != nullptr;
}

// Real recordings from the private PulseAudio null source that scripts/test
// starts.
class RealRecordingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }

    void SetUp() override {
        if (!SoundServerRunning()) GTEST_SKIP() << "no sound server here";
    }

    // Records for about ms while the event loop runs; returns the time
    // between the start and the stop.
    qint64 RecordFor(modRecordWav& rec, int ms, const QString& path, const char* channels = "2",
                     const char* bits = "16", const char* rate = "44100") {
        QElapsedTimer clock;
        clock.start();
        rec.StartRecord(channels, bits, rate);
        QTest::qWait(ms);
        const qint64 elapsed = clock.elapsed();
        rec.StopRecord(path);
        return elapsed;
    }

    TempInstall install;
    ScriptedMessageService messages;
};

void ExpectStereo44100(const QByteArray& wav, qint64 recordedMs) {
    ASSERT_GE(wav.size(), 44);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(Le16(wav, 20), 1);  // PCM
    EXPECT_EQ(Le16(wav, 22), 2);
    EXPECT_EQ(Le32(wav, 24), 44100u);
    EXPECT_EQ(wav.mid(28, 3), QByteArray("\x10\xB1\x02", 3));
    EXPECT_EQ(Le32(wav, 28), 176400u);
    EXPECT_EQ(Le16(wav, 32), 4);
    EXPECT_EQ(Le16(wav, 34), 16);
    EXPECT_EQ(wav.mid(36, 4), "data");
    const quint32 dataBytes = Le32(wav, 40);
    EXPECT_EQ(static_cast<qint64>(dataBytes), wav.size() - 44);
    const double seconds = dataBytes / 176400.0;
    EXPECT_NEAR(seconds * 1000, recordedMs, 150) << "recorded " << recordedMs << " ms";
}

TEST_F(RealRecordingTest, ASecondInTheViewsLayout) {
    PulseRecorder recorder;
    modRecordWav rec(recorder, messages);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(100);
    const qint64 ms = RecordFor(rec, 1000, install.DataDir() + "/myvoice/apple.wav");
    EXPECT_GE(ticks, 8) << "the event loop was held up while recording";
    EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].title.toStdString();
    ExpectStereo44100(install.ReadFile("Common/myvoice/apple.wav"), ms);
    EXPECT_EQ(rec.RecBytesPerSec, 176400u);
    EXPECT_EQ(QDir(install.DataDir() + "/myvoice").entryList(QDir::Files | QDir::Hidden),
              QStringList({"apple.wav"}));
    EXPECT_TRUE(QFileInfo(install.DataDir() + "/myvoice/apple.wav").permissions() & QFile::ReadOther);
}

TEST_F(RealRecordingTest, MonoEightBitAndAnotherRate) {
    PulseRecorder recorder;
    modRecordWav rec(recorder, messages);
    RecordFor(rec, 400, install.Root() + "/low.wav", "1", "8", "11025");
    const QByteArray wav = install.ReadFile("low.wav");
    ASSERT_GE(wav.size(), 44);
    EXPECT_EQ(Le16(wav, 22), 1);
    EXPECT_EQ(Le32(wav, 24), 11025u);
    EXPECT_EQ(wav.mid(28, 3), QByteArray("\x11\x2B\x00", 3));
    EXPECT_EQ(Le16(wav, 32), 1);
    EXPECT_EQ(Le16(wav, 34), 8);
}

// A microphone that offers only mono at its own rate still gives the asked
// stereo file.
TEST_F(RealRecordingTest, MonoOnlySourceGivesStereo) {
    QProcess load;
    load.start("pactl", {"load-module", "module-null-source", "source_name=orvanel_mono_mic", "channels=1",
                         "rate=22050"});
    if (!load.waitForFinished(5000) || load.exitCode() != 0) GTEST_SKIP() << "pactl cannot load a source here";
    const QString module = QString::fromUtf8(load.readAllStandardOutput()).trimmed();
    PulseRecorder recorder("orvanel_mono_mic");
    modRecordWav rec(recorder, messages);
    QElapsedTimer clock;
    clock.start();
    rec.StartRecord("2", "16", "44100");
    EXPECT_EQ(recorder.CaptureChannels(), 1);
    QTest::qWait(800);
    const qint64 ms = clock.elapsed();
    rec.StopRecord(install.Root() + "/mono.wav");
    QProcess::execute("pactl", {"unload-module", module});
    EXPECT_TRUE(messages.shown.empty());
    ExpectStereo44100(install.ReadFile("mono.wav"), ms);
}

TEST_F(RealRecordingTest, MissingInputIsReportedOnce) {
    PulseRecorder recorder("orvanel_no_such_mic");
    modRecordWav rec(recorder, messages);
    rec.StartRecord("2", "16", "44100");
    EXPECT_FALSE(rec.Recording());
    rec.StopRecord(install.Root() + "/x.wav");
    EXPECT_EQ(Titles(messages), QStringList({"Error"}));
    EXPECT_FALSE(install.Exists("x.wav"));
}

// The destination is a folder: the save fails, says so, and leaves no
// half-written file beside it.
TEST_F(RealRecordingTest, UnwritableDestinationIsReportedAndLeavesNothing) {
    PulseRecorder recorder;
    modRecordWav rec(recorder, messages);
    QDir(install.Root()).mkpath("out/cat.wav");
    RecordFor(rec, 200, install.Root() + "/out/cat.wav");
    EXPECT_EQ(Titles(messages), QStringList({"Error (save)"}));
    EXPECT_EQ(QDir(install.Root() + "/out").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"cat.wav"}));
    EXPECT_FALSE(rec.Recording());
}

}  // namespace

#include <pulse/simple.h>

#include "media/PcmConverter.h"
#include "media/PulseRecorder.h"
#include "media/modRecordWav.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRecorder.h"
#include "tests/support/TempInstall.h"

// Each failing step is reported under its title, a failed save leaves the earlier recording whole, and only a
// saved file gets its byte rate; a second stop does nothing.
TEST(RecordSequence, EachStepThatFailsIsReportedAndOnlyASavedFileIsPatched) {
    const QByteArray earlier = TempInstall::MakeWav(0.3, 11025, 1, 8);
    const QStringList all = {"open", "record", "stop", "save", "close"}, bad = {"Error (channels)", "Error (samples/sec)"};
    const struct {
        QStringList layout, errors, titles, steps;  // errors: of open, record, stop and save
        RecordFormat format;
        quint32 rate;
    } rows[] = {{{"2", "16", "44100"}, {}, {}, all, {2, 16, 44100}, 176400}, {{"1", "8", "8000"}, {}, {}, all, {1, 8, 8000}, 8000},
                {{"2", "16", "192000"}, {}, {}, all, {2, 16, 192000}, 768000},
                {{"3", "12", "7999"}, {}, bad + QStringList{"Error (bits/sample)"}, all, {2, 16, 44100}, 176400},
                {{"0", "16", "192001"}, {}, bad, all, {2, 16, 44100}, 176400},
                {{"x", "8", "22050"}, {}, {"Error (channels)"}, all, {2, 8, 22050}, 44100},
                {{"2", "16", "44100"}, {"找不到录音设备"}, {"Error"}, {"open"}, {}, 0},
                {{"2", "16", "44100"}, {"", "格式不对"}, {"Error (record)"}, {"open", "record", "close"}, {2, 16, 44100}, 0},
                {{"2", "16", "44100"}, {"", "", "停不下来", "写不进去"}, {"Error (stop)", "Error (save)"}, all, {2, 16, 44100}, 176400}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.layout.join('/').toStdString() + " " + row.errors.join(',').toStdString());
        TempInstall install;
        install.WriteFile("Common/myvoice/cat.wav", earlier);
        const QString path = install.DataDir() + "/myvoice/cat.wav";
        ScriptedRecorder recorder;
        ScriptedMessageService messages;
        QString* errors[] = {&recorder.openError, &recorder.recordError, &recorder.stopError, &recorder.saveError};
        for (int i = 0; i < row.errors.size(); ++i) *errors[i] = row.errors[i];
        modRecordWav rec(recorder, messages);
        rec.StartRecord(row.layout[0], row.layout[1], row.layout[2]);
        EXPECT_EQ(rec.Recording(), row.steps.size() > 3);
        for (int time = 0; time < 2; ++time) rec.StopRecord(path);
        EXPECT_FALSE(rec.Recording());
        EXPECT_EQ(messages.Titles(), row.titles);
        EXPECT_EQ(recorder.steps.replaceInStrings(" " + path, ""), row.steps);
        if (row.steps.size() > 1) EXPECT_EQ(recorder.format, row.format);
        EXPECT_EQ(rec.RecBytesPerSec, row.rate);
        const QByteArray wav = install.ReadFile("Common/myvoice/cat.wav");
        if (row.rate == 0 || row.titles.contains("Error (save)")) EXPECT_EQ(wav, earlier);
        else EXPECT_EQ(std::pair(qFromLittleEndian<quint32>(wav.constData() + 28), int(qFromLittleEndian<quint16>(wav.constData() + 22))),
                       std::pair(row.rate, row.format.channels));
    }
}

TEST(RecordSequence, PatchingWritesTheLow24BitsOfTheByteRateIntoAnExistingLongEnoughFile) {
    TempInstall install;
    ScriptedRecorder recorder;
    ScriptedMessageService messages;
    modRecordWav rec(recorder, messages);
    rec.RecBytesPerSec = 0x0102B110;
    for (const int size : {31, 30, 0}) {
        if (size > 0) install.WriteFile(QString::number(size), QByteArray(size, '\x7F'));
        rec.PatchWavByteRate(install.Root() + "/" + QString::number(size));
        const QByteArray expected = QByteArray(size, '\x7F').replace(28, size > 30 ? 3 : 0, size > 30 ? "\x10\xB1\x02" : "");
        EXPECT_EQ(std::pair(install.ReadFile(QString::number(size)), install.Exists(QString::number(size))), std::pair(expected, size > 0));
    }
    rec.StartRecord("2", "16", "44100");
    rec.StartRecord("1", "16", "22050");
    EXPECT_EQ(recorder.steps, QStringList({"open", "record", "close", "open", "record"})) << "the first one is dropped";
    EXPECT_EQ(recorder.format, (RecordFormat{1, 16, 22050}));
}

TEST(PcmConverterTest, ChannelsAndRates) {
    EXPECT_EQ(PcmConverter::Convert({100, -200, 300}, 1, 8000, 2, 8000), (std::vector<qint16>{100, 100, -200, -200, 300, 300}));
    EXPECT_EQ(PcmConverter::Convert({100, 300, -100, -300}, 2, 8000, 1, 8000), (std::vector<qint16>{200, -200}));
    EXPECT_EQ(PcmConverter::Convert(std::vector<qint16>(22050, 7), 1, 22050, 2, 44100).size(), 88200u);
    EXPECT_TRUE(PcmConverter::Convert({}, 1, 22050, 2, 44100).empty());
}

// Real sound through the private PulseAudio's null source and sink.
class RealSoundTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }
    void SetUp() override {
        const pa_sample_spec format{PA_SAMPLE_S16LE, 8000, 1};
        pa_simple* probe = pa_simple_new(nullptr, "probe", PA_STREAM_PLAYBACK, nullptr, "probe", &format, nullptr, nullptr, nullptr);
        if (!probe) GTEST_SKIP() << "no sound server here";
        pa_simple_free(probe);
    }
    // Records for about ms while the event loop runs and stops twice; the time from start to stop.
    qint64 RecordFor(Recorder& recorder, int ms, const QString& name, const QStringList& layout = {"2", "16", "44100"}) {
        modRecordWav rec(recorder, messages);
        QElapsedTimer clock;
        clock.start();
        rec.StartRecord(layout[0], layout[1], layout[2]);
        QTest::qWait(ms);
        const qint64 elapsed = clock.elapsed();
        for (int time = 0; time < 2; ++time) rec.StopRecord(install.Root() + "/" + name);
        EXPECT_FALSE(rec.Recording() || recorder.IsOpen());
        return elapsed;
    }
    // The header of a PCM WAV file of the layout, holding about ms of sound.
    void ExpectWav(const QString& name, int channels, int bits, quint32 rate, qint64 ms) {
        const QByteArray wav = install.ReadFile(name);
        ASSERT_GE(wav.size(), 44);
        EXPECT_EQ(wav.left(4) + wav.mid(8, 8) + wav.mid(36, 4), "RIFFWAVEfmt data");
        const auto at16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
        const auto at32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        const quint32 bytesPerSec = rate * channels * bits / 8;
        EXPECT_EQ(QList<quint32>({at16(20), at16(22), at32(24), at32(28), at16(32), at16(34), at32(40)}),
                  QList<quint32>({1, quint32(channels), rate, bytesPerSec, quint32(channels * bits / 8), quint32(bits),
                                  quint32(wav.size() - 44)}));
        EXPECT_NEAR(at32(40) * 1000.0 / bytesPerSec, ms, 150);
    }
    QStringList Entries(const QString& folder) const {
        return QDir(install.Root() + "/" + folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    TempInstall install;
    ScriptedMessageService messages;
};

// The event loop runs on while recording; the file is an ordinary one, alone in its folder, of the asked layout,
// whatever the source offers. A missing input is said once; a save onto a folder is said and leaves nothing beside it.
TEST_F(RealSoundTest, RecordingsHaveTheAskedLayoutAndLengthOrAreReported) {
    PulseRecorder recorder;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(100);
    const qint64 ms = RecordFor(recorder, 1000, "Common/myvoice/apple.wav");
    EXPECT_GE(ticks, 8) << "the event loop was held up while recording";
    ExpectWav("Common/myvoice/apple.wav", 2, 16, 44100, ms);
    EXPECT_EQ(Entries("Common/myvoice"), QStringList({"apple.wav"}));
    EXPECT_TRUE(QFileInfo(install.DataDir() + "/myvoice/apple.wav").permissions() & QFile::ReadOther);
    ExpectWav("low.wav", 1, 8, 11025, RecordFor(recorder, 400, "low.wav", {"1", "8", "11025"}));
    QProcess load;
    load.start("pactl", {"load-module", "module-null-source", "source_name=orvanel_mono_mic", "channels=1", "rate=22050"});
    ASSERT_TRUE(load.waitForFinished(5000) && load.exitCode() == 0) << "pactl cannot load a source";
    PulseRecorder mono("orvanel_mono_mic"), missing("orvanel_no_such_mic");
    ExpectWav("mono.wav", 2, 16, 44100, RecordFor(mono, 800, "mono.wav"));
    EXPECT_EQ(mono.CaptureChannels(), 1);
    QProcess::execute("pactl", {"unload-module", QString::fromUtf8(load.readAllStandardOutput()).trimmed()});
    EXPECT_EQ(messages.Titles(), QStringList());
    RecordFor(missing, 0, "x.wav");
    EXPECT_EQ(messages.Titles(), QStringList({"Error"}));
    QDir(install.Root()).mkpath("out/cat.wav");
    RecordFor(recorder, 200, "out/cat.wav");
    EXPECT_EQ(messages.Titles(), QStringList({"Error", "Error (save)"}));
    EXPECT_EQ(Entries("") + Entries("out"), QStringList({"Bin", "Common", "low.wav", "mono.wav", "out", "cat.wav"}));
}

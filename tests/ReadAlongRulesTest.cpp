#include <gtest/gtest.h>

#include "app/LessonState.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "media/modRecordWav.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRecorder.h"
#include "tests/support/TempInstall.h"
#include "views/ReadAlongRules.h"

namespace {

class ReadAlongRulesTest : public ::testing::Test {
protected:
    ReadAlongRulesTest()
        : store(install.BinDir()),
          sound(store, output, messages),
          rec(recorder, messages),
          rules(state, store, sound, rec, messages) {
        for (const char* word : {"cat", "dog", "pig"}) {
            CWordType record;
            record.English = word;
            state.Words.push_back(record);
            install.WriteFile(QString("Common/voice/%1.wav").arg(word), TempInstall::MakeWav(0.05));
        }
        state.WordCount = 3;
        Show(0);
    }

    void Show(int index) {
        state.CurWordIndex = static_cast<qint16>(index);
        state.CurEnglish = state.Words[index].English;
        rules.WordShown();
    }

    bool HasRecording(const QString& word) const { return install.Exists("Common/myvoice/" + word + ".wav"); }
    QStringList PlayedNames() const {
        QStringList names;
        for (const QString& path : output.played) names << path.section('/', -2);
        return names;
    }

    TempInstall install;
    LessonState state;
    MediaStore store;
    RecordingSoundOutput output;
    ScriptedMessageService messages;
    ModulePlaySound sound;
    ScriptedRecorder recorder;
    modRecordWav rec;
    ReadAlongRules rules;
};

TEST_F(ReadAlongRulesTest, TimeLimitSavesWithoutPlayback) {
    EXPECT_EQ(rules.MyAudioCaption(), "尚未录音");
    rules.RecordClicked();
    EXPECT_TRUE(rules.Recording());
    EXPECT_EQ(rules.RecordCaption(), "停止");
    EXPECT_EQ(rules.MyAudioCaption(), "我的朗读");
    EXPECT_EQ(recorder.format, (RecordFormat{2, 16, 44100}));
    rules.SaveMyRecord();
    EXPECT_FALSE(rules.Recording());
    EXPECT_EQ(rules.RecordCaption(), "开始录音");
    EXPECT_TRUE(HasRecording("cat"));
    EXPECT_EQ(rules.MyAudioCaption(), "我的朗读");
    EXPECT_TRUE(output.played.isEmpty());
    // Saved straight to the word's file.
    EXPECT_TRUE(recorder.steps.contains("save " + install.DataDir() + "/myvoice/cat.wav"));
}

TEST_F(ReadAlongRulesTest, SecondClickSavesAndPlaysBack) {
    rules.RecordClicked();
    rules.RecordClicked();
    EXPECT_FALSE(rules.Recording());
    EXPECT_TRUE(HasRecording("cat"));
    EXPECT_EQ(PlayedNames(), QStringList({"myvoice/cat.wav"}));
    // The temporary file is gone and the saved file has its byte rate.
    EXPECT_EQ(QDir(install.DataDir() + "/myvoice").entryList(QDir::Files | QDir::Hidden), QStringList({"cat.wav"}));
    EXPECT_EQ(install.ReadFile("Common/myvoice/cat.wav").mid(28, 3), QByteArray("\x10\xB1\x02", 3));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ReadAlongRulesTest, StandardPronunciationDuringARecordingSavesFirst) {
    rules.RecordClicked();
    bool savedBeforeSpeaking = false;
    output.whilePlaying = [&](const QString&) {
        savedBeforeSpeaking = HasRecording("cat") && !rec.Recording();
        EXPECT_TRUE(rules.Speaking());
    };
    rules.StandardAudioClicked();
    EXPECT_TRUE(savedBeforeSpeaking);
    EXPECT_FALSE(rules.Recording());
    EXPECT_FALSE(rules.Speaking());
    EXPECT_EQ(PlayedNames(), QStringList({"voice/cat.wav"}));
}

TEST_F(ReadAlongRulesTest, BothWithoutRecordingSpeaksThenAsksForOne) {
    rules.BothAudioClicked();
    EXPECT_EQ(PlayedNames(), QStringList({"voice/cat.wav"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "请先录音！");
    EXPECT_EQ(messages.shown[0].title, "跟读录音");

    rules.RecordClicked();
    rules.SaveMyRecord();
    output.played.clear();
    rules.BothAudioClicked();
    EXPECT_EQ(PlayedNames(), QStringList({"voice/cat.wav", "myvoice/cat.wav"}));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ReadAlongRulesTest, MyReadingEndsARecordingAndPlaysItOnce) {
    rules.RecordClicked();
    rules.MyAudioClicked();
    EXPECT_FALSE(rules.Recording());
    EXPECT_EQ(PlayedNames(), QStringList({"myvoice/cat.wav"}));
}

TEST_F(ReadAlongRulesTest, DeleteAndIndicator) {
    rules.DeleteMyRecord();  // nothing to delete: nothing happens
    EXPECT_TRUE(messages.shown.empty());
    rules.RecordClicked();
    rules.SaveMyRecord();
    Show(1);
    EXPECT_EQ(rules.MyAudioCaption(), "尚未录音");
    Show(0);
    EXPECT_EQ(rules.MyAudioCaption(), "我的朗读");
    rules.DeleteMyRecord();
    EXPECT_FALSE(HasRecording("cat"));
    EXPECT_EQ(rules.MyAudioCaption(), "尚未录音");
    Show(1);
    Show(0);
    EXPECT_EQ(rules.MyAudioCaption(), "尚未录音");
}

TEST_F(ReadAlongRulesTest, DeleteLeavesARunningRecordingAlone) {
    rules.RecordClicked();
    rules.DeleteMyRecord();
    EXPECT_TRUE(rules.Recording());
    EXPECT_TRUE(rec.Recording());
}

TEST_F(ReadAlongRulesTest, MovingAwaySavesUnderTheWordItWasStartedFor) {
    rules.RecordClicked();
    Show(1);
    EXPECT_FALSE(rules.Recording());
    EXPECT_TRUE(HasRecording("cat"));
    EXPECT_FALSE(HasRecording("dog"));
    EXPECT_EQ(rules.MyAudioCaption(), "尚未录音");
    EXPECT_TRUE(output.played.isEmpty());
    // Showing the same word again leaves a recording running.
    rules.RecordClicked();
    Show(1);
    EXPECT_TRUE(rules.Recording());
}

TEST_F(ReadAlongRulesTest, FailedStartLeavesTheControlReadyToStart) {
    recorder.openError = "找不到录音设备";
    rules.RecordClicked();
    EXPECT_FALSE(rules.Recording());
    EXPECT_EQ(rules.RecordCaption(), "开始录音");
    EXPECT_EQ(rules.MyAudioCaption(), "尚未录音");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Error");
}

TEST_F(ReadAlongRulesTest, FailedSaveKeepsTheEarlierRecording) {
    const QByteArray earlier = TempInstall::MakeWav(0.2, 44100, 2, 16);
    install.WriteFile("Common/myvoice/cat.wav", earlier);
    recorder.saveError = "磁盘满了";
    rules.RecordClicked();
    rules.RecordClicked();
    EXPECT_EQ(install.ReadFile("Common/myvoice/cat.wav"), earlier);
    EXPECT_FALSE(install.Exists("Common/myvoice/.recording.wav"));
    EXPECT_EQ(rules.RecordCaption(), "开始录音");
    EXPECT_EQ(rules.MyAudioCaption(), "我的朗读");
    ASSERT_GE(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Error (save)");
    // What was played back is the earlier recording.
    EXPECT_EQ(PlayedNames(), QStringList({"myvoice/cat.wav"}));
}

TEST_F(ReadAlongRulesTest, PictureClickIsIgnoredWhileSpeaking) {
    output.whilePlaying = [&](const QString&) { rules.PictureClicked(); };
    rules.PictureClicked();
    EXPECT_EQ(output.played.size(), 1);
}

}  // namespace

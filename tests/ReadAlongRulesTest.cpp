#include <gtest/gtest.h>

#include "core/LessonState.h"
#include "data/LessonDatabase.h"
#include "media/MediaStore.h"
#include "media/ModulePlaySound.h"
#include "media/modRecordWav.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRecorder.h"
#include "tests/support/TempInstall.h"
#include "views/ReadAlongRules.h"

namespace {

// Two words with pronunciations, "cat" shown.
struct Rig {
    Rig() : store(install.BinDir()), db(state, messages), sound(store, output, messages), rec(recorder, messages),
            rules(state, db, store, sound, rec, messages) {
        install.CreateDatabase({{"Unit 1"}}, {{0, 0, "cat", "猫"}, {0, 0, "dog", "狗"}});
        db.BuildConnString(install.AppPicsDir());
        db.LoadSettings();
        for (const char* word : {"cat", "dog"}) {
            state.Words.emplace_back().English = word;
            install.WriteFile(QString("Common/voice/%1.wav").arg(word), TempInstall::MakeWav(0.05));
        }
        state.WordCount = 2;
        Show(0);
    }
    void Show(int index) {
        state.CurWordIndex = static_cast<qint16>(index);
        state.CurEnglish = state.Words[index].English;
        rules.WordShown();
    }
    QStringList Played() const {
        QStringList names;
        for (const QString& path : output.played) names << path.section('/', -2);
        return names;
    }
    QStringList Messages() const {
        QStringList texts;
        for (const auto& shown : messages.shown) texts << shown.title + "|" + shown.text;
        return texts;
    }
    QStringList Kept() const { return QDir(install.DataDir() + "/myvoice").entryList(QDir::Files | QDir::Hidden); }

    TempInstall install;
    LessonState state;
    MediaStore store;
    LessonDatabase db;
    RecordingSoundOutput output;
    ScriptedMessageService messages;
    ModulePlaySound sound;
    ScriptedRecorder recorder;
    modRecordWav rec;
    ReadAlongRules rules;
};

TEST(ReadAlongRulesTest, EachSequenceLeavesItsRecordingSoundsAndMessages) {
    struct Row {
        const char* name;
        std::function<void(Rig&)> act;
        bool recording, recorded;
        QStringList kept, played, messages;
        QByteArray earlier = {};  // the word's recording before the sequence
    };
    const auto record = [](Rig& r) { r.rules.RecordClicked(); };
    const std::vector<Row> rows = {
        {"time limit", [&](Rig& r) { record(r); r.rules.SaveMyRecord(); }, false, true, {"cat.wav"}, {}, {}},
        {"second click", [&](Rig& r) { record(r); record(r); }, false, true, {"cat.wav"}, {"myvoice/cat.wav"}, {}},
        {"standard", [&](Rig& r) { record(r); r.rules.StandardAudioClicked(); }, false, true, {"cat.wav"}, {"voice/cat.wav"}, {}},
        {"mine", [&](Rig& r) { record(r); r.rules.MyAudioClicked(); }, false, true, {"cat.wav"}, {"myvoice/cat.wav"}, {}},
        {"both, none yet", [](Rig& r) { r.rules.BothAudioClicked(); }, false, false, {}, {"voice/cat.wav"}, {"跟读录音|请先录音！"}},
        {"both", [&](Rig& r) { record(r); r.rules.SaveMyRecord(); r.rules.BothAudioClicked(); }, false, true, {"cat.wav"},
         {"voice/cat.wav", "myvoice/cat.wav"}, {}},
        {"moved away", [&](Rig& r) { record(r); r.Show(1); }, false, false, {"cat.wav"}, {}, {}},
        {"same word again", [&](Rig& r) { record(r); r.Show(0); }, true, true, {}, {}, {}},
        {"try again", [&](Rig& r) { record(r); r.rules.SaveMyRecord(); r.rules.DeleteMyRecord(); }, false, false, {}, {}, {}},
        {"try again while recording", [&](Rig& r) { record(r); r.rules.DeleteMyRecord(); }, true, true, {}, {}, {}},
        {"try again, none", [](Rig& r) { r.rules.DeleteMyRecord(); }, false, false, {}, {}, {}},
        {"no microphone", [&](Rig& r) { r.recorder.openError = "找不到录音设备"; record(r); }, false, false, {}, {}, {"Error|找不到录音设备"}},
        {"save fails", [&](Rig& r) { r.recorder.saveError = "磁盘满了"; record(r); record(r); }, false, true, {"cat.wav"},
         {"myvoice/cat.wav"}, {"Error (save)|磁盘满了"}, TempInstall::MakeWav(0.2, 44100, 2, 16)},
        {"picture while spoken", [](Rig& r) {
             r.output.whilePlaying = [&r](const QString&) { r.rules.PictureClicked(); };
             r.rules.PictureClicked();
         }, false, false, {}, {"voice/cat.wav"}, {}},
    };
    for (const Row& row : rows) {
        Rig r;
        if (!row.earlier.isEmpty()) r.install.WriteFile("Common/myvoice/cat.wav", row.earlier);
        r.output.whilePlaying = [&](const QString&) { EXPECT_FALSE(r.rec.Recording()) << row.name << ": sound while recording"; };
        row.act(r);
        EXPECT_EQ(r.rules.Recording(), row.recording) << row.name;
        EXPECT_EQ(r.rec.Recording(), row.recording) << row.name;
        EXPECT_FALSE(r.rules.Speaking()) << row.name;
        EXPECT_EQ(r.rules.RecordCaption(), row.recording ? "停止" : "开始录音") << row.name;
        EXPECT_EQ(r.rules.MyAudioCaption(), row.recorded ? "我的朗读" : "尚未录音") << row.name;
        EXPECT_EQ(r.Kept(), row.kept) << row.name;
        EXPECT_EQ(r.Played(), row.played) << row.name;
        EXPECT_EQ(r.Messages(), row.messages) << row.name;
        EXPECT_EQ(r.recorder.format, (RecordFormat{2, 16, 44100})) << row.name;
        const QByteArray kept = r.install.ReadFile("Common/myvoice/cat.wav");
        if (!row.earlier.isEmpty()) { EXPECT_EQ(kept, row.earlier) << row.name; }
        if (!row.kept.isEmpty()) { EXPECT_EQ(kept.mid(28, 3), QByteArray("\x10\xB1\x02", 3)) << row.name << ": byte rate"; }
    }
}

}  // namespace

#pragma once

#include "core/LessonContext.h"
#include "core/LessonState.h"
#include "core/MainHost.h"
#include "data/Catalogue.h"
#include "data/LessonDatabase.h"
#include "data/ReviewRecords.h"
#include "data/WordRecords.h"
#include "media/MediaStore.h"
#include "media/ModuleCrpt.h"
#include "media/ModulePlaySound.h"
#include "media/modRecordWav.h"
#include "quiz/ReviewBook.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/ScriptedDate.h"
#include "tests/support/ScriptedRecorder.h"
#include "tests/support/TempInstall.h"

// The smallest point size of any text a pupil reads in a window: its labels, buttons and lists.
inline int SmallestTextPointSize(const QWidget& window) {
    int smallest = 1000;
    for (const QWidget* w : window.findChildren<QWidget*>())
        if (qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractItemView*>(w))
            smallest = std::min(smallest, w->font().pointSize());
    return smallest;
}

// Remembers what a view asked of the main window.
class FakeHost : public MainHost {
public:
    void ShowUserControl(qint16 iDisplayCtrl) override { modes.push_back(iDisplayCtrl); }
    void mnuLEARN_Orvanel_Click() override { modes.push_back(1); }
    void ShowPPKHelp() override {}
    std::vector<qint16> modes;
};

// A temporary installation with a lesson database, scrambled pictures and
// pronunciations for the words, and the whole context a view works with.
class ViewFixture : public ::testing::Test {
protected:
    ViewFixture() { EnsureQtApp(); }

    // One book with the given units; every word gets a picture (except those
    // listed in withoutPicture) and a pronunciation, both scrambled.
    void CreateUnits(const std::vector<std::vector<TempInstall::Word>>& units, const QStringList& withoutPicture = {}) {
        std::vector<QString> names;
        std::vector<TempInstall::Word> all;
        for (size_t u = 0; u < units.size(); ++u) {
            names.push_back(QStringLiteral("Unit %1").arg(u + 1));
            for (TempInstall::Word word : units[u]) {
                word.book = 0;
                word.unit = static_cast<int>(u);
                all.push_back(word);
            }
        }
        install.CreateDatabase({names}, all);
        AddPicture("ffe", TempInstall::MakeJpeg(200, 100));
        AddVoice("ffe");
        for (const TempInstall::Word& word : all) {
            if (!withoutPicture.contains(word.english)) AddPicture(word.english, TempInstall::MakeJpeg(40 + static_cast<int>(word.english.size()), 30));
            AddVoice(word.english);
        }
        db.BuildConnString(install.AppPicsDir());
        ASSERT_TRUE(db.LoadSettings() && catalogue.LoadUnits(0) && words.LoadUnitWords(0, 0));
    }

    // Words "w0", "w1", … with meanings "意0", "意1", …
    static std::vector<TempInstall::Word> NumberedWords(int count) {
        std::vector<TempInstall::Word> list;
        for (int i = 0; i < count; ++i) list.push_back({0, 0, QStringLiteral("w%1").arg(i), QStringLiteral("意%1").arg(i)});
        return list;
    }

    // A scrambled picture and pronunciation in the store, as the content builder leaves them.
    void AddPicture(const QString& word, const QByteArray& jpeg = TempInstall::MakeJpeg()) {
        install.WriteFile("Common/pics/" + word + ".pet", TempInstall::Scrambled(jpeg));
    }
    void AddVoice(const QString& word, double seconds = 0.01) {
        install.WriteFile("Common/voice/" + word + ".abw", TempInstall::Scrambled(TempInstall::MakeWav(seconds)));
    }

    // The words whose pronunciations were played, in order.
    QStringList Spoken() const {
        QStringList spoken;
        for (const QString& path : output.played) spoken << QFileInfo(path).completeBaseName();
        return spoken;
    }

    TempInstall install;
    LessonState state;
    ScriptedMessageService messages;
    ScriptedRandom random;
    RecordingSoundOutput output;
    FakeHost host;
    MediaStore store{install.BinDir()};
    LessonDatabase db{state, messages};
    Catalogue catalogue{state, db, messages};
    WordRecords words{state, db, messages, random};
    ModulePlaySound sound{store, output, messages};
    ScriptedRecorder recorder;
    modRecordWav recording{recorder, messages};
    ScriptedDate dates;
    ReviewRecords reviewRecords{state, db};
    ReviewBook review{reviewRecords, dates};
    LessonContext context{state, db, catalogue, words, store, sound, recording, messages, random, host, review, dates};
};

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

// The smallest point size of any text a pupil reads in a window: its labels,
// buttons and lists.
inline int SmallestTextPointSize(const QWidget& window) {
    int smallest = 1000;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
            qobject_cast<const QAbstractItemView*>(widget))
            smallest = std::min(smallest, widget->font().pointSize());
    }
    return smallest;
}

// Remembers what a view asked of the main window.
class FakeHost : public MainHost {
public:
    void ShowUserControl(qint16 iDisplayCtrl) override { modes.push_back(iDisplayCtrl); }
    void mnuLEARN_Orvanel_Click() override { modes.push_back(1); }
    void ShowPPKHelp() override { ++helpShown; }
    std::vector<qint16> modes;
    int helpShown = 0;
};

// A temporary installation with a lesson database, scrambled pictures and
// pronunciations for the words, and the whole context a view works with.
class ViewFixture : public ::testing::Test {
protected:
    ViewFixture()
        : store(install.BinDir()),
          db(state, messages),
          catalogue(state, db, messages),
          words(state, db, messages, random),
          sound(store, output, messages),
          recording(recorder, messages),
          reviewRecords(state, db),
          review(reviewRecords, dates),
          context{state, db, catalogue, words, store, sound, recording, messages, random, host, review, dates} {
        EnsureQtApp();
    }

    // One book with the given units; every word gets a picture (except those
    // listed in withoutPicture) and a pronunciation, both scrambled.
    void CreateUnits(const std::vector<std::vector<TempInstall::Word>>& units,
                     const QStringList& withoutPicture = {}) {
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
        AddMedia(QStringLiteral("ffe"), 200, 100);
        for (const TempInstall::Word& word : all)
            if (!withoutPicture.contains(word.english)) AddMedia(word.english, 40 + static_cast<int>(word.english.size()), 30);
        db.BuildConnString(install.AppPicsDir());
        ASSERT_TRUE(db.LoadSettings());
        ASSERT_TRUE(catalogue.LoadUnits(0));
        ASSERT_TRUE(words.LoadUnitWords(0, 0));
    }

    // Words "w0", "w1", … with meanings "意0", "意1", …
    static std::vector<TempInstall::Word> NumberedWords(int count) {
        std::vector<TempInstall::Word> list;
        for (int i = 0; i < count; ++i)
            list.push_back({0, 0, QStringLiteral("w%1").arg(i), QStringLiteral("意%1").arg(i)});
        return list;
    }

    void AddMedia(const QString& word, int width, int height, double seconds = 0.01) {
        AddPicture(word, TempInstall::MakeJpeg(width, height));
        AddVoice(word, seconds);
    }

    // A scrambled picture in the store, as the content builder leaves it.
    void AddPicture(const QString& word, const QByteArray& jpeg = TempInstall::MakeJpeg()) {
        const QString pic = QStringLiteral("Common/pics/") + word + QStringLiteral(".pet");
        install.WriteFile(pic, jpeg);
        ModuleCrpt::ScrambleHeader(install.Root() + QLatin1Char('/') + pic);
    }

    // A scrambled pronunciation in the store.
    void AddVoice(const QString& word, double seconds = 0.01) {
        const QString voice = QStringLiteral("Common/voice/") + word + QStringLiteral(".abw");
        install.WriteFile(voice, TempInstall::MakeWav(seconds));
        ModuleCrpt::ScrambleHeader(install.Root() + QLatin1Char('/') + voice);
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
    MediaStore store;
    LessonDatabase db;
    Catalogue catalogue;
    WordRecords words;
    ModulePlaySound sound;
    ScriptedRecorder recorder;
    modRecordWav recording;
    ScriptedDate dates;
    ReviewRecords reviewRecords;
    ReviewBook review;
    LessonContext context;
};

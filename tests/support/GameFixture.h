#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <functional>

#include "app/LessonContext.h"
#include "app/LessonState.h"
#include "app/MainHost.h"
#include "data/Catalogue.h"
#include "data/LessonDatabase.h"
#include "data/WordRecords.h"
#include "media/MediaStore.h"
#include "media/ModuleCrpt.h"
#include "media/ModulePlaySound.h"
#include "media/modRecordWav.h"
#include "tests/support/QtApp.h"
#include "tests/support/RecordingSoundOutput.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/ScriptedRecorder.h"
#include "tests/support/TempInstall.h"

// Remembers what a view asked of the main window.
class FakeHost : public MainHost {
public:
    void ShowUserControl(qint16 iDisplayCtrl) override { modes.push_back(iDisplayCtrl); }
    void mnuLEARN_Orvanel_Click() override { modes.push_back(1); }
    void ShowPPKHelp() override { ++helpShown; }

    std::vector<qint16> modes;
    int helpShown = 0;
};

// A temporary installation with one unit of the given words, loaded into a
// lesson state, and everything a game view works with.
class GameFixture : public ::testing::Test {
protected:
    GameFixture()
        : db(state, messages),
          catalogue(state, db, messages),
          words(state, db, messages, random),
          store(install.BinDir()),
          sound(store, output, messages),
          recorder(recording, messages),
          context{state, db, catalogue, words, store, sound, recorder, messages, random, host} {
        EnsureQtApp();
    }

    // One unit of book 0 holding the words; false when the data did not load.
    bool LoadUnit(const std::vector<TempInstall::Word>& unitWords) {
        install.CreateDatabase({{"Unit 1"}}, unitWords);
        db.BuildConnString(install.AppPicsDir());
        return db.LoadSettings() && catalogue.LoadUnits(0) && words.LoadUnitWords(0, 0);
    }

    // A scrambled picture of the given size in the store, as the content builder leaves it.
    void StorePicture(const QString& word, int width = 40, int height = 30) {
        const QString plain = "Common/pics/" + word + ".jpg";
        install.WriteFile(plain, TempInstall::MakeJpeg(width, height));
        ModuleCrpt::ScrambleHeader(install.DataDir() + "/pics/" + word + ".jpg");
        QFile::rename(install.DataDir() + "/pics/" + word + ".jpg", install.DataDir() + "/pics/" + word + ".pet");
    }

    void StoreFeedbackSounds() {
        for (const char* name : {"SuccessWav1", "FailWav0"})
            install.WriteFile(QString("Common/appvoice/%1.wav").arg(name), TempInstall::MakeWav(0.05));
    }

    QStringList PlayedNames() const {
        QStringList names;
        for (const QString& path : output.played) names << QFileInfo(path).completeBaseName();
        return names;
    }

    static bool WaitFor(const std::function<bool()>& condition, int ms) {
        QElapsedTimer clock;
        clock.start();
        while (!condition() && clock.elapsed() < ms) QTest::qWait(10);
        return condition();
    }

    TempInstall install;
    LessonState state;
    ScriptedMessageService messages;
    ScriptedRandom random;
    RecordingSoundOutput output;
    FakeHost host;
    LessonDatabase db;
    Catalogue catalogue;
    WordRecords words;
    MediaStore store;
    ModulePlaySound sound;
    ScriptedRecorder recording;
    modRecordWav recorder;
    LessonContext context;
};

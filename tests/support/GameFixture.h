#pragma once

#include "tests/support/ViewFixture.h"

// The view fixture with one unit of the given words loaded at once, and the
// feedback sounds and plain-named pictures the games use.
class GameFixture : public ViewFixture {
protected:
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

    static bool WaitFor(const std::function<bool()>& condition, int ms) {
        QElapsedTimer clock;
        clock.start();
        while (!condition() && clock.elapsed() < ms) QTest::qWait(10);
        return condition();
    }
};

#pragma once

#include "tests/support/ViewFixture.h"

// The view fixture with one unit loaded at once: each word with its picture and a plain pronunciation (as a
// crash may leave one), and the feedback sounds and backgrounds the games use.
class GameFixture : public ViewFixture {
protected:
    // False when the data did not load.
    bool LoadUnit(const std::vector<TempInstall::Word>& unitWords) {
        install.CreateDatabase({{"Unit 1"}}, unitWords);
        for (const TempInstall::Word& w : unitWords) {
            AddPicture(w.english);
            install.WriteFile("Common/voice/" + w.english + ".wav", TempInstall::MakeWav(0.05));
        }
        for (const char* name : {"SuccessWav1", "FailWav0"})
            install.WriteFile(QString("Common/appvoice/%1.wav").arg(name), TempInstall::MakeWav(0.05));
        for (int n = 1; n <= 4; ++n)
            install.WriteFile(QString("Bin/AppPics/Background%1.jpg").arg(n), TempInstall::MakeJpeg(80 + n, 60));
        db.BuildConnString(install.AppPicsDir());
        return db.LoadSettings() && catalogue.LoadUnits(0) && words.LoadUnitWords(0, 0);
    }
};

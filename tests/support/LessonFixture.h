#pragma once

#include "core/LessonState.h"
#include "data/Catalogue.h"
#include "data/LessonDatabase.h"
#include "data/WordRecords.h"
#include "tests/support/ScriptedMessageService.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/TempInstall.h"

// A temporary installation with a small lesson database and the data
// modules over it: book 0 has units 0 and 1, book 1 has unit 0, unit 1 of
// book 0 is left without words.
class LessonFixture : public ::testing::Test {
protected:
    void SetUp() override {
        install.CreateDatabase({{"Unit 1 Hello!", "Unit 2 Empty"}, {"Unit 1 Animals"}},
                               {{0, 0, " hello ", "你好"}, {0, 0, "o'clock", "……点钟", 0, "3|1|2"}, {0, 0, "ice cream", "冰淇淋"},
                                {0, 0, "Red", "红色", 0, "5|0|5"}, {1, 0, "cat", "猫"}, {1, 0, "Red", "红色", 0, "5|0|5"}});
        db.BuildConnString(install.AppPicsDir());
    }

    bool StartLessonData() {
        return db.LoadSettings() && catalogue.LoadUnits(state.CurBook) && words.LoadUnitWords(state.CurBook, state.CurUnit);
    }

    TempInstall install;
    LessonState state;
    ScriptedMessageService messages;
    ScriptedRandom random;
    LessonDatabase db{state, messages};
    Catalogue catalogue{state, db, messages};
    WordRecords words{state, db, messages, random};
};

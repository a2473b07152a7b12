#include "media/ModuleCrpt.h"
#include "tests/support/LessonFixture.h"

class CatalogueTest : public LessonFixture {
protected:
    void SetUp() override {
        LessonFixture::SetUp();
        ASSERT_TRUE(db.LoadSettings());
    }
};

TEST_F(CatalogueTest, UnitsAreNumberedByPositionAndABookWithoutUnitsKeepsTheList) {
    state.CurWordIndex = 3;
    ASSERT_TRUE(catalogue.LoadUnits(0));
    EXPECT_EQ(state.UnitCount, 2);
    EXPECT_EQ(state.CurWordIndex, 0);
    EXPECT_EQ(state.BookUnits[0].UnitName, "Unit 1 Hello!");
    EXPECT_EQ(state.BookUnits[1].UnitID, 1);
    EXPECT_EQ(state.BookUnits[1].BookID, 0);
    EXPECT_EQ(state.BookUnits[1].UnitStatus, 0);  // NULL in the table
    EXPECT_TRUE(install.DbIsScrambled());

    EXPECT_FALSE(catalogue.LoadUnits(5));
    EXPECT_TRUE(messages.Saw("没有找到您要的单元，请下载最新的版本！"));
    EXPECT_EQ(messages.shown.back().title, "测试版");
    EXPECT_EQ(state.UnitCount, 0);
    EXPECT_EQ(state.BookUnits.size(), 2u);
}

TEST_F(CatalogueTest, BookNamesOutsideTheListAreEmpty) {
    const std::pair<int, QString> rows[] = {{0, "第1册"}, {1, "第2册"}, {-1, ""}, {state.BookCount, ""}};
    for (const auto& [book, name] : rows) EXPECT_EQ(catalogue.GetBookName(book), name) << book;
}

TEST(CatalogueMerge, StatusTable) {
    const int expected[4][2] = {{1, 2}, {1, 3}, {3, 2}, {3, 3}};
    for (int cur = 0; cur < 4; ++cur)
        for (int bit = 1; bit <= 2; ++bit)
            EXPECT_EQ(Catalogue::MergedStatus(cur, bit), expected[cur][bit - 1]) << cur << "+" << bit;
}

TEST_F(CatalogueTest, MergedStatusIsStoredAtOnceAndAMissingRowIsAddedWithNothingCompleted) {
    ASSERT_TRUE(catalogue.LoadUnits(0));
    state.CurUnit = 1;
    catalogue.MergeUnitStatus(2);
    catalogue.MergeUnitStatus(1);
    EXPECT_EQ(state.BookUnits[1].UnitStatus, 3);
    EXPECT_TRUE(install.DbIsScrambled());
    ASSERT_TRUE(catalogue.LoadUnits(0));
    EXPECT_EQ(state.BookUnits[1].UnitStatus, 3);
    EXPECT_EQ(state.BookUnits[0].UnitStatus, 0);

    ModuleCrpt::ScrambleHeader(install.DbPath());
    install.Exec("delete from words_BookUnit where BookID = 0 and UnitID = 1");
    ModuleCrpt::ScrambleHeader(install.DbPath());
    catalogue.MergeUnitStatus(2);
    ModuleCrpt::ScrambleHeader(install.DbPath());
    EXPECT_EQ(install.Query("select UnitStatus || ',' || VersionID || ',' || BookName || ',' || UnitName || ',' || "
                            "ifnull(UserID, 'null') from words_BookUnit where BookID = 0 and UnitID = 1")
                  .toString(),
              "0,7,第1册,Unit 2 Empty,null");
}

// A mark the file refused stays with its unit through every reload and is
// written by the next save that succeeds, together with the new mark.
TEST_F(CatalogueTest, AMarkThatCouldNotBeStoredWaitsForTheNextSave) {
    const auto exec = [this](const QString& sql) {
        ModuleCrpt::ScrambleHeader(install.DbPath());
        install.Exec(sql);
        ModuleCrpt::ScrambleHeader(install.DbPath());
    };
    exec("create trigger NoMarks before update on words_BookUnit begin select raise(abort, 'read only'); end");
    ASSERT_TRUE(catalogue.LoadUnits(0));
    state.CurUnit = 1;
    EXPECT_FALSE(catalogue.MergeUnitStatus(2));
    EXPECT_EQ(messages.shown.size(), 1u);
    ASSERT_TRUE(catalogue.LoadUnits(1));
    ASSERT_TRUE(catalogue.LoadUnits(0));
    EXPECT_EQ(state.BookUnits[1].UnitStatus, 2);
    EXPECT_EQ(state.BookUnits[0].UnitStatus, 0);

    exec("drop trigger NoMarks");
    state.CurUnit = 0;
    EXPECT_TRUE(catalogue.MergeUnitStatus(1));
    ModuleCrpt::ScrambleHeader(install.DbPath());
    EXPECT_EQ(install.Query("select group_concat(UnitStatus) from (select UnitStatus from words_BookUnit "
                            "where BookID = 0 order by UnitID)")
                  .toString(),
              "1,2");
}

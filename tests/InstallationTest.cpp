#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <sndfile.h>

#include "data/LessonDatabase.h"
#include "media/ModuleCrpt.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempInstall.h"
#include "tools/TextbookSource.h"

namespace {

const QString kBuilt = QStringLiteral(ORVANEL_INSTALL_DIR);

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Unscrambled(const QString& path) {
    QByteArray bytes = ReadAll(path);
    ModuleCrpt::ScrambleHeader(bytes);
    return bytes;
}

// The built installation is only read; queries run on a plain copy of its database.
class InstallationTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApp();
        copy.WriteFile("Bin/AppPics/" + LessonDatabase::kFileName, ReadAll(kBuilt + "/Bin/AppPics/" + LessonDatabase::kFileName));
        ASSERT_TRUE(copy.DbIsScrambled());
        ModuleCrpt::ScrambleHeader(copy.DbPath());
    }

    QStringList Column(const QString& sql) {
        QStringList values;
        for (QVariant v; (v = copy.Query(sql + QString(" limit 1 offset %1").arg(values.size()))).isValid();)
            values << v.toString();
        return values;
    }
    int Count(const QString& rows) { return copy.Query("select count(*) from " + rows).toInt(); }

    // The length of a sound, or -1 when it does not decode.
    double Seconds(const QByteArray& wav) {
        copy.WriteFile("sound.wav", wav);
        SF_INFO info{};
        SNDFILE* file = sf_open(QFile::encodeName(copy.Root() + "/sound.wav").constData(), SFM_READ, &info);
        if (!file) return -1;
        sf_close(file);
        return static_cast<double>(info.frames) / info.samplerate;
    }

    TempInstall copy;
};

TEST_F(InstallationTest, DatabaseHoldsTheTextbook) {
    EXPECT_EQ(copy.Query("select LastBook || ',' || LastUnit from FeatureTable").toString(), "0,0");
    EXPECT_EQ(copy.Query("select VersionDB from VersionInfo where ID = (select VersionID from FeatureTable)").toString(),
              "words");
    EXPECT_GE(Count("words"), 250);
    EXPECT_EQ(Count("words where Result is not null"), 0);
    ASSERT_EQ(Column("select distinct BookID from words_BookUnit order by BookID"), QStringList({"0", "1", "2"}));
    for (int b = 0; b < 3; ++b) {
        const QStringList units = Column(QString("select UnitID from words_BookUnit where BookID = %1 order by UnitID").arg(b));
        EXPECT_GE(units.size(), 6);
        for (int u = 0; u < units.size(); ++u) {
            EXPECT_EQ(units[u].toInt(), u);
            EXPECT_GE(Count(QString("words where Book = %1 and Unit = %2").arg(b).arg(u)), 8) << b << "." << u;
        }
    }
    EXPECT_EQ(copy.Query("select Composition from words where English = 'ice cream'").toInt(), 1);
    EXPECT_EQ(copy.Query("select Composition from words where English = 'apple'").toInt(), 0);
    EXPECT_GE(Count("History where userID = 0"), 5);
    EXPECT_GE(Count("History where userID <> 0"), 1);
}

// Only a scrambled file unscrambles to a picture or a sound.
TEST_F(InstallationTest, EveryWordHasOneScrambledPictureAndSound) {
    const QStringList words = Column("select distinct English from words");
    ASSERT_FALSE(words.isEmpty());
    for (const QString& word : words) {
        const QString pic = kBuilt + "/Common/pics/" + word, voice = kBuilt + "/Common/voice/" + word;
        EXPECT_FALSE(QFile::exists(pic + ".jpg") || QFile::exists(voice + ".wav")) << word.toStdString();
        QImage picture;
        ASSERT_TRUE(picture.loadFromData(Unscrambled(pic + ".pet"), "JPG")) << word.toStdString();
        EXPECT_EQ(picture.size(), QSize(400, 300)) << word.toStdString();
        const QByteArray wav = Unscrambled(voice + ".abw");
        ASSERT_TRUE(wav.startsWith("RIFF") && wav.mid(8, 4) == "WAVE") << word.toStdString();
    }
}

TEST_F(InstallationTest, SoundsDecodeWithSensibleLengths) {
    for (const QString word : {"a", "w", "z", "hello", "Good morning", "o'clock"}) {
        const double seconds = Seconds(Unscrambled(kBuilt + "/Common/voice/" + word + ".abw"));
        EXPECT_GT(seconds, 0.2) << word.toStdString();
        EXPECT_LT(seconds, 3.0) << word.toStdString();
    }
    for (const QString feedback : {"SuccessWav1", "FailWav0", "Notify0"}) {
        const double seconds = Seconds(ReadAll(kBuilt + "/Common/appvoice/" + feedback + ".wav"));
        EXPECT_GT(seconds, 0.2) << feedback.toStdString();
        EXPECT_LT(seconds, 2.0) << feedback.toStdString();
    }
}

TEST_F(InstallationTest, ProgramFilesAndDefaultPicture) {
    for (const QString name : {"sound.bmp", "nosound.bmp", "Background1.jpg", "Background2.jpg", "Background3.jpg",
                               "Background4.jpg"})
        EXPECT_FALSE(QImage(kBuilt + "/Bin/AppPics/" + name).isNull()) << name.toStdString();
    for (const QString name : {"help.txt", "ppkhelp.txt"})
        EXPECT_TRUE(QString::fromUtf8(ReadAll(kBuilt + "/Bin/AppPics/" + name)).contains("单词")) << name.toStdString();
    EXPECT_FALSE(QImage(kBuilt + "/Common/pics/ffe.jpg").isNull());
    EXPECT_FALSE(QImage::fromData(Unscrambled(kBuilt + "/Common/pics/ffe.pet"), "JPG").isNull());
    EXPECT_TRUE(QDir(kBuilt + "/Common/myvoice").exists());
}

TEST(TextbookSourceTest, ReportsBadLinesWithTheirNumbers) {
    TextbookSource source;
    EXPECT_FALSE(source.ParseTextbook("version\t测试\twords\n"
                                      "cat\t猫\t🐱\n"          // before any unit
                                      "book\t一册\n"
                                      "unit\tUnit 1\n"
                                      "book\t书\t📖\n"          // a word
                                      "dog\t狗\n"               // without its picture
                                      "../evil\t坏\t-\n"        // names no file
                                      "book\t书\t-\n"));        // twice in the unit
    QStringList lines;
    for (const QString& error : source.Errors()) lines << error.section(':', 0, 0);
    EXPECT_EQ(lines, QStringList({"line 2", "line 6", "line 7", "line 8"})) << source.Errors().join("; ").toStdString();
    ASSERT_EQ(source.books.size(), 1u);
    ASSERT_EQ(source.books[0].units[0].words.size(), 1u);
    EXPECT_EQ(source.books[0].units[0].words[0].picture, "📖");
}

TEST(TextbookSourceTest, DistinctWordsIgnoreCaseAndRepeats) {
    TextbookSource source;
    ASSERT_TRUE(source.ParseTextbook("version\tv\twords\nbook\tb\nunit\tu1\nRed\t红\t-\ncat\t猫\t-\n"
                                     "unit\tu2\nred\t红色\t-\ncat\t猫\t-\n"));
    EXPECT_EQ(source.DistinctWords(), QStringList({"Red", "cat"}));
    EXPECT_FALSE(source.ParseHistory("1\t0\t2026-01-01\t10:00\t测试\nx\t0\ta\tb\tc\n"));
    EXPECT_EQ(source.history.size(), 1u);
}

}  // namespace

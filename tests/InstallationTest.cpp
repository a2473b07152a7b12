#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <sndfile.h>

#include "data/LessonDatabase.h"
#include "media/ModuleCrpt.h"
#include "tests/support/CopyTree.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempInstall.h"
#include "tools/TextbookSource.h"

namespace {

// Works on a copy of the built installation: the build alone writes that
// one, and reading media here would unscramble them in place.
class InstallationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        EnsureQtApp();
        built = new QTemporaryDir;
        ASSERT_TRUE(CopyTree(QStringLiteral(ORVANEL_INSTALL_DIR), built->path()));
        builtRoot = built->path();
    }

    static void TearDownTestSuite() {
        delete built;
        built = nullptr;
    }

    void SetUp() override {
        copy.WriteFile("Bin/AppPics/" + LessonDatabase::kFileName,
                       ReadAll(builtRoot + "/Bin/AppPics/" + LessonDatabase::kFileName));
        ASSERT_TRUE(copy.DbIsScrambled());
        ModuleCrpt::ScrambleHeader(copy.DbPath());
    }

    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QByteArray Unscrambled(const QString& path) {
        copy.WriteFile("media", ReadAll(path));
        ModuleCrpt::ScrambleHeader(copy.Root() + "/media");
        return copy.ReadFile("media");
    }

    QStringList Column(const QString& sql) {
        QStringList values;
        for (int offset = 0;; ++offset) {
            const QVariant v = copy.Query(sql + QString(" limit 1 offset %1").arg(offset));
            if (!v.isValid()) return values;
            values << v.toString();
        }
    }

    static inline QTemporaryDir* built = nullptr;
    static inline QString builtRoot;
    TempInstall copy;
};

TEST_F(InstallationTest, DatabaseHoldsTheTextbook) {
    EXPECT_EQ(copy.Query("select LastBook || ',' || LastUnit from FeatureTable").toString(), "0,0");
    EXPECT_EQ(copy.Query("select VersionDB from VersionInfo where ID = (select VersionID from FeatureTable)").toString(),
              "words");
    EXPECT_GE(copy.Query("select count(*) from words").toInt(), 250);
    EXPECT_EQ(copy.Query("select count(*) from words where Result is not null").toInt(), 0);
    const QStringList books = Column("select distinct BookID from words_BookUnit order by BookID");
    ASSERT_EQ(books.size(), 3);
    for (int b = 0; b < books.size(); ++b) {
        EXPECT_EQ(books[b].toInt(), b);
        const QStringList units = Column(QString("select UnitID from words_BookUnit where BookID = %1 order by UnitID").arg(b));
        EXPECT_GE(units.size(), 6);
        for (int u = 0; u < units.size(); ++u) {
            EXPECT_EQ(units[u].toInt(), u);
            EXPECT_GE(copy.Query(QString("select count(*) from words where Book = %1 and Unit = %2").arg(b).arg(u)).toInt(), 8);
        }
    }
    EXPECT_EQ(copy.Query("select Composition from words where English = 'ice cream'").toInt(), 1);
    EXPECT_EQ(copy.Query("select Composition from words where English = 'apple'").toInt(), 0);
    EXPECT_GE(copy.Query("select count(*) from History where userID = 0").toInt(), 5);
    EXPECT_GE(copy.Query("select count(*) from History where userID <> 0").toInt(), 1);
}

TEST_F(InstallationTest, EveryWordHasOneScrambledPictureAndSound) {
    const QStringList words = Column("select distinct English from words");
    ASSERT_FALSE(words.isEmpty());
    for (const QString& word : words) {
        const QString pic = builtRoot + "/Common/pics/" + word;
        const QString voice = builtRoot + "/Common/voice/" + word;
        ASSERT_TRUE(QFile::exists(pic + ".pet")) << word.toStdString();
        EXPECT_FALSE(QFile::exists(pic + ".jpg")) << word.toStdString();
        ASSERT_TRUE(QFile::exists(voice + ".abw")) << word.toStdString();
        EXPECT_FALSE(QFile::exists(voice + ".wav")) << word.toStdString();
        EXPECT_FALSE(ReadAll(pic + ".pet").startsWith("\xFF\xD8"));
        QImage picture;
        ASSERT_TRUE(picture.loadFromData(Unscrambled(pic + ".pet"), "JPG")) << word.toStdString();
        EXPECT_EQ(picture.size(), QSize(400, 300));
        EXPECT_FALSE(ReadAll(voice + ".abw").startsWith("RIFF"));
        const QByteArray wav = Unscrambled(voice + ".abw");
        ASSERT_TRUE(wav.startsWith("RIFF") && wav.mid(8, 4) == "WAVE") << word.toStdString();
    }
}

TEST_F(InstallationTest, SoundsDecodeWithSensibleLengths) {
    QStringList names = {"a", "w", "z", "hello", "Good morning", "o'clock"};
    for (const QString& name : names) {
        copy.WriteFile("sound.wav", Unscrambled(builtRoot + "/Common/voice/" + name + ".abw"));
        SF_INFO info{};
        SNDFILE* file = sf_open(QFile::encodeName(copy.Root() + "/sound.wav").constData(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << name.toStdString();
        sf_close(file);
        const double seconds = static_cast<double>(info.frames) / info.samplerate;
        EXPECT_GT(seconds, 0.2) << name.toStdString();
        EXPECT_LT(seconds, 3.0) << name.toStdString();
    }
    for (const char* feedback : {"SuccessWav1", "FailWav0", "Notify0"}) {
        SF_INFO info{};
        SNDFILE* file = sf_open(QString("%1/Common/appvoice/%2.wav").arg(builtRoot, feedback).toLocal8Bit().constData(),
                                SFM_READ, &info);
        ASSERT_NE(file, nullptr) << feedback;
        sf_close(file);
        EXPECT_GT(info.frames, info.samplerate / 5) << feedback;
        EXPECT_LT(info.frames, info.samplerate * 2) << feedback;
    }
}

TEST_F(InstallationTest, ProgramFilesAndDefaultPicture) {
    for (const char* name : {"sound.bmp", "nosound.bmp", "Background1.jpg", "Background2.jpg", "Background3.jpg",
                             "Background4.jpg"})
        EXPECT_FALSE(QImage(builtRoot + "/Bin/AppPics/" + name).isNull()) << name;
    for (const char* name : {"help.txt", "ppkhelp.txt"})
        EXPECT_TRUE(QString::fromUtf8(ReadAll(builtRoot + "/Bin/AppPics/" + name)).contains("单词")) << name;
    EXPECT_FALSE(QImage(builtRoot + "/Common/pics/ffe.jpg").isNull());
    QImage fallback;
    EXPECT_TRUE(fallback.loadFromData(Unscrambled(builtRoot + "/Common/pics/ffe.pet"), "JPG"));
    EXPECT_TRUE(QDir(builtRoot + "/Common/myvoice").exists());
}

TEST(TextbookSourceTest, ReportsBadLinesWithTheirNumbers) {
    TextbookSource source;
    EXPECT_FALSE(source.ParseTextbook("version\t测试\twords\n"
                                      "cat\t猫\t🐱\n"
                                      "book\t一册\n"
                                      "unit\tUnit 1\n"
                                      "book\t书\t📖\n"
                                      "dog\t狗\n"
                                      "../evil\t坏\t-\n"
                                      "book\t书\t-\n"));
    const QStringList errors = source.Errors();
    ASSERT_EQ(errors.size(), 4) << errors.join("; ").toStdString();
    EXPECT_TRUE(errors[0].startsWith("line 2:"));
    EXPECT_TRUE(errors[1].startsWith("line 6:"));
    EXPECT_TRUE(errors[2].startsWith("line 7:"));
    EXPECT_TRUE(errors[3].startsWith("line 8:"));
    ASSERT_EQ(source.books.size(), 1u);
    ASSERT_EQ(source.books[0].units[0].words.size(), 1u);  // "book" is a word here
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

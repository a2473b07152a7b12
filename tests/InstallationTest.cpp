#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <sndfile.h>

#include "data/LessonDatabase.h"
#include "media/ModuleCrpt.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempInstall.h"
#include "tools/InstallationBuilder.h"
#include "tools/TextbookSource.h"

namespace {

QByteArray Read(const QString& path, bool unscramble = false) {
    QFile file(path);
    QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (unscramble) ModuleCrpt::ScrambleHeader(bytes);
    return bytes;
}

// Checks an installation under root; queries run on a plain copy of its database, which rests scrambled.
struct Installation {
    explicit Installation(const QString& root) : root(root) {
        copy.WriteFile("Bin/AppPics/" + LessonDatabase::kFileName, Read(root + "/Bin/AppPics/" + LessonDatabase::kFileName));
        EXPECT_TRUE(copy.DbIsScrambled());
        ModuleCrpt::ScrambleHeader(copy.DbPath());
    }
    QStringList Column(const QString& sql) const {
        QStringList values;
        for (QVariant v; (v = copy.Query(sql + QString(" limit 1 offset %1").arg(values.size()))).isValid();) values << v.toString();
        return values;
    }
    int Count(const QString& rows) const { return copy.Query("select count(*) from " + rows).toInt(); }
    // The length of a sound in seconds, or -1 when it does not decode.
    double Seconds(const QString& relative, bool scrambled) const {
        copy.WriteFile("sound.wav", Read(root + "/" + relative, scrambled));
        SF_INFO info{};
        SNDFILE* file = sf_open(QFile::encodeName(copy.Root() + "/sound.wav").constData(), SFM_READ, &info);
        if (!file) return -1;
        sf_close(file);
        return static_cast<double>(info.frames) / info.samplerate;
    }
    // Each word and letter has one scrambled 400x300 picture (words only) and sound, and no plain one.
    void HasMediaFor(const QStringList& names, bool pictures) const {
        for (const QString& name : names) {
            const QString pic = root + "/Common/pics/" + name, voice = root + "/Common/voice/" + name;
            EXPECT_FALSE(QFile::exists(pic + ".jpg") || QFile::exists(voice + ".wav")) << name.toStdString();
            EXPECT_TRUE(!pictures || QImage::fromData(Read(pic + ".pet", true), "JPG").size() == QSize(400, 300)) << name.toStdString();
            EXPECT_GT(Seconds("Common/voice/" + name + ".abw", true), 0.2) << name.toStdString();
        }
    }
    QString root;
    TempInstall copy;
};

const QString kBuilt = QStringLiteral(ORVANEL_INSTALL_DIR);
const QStringList kLetters = QString("abcdefghijklmnopqrstuvwxyz").split("", Qt::SkipEmptyParts);

}  // namespace

// A small textbook built from scratch: the speech comes from the build's cache of spoken texts.
TEST(InstallationBuilderTest, BuildsTheWholeInstallationFromTheContentFolder) {
    EnsureQtApp();
    TempInstall content;
    content.WriteFile("textbook.txt", "version\t小测试\tlessons\nbook\t一册\nunit\tUnit 1\napple\t苹果\t🍎\nice cream\t冰淇淋\t-\n"
                                      "unit\tUnit 2\nred\t红色\t-\nbook\t二册\nunit\tStarter\napple\t苹果\t-\n");
    content.WriteFile("history.txt", "# NO\tuserID\tDate\tTime\tTask\n1\t0\t2026-09-07\t16:05:12\t测试\n");
    for (const QString help : {"help.html", "ppkhelp.html"}) content.WriteFile(help, "单词 " + help.toUtf8());
    const QString cache = QStringLiteral(ORVANEL_INSTALL_DIR "/../content-cache");
    QDir().mkpath(content.Root() + "/cache");
    for (const QString& name : QDir(cache).entryList(QDir::Files)) QFile::copy(cache + "/" + name, content.Root() + "/cache/" + name);
    TempInstall made;
    ASSERT_TRUE(InstallationBuilder(content.Root(), made.Root() + "/out", content.Root() + "/cache").Build());
    const Installation out(made.Root() + "/out");
    EXPECT_EQ(out.Column("select VersionName || '/' || VersionDB || ' ' || (select LastBook || LastUnit || VersionID from "
                         "FeatureTable) from VersionInfo"), QStringList{"小测试/lessons 001"});
    EXPECT_EQ(out.Column("select BookID || BookName || UnitID || UnitName || UnitStatus from lessons_BookUnit"),
              QStringList({"0一册0Unit 10", "0一册1Unit 20", "1二册0Starter0"}));
    EXPECT_EQ(out.Column("select Book || Unit || English || Chinese || Composition || ifnull(Result, '-') from lessons"),
              QStringList({"00apple苹果0-", "00ice cream冰淇淋1-", "01red红色0-", "10apple苹果0-"}));
    EXPECT_EQ(out.Column("select NO || userID || Date || Time || Task from History"), QStringList{"102026-09-0716:05:12测试"});
    out.HasMediaFor({"apple", "ice cream", "red"}, true);
    out.HasMediaFor(kLetters, false);
    for (const QString file : {"SuccessWav1", "FailWav0", "Notify0"}) EXPECT_GT(out.Seconds("Common/appvoice/" + file + ".wav", false), 0.2);
    for (const QString file : {"sound.bmp", "nosound.bmp", "Background1.jpg", "Background2.jpg", "Background3.jpg", "Background4.jpg"})
        EXPECT_FALSE(QImage(out.root + "/Bin/AppPics/" + file).isNull()) << file.toStdString();
    EXPECT_EQ(Read(out.root + "/Bin/AppPics/ppkhelp.txt"), "单词 ppkhelp.html");
    EXPECT_FALSE(QImage::fromData(Read(out.root + "/Common/pics/ffe.pet", true), "JPG").isNull() ||
                 QImage(out.root + "/Common/pics/ffe.jpg").isNull());
    EXPECT_TRUE(QDir(out.root + "/Common/myvoice").exists());
}

// The shipped textbook: three books of at least six units of at least eight words, nothing studied yet;
// the program's own files are checked on a build from scratch above.
TEST(InstallationTest, TheBuiltInstallationHoldsTheTextbookWithAllItsMedia) {
    EnsureQtApp();
    const Installation built(kBuilt);
    EXPECT_EQ(built.Column("select LastBook || LastUnit || VersionDB from FeatureTable join VersionInfo on ID = VersionID"),
              QStringList{"00words"});
    EXPECT_GE(built.Count("words"), 250);
    EXPECT_EQ(built.Count("words where Result is not null"), 0);
    EXPECT_EQ(built.Column("select distinct BookID from words_BookUnit order by BookID"), QStringList({"0", "1", "2"}));
    for (int b = 0; b < 3; ++b) {
        const QStringList units = built.Column(QString("select UnitID from words_BookUnit where BookID = %1 order by UnitID").arg(b));
        EXPECT_GE(units.size(), 6);
        for (int u = 0; u < units.size(); ++u) {
            EXPECT_EQ(units[u].toInt(), u);
            EXPECT_GE(built.Count(QString("words where Book = %1 and Unit = %2").arg(b).arg(u)), 8) << b << "." << u;
        }
    }
    EXPECT_EQ(built.Column("select English || Composition from words where English in ('apple', 'ice cream') group by English"),
              QStringList({"apple0", "ice cream1"}));
    EXPECT_TRUE(built.Count("History where userID = 0") >= 5 && built.Count("History where userID <> 0") >= 1);
    built.HasMediaFor(built.Column("select distinct English from words"), true);
    built.HasMediaFor(kLetters, false);
    for (const QString word : {"w", "hello", "Good morning", "o'clock"}) EXPECT_LT(built.Seconds("Common/voice/" + word + ".abw", true), 3.0);
    for (const QString feedback : {"SuccessWav1", "FailWav0", "Notify0"}) {
        const double seconds = built.Seconds("Common/appvoice/" + feedback + ".wav", false);
        EXPECT_TRUE(seconds > 0.2 && seconds < 2.0) << feedback.toStdString() << " " << seconds;
    }
    for (const QString name : {"help.txt", "ppkhelp.txt"}) EXPECT_TRUE(QString::fromUtf8(Read(kBuilt + "/Bin/AppPics/" + name)).contains("单词"));
}

TEST(TextbookSourceTest, ReportsBadLinesWithTheirNumbersAndListsEachSpellingOnce) {
    TextbookSource source;
    // A word before any unit, one without its picture, one naming no file, one twice in the unit.
    EXPECT_FALSE(source.ParseTextbook("version\t测试\twords\ncat\t猫\t🐱\nbook\t一册\nunit\tUnit 1\nbook\t书\t📖\ndog\t狗\n"
                                      "../evil\t坏\t-\nbook\t书\t-\n"));
    QStringList lines;
    for (const QString& error : source.Errors()) lines << error.section(':', 0, 0);
    EXPECT_EQ(lines, QStringList({"line 2", "line 6", "line 7", "line 8"})) << source.Errors().join("; ").toStdString();
    ASSERT_TRUE(source.books.size() == 1 && source.books[0].units[0].words.size() == 1);
    EXPECT_EQ(source.books[0].units[0].words[0].picture, "📖");
    TextbookSource good;
    ASSERT_TRUE(good.ParseTextbook("version\tv\twords\nbook\tb\nunit\tu1\nRed\t红\t-\ncat\t猫\t-\nunit\tu2\nred\t红色\t-\ncat\t猫\t-\n"));
    EXPECT_EQ(good.DistinctWords(), QStringList({"Red", "cat"}));
    EXPECT_FALSE(good.ParseHistory("1\t0\t2026-01-01\t10:00\t测试\nx\t0\ta\tb\tc\n"));
    EXPECT_EQ(good.history.size(), 1u);
}

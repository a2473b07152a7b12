#include <sndfile.h>

#include "data/LessonDatabase.h"
#include "media/ModuleCrpt.h"
#include "tests/support/TempInstall.h"

namespace {

QByteArray Read(const QString& path, bool unscramble = false) {
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return unscramble ? TempInstall::Scrambled(bytes) : bytes;  // scrambling undoes itself
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

}  // namespace

// The shipped textbook: three books of at least six units of at least eight words, nothing studied yet, and the
// program's own pictures, sounds and help.
TEST(InstallationTest, TheBuiltInstallationHoldsTheTextbookWithAllItsMedia) {
    EnsureQtApp();
    const Installation built(kBuilt);
    EXPECT_EQ(built.Column("select LastBook || LastUnit || VersionDB from FeatureTable join VersionInfo on ID = VersionID"), QStringList{"00words"});
    EXPECT_TRUE(built.Count("words") >= 250 && built.Count("words where Result is not null") == 0);
    EXPECT_EQ(built.Column("select distinct BookID from words_BookUnit order by BookID"), QStringList({"0", "1", "2"}));
    for (int b = 0; b < 3; ++b) {
        const QStringList units = built.Column(QString("select UnitID from words_BookUnit where BookID = %1 order by UnitID").arg(b));
        EXPECT_GE(units.size(), 6);
        for (int u = 0; u < units.size(); ++u)
            EXPECT_TRUE(units[u].toInt() == u && built.Count(QString("words where Book = %1 and Unit = %2").arg(b).arg(u)) >= 8) << b << "." << u;
    }
    EXPECT_EQ(built.Column("select English || Composition from words where English in ('apple', 'ice cream') group by English"),
              QStringList({"apple0", "ice cream1"}));
    EXPECT_TRUE(built.Count("History where userID = 0") >= 5 && built.Count("History where userID <> 0") >= 1);
    built.HasMediaFor(built.Column("select distinct English from words"), true);
    built.HasMediaFor(QString("abcdefghijklmnopqrstuvwxyz").split("", Qt::SkipEmptyParts), false);
    for (const QString word : {"w", "hello", "Good morning", "o'clock"}) EXPECT_LT(built.Seconds("Common/voice/" + word + ".abw", true), 3.0);
    for (const QString feedback : {"SuccessWav1", "FailWav0", "Notify0"}) {
        const double seconds = built.Seconds("Common/appvoice/" + feedback + ".wav", false);
        EXPECT_TRUE(seconds > 0.2 && seconds < 2.0) << feedback.toStdString() << " " << seconds;
    }
    for (const QString file : {"sound.bmp", "nosound.bmp", "Background1.jpg", "Background2.jpg", "Background3.jpg", "Background4.jpg"})
        EXPECT_FALSE(QImage(kBuilt + "/Bin/AppPics/" + file).isNull()) << file.toStdString();
    EXPECT_FALSE(QImage::fromData(Read(kBuilt + "/Common/pics/ffe.pet", true), "JPG").isNull() || QImage(kBuilt + "/Common/pics/ffe.jpg").isNull());
    EXPECT_TRUE(QDir(kBuilt + "/Common/myvoice").exists());
    for (const QString name : {"help.txt", "ppkhelp.txt"}) EXPECT_TRUE(QString::fromUtf8(Read(kBuilt + "/Bin/AppPics/" + name)).contains("单词"));
}


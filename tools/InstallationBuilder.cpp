#include "tools/InstallationBuilder.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

#include "data/LessonDatabase.h"
#include "media/ModuleCrpt.h"
#include "tools/PictureMaker.h"
#include "tools/VoiceMaker.h"

namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Written plain under its own name, then scrambled and renamed, so that an
// interrupted build never leaves a half-made media file under the final name.
bool StoreScrambled(const QString& plainTemp, const QString& target) {
    if (!ModuleCrpt::ScrambleHeader(plainTemp)) return false;
    QFile::remove(target);
    return QFile::rename(plainTemp, target);
}

bool SaveJpeg(const QImage& image, const QString& path) {
    return image.save(path, "JPG", 90);
}

void Bind(sqlite3_stmt* stmt, int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

bool IsLettersOnly(const QString& word) {
    for (const QChar c : word)
        if (c.toUpper() < QLatin1Char('A') || c.toUpper() > QLatin1Char('Z')) return false;
    return true;
}

}  // namespace

InstallationBuilder::InstallationBuilder(const QString& contentDir, const QString& installDir,
                                         const QString& cacheDir)
    : contentDir_(contentDir), installDir_(installDir), cacheDir_(cacheDir) {}

bool InstallationBuilder::Fail(const QString& what) {
    qCritical("content builder: %s", qPrintable(what));
    return false;
}

bool InstallationBuilder::Build() {
    for (const char* folder : {"Bin/AppPics", "Common/voice", "Common/pics", "Common/myvoice", "Common/appvoice"})
        if (!QDir(installDir_).mkpath(QString::fromLatin1(folder))) return Fail(QStringLiteral("cannot create folders"));
    return ReadSources() && WriteDatabase() && WritePictures() && WriteSounds() && WriteAppFiles();
}

bool InstallationBuilder::ReadSources() {
    const bool ok = source_.ParseTextbook(ReadText(contentDir_ + QStringLiteral("/textbook.txt"))) &&
                    source_.ParseHistory(ReadText(contentDir_ + QStringLiteral("/history.txt")));
    if (!ok) return Fail(source_.Errors().join(QLatin1Char('\n')));
    for (const QString& word : source_.DistinctWords())
        if (word.size() == 1) return Fail(QStringLiteral("\"%1\" would share its sound with the letter").arg(word));
    return true;
}

bool InstallationBuilder::WriteDatabase() {
    const QString path = installDir_ + QStringLiteral("/Bin/AppPics/") + LessonDatabase::kFileName;
    const QString temp = path + QStringLiteral(".new");
    QFile::remove(temp);
    QString error;
    if (!LessonDatabase::CreateEmptyDatabase(temp, source_.versionDB, &error)) return Fail(error);
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(temp).constData(), &db);
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    auto prepare = [db](const QString& sql) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
        return stmt;
    };
    sqlite3_exec(db, "insert into FeatureTable values (0, 0, 1)", nullptr, nullptr, nullptr);
    sqlite3_stmt* version = prepare(QStringLiteral("insert into VersionInfo values (1, ?, ?)"));
    Bind(version, 1, source_.versionName);
    Bind(version, 2, source_.versionDB);
    sqlite3_step(version);
    sqlite3_finalize(version);

    sqlite3_stmt* unit = prepare(QStringLiteral("insert into %1 values (NULL, 1, ?, ?, ?, ?, 0)")
                                     .arg(SqlName(source_.versionDB + QStringLiteral("_BookUnit"))));
    sqlite3_stmt* word = prepare(
        QStringLiteral("insert into %1 values (?, ?, ?, ?, ?, NULL)").arg(SqlName(source_.versionDB)));
    for (size_t b = 0; b < source_.books.size(); ++b) {
        const TextbookSource::Book& book = source_.books[b];
        for (size_t u = 0; u < book.units.size(); ++u) {
            sqlite3_bind_int(unit, 1, static_cast<int>(b));
            Bind(unit, 2, book.name);
            sqlite3_bind_int(unit, 3, static_cast<int>(u));
            Bind(unit, 4, book.units[u].name);
            sqlite3_step(unit);
            sqlite3_reset(unit);
            for (const TextbookSource::Word& w : book.units[u].words) {
                sqlite3_bind_int(word, 1, static_cast<int>(b));
                sqlite3_bind_int(word, 2, static_cast<int>(u));
                Bind(word, 3, w.english);
                Bind(word, 4, w.chinese);
                sqlite3_bind_int(word, 5, IsLettersOnly(w.english) ? 0 : 1);
                sqlite3_step(word);
                sqlite3_reset(word);
            }
        }
    }
    sqlite3_finalize(unit);
    sqlite3_finalize(word);
    sqlite3_stmt* history = prepare(QStringLiteral("insert into History values (?, ?, ?, ?, ?)"));
    for (const TextbookSource::HistoryRow& row : source_.history) {
        sqlite3_bind_int(history, 1, row.no);
        sqlite3_bind_int(history, 2, row.userID);
        Bind(history, 3, row.date);
        Bind(history, 4, row.time);
        Bind(history, 5, row.task);
        sqlite3_step(history);
        sqlite3_reset(history);
    }
    sqlite3_finalize(history);
    const bool committed = sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!committed) return Fail(QStringLiteral("cannot write the lesson database"));
    return StoreScrambled(temp, path);
}

bool InstallationBuilder::WritePictures() {
    const QString pics = installDir_ + QStringLiteral("/Common/pics/");
    for (const QString& english : source_.DistinctWords()) {
        const TextbookSource::Word* word = source_.FirstWord(english);
        const QString temp = pics + english + QStringLiteral(".jpg");
        if (!SaveJpeg(PictureMaker::WordPicture(english, word->chinese, word->picture), temp) ||
            !StoreScrambled(temp, pics + english + QStringLiteral(".pet")))
            return Fail(QStringLiteral("cannot write the picture of \"%1\"").arg(english));
    }
    const QImage fallback = PictureMaker::DefaultPicture();
    return SaveJpeg(fallback, pics + QStringLiteral("ffe.tmp.jpg")) &&
           StoreScrambled(pics + QStringLiteral("ffe.tmp.jpg"), pics + QStringLiteral("ffe.pet")) &&
           SaveJpeg(fallback, pics + QStringLiteral("ffe.jpg"));
}

bool InstallationBuilder::WriteSounds() {
    const QString voice = installDir_ + QStringLiteral("/Common/voice/");
    std::vector<std::pair<QString, QString>> jobs;
    for (const QString& english : source_.DistinctWords())
        jobs.emplace_back(english, voice + english + QStringLiteral(".wav"));
    for (char letter = 'a'; letter <= 'z'; ++letter)
        jobs.emplace_back(VoiceMaker::LetterName(QLatin1Char(letter)), voice + QLatin1Char(letter) + QStringLiteral(".wav"));
    VoiceMaker maker(cacheDir_);
    if (!maker.Speak(jobs)) return Fail(QStringLiteral("speech synthesis failed"));
    for (const auto& [text, plain] : jobs)
        if (!StoreScrambled(plain, plain.chopped(4) + QStringLiteral(".abw")))
            return Fail(QStringLiteral("cannot store the sound of \"%1\"").arg(text));
    if (!maker.MakeFeedbackSounds(installDir_ + QStringLiteral("/Common/appvoice")))
        return Fail(QStringLiteral("cannot make the feedback sounds"));
    return true;
}

bool InstallationBuilder::WriteAppFiles() {
    const QString appPics = installDir_ + QStringLiteral("/Bin/AppPics/");
    bool ok = PictureMaker::SpeakerIcon(true).save(appPics + QStringLiteral("sound.bmp"), "BMP") &&
              PictureMaker::SpeakerIcon(false).save(appPics + QStringLiteral("nosound.bmp"), "BMP");
    for (int n = 1; n <= 4; ++n)
        ok = ok && SaveJpeg(PictureMaker::Background(n), appPics + QStringLiteral("Background%1.jpg").arg(n));
    for (const auto& [from, to] : {std::pair{"help.html", "help.txt"}, std::pair{"ppkhelp.html", "ppkhelp.txt"}}) {
        QFile::remove(appPics + QLatin1String(to));
        ok = ok && QFile::copy(contentDir_ + QLatin1Char('/') + QLatin1String(from), appPics + QLatin1String(to));
    }
    return ok || Fail(QStringLiteral("cannot write the program's own files"));
}

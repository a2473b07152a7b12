#pragma once

#include "data/LessonDatabase.h"
#include "media/ModuleCrpt.h"
#include "tests/support/QtApp.h"

// A throwaway installation: <root>/Bin/AppPics, <root>/Common/{voice,pics,
// myvoice,appvoice}, and optionally a lesson database built from rows given
// by the test. The database file is left plain unless the test scrambles it.
class TempInstall {
public:
    struct Word {
        int book, unit;
        QString english, chinese;
        int composition = 0;
        QVariant result = QVariant();
    };

    TempInstall();

    QString Root() const { return dir_.path(); }
    QString BinDir() const { return Root() + "/Bin"; }
    QString AppPicsDir() const { return BinDir() + "/AppPics"; }
    QString DataDir() const { return Root() + "/Common"; }
    QString DbPath() const { return AppPicsDir() + "/" + LessonDatabase::kFileName; }

    // Version "测试版" with table "words"; books and units as given by
    // bookUnits[b] = names of the units of book b.
    void CreateDatabase(const std::vector<std::vector<QString>>& bookUnits, const std::vector<Word>& words,
                        int lastBook = 0, int lastUnit = 0);

    void Exec(const QString& sql) const;  // on the plain database file
    QVariant Query(const QString& sql) const;  // first column of first row
    // A query's first value, or a statement's run, on the scrambled file, which is left scrambled.
    QString OnScrambled(const QString& sql) const;
    static bool IsQuery(const QString& sql) { return sql.startsWith("select") || sql.startsWith("pragma"); }
    bool DbIsScrambled() const {
        QFile file(DbPath());
        return file.open(QIODevice::ReadOnly) && !file.read(16).startsWith("SQLite format 3");
    }

    void WriteFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray ReadFile(const QString& relative) const {
        QFile file(Root() + "/" + relative);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool Exists(const QString& relative) const { return QFileInfo::exists(Root() + "/" + relative); }

    static QByteArray MakeJpeg(int width = 40, int height = 30, const QColor& colour = QColor(200, 120, 40),
                               int quality = -1);
    // The bytes as the store keeps them: the header scrambled.
    static QByteArray Scrambled(QByteArray bytes) { ModuleCrpt::ScrambleHeader(bytes); return bytes; }
    // A 440 Hz tone of the given level, 0 for silence.
    static QByteArray MakeWav(double seconds, int rate = 22050, int channels = 1, int bits = 16, double level = 0.3);
    // The word as the speech synthesizer says it, with its voice options.
    static QByteArray Speak(const QString& word, const QStringList& voice = {"-v", "en-us"});

private:
    QTemporaryDir dir_;
};

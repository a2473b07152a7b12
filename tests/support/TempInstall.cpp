#include "tests/support/TempInstall.h"

#include <sqlite3.h>

#include "data/LessonDatabase.h"

TempInstall::TempInstall() {
    for (const char* sub : {"Bin/AppPics", "Common/voice", "Common/pics", "Common/myvoice", "Common/appvoice"})
        QDir(Root()).mkpath(sub);
}

void TempInstall::CreateDatabase(const std::vector<std::vector<QString>>& bookUnits,
                                 const std::vector<Word>& words, int lastBook, int lastUnit) {
    QString error;
    if (!LessonDatabase::CreateEmptyDatabase(DbPath(), "words", &error))
        throw std::runtime_error(error.toStdString());
    const auto quoted = [](const QString& text) { return "'" + QString(text).replace("'", "''") + "'"; };
    QString sql = QString("begin; insert into FeatureTable values (%1, %2, 7); insert into VersionInfo values (7, '测试版', "
                          "'words');").arg(lastBook).arg(lastUnit);
    for (size_t b = 0; b < bookUnits.size(); ++b)
        for (size_t u = 0; u < bookUnits[b].size(); ++u)
            sql += QString("insert into words_BookUnit values (NULL, 7, %1, '第%2册', %3, %4, NULL);")
                       .arg(b).arg(b + 1).arg(u).arg(quoted(bookUnits[b][u]));
    for (const Word& w : words)
        sql += QString("insert into words values (%1, %2, %3, %4, %5, %6);").arg(w.book).arg(w.unit).arg(quoted(w.english),
                   quoted(w.chinese)).arg(w.composition).arg(w.result.isNull() ? "NULL" : quoted(w.result.toString()));
    Exec(sql + "commit");
}

void TempInstall::Exec(const QString& sql) const {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(DbPath()).constData(), &db);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    const QString error = QString::fromUtf8(message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error((sql + ": " + error).toStdString());
}

QVariant TempInstall::Query(const QString& sql) const {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(DbPath()).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    QVariant value;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        const std::string error = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(sql.toStdString() + ": " + error);
    }
    if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

QString TempInstall::OnScrambled(const QString& sql) const {
    ModuleCrpt::ScrambleHeader(DbPath());
    const QString value = IsQuery(sql) ? Query(sql).toString() : (Exec(sql), QString());
    ModuleCrpt::ScrambleHeader(DbPath());
    return value;
}

void TempInstall::WriteFile(const QString& relative, const QByteArray& bytes) const {
    const QString path = Root() + "/" + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error(("cannot write " + path).toStdString());
}

QByteArray TempInstall::MakeJpeg(int width, int height, const QColor& colour, int quality) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

QByteArray TempInstall::Speak(const QString& word, const QStringList& voice) {
    QProcess espeak;
    espeak.start("espeak-ng", voice + QStringList{"--stdout", word});
    if (!espeak.waitForFinished(30000)) throw std::runtime_error("espeak-ng did not finish");
    return espeak.readAllStandardOutput();
}

QByteArray TempInstall::MakeWav(double seconds, int rate, int channels, int bits, double level) {
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < static_cast<int>(seconds * rate); ++i) {
        const double v = level * std::sin(2 * M_PI * 440.0 * i / rate);
        for (int c = 0; c < channels; ++c)
            bits == 8 ? void(out << static_cast<quint8>(128 + v * 127)) : void(out << static_cast<qint16>(v * 32767));
    }
    QByteArray wav;
    QDataStream header(&wav, QIODevice::WriteOnly);
    header.setByteOrder(QDataStream::LittleEndian);
    const quint16 block = static_cast<quint16>(channels * bits / 8);
    header.writeRawData("RIFF", 4);
    header << quint32(36 + data.size());
    header.writeRawData("WAVEfmt ", 8);
    header << quint32(16) << quint16(1) << quint16(channels) << quint32(rate) << quint32(rate * block) << block << quint16(bits);
    header.writeRawData("data", 4);
    header << quint32(data.size());
    return wav + data;
}

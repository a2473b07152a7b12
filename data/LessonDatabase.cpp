#include "data/LessonDatabase.h"

#include <QFileInfo>
#include <sqlite3.h>

#include "app/LessonState.h"
#include "app/MessageService.h"
#include "media/ModuleCrpt.h"

namespace {

const QString kCannotOpen = QStringLiteral("无法打开词库文件：\n%1\n请重新安装本软件。");
const QString kDamaged = QStringLiteral("词库文件已损坏，无法读取：\n%1\n请重新安装本软件。");

}  // namespace

LessonDatabase::LessonDatabase(LessonState& state, MessageService& messages)
    : state_(state), messages_(messages) {}

LessonDatabase::~LessonDatabase() {
    if (inBatch_) EndBatch();
    CloseRecordset();
}

void LessonDatabase::BuildConnString(const QString& appPicsDir) {
    dbFilePath_ = appPicsDir + QLatin1Char('/') + kFileName;
    connString_ = QStringLiteral("Data Source=") + dbFilePath_;
}

bool LessonDatabase::TryConnect() {
    const QByteArray path = QFile::encodeName(dbFilePath_);
    if (sqlite3_open_v2(path.constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    Disconnect();
    return false;
}

void LessonDatabase::Disconnect() {
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
}

// A scrambled file cannot be opened: unscramble it and try once more. When
// that fails too the file is put back as it was found.
bool LessonDatabase::Connect() {
    if (db_) return true;
    if (!QFileInfo(dbFilePath_).isFile()) {
        ReportFailure(kCannotOpen);
        return false;
    }
    if (TryConnect()) return true;
    ModuleCrpt::ScrambleHeader(dbFilePath_);
    if (TryConnect()) return true;
    ModuleCrpt::ScrambleHeader(dbFilePath_);
    ReportFailure(kCannotOpen);
    return false;
}

void LessonDatabase::ReportFailure(const QString& text) {
    const QString title = state_.VersionName.isEmpty() ? QStringLiteral("英语Orvanel") : state_.VersionName;
    messages_.Show(text.arg(dbFilePath_), title, MsgButtons::Ok, MsgIcon::Critical);
}

bool LessonDatabase::OpenRecordset(const SqlStatement& query) {
    SqlText = query;
    SharedRecordset.Close();
    if (!Connect()) return false;
    if (SharedRecordset.Open(db_, SqlText)) return true;
    if (!inBatch_) {
        Disconnect();
        ModuleCrpt::ScrambleHeader(dbFilePath_);
    }
    ReportFailure(kDamaged);
    return false;
}

void LessonDatabase::CloseRecordset() {
    if (!SharedRecordset.IsOpen()) return;
    SharedRecordset.Close();
    if (inBatch_) return;
    Disconnect();
    ModuleCrpt::ScrambleHeader(dbFilePath_);
}

bool LessonDatabase::BeginBatch() {
    if (!Connect()) return false;
    sqlite3_exec(db_, "begin", nullptr, nullptr, nullptr);
    inBatch_ = true;
    return true;
}

void LessonDatabase::EndBatch() {
    SharedRecordset.Close();
    sqlite3_exec(db_, "commit", nullptr, nullptr, nullptr);
    inBatch_ = false;
    Disconnect();
    ModuleCrpt::ScrambleHeader(dbFilePath_);
}

// A database without its settings row or version row cannot be studied from.
bool LessonDatabase::LoadSettings() {
    if (!OpenRecordset({QStringLiteral("select * from FeatureTable"), {}})) return false;
    const bool hasSettings = !SharedRecordset.IsEOF();
    state_.CurBook = static_cast<qint16>(SharedRecordset.Field(QStringLiteral("LastBook")).toInt());
    state_.CurUnit = static_cast<qint16>(SharedRecordset.Field(QStringLiteral("LastUnit")).toInt());
    state_.CurVersionID = static_cast<qint16>(SharedRecordset.Field(QStringLiteral("VersionID")).toInt());
    CloseRecordset();

    bool hasVersion = false;
    if (hasSettings) {
        if (!OpenRecordset({QStringLiteral("select * from VersionInfo where ID = ?"), {state_.CurVersionID}}))
            return false;
        hasVersion = !SharedRecordset.IsEOF();
        state_.VersionName = SharedRecordset.Field(QStringLiteral("VersionName")).toString();
        state_.VersionDB = SharedRecordset.Field(QStringLiteral("VersionDB")).toString();
        CloseRecordset();
    }
    if (!hasVersion) {
        ReportFailure(kDamaged);
        return false;
    }

    if (!OpenRecordset({QStringLiteral("select DISTINCT BookName,BookID from %1 order by BookID")
                            .arg(SqlName(state_.VersionDB + QStringLiteral("_BookUnit"))),
                        {}}))
        return false;
    state_.BookCount = static_cast<qint16>(SharedRecordset.RecordCount());
    state_.BookNames.assign(state_.BookCount, QString());
    SharedRecordset.MoveFirst();
    for (int i = 0; i < state_.BookCount; ++i) {
        state_.BookNames[i] = SharedRecordset.Field(QStringLiteral("BookName")).toString().trimmed();
        SharedRecordset.MoveNext();
    }
    CloseRecordset();
    return true;
}

void LessonDatabase::SavePosition() {
    if (!OpenRecordset({QStringLiteral("select * from FeatureTable"), {}})) return;
    if (!SharedRecordset.IsEOF()) {
        SharedRecordset.SetField(QStringLiteral("LastBook"), state_.CurBook);
        SharedRecordset.SetField(QStringLiteral("LastUnit"), state_.CurUnit);
        SharedRecordset.Update();
    }
    CloseRecordset();
}

bool LessonDatabase::CreateEmptyDatabase(const QString& path, const QString& versionDB, QString* error) {
    sqlite3* db = nullptr;
    const QByteArray file = QFile::encodeName(path);
    if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        if (error) *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    const QString schema = QStringLiteral(
        "pragma journal_mode = delete;"
        "create table FeatureTable (LastBook integer not null, LastUnit integer not null,"
        " VersionID integer not null);"
        "create table VersionInfo (ID integer, VersionName text not null, VersionDB text not null);"
        "create table %2 (UserID integer, VersionID integer, BookID integer,"
        " BookName text not null, UnitID integer, UnitName text not null, UnitStatus integer);"
        "create table %1 (Book integer, Unit integer, English text not null,"
        " Chinese text not null, Composition integer not null, Result text);"
        "create index %3 on %1 (trim(English));"
        "create index %4 on %1 (Book, Unit);"
        "create table History (NO integer, userID integer, Date text, Time text, Task text);")
                               .arg(SqlName(versionDB), SqlName(versionDB + QStringLiteral("_BookUnit")),
                                    SqlName(versionDB + QStringLiteral("_English")),
                                    SqlName(versionDB + QStringLiteral("_Place")));
    char* message = nullptr;
    const bool ok = sqlite3_exec(db, schema.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK;
    if (!ok && error) *error = QString::fromUtf8(message);
    sqlite3_free(message);
    sqlite3_close(db);
    return ok;
}

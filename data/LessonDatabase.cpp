#include "data/LessonDatabase.h"

#include <QFileInfo>
#include <cstring>
#include <limits>
#include <sqlite3.h>

#include "core/LessonState.h"
#include "core/MessageService.h"
#include "media/ModuleCrpt.h"

namespace {

const QString kMissing = QStringLiteral("找不到词库文件：\n%1\n请重新安装本软件。");
const QString kCannotOpen = QStringLiteral("无法打开词库文件：\n%1\n请确认这个文件可以读取。");
const QString kBusy = QStringLiteral("词库文件正在被其他程序使用：\n%1\n请关闭其他程序后再试。");
const QString kDamaged = QStringLiteral("词库文件已损坏，无法读取：\n%1\n请重新安装本软件。");
const QString kNotSaved = QStringLiteral("学习结果没有保存：无法写入词库文件\n%1\n请确认这个文件和它所在的文件夹可以写入，程序会在下次保存时再试。");
const QString kNotKept = QStringLiteral("词库文件不能写入：\n%1\n可以照常学习，但是这次的学习结果不能保存。");
const QString kTooLarge = QStringLiteral("词库文件中的册、单元或单词太多，本软件无法使用：\n%1");

}  // namespace

LessonDatabase::LessonDatabase(LessonState& state, MessageService& messages)
    : state_(state), messages_(messages) {}

LessonDatabase::~LessonDatabase() {
    CloseFile();
    Disconnect();
}

void LessonDatabase::CloseFile() {
    SharedRecordset.Close();
    if (db_) Release();
}

void LessonDatabase::BuildConnString(const QString& appPicsDir) {
    dbFilePath_ = appPicsDir + QLatin1Char('/') + kFileName;
    connString_ = QStringLiteral("Data Source=") + dbFilePath_;
}

LessonDatabase::Access LessonDatabase::TryConnect(const QByteArray& path, int flags) {
    if (sqlite3_open_v2(path.constData(), &db_, flags, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db_, busyWaitMs_);
        if (sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK)
            return Access::Ok;
    }
    const Access failure = Busy() ? Access::Busy : Access::Damaged;
    Disconnect();
    return failure;
}

// Another program holds the file past the busy wait.
bool LessonDatabase::Busy() const {
    return db_ && (sqlite3_extended_errcode(db_) & 0xff) == SQLITE_BUSY;
}

void LessonDatabase::Disconnect() {
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
}

// Closes the file and leaves it scrambled, whatever state it was found in.
void LessonDatabase::Release() {
    if (inMemory_) return;
    Disconnect();
    if (ModuleCrpt::FileForm(dbFilePath_, ModuleCrpt::kSqliteStart) == ModuleCrpt::HeaderForm::Plain)
        ModuleCrpt::ScrambleHeader(dbFilePath_);
}

// The first open also finds out whether the file can be written; when it
// cannot, the database is read into memory for the rest of the session.
LessonDatabase::Access LessonDatabase::Connect() {
    if (db_) return Access::Ok;
    if (!QFileInfo(dbFilePath_).isFile()) return Access::Missing;
    const Access access = OpenInPlace();
    if (checkedWritable_ || (access != Access::Ok && access != Access::NotWritable)) return access;
    const Access writes = access == Access::Ok ? WritesReachTheFile() : Access::NotWritable;
    if (writes == Access::Busy) {
        Disconnect();
        return Access::Busy;
    }
    checkedWritable_ = true;
    if (writes == Access::Ok) return Access::Ok;
    Release();
    return OpenInMemory();
}

// The header tells which state the file is in, so a plain file (left so by
// a crash) opens at once and a scrambled one is unscrambled first.
LessonDatabase::Access LessonDatabase::OpenInPlace() {
    const ModuleCrpt::HeaderForm form = ModuleCrpt::FileForm(dbFilePath_, ModuleCrpt::kSqliteStart);
    if (form == ModuleCrpt::HeaderForm::Unknown) return Access::Damaged;
    if (form == ModuleCrpt::HeaderForm::Scrambled && !ModuleCrpt::ScrambleHeader(dbFilePath_))
        return Access::NotWritable;
    const Access access = TryConnect(QFile::encodeName(dbFilePath_), SQLITE_OPEN_READWRITE);
    if (access == Access::Ok) {
        if (!sqlite3_db_readonly(db_, "main")) return Access::Ok;
        Release();
        return Access::NotWritable;
    }
    // A file another program holds is left as it is: scrambling it under
    // the holder would damage it, and the next open takes it in either form.
    if (access == Access::Damaged) Release();
    return access;
}

// Setting the header's user version to its own value needs the journal, so
// it fails where the folder or the file cannot be written; nothing changes.
// A writer of another program's makes it wait, which says nothing of the file.
LessonDatabase::Access LessonDatabase::WritesReachTheFile() {
    sqlite3_stmt* stmt = nullptr;
    int version = 0;
    if (sqlite3_prepare_v2(db_, "pragma user_version", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    const QByteArray probe = "pragma user_version = " + QByteArray::number(version);
    const bool writable = sqlite3_exec(db_, "begin immediate", nullptr, nullptr, nullptr) == SQLITE_OK &&
                          sqlite3_exec(db_, probe.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    const Access access = writable ? Access::Ok : Busy() ? Access::Busy : Access::NotWritable;
    sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
    return access;
}

LessonDatabase::Access LessonDatabase::OpenInMemory() {
    QFile file(dbFilePath_);
    if (!file.open(QIODevice::ReadOnly)) return Access::NotWritable;
    QByteArray bytes = file.readAll();
    const ModuleCrpt::HeaderForm form = ModuleCrpt::FormOf(bytes, ModuleCrpt::kSqliteStart);
    if (form == ModuleCrpt::HeaderForm::Unknown) return Access::Damaged;
    if (form == ModuleCrpt::HeaderForm::Scrambled) ModuleCrpt::ScrambleHeader(bytes);

    if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        Disconnect();
        return Access::Damaged;
    }
    auto* buffer = static_cast<unsigned char*>(sqlite3_malloc64(static_cast<sqlite3_uint64>(bytes.size())));
    if (!buffer) {
        Disconnect();
        return Access::Damaged;
    }
    std::memcpy(buffer, bytes.constData(), static_cast<size_t>(bytes.size()));
    const auto size = static_cast<sqlite3_int64>(bytes.size());
    if (sqlite3_deserialize(db_, "main", buffer, size, size,
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) != SQLITE_OK ||
        sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Disconnect();
        return Access::Damaged;
    }
    inMemory_ = true;
    return Access::Ok;
}

void LessonDatabase::Report(const QString& text, MsgIcon icon) {
    CloseBeforeMessage();
    const QString title = state_.VersionName.isEmpty() ? QStringLiteral("英语Orvanel") : state_.VersionName;
    messages_.Show(text.arg(dbFilePath_), title, MsgButtons::Ok, icon);
}

// While a message waits for the pupil the file is not left open (and plain)
// for a read that may never come.
void LessonDatabase::CloseBeforeMessage() {
    if (holdOpen_ > 0 && !inBatch_) CloseFile();
}

void LessonDatabase::ReportReadFailure(Access access) {
    switch (access) {
    case Access::Missing: Report(kMissing, MsgIcon::Critical); return;
    case Access::NotWritable: Report(kCannotOpen, MsgIcon::Critical); return;
    case Access::Damaged: Report(kDamaged, MsgIcon::Critical); return;
    case Access::Busy: Report(kBusy, MsgIcon::Warning); return;
    case Access::Ok: return;
    }
}

void LessonDatabase::TellResultsNotKept() {
    if (toldNotKept_) return;
    toldNotKept_ = true;
    Report(kNotKept, MsgIcon::Warning);
}

bool LessonDatabase::CountFits(qint64 count) {
    if (count <= std::numeric_limits<qint16>::max()) return true;
    if (!refused_) Report(kTooLarge, MsgIcon::Critical);
    refused_ = true;
    return false;
}

bool LessonDatabase::OpenRecordset(const SqlStatement& query) {
    SqlText = query;
    SharedRecordset.Close();
    const Access access = Connect();
    if (access != Access::Ok) {
        // Inside a save the save itself tells what went wrong.
        if (!inBatch_) ReportReadFailure(access);
        return false;
    }
    if (SharedRecordset.Open(db_, SqlText)) return true;
    if (inBatch_) return false;
    if (Busy()) {
        Disconnect();
        Report(kBusy, MsgIcon::Warning);
    } else {
        Release();
        Report(kDamaged, MsgIcon::Critical);
    }
    return false;
}

void LessonDatabase::CloseRecordset() {
    if (!SharedRecordset.IsOpen()) return;
    SharedRecordset.Close();
    if (inBatch_ || holdOpen_ > 0) return;
    Release();
}

bool LessonDatabase::BeginBatch() {
    if (Connect() != Access::Ok) {
        Report(kNotSaved, MsgIcon::Critical);
        return false;
    }
    if (sqlite3_exec(db_, "begin immediate", nullptr, nullptr, nullptr) != SQLITE_OK) {
        if (Busy()) Disconnect();
        else Release();
        Report(kNotSaved, MsgIcon::Critical);
        return false;
    }
    inBatch_ = true;
    return true;
}

bool LessonDatabase::EndBatch(bool done) {
    SharedRecordset.Close();
    const bool saved = done && sqlite3_exec(db_, "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!saved) sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
    inBatch_ = false;
    Release();
    if (!saved) Report(kNotSaved, MsgIcon::Critical);
    return saved;
}

// A database without its settings row or version row cannot be studied from.
// Its three reads share one open of the file.
bool LessonDatabase::LoadSettings() {
    return InOneOpen([this] { return ReadSettings(); });
}

bool LessonDatabase::ReadSettings() {
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
        Report(kDamaged, MsgIcon::Critical);
        return false;
    }

    if (!OpenRecordset({QStringLiteral("select DISTINCT BookName,BookID from %1 order by BookID")
                            .arg(SqlName(state_.VersionDB + QStringLiteral("_BookUnit"))),
                        {}}))
        return false;
    const int count = SharedRecordset.RecordCount();
    if (!CountFits(count)) {
        CloseRecordset();
        return false;
    }
    state_.BookCount = static_cast<qint16>(count);
    state_.BookNames.assign(state_.BookCount, QString());
    SharedRecordset.MoveFirst();
    for (int i = 0; i < state_.BookCount; ++i) {
        state_.BookNames[i] = SharedRecordset.Field(QStringLiteral("BookName")).toString().trimmed();
        SharedRecordset.MoveNext();
    }
    CloseRecordset();
    if (inMemory_) TellResultsNotKept();
    return true;
}

bool LessonDatabase::SavePosition() {
    return InOneTransaction([this] {
        if (!OpenRecordset({QStringLiteral("select * from FeatureTable"), {}})) return false;
        bool written = true;
        if (!SharedRecordset.IsEOF()) {
            SharedRecordset.SetField(QStringLiteral("LastBook"), state_.CurBook);
            SharedRecordset.SetField(QStringLiteral("LastUnit"), state_.CurUnit);
            written = SharedRecordset.Update();
        }
        CloseRecordset();
        return written;
    });
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

#include "tools/InstallationUpdater.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QDirIterator>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sqlite3.h>
#include <unistd.h>

#include "data/LessonDatabase.h"
#include "media/InstanceLock.h"
#include "media/ModuleCrpt.h"

namespace {

const QString kAppPics = QStringLiteral("Bin/AppPics");
const QString kLockName = QStringLiteral("orvanel.lock");
// What the pupil's folder was last brought up to date from.
const QString kFingerprintName = QStringLiteral(".content-fingerprint");
// Copies of the programs that earlier updates put into the pupil's folder;
// the programs now run from where they are installed.
const char* const kOldProgramFiles[] = {"Bin/orvanel", "Bin/orvanel-publish"};
// The store's content folders; myvoice holds the pupil's recordings and is
// never touched.
const char* const kContentFolders[] = {"Common/voice", "Common/pics", "Common/appvoice"};

QString DatabaseRelative() {
    return kAppPics + QLatin1Char('/') + LessonDatabase::kFileName;
}

bool SameBytes(const QString& a, const QString& b) {
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) || first.size() != second.size())
        return false;
    while (!first.atEnd())
        if (first.read(1 << 16) != second.read(1 << 16)) return false;
    return true;
}

bool IsPlainDatabase(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3", 16);
}

QString Digest(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) return QString();
    return QString::fromLatin1(hash.result().toHex());
}

// Without a flush of its own: QFile::copy syncs every file it writes, which
// made a first start wait on the disk once per picture; the staged files are
// flushed together before they replace anything.
bool CopyReplacing(const QString& from, const QString& to) {
    std::error_code error;
    return std::filesystem::copy_file(QFile::encodeName(from).constData(), QFile::encodeName(to).constData(),
                                      std::filesystem::copy_options::overwrite_existing, error);
}

// One flush of the file system that holds the folder.
bool SyncFileSystem(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    return synced;
}

bool SyncFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
}

// rename() replaces the target in one step: at no moment is neither file there.
bool ReplaceFile(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool IsLeftover(const QString& name) {
    return name.endsWith(InstallationUpdater::kStagedSuffix) ||
           name.endsWith(InstallationUpdater::kStagedSuffix + QStringLiteral("-journal"));
}

class Database {
public:
    Database(const QString& path, int flags) {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr) != SQLITE_OK) {
            error_ = QString::fromUtf8(sqlite3_errmsg(db_));
            sqlite3_close(db_);
            db_ = nullptr;
        }
    }
    ~Database() { sqlite3_close(db_); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* Handle() const { return db_; }
    QString Error() const { return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : error_; }

    bool Exec(const QString& sql) const {
        return db_ && sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    // The first column of the first row, or an empty text.
    QString Value(const QString& sql) const {
        sqlite3_stmt* stmt = nullptr;
        QString value;
        if (db_ && sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL)
            value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        return value;
    }

private:
    sqlite3* db_ = nullptr;
    QString error_;
};

}  // namespace

InstallationUpdater::InstallationUpdater(const QString& builtDir, const QString& pupilDir)
    : builtDir_(QDir::cleanPath(builtDir)), pupilDir_(QDir::cleanPath(pupilDir)) {}

bool InstallationUpdater::Fail(const QString& what) {
    error_ = what;
    return false;
}

QString InstallationUpdater::FingerprintPath() const {
    return pupilDir_ + QLatin1Char('/') + kAppPics + QLatin1Char('/') + kFingerprintName;
}

// Names, sizes and times of every content file: it changes whenever the
// installed content does, and reading it takes a listing, not the files.
// Listed once: a start that finds the folder out of date updates it next.
QString InstallationUpdater::ContentFingerprint() const {
    if (!contentFingerprint_.isEmpty()) return contentFingerprint_;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QStringList folders = {kAppPics};
    for (const char* folder : kContentFolders) folders << QLatin1String(folder);
    for (const QString& folder : folders) {
        QDirIterator it(builtDir_ + QLatin1Char('/') + folder, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        QStringList lines;
        while (it.hasNext()) {
            const QFileInfo file(it.next());
            lines << QStringLiteral("%1 %2 %3").arg(file.filePath()).arg(file.size()).arg(
                         file.lastModified().toMSecsSinceEpoch());
        }
        lines.sort();
        hash.addData(lines.join(QLatin1Char('\n')).toUtf8());
    }
    contentFingerprint_ = QString::fromLatin1(hash.result().toHex());
    return contentFingerprint_;
}

bool InstallationUpdater::UpToDate() const {
    QFile stored(FingerprintPath());
    return QFileInfo::exists(pupilDir_ + QLatin1Char('/') + DatabaseRelative()) &&
           stored.open(QIODevice::ReadOnly) && QString::fromLatin1(stored.readAll()) == ContentFingerprint();
}

bool InstallationUpdater::Update(bool callerHoldsLock) {
    if (!QFileInfo(builtDir_ + QLatin1Char('/') + DatabaseRelative()).isFile())
        return Fail(QStringLiteral("there is no built installation in %1").arg(builtDir_));
    fresh_ = !QFileInfo::exists(pupilDir_ + QLatin1Char('/') + DatabaseRelative());
    if (!MakeFolder(pupilDir_ + QLatin1Char('/') + kAppPics)) {
        Discard();
        return Fail(QStringLiteral("cannot make the folder %1").arg(pupilDir_));
    }
    // The program holds this lock while it runs: its files must not change
    // under it, nor may it start halfway through.
    InstanceLock lock(pupilDir_ + QLatin1Char('/') + kAppPics + QLatin1Char('/') + kLockName);
    if (!callerHoldsLock && lock.TryLock() == InstanceLock::Result::HeldElsewhere) {
        Discard();
        return Fail(QStringLiteral("the program is running from %1; close it and try again").arg(pupilDir_));
    }
    RemoveLeftovers();
    const QString fingerprint = ContentFingerprint();
    bool ready = PrepareFolder(kAppPics, true, false);
    for (const char* folder : kContentFolders)
        ready = ready && PrepareFolder(QLatin1String(folder), false, true);
    ready = ready && MakeFolder(pupilDir_ + QStringLiteral("/Common/myvoice")) && PrepareDatabase();
    // Nothing replaces a file before every new file is on the disk.
    ready = ready && (SyncFileSystem(pupilDir_) || Fail(QStringLiteral("cannot write to %1").arg(pupilDir_)));
    for (const char* program : kOldProgramFiles)
        if (QFileInfo::exists(pupilDir_ + QLatin1Char('/') + QLatin1String(program)))
            stale_ << pupilDir_ + QLatin1Char('/') + QLatin1String(program);
    if (ready && Commit()) return RecordFingerprint(fingerprint);
    if (!ready) Discard();
    return false;
}

bool InstallationUpdater::RecordFingerprint(const QString& fingerprint) {
    QFile file(FingerprintPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(fingerprint.toLatin1()) > 0) return true;
    // The update itself is done; the next start only checks it again.
    QFile::remove(FingerprintPath());
    return true;
}

bool InstallationUpdater::MakeFolder(const QString& path) {
    QStringList missing;
    for (QString folder = QDir::cleanPath(path); !QFileInfo::exists(folder);
         folder = QFileInfo(folder).path())
        missing.prepend(folder);
    for (const QString& folder : missing) {
        if (!QDir().mkdir(folder)) return Fail(QStringLiteral("cannot make the folder %1").arg(folder));
        madeFolders_ << folder;
    }
    return QFileInfo(path).isDir() || Fail(QStringLiteral("%1 is not a folder").arg(path));
}

void InstallationUpdater::RemoveLeftovers() {
    QStringList folders = {pupilDir_ + QLatin1Char('/') + kAppPics};
    for (const char* folder : kContentFolders) folders << pupilDir_ + QLatin1Char('/') + QLatin1String(folder);
    for (const QString& folder : folders)
        for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
            if (IsLeftover(name)) QFile::remove(folder + QLatin1Char('/') + name);
}

bool InstallationUpdater::PrepareFolder(const QString& relative, bool recursive, bool removeStale) {
    const QString from = builtDir_ + QLatin1Char('/') + relative;
    const QString to = pupilDir_ + QLatin1Char('/') + relative;
    if (!QFileInfo(from).isDir()) return true;
    if (!MakeFolder(to)) return false;
    const QDir::Filters files = QDir::Files | QDir::Hidden | QDir::System;
    for (const QString& name : QDir(from).entryList(files, QDir::Name)) {
        const QString path = relative + QLatin1Char('/') + name;
        if (path == DatabaseRelative() || name.startsWith(kLockName) || name == kFingerprintName || IsLeftover(name))
            continue;
        const QString target = to + QLatin1Char('/') + name;
        if (QFileInfo(target).isFile() && SameBytes(from + QLatin1Char('/') + name, target)) {
            ++unchangedFiles_;
            continue;
        }
        const QString temp = target + kStagedSuffix;
        if (!CopyReplacing(from + QLatin1Char('/') + name, temp))
            return Fail(QStringLiteral("cannot write %1").arg(temp));
        staged_.push_back({temp, target});
    }
    if (removeStale)
        for (const QString& name : QDir(to).entryList(files, QDir::Name))
            if (!IsLeftover(name) && !QFileInfo::exists(from + QLatin1Char('/') + name))
                stale_ << to + QLatin1Char('/') + name;
    if (recursive)
        for (const QString& sub : QDir(from).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            if (!PrepareFolder(relative + QLatin1Char('/') + sub, true, removeStale)) return false;
    return true;
}

bool InstallationUpdater::PrepareDatabase() {
    const QString built = builtDir_ + QLatin1Char('/') + DatabaseRelative();
    const QString target = pupilDir_ + QLatin1Char('/') + DatabaseRelative();
    const QString digest = Digest(built);
    if (digest.isEmpty()) return Fail(QStringLiteral("cannot read %1").arg(built));
    if (!fresh_) {
        // Read from a plain copy: the installation itself stays as it is.
        QTemporaryDir work;
        const QString copy = work.filePath(QStringLiteral("pupil.db"));
        if (!work.isValid() || !QFile::copy(target, copy)) return Fail(QStringLiteral("cannot read %1").arg(target));
        if (!IsPlainDatabase(copy)) ModuleCrpt::ScrambleHeader(copy);
        Database old(copy, SQLITE_OPEN_READONLY);
        QString error;
        if (old.Value(QStringLiteral("pragma quick_check")) != QLatin1String("ok"))
            return Fail(QStringLiteral("the pupil's lesson database %1 is damaged (%2); nothing was changed")
                            .arg(target, old.Error()));
        if (old.Value(QStringLiteral("select 1 from sqlite_master where name = '%1'").arg(kInstalledContent)) ==
                QLatin1String("1") &&
            old.Value(QStringLiteral("select Digest from %1").arg(kInstalledContent)) == digest)
            return true;
        if (!progress_.ReadFrom(old.Handle(), &error))
            return Fail(QStringLiteral("cannot read the pupil's lesson database %1 (%2); nothing was changed")
                            .arg(target, error));
    }
    const QString temp = target + kStagedSuffix;
    if (!CopyReplacing(built, temp)) return Fail(QStringLiteral("cannot write %1").arg(temp));
    database_ = {temp, target};
    if (!IsPlainDatabase(temp) && !ModuleCrpt::ScrambleHeader(temp))
        return Fail(QStringLiteral("cannot write %1").arg(temp));
    return MergeProgress(temp, digest) &&
           ((ModuleCrpt::ScrambleHeader(temp) && SyncFile(temp)) || Fail(QStringLiteral("cannot write %1").arg(temp)));
}

bool InstallationUpdater::MergeProgress(const QString& newDb, const QString& digest) {
    Database db(newDb, SQLITE_OPEN_READWRITE);
    QString error;
    const bool merged =
        db.Exec(QStringLiteral("begin")) && progress_.WriteInto(db.Handle(), &error) &&
        db.Exec(QStringLiteral("drop table if exists %1; create table %1 (Digest text not null);"
                               "insert into %1 values ('%2')")
                    .arg(kInstalledContent, digest)) &&
        db.Exec(QStringLiteral("commit"));
    if (merged) return true;
    return Fail(QStringLiteral("cannot write %1 (%2)").arg(newDb, error.isEmpty() ? db.Error() : error));
}

bool InstallationUpdater::Commit() {
    for (const Staged& file : staged_)
        if (!ReplaceFile(file.temp, file.target))
            return Fail(QStringLiteral("cannot replace %1; run the update again to finish it").arg(file.target));
    for (const QString& path : stale_) QFile::remove(path);
    if (!database_.temp.isEmpty() && !ReplaceFile(database_.temp, database_.target))
        return Fail(QStringLiteral("cannot replace %1; run the update again to finish it").arg(database_.target));

    if (fresh_) {
        report_ << QStringLiteral("made the installation in %1").arg(pupilDir_);
        return true;
    }
    if (!staged_.empty() || !stale_.isEmpty())
        report_ << QStringLiteral("%1 files of the program and its content replaced or added, %2 removed, %3 unchanged")
                       .arg(staged_.size())
                       .arg(stale_.size())
                       .arg(unchangedFiles_);
    if (!database_.temp.isEmpty()) {
        const PupilProgress::Counts counts = progress_.Written();
        report_ << QStringLiteral("new lesson content: the results of %1 words and the marks of %2 units carried over")
                       .arg(counts.results)
                       .arg(counts.units);
        if (counts.reviewStates || counts.keptReviewStates || counts.answers)
            report_ << QStringLiteral("review schedule: the states of %1 words (%2 more kept aside) and %3 logged "
                                      "answers carried over")
                           .arg(counts.reviewStates)
                           .arg(counts.keptReviewStates)
                           .arg(counts.answers);
        if (counts.keptResults || counts.keptUnits)
            report_ << QStringLiteral("kept aside until they come back: the results of %1 words and the marks of "
                                      "%2 units no longer in the textbook")
                           .arg(counts.keptResults)
                           .arg(counts.keptUnits);
        if (!counts.positionFound) report_ << QStringLiteral("the last unit studied is gone; the program starts at the first unit");
    }
    return true;
}

void InstallationUpdater::Discard() {
    for (const Staged& file : staged_) QFile::remove(file.temp);
    staged_.clear();
    if (!database_.temp.isEmpty()) {
        QFile::remove(database_.temp);
        QFile::remove(database_.temp + QStringLiteral("-journal"));
    }
    database_ = Staged();
    stale_.clear();
    for (auto folder = madeFolders_.crbegin(); folder != madeFolders_.crend(); ++folder) QDir().rmdir(*folder);
    madeFolders_.clear();
}

#include "app/PupilFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "data/LessonDatabase.h"
#include "tools/InstallationUpdater.h"

namespace {

QString DatabaseIn(const QString& root) {
    return root + QStringLiteral("/Bin/AppPics/") + LessonDatabase::kFileName;
}

}  // namespace

PupilFolder::PupilFolder(const QString& installedContent, const QString& path)
    : content_(QDir::cleanPath(installedContent)), path_(QDir::cleanPath(path)) {}

QString PupilFolder::InstalledContent(const QString& programDir) {
    const QString content = QDir::cleanPath(programDir + QStringLiteral("/../share/orvanel"));
    return QFileInfo(content).isDir() ? content : QString();
}

QString PupilFolder::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/orvanel");
}

bool PupilFolder::MakeLockFolder() const {
    const QString appPics = BinDir() + QStringLiteral("/AppPics");
    return QDir().mkpath(appPics) && QFileInfo(appPics).isWritable();
}

PupilFolder::Outcome PupilFolder::Prepare() {
    if (!QFileInfo(DatabaseIn(content_)).isReadable()) return Outcome::ContentUnreadable;
    const bool fresh = !QFileInfo::exists(DatabaseIn(path_));
    InstallationUpdater updater(content_, path_);
    if (!fresh && updater.UpToDate()) return Outcome::UpToDate;
    if (updater.Update(true)) return fresh ? Outcome::Made : Outcome::Updated;
    error_ = updater.Error();
    return fresh ? Outcome::CannotMake : Outcome::UpdateFailed;
}

QString PupilFolder::Message(Outcome outcome) const {
    switch (outcome) {
    case Outcome::Made:
        return QStringLiteral("你的学习记录保存在这个文件夹里：\n%1\n\n要从头开始，请先关闭本程序，再删除这个文件夹。")
            .arg(path_);
    case Outcome::UpdateFailed:
        return QStringLiteral("新的课本内容没能装进你的学习文件夹：\n%1\n\n你原来的学习记录都还在，这次先用原来的课本内容。"
                              "请检查这个文件夹能否写入（比如磁盘是否已满）。")
            .arg(path_);
    case Outcome::CannotMake:
        return QStringLiteral("无法建立你的学习文件夹：\n%1\n\n请检查这个文件夹能否写入（比如磁盘是否已满），然后再打开本程序。")
            .arg(path_);
    case Outcome::ContentUnreadable:
        return QStringLiteral("读不到本软件的课本内容：\n%1\n\n请重新安装本软件。").arg(content_);
    case Outcome::UpToDate:
    case Outcome::Updated:
        break;
    }
    return QString();
}

#include "media/MediaStore.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "media/ModuleCrpt.h"

MediaStore::MediaStore(const QString& programDir) : programDir_(QDir::cleanPath(programDir)) {}

QString MediaStore::GetDataDir() const {
    const int cut = programDir_.lastIndexOf(QLatin1Char('/'));
    return programDir_.left(cut < 0 ? 0 : cut) + QStringLiteral("/Common");
}

QString MediaStore::Resolve(const QString& dir, const QString& name) {
    const QString exact = dir + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact)) return exact;
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir + QLatin1Char('/') + entry;
    return exact;
}

QString MediaStore::FolderPath(const QString& folder) const {
    return Resolve(GetDataDir(), folder);
}

QString MediaStore::AppPicsDir() const {
    return Resolve(programDir_, QStringLiteral("AppPics"));
}

QString MediaStore::AppPicsPath(const QString& fileName) const {
    return Resolve(AppPicsDir(), fileName);
}

bool MediaStore::IsSafeWord(const QString& word) {
    if (word.isEmpty() || word == QLatin1String(".") || word == QLatin1String("..")) return false;
    return !word.contains(QLatin1Char('/')) && !word.contains(QLatin1Char('\\')) &&
           !word.contains(QChar(0));
}

QString MediaStore::WordFile(const QString& folder, const QString& word,
                             const QString& extension) const {
    if (!IsSafeWord(word)) return QString();
    return Resolve(FolderPath(folder), word + extension);
}

bool MediaStore::WordFileExists(const QString& folder, const QString& word,
                                const QString& extension) const {
    const QString path = WordFile(folder, word, extension);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool MediaStore::ConvertWordFile(const QString& folder, const QString& word, const QString& from,
                                 const QString& to) {
    if (!WordFileExists(folder, word, from)) return false;
    const QString source = WordFile(folder, word, from);
    QString target = WordFile(folder, word, to);
    if (!QFileInfo::exists(target)) target = source.chopped(from.size()) + to;
    if (!ModuleCrpt::ScrambleHeader(source)) return false;
    // rename() replaces an existing target in one step: at no moment is
    // neither file there.
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0) {
        ModuleCrpt::ScrambleHeader(source);
        return false;
    }
    return true;
}

bool MediaStore::EncryptWordAudio(const QString& word) {
    return ConvertWordFile(kVoice, word, QStringLiteral(".wav"), QStringLiteral(".abw"));
}

bool MediaStore::DecryptWordAudio(const QString& word) {
    return ConvertWordFile(kVoice, word, QStringLiteral(".abw"), QStringLiteral(".wav"));
}

bool MediaStore::EncryptWordPic(const QString& word) {
    return ConvertWordFile(kPics, word, QStringLiteral(".jpg"), QStringLiteral(".pet"));
}

bool MediaStore::DecryptWordPic(const QString& word) {
    return ConvertWordFile(kPics, word, QStringLiteral(".pet"), QStringLiteral(".jpg"));
}

QImage MediaStore::LoadWordPicture(const QString& word, bool scrambleBack) {
    DecryptWordPic(word);
    QImage picture;
    if (WordFileExists(kPics, word, QStringLiteral(".jpg")))
        picture.load(WordFile(kPics, word, QStringLiteral(".jpg")));
    if (picture.isNull()) {
        // The default picture stays plain once it has been needed.
        if (!WordFileExists(kPics, kDefaultPicture, QStringLiteral(".jpg"))) DecryptWordPic(kDefaultPicture);
        picture.load(WordFile(kPics, kDefaultPicture, QStringLiteral(".jpg")));
    }
    if (scrambleBack && word != kDefaultPicture) EncryptWordPic(word);
    return picture;
}

#include "publish/PublishRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QUrl>
#include <cstdio>

#include "media/MediaStore.h"
#include "media/ModuleCrpt.h"

namespace {

const QString kSearchSite = QStringLiteral("https://www.bing.com/");

bool IsFile(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// The real path, links followed; empty for what does not exist.
QString Canonical(const QString& path) {
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

bool Within(const QString& path, const QString& folder) {
    if (path.isEmpty() || folder.isEmpty()) return false;
    return path == folder || path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

// Where a write to path lands: through a link, at what it points to. Empty
// when that cannot be told (a dangling link), so nothing is written there.
// In a folder that does not exist nothing can be written at all.
QString Landing(const QString& path) {
    const QFileInfo info(path);
    if (info.exists()) return info.canonicalFilePath();
    if (info.isSymLink()) return QString();
    const QString folder = Canonical(info.absolutePath());
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

}  // namespace

QString PublishRules::Find(const QString& dir, const QString& fileName) const {
    const QString exact = PathIn(dir, fileName);
    if (exact.isEmpty() || QFileInfo::exists(exact)) return exact;
    const QString entry = index_.Find(QDir::cleanPath(dir), fileName);
    return entry.isEmpty() ? exact : PathIn(dir, entry);
}

// The first audio source keeps each word in a subfolder named after its
// first character.
QString PublishRules::LetterSource(const QString& dir, const QString& word) const {
    return Find(Find(dir, word.left(1)), word + QStringLiteral(".wav"));
}

bool PublishRules::LoadAllWords(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    words_ = WordsFromText(DecodeWordFile(bytes));
    return true;
}

bool PublishRules::IsWordLoaded(const QString& word) const {
    return words_.contains(word, Qt::CaseSensitive);
}

QStringList PublishRules::WordsFromText(const QString& text) {
    QStringList words;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString word = line.trimmed();
        if (!word.isEmpty() && !words.contains(word, Qt::CaseSensitive)) words << word;
    }
    return words;
}

QString PublishRules::DecodeWordFile(const QByteArray& bytes) {
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return decoder(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    QStringDecoder gb18030("GB18030");
    return gb18030(bytes);
}

QStringList PublishRules::CheckPictures(const QString& sourceDir) const {
    QStringList lacking;
    for (const QString& word : words_)
        if (!MediaStore::IsSafeWord(word) || !IsFile(Find(sourceDir, word + QStringLiteral(".jpg"))))
            lacking << word;
    return lacking;
}

QStringList PublishRules::CheckAudio(const QString& letterSourceDir, const QString& flatSourceDir) const {
    QStringList lacking;
    for (const QString& word : words_)
        if (!MediaStore::IsSafeWord(word) ||
            (!IsFile(LetterSource(letterSourceDir, word)) &&
             !IsFile(Find(flatSourceDir, word + QStringLiteral(".wav")))))
            lacking << word;
    return lacking;
}

// A plain picture already at the destination is kept, not overwritten: the
// editor may have put a better one there by hand.
PublishRules::CopyOutcome PublishRules::CopyPictures(const QString& sourceDir, const QString& destDir) const {
    CopyOutcome outcome;
    for (const QString& word : words_) {
        if (!MediaStore::IsSafeWord(word)) {
            outcome.missing << word;
            continue;
        }
        const QString source = Find(sourceDir, word + QStringLiteral(".jpg"));
        const QString target = PathIn(destDir, word + QStringLiteral(".jpg"));
        if (LandsOnSource(target, source, {sourceDir})) {
            outcome.failed << word;
            continue;
        }
        if (!IsFile(source)) {
            outcome.missing << word;
        } else if (!QFileInfo::exists(target) && !CopyFile(source, target)) {
            outcome.failed << word;
            continue;
        }
        if (!EncryptPicFile(target)) outcome.failed << word;
    }
    return outcome;
}

PublishRules::CopyOutcome PublishRules::CopyAudio(const QString& letterSourceDir, const QString& flatSourceDir,
                                                  const QString& destDir) const {
    CopyOutcome outcome;
    for (const QString& word : words_) {
        if (!MediaStore::IsSafeWord(word)) {
            outcome.missing << word;
            continue;
        }
        const QString first = LetterSource(letterSourceDir, word);
        const QString second = Find(flatSourceDir, word + QStringLiteral(".wav"));
        const QString target = PathIn(destDir, word + QStringLiteral(".wav"));
        const QString source = IsFile(first) ? first : IsFile(second) ? second : QString();
        if (LandsOnSource(target, source, {letterSourceDir, flatSourceDir})) {
            outcome.failed << word;
            continue;
        }
        if (source.isEmpty()) {
            outcome.missing << word;
        } else if (!CopyFile(source, target)) {
            outcome.failed << word;
            continue;
        }
        if (!EncryptWavFile(target)) outcome.failed << word;
    }
    return outcome;
}

bool PublishRules::EncryptPicFile(const QString& path) {
    return ConvertFile(path, QStringLiteral(".pet"));
}

bool PublishRules::EncryptWavFile(const QString& path) {
    return ConvertFile(path, QStringLiteral(".abw"));
}

bool PublishRules::DecryptPicFile(const QString& path) {
    return ConvertFile(path, QStringLiteral(".jpg"));
}

bool PublishRules::ConvertFile(const QString& path, const QString& toExtension) {
    if (!IsFile(path)) return true;
    const QString target = path.chopped(toExtension.size()) + toExtension;
    if (!ModuleCrpt::ScrambleHeader(path)) return false;
    // rename() replaces an older file in one step; when it fails the file is
    // unscrambled again, so nothing stays half-converted under its plain name.
    if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) != 0) {
        ModuleCrpt::ScrambleHeader(path);
        return false;
    }
    return true;
}

// The copy is written beside the target and renamed over it at the end, so a
// failed copy leaves the older file whole.
bool PublishRules::CopyFile(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError || out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

bool PublishRules::IsWritableFolder(const QString& dir) {
    const QFileInfo info(dir);
    return !dir.isEmpty() && info.isDir() && info.isWritable();
}

// A link at the destination, or a source folder reached through one, could
// make the copy or its scrambling write the editor's own file.
bool PublishRules::LandsOnSource(const QString& target, const QString& source, const QStringList& sourceDirs) {
    if (target.isEmpty()) return false;
    const QString landing = Landing(target);
    if (landing.isEmpty()) return true;
    if (!source.isEmpty() && landing == Canonical(source)) return true;
    for (const QString& dir : sourceDirs)
        if (Within(landing, Canonical(dir))) return true;
    return false;
}

QString PublishRules::SourceClashingWith(const QString& destDir, const QStringList& sourceDirs) {
    const QString dest = Canonical(destDir);
    for (const QString& dir : sourceDirs) {
        const QString source = Canonical(dir);
        if (Within(source, dest) || Within(dest, source)) return dir;
    }
    return QString();
}

QString PublishRules::ClipboardText(const QStringList& entries) {
    QString text;
    for (const QString& entry : entries) text += QStringLiteral("\r\n") + entry;
    return text;
}

QString PublishRules::ImageSearchAddress(const QString& word) {
    return kSearchSite + QStringLiteral("images/search?q=") + QString::fromLatin1(QUrl::toPercentEncoding(word)) +
           QStringLiteral("&form=QBIL&qs=n&sk=#");
}

QString PublishRules::PathIn(const QString& dir, const QString& fileName) {
    if (dir.isEmpty()) return QString();
    return dir.endsWith(QLatin1Char('/')) ? dir + fileName : dir + QLatin1Char('/') + fileName;
}

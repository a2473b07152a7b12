#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "media/FolderIndex.h"

// What the publishing window does with a word list and the editor's folders,
// apart from its widgets: loading the list, checking which words lack a
// picture or a pronunciation, copying and scrambling them for the media
// store. A word that could name a path outside its folder has no file: no
// file is ever read or written because of such a word. Source files are
// found whatever their letter case, as the media store finds its own, and
// are never written: a copy that would land on a source file fails instead.
class PublishRules {
public:
    // Words the copy could not handle: no source at all, or a file that
    // could not be written or converted at the destination.
    struct CopyOutcome {
        QStringList missing;
        QStringList failed;
    };

    // Loads the word file; false, with the list unchanged, when it cannot be read.
    bool LoadAllWords(const QString& path);
    bool IsWordLoaded(const QString& word) const;
    const QStringList& PublishWords() const { return words_; }

    // The words of a file's text in file order, blanks stripped, blank lines
    // and repeats left out (letter case counts).
    static QStringList WordsFromText(const QString& text);
    // UTF-16 or UTF-8 by their byte-order mark, else UTF-8 when valid, else GB18030.
    static QString DecodeWordFile(const QByteArray& bytes);

    QStringList CheckPictures(const QString& sourceDir) const;
    QStringList CheckAudio(const QString& letterSourceDir, const QString& flatSourceDir) const;
    CopyOutcome CopyPictures(const QString& sourceDir, const QString& destDir) const;
    CopyOutcome CopyAudio(const QString& letterSourceDir, const QString& flatSourceDir,
                          const QString& destDir) const;

    // Convert a file in place and give it the other extension, replacing a
    // file of that name. A missing file is nothing to do; false only when the
    // file is left as it was because it could not be converted.
    static bool EncryptPicFile(const QString& path);
    static bool EncryptWavFile(const QString& path);
    static bool DecryptPicFile(const QString& path);

    static bool IsWritableFolder(const QString& dir);
    // The first of the source folders that is the destination, lies inside
    // it or holds it, however the paths are spelled; empty when none does.
    static QString SourceClashingWith(const QString& destDir, const QStringList& sourceDirs);
    // Each entry preceded by a line break, as the list goes to the clipboard.
    static QString ClipboardText(const QStringList& entries);
    static QString ImageSearchAddress(const QString& word);
    // A file's path in a folder box's folder; empty when no folder was given.
    static QString PathIn(const QString& dir, const QString& fileName);

private:
    // A file's path in a folder whatever the letter case of its name.
    QString Find(const QString& dir, const QString& fileName) const;
    QString LetterSource(const QString& dir, const QString& word) const;
    static bool ConvertFile(const QString& path, const QString& toExtension);
    static bool CopyFile(const QString& source, const QString& target);
    static bool LandsOnSource(const QString& target, const QString& source, const QStringList& sourceDirs);

    QStringList words_;
    mutable FolderIndex index_;
};

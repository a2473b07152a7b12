#pragma once

#include <QImage>
#include <QString>

// The media store: pictures and pronunciations named after their words, held
// scrambled at rest, beside the program's own files in AppPics. Folder and
// file names are matched without regard to letter case.
class MediaStore {
public:
    static inline const QString kVoice = QStringLiteral("voice");
    static inline const QString kPics = QStringLiteral("pics");
    static inline const QString kMyVoice = QStringLiteral("myvoice");
    static inline const QString kAppVoice = QStringLiteral("appvoice");
    static inline const QString kDefaultPicture = QStringLiteral("ffe");

    explicit MediaStore(const QString& programDir);

    QString ProgramDir() const { return programDir_; }
    QString GetDataDir() const;
    QString FolderPath(const QString& folder) const;
    QString AppPicsDir() const;
    QString AppPicsPath(const QString& fileName) const;

    // The file's path in a store folder: the existing file whatever its
    // letter case, else where it would be created. Empty when the word could
    // name a path outside its folder, so such a word has no media at all.
    QString WordFile(const QString& folder, const QString& word, const QString& extension) const;
    bool WordFileExists(const QString& folder, const QString& word, const QString& extension) const;
    static bool IsSafeWord(const QString& word);

    bool EncryptWordAudio(const QString& word);
    bool DecryptWordAudio(const QString& word);
    bool EncryptWordPic(const QString& word);
    bool DecryptWordPic(const QString& word);

    // The word's picture, else the default picture; the word's file is
    // scrambled again afterwards unless the caller keeps it plain.
    QImage LoadWordPicture(const QString& word, bool scrambleBack = true);

private:
    static QString Resolve(const QString& dir, const QString& name);
    bool ConvertWordFile(const QString& folder, const QString& word, const QString& from,
                         const QString& to);

    QString programDir_;
};

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "media/FolderIndex.h"
#include "media/PicturePrefetch.h"

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
    // A store sharing another's folder index (for a second thread).
    MediaStore(const QString& programDir, std::shared_ptr<FolderIndex> index);
    ~MediaStore();
    MediaStore(const MediaStore&) = delete;
    MediaStore& operator=(const MediaStore&) = delete;

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

    // The store's folders that are not there: Common itself, or those of its
    // four folders that are missing.
    QStringList MissingFolders() const;

    // A conversion looks at the file's first bytes and only renames a file
    // that already holds the target form, so a crash between flipping and
    // renaming costs nothing. False when the file is missing or the store
    // cannot be changed.
    bool EncryptWordAudio(const QString& word);
    bool DecryptWordAudio(const QString& word);
    bool EncryptWordPic(const QString& word);
    bool DecryptWordPic(const QString& word);

    // The word's picture, else the default picture; the word's file is
    // scrambled again afterwards unless the caller keeps it plain. A store
    // that cannot be changed is read and unscrambled in memory instead.
    // With within given, a picture at least twice as large is decoded at a
    // fraction of its size that still covers within (thumbnails decode much
    // faster so).
    QImage LoadWordPicture(const QString& word, bool scrambleBack = true, const QSize& within = QSize());

    // Starts loading these pictures on a second thread; LoadWordPicture
    // hands them over when asked for them in the same form. The first
    // picture asked for that was not loaded so drops the rest, so none is
    // handed over later from a file that may since have changed. Until the
    // thread is done, anything touching the pictures folder waits for it.
    void PrefetchPictures(std::vector<PictureRequest> requests);
    // How many pictures came from a prefetch so far.
    int PrefetchedShown() const { return prefetchedShown_; }

    // The word's media file as plain bytes, from its plain file or else its
    // scrambled one, unscrambled in memory; empty when it has neither.
    QByteArray ReadPlainWordFile(const QString& folder, const QString& word, const QString& plainExtension,
                                 const QString& scrambledExtension) const;

    // What stands for a picture when even the default picture's file is gone.
    static QImage DrawnDefaultPicture();

private:
    QString Resolve(const QString& dir, const QString& name) const;
    static QByteArray PlainStart(const QString& folder);
    bool ConvertWordFile(const QString& folder, const QString& word, const QString& from,
                         const QString& to, bool toPlain);
    QImage ReadPicture(const QString& word, const QSize& within) const;

    void WaitForPrefetch() const;

    QString programDir_;
    // Looking up a name that is not there would otherwise list its folder.
    // Shared with the prefetching thread's store: ending a watch makes the
    // system wait, so there is one for the whole run.
    std::shared_ptr<FolderIndex> index_;
    std::unique_ptr<PicturePrefetch> prefetch_;
    int prefetchedShown_ = 0;
};

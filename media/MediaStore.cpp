#include "media/MediaStore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPolygonF>
#include <cstdio>
#include <system_error>

#include "media/ModuleCrpt.h"

MediaStore::MediaStore(const QString& programDir) : MediaStore(programDir, std::make_shared<FolderIndex>()) {}

MediaStore::MediaStore(const QString& programDir, std::shared_ptr<FolderIndex> index)
    : programDir_(QDir::cleanPath(programDir)), index_(std::move(index)) {}

MediaStore::~MediaStore() = default;

QString MediaStore::GetDataDir() const {
    const int cut = programDir_.lastIndexOf(QLatin1Char('/'));
    return programDir_.left(cut < 0 ? 0 : cut) + QStringLiteral("/Common");
}

QString MediaStore::Resolve(const QString& dir, const QString& name) const {
    const QString exact = dir + QLatin1Char('/') + name;
    if (QFileInfo::exists(exact)) return exact;
    const QString entry = index_->Find(dir, name);
    return entry.isEmpty() ? exact : dir + QLatin1Char('/') + entry;
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
    if (folder == kPics) WaitForPrefetch();
    return Resolve(FolderPath(folder), word + extension);
}

bool MediaStore::WordFileExists(const QString& folder, const QString& word,
                                const QString& extension) const {
    const QString path = WordFile(folder, word, extension);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QStringList MediaStore::MissingFolders() const {
    if (!QFileInfo(GetDataDir()).isDir()) return {GetDataDir()};
    QStringList missing;
    for (const QString& folder : {kVoice, kPics, kMyVoice, kAppVoice})
        if (!QFileInfo(FolderPath(folder)).isDir()) missing << FolderPath(folder);
    return missing;
}

QByteArray MediaStore::PlainStart(const QString& folder) {
    return folder == kPics ? ModuleCrpt::kJpegStart : ModuleCrpt::kWavStart;
}

bool MediaStore::ConvertWordFile(const QString& folder, const QString& word, const QString& from,
                                 const QString& to, bool toPlain) {
    if (!WordFileExists(folder, word, from)) return false;
    const QString source = WordFile(folder, word, from);
    QString target = WordFile(folder, word, to);
    if (!QFileInfo::exists(target)) target = source.chopped(from.size()) + to;
    const ModuleCrpt::HeaderForm wanted = toPlain ? ModuleCrpt::HeaderForm::Plain : ModuleCrpt::HeaderForm::Scrambled;
    const bool flip = ModuleCrpt::FileForm(source, PlainStart(folder)) != wanted;
    if (flip && !ModuleCrpt::ScrambleHeader(source)) return false;
    // rename() replaces an existing target in one step: at no moment is
    // neither file there.
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0) {
        if (flip) ModuleCrpt::ScrambleHeader(source);
        return false;
    }
    return true;
}

bool MediaStore::EncryptWordAudio(const QString& word) {
    return ConvertWordFile(kVoice, word, QStringLiteral(".wav"), QStringLiteral(".abw"), false);
}

bool MediaStore::DecryptWordAudio(const QString& word) {
    return ConvertWordFile(kVoice, word, QStringLiteral(".abw"), QStringLiteral(".wav"), true);
}

bool MediaStore::EncryptWordPic(const QString& word) {
    return ConvertWordFile(kPics, word, QStringLiteral(".jpg"), QStringLiteral(".pet"), false);
}

bool MediaStore::DecryptWordPic(const QString& word) {
    return ConvertWordFile(kPics, word, QStringLiteral(".pet"), QStringLiteral(".jpg"), true);
}

QByteArray MediaStore::ReadPlainWordFile(const QString& folder, const QString& word,
                                         const QString& plainExtension, const QString& scrambledExtension) const {
    for (const QString& extension : {plainExtension, scrambledExtension}) {
        if (!WordFileExists(folder, word, extension)) continue;
        QFile file(WordFile(folder, word, extension));
        if (!file.open(QIODevice::ReadOnly)) continue;
        QByteArray bytes = file.readAll();
        const ModuleCrpt::HeaderForm form = ModuleCrpt::FormOf(bytes, PlainStart(folder));
        if (form == ModuleCrpt::HeaderForm::Scrambled ||
            (form == ModuleCrpt::HeaderForm::Unknown && extension == scrambledExtension))
            ModuleCrpt::ScrambleHeader(bytes);
        return bytes;
    }
    return QByteArray();
}

QImage MediaStore::ReadPicture(const QString& word, const QSize& within) const {
    QByteArray bytes = ReadPlainWordFile(kPics, word, QStringLiteral(".jpg"), QStringLiteral(".pet"));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    // A JPEG decodes fastest at a half, a quarter or an eighth of its size,
    // so the smallest of these that still covers within is taken.
    if (within.isValid() && size.isValid()) {
        int divisor = 1;
        while (divisor < 8 && size.width() / (2 * divisor) >= within.width() &&
               size.height() / (2 * divisor) >= within.height())
            divisor *= 2;
        if (divisor > 1)
            reader.setScaledSize(QSize((size.width() + divisor - 1) / divisor, (size.height() + divisor - 1) / divisor));
    }
    return reader.read();
}

void MediaStore::PrefetchPictures(std::vector<PictureRequest> requests) {
    prefetch_.reset();
    try {
        prefetch_ = std::make_unique<PicturePrefetch>(programDir_, index_, std::move(requests));
    } catch (const std::system_error&) {
        // No second thread to be had: the pictures load when asked for.
    }
}

void MediaStore::WaitForPrefetch() const {
    if (prefetch_) prefetch_->Wait();
}

QImage MediaStore::LoadWordPicture(const QString& word, bool scrambleBack, const QSize& within) {
    if (prefetch_) {
        std::optional<QImage> picture = scrambleBack ? prefetch_->Take(word, within) : std::nullopt;
        if (picture) {
            ++prefetchedShown_;
            if (prefetch_->Empty()) prefetch_.reset();
            return *picture;
        }
        prefetch_.reset();
    }
    DecryptWordPic(word);
    QImage picture = ReadPicture(word, within);
    if (picture.isNull()) {
        // The default picture stays plain once it has been needed.
        if (!WordFileExists(kPics, kDefaultPicture, QStringLiteral(".jpg"))) DecryptWordPic(kDefaultPicture);
        picture = ReadPicture(kDefaultPicture, within);
    }
    if (picture.isNull()) picture = DrawnDefaultPicture();
    if (scrambleBack && word != kDefaultPicture) EncryptWordPic(word);
    return picture;
}

// A framed landscape with a sun: recognisably "a picture goes here".
QImage MediaStore::DrawnDefaultPicture() {
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(QColor(0xFD, 0xF6, 0xE3));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xB5, 0x89, 0x00), 6));
    painter.setBrush(QColor(0xE8, 0xF4, 0xFD));
    painter.drawRoundedRect(QRectF(40, 30, 240, 180), 16, 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF5, 0xB7, 0x00));
    painter.drawEllipse(QPointF(210, 80), 22, 22);
    painter.setBrush(QColor(0x6A, 0xB0, 0x4C));
    painter.drawPolygon(QPolygonF({QPointF(52, 198), QPointF(130, 100), QPointF(190, 170), QPointF(220, 140),
                                   QPointF(268, 198)}));
    return picture;
}

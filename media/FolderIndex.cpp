#include "media/FolderIndex.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint32_t kEntryChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT;

}  // namespace

FolderIndex::~FolderIndex() {
    if (inotify_ >= 0) ::close(inotify_);
}

FolderIndex::Names FolderIndex::List(const QString& dir) {
    Names names;
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& entry : entries) names[entry.toCaseFolded()].append(entry);
    for (QStringList& variants : names) variants.sort();
    return names;
}

void FolderIndex::Add(Names& names, const QString& entry) {
    QStringList& variants = names[entry.toCaseFolded()];
    if (variants.contains(entry)) return;
    variants.append(entry);
    variants.sort();
}

void FolderIndex::Remove(Names& names, const QString& entry) {
    const QString key = entry.toCaseFolded();
    const auto variants = names.find(key);
    if (variants == names.end()) return;
    variants->removeAll(entry);
    if (variants->isEmpty()) names.erase(variants);
}

QString FolderIndex::First(const Names& names, const QString& name) {
    const QStringList variants = names.value(name.toCaseFolded());
    return variants.isEmpty() ? QString() : variants.first();
}

bool FolderIndex::Watching() {
    if (!triedInotify_) {
        triedInotify_ = true;
        inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    }
    return inotify_ >= 0;
}

void FolderIndex::Forget(int watch) {
    listings_.remove(watch);
    for (auto it = watches_.begin(); it != watches_.end();)
        it = it.value() == watch ? watches_.erase(it) : std::next(it);
}

// Reads every change queued since the last look-up. A lost queue (overflow)
// or an unreadable one drops all listings, so they are made afresh.
void FolderIndex::ApplyChanges() {
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t length = ::read(inotify_, buffer, sizeof buffer);
        if (length < 0 && errno == EINTR) continue;
        if (length < 0 && errno == EAGAIN) return;
        if (length <= 0) {
            listings_.clear();
            return;
        }
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                listings_.clear();
                continue;
            }
            if (event->mask & kFolderGone) {
                if (event->mask & IN_IGNORED) Forget(event->wd);
                else listings_.remove(event->wd);
                continue;
            }
            const auto listing = listings_.find(event->wd);
            if (listing == listings_.end() || event->len == 0) continue;
            const QString entry = QFile::decodeName(event->name);
            if (event->mask & (IN_CREATE | IN_MOVED_TO)) Add(listing->names, entry);
            if (event->mask & (IN_DELETE | IN_MOVED_FROM)) Remove(listing->names, entry);
        }
    }
}

QString FolderIndex::Find(const QString& dir, const QString& name) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!Watching()) return First(List(dir), name);
    ApplyChanges();
    const QByteArray path = QFile::encodeName(dir);
    struct stat folder {};
    if (::stat(path.constData(), &folder) != 0 || !S_ISDIR(folder.st_mode)) return QString();
    const auto known = watches_.constFind(dir);
    if (known != watches_.constEnd()) {
        const auto listing = listings_.constFind(*known);
        if (listing != listings_.constEnd() && listing->device == folder.st_dev && listing->inode == folder.st_ino)
            return First(listing->names, name);
    }
    // The watch comes before the listing: a change made while listing is
    // queued and applied at the next look-up, where it changes nothing
    // already seen. Should the folder be replaced between the stat above and
    // the watch, the identities differ and the next look-up lists again.
    const int watch = ::inotify_add_watch(inotify_, path.constData(), kEntryChanges | kFolderGone | IN_ONLYDIR);
    if (watch < 0) return First(List(dir), name);
    watches_.insert(dir, watch);
    Listing& listing = listings_[watch] = Listing{folder.st_dev, folder.st_ino, List(dir)};
    return First(listing.names, name);
}

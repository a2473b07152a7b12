#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <mutex>
#include <sys/types.h>

// The entries of folders by their case-folded names, so that finding a file
// whatever its letter case does not list its folder every time. Each folder
// listed is watched through inotify, and the changes the kernel reports
// (this program's renames and other programs' alike) are applied before
// every look-up. A listing also answers only while its path still leads to
// the same folder, so a folder renamed or replaced (itself or one above it)
// is listed afresh. Where no watch can be had, every look-up lists the folder.
// Changes made on another computer to a shared folder are not reported by
// the kernel; only a name in another letter case can then be missed, since
// the exact name is always tried first. Look-ups may come from several
// threads.
class FolderIndex {
public:
    FolderIndex() = default;
    ~FolderIndex();
    FolderIndex(const FolderIndex&) = delete;
    FolderIndex& operator=(const FolderIndex&) = delete;

    // The real name of the entry in dir whose name matches without regard
    // to letter case (the first in sorted order when several do); empty
    // when there is none.
    QString Find(const QString& dir, const QString& name);

private:
    // Case-folded name → the names that fold to it, sorted.
    using Names = QHash<QString, QStringList>;
    struct Listing {
        dev_t device = 0;
        ino_t inode = 0;
        Names names;
    };

    static Names List(const QString& dir);
    static void Add(Names& names, const QString& entry);
    static void Remove(Names& names, const QString& entry);
    static QString First(const Names& names, const QString& name);
    bool Watching();
    void ApplyChanges();
    void Forget(int watch);

    std::mutex mutex_;
    int inotify_ = -1;
    bool triedInotify_ = false;
    QHash<int, Listing> listings_;  // by watch
    QHash<QString, int> watches_;  // folder path → its watch
};

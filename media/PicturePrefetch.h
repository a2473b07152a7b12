#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class FolderIndex;

// A picture a view is about to load: the word and the size it is decoded
// within (invalid for full size).
struct PictureRequest {
    QString word;
    QSize within;
};

// Loads pictures of the store on a second thread, each exactly as the main
// thread would (unscrambled, read and scrambled again), and hands each over
// as soon as it is loaded. The thread works through a store of its own over
// the same folders and folder index, and touches nothing but the pictures
// folder; whoever else goes there waits for it to end.
class PicturePrefetch {
public:
    PicturePrefetch(const QString& programDir, std::shared_ptr<FolderIndex> index,
                    std::vector<PictureRequest> requests);
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // Waits until the thread has ended.
    void Wait();
    // The first picture asked for as word within and not yet given out,
    // given out once, as soon as it is loaded; none when no such picture was
    // asked for or the thread could not load it.
    std::optional<QImage> Take(const QString& word, const QSize& within);
    // Every picture asked for has been given out.
    bool Empty();

private:
    struct Loaded {
        PictureRequest request;
        QImage picture;
        bool loaded = false;
        bool taken = false;
    };

    void LoadAll(const QString& programDir, const std::shared_ptr<FolderIndex>& index);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Loaded> loaded_;  // its length is fixed once the thread runs
    bool ended_ = false;
    std::thread thread_;
};

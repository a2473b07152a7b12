#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>
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
// thread would (unscrambled, read and scrambled again), and hands them over
// in the order asked. The thread works through a store of its own over the
// same folders and folder index, and touches nothing but the pictures folder.
class PicturePrefetch {
public:
    PicturePrefetch(const QString& programDir, std::shared_ptr<FolderIndex> index,
                    std::vector<PictureRequest> requests);
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // Waits until the thread has loaded all of them.
    void Wait();
    // The first loaded picture asked for as word within, given out once;
    // none when no such picture was asked for. Waits for the thread.
    std::optional<QImage> Take(const QString& word, const QSize& within);
    bool Empty();

private:
    struct Loaded {
        PictureRequest request;
        QImage picture;
        bool loaded = false;
    };

    std::vector<Loaded> loaded_;
    std::thread thread_;
};

#include "media/PicturePrefetch.h"

#include <algorithm>

#include "media/MediaStore.h"

PicturePrefetch::PicturePrefetch(const QString& programDir, std::shared_ptr<FolderIndex> index,
                                 std::vector<PictureRequest> requests) {
    loaded_.reserve(requests.size());
    for (PictureRequest& request : requests) loaded_.push_back({std::move(request), QImage(), false});
    // The thread writes only into loaded_, which nothing reads before Wait().
    // Should it fail part way, what it did not load is loaded as if never asked.
    thread_ = std::thread([this, programDir, index] {
        try {
            MediaStore store(programDir, index);
            for (Loaded& entry : loaded_) {
                entry.picture = store.LoadWordPicture(entry.request.word, true, entry.request.within);
                entry.loaded = true;
            }
        } catch (...) {
        }
    });
}

PicturePrefetch::~PicturePrefetch() {
    Wait();
}

void PicturePrefetch::Wait() {
    if (thread_.joinable()) thread_.join();
}

std::optional<QImage> PicturePrefetch::Take(const QString& word, const QSize& within) {
    Wait();
    const auto match = std::find_if(loaded_.begin(), loaded_.end(), [&](const Loaded& entry) {
        return entry.loaded && entry.request.word == word && entry.request.within == within;
    });
    if (match == loaded_.end()) return std::nullopt;
    QImage picture = std::move(match->picture);
    loaded_.erase(match);
    return picture;
}

bool PicturePrefetch::Empty() {
    Wait();
    return loaded_.empty();
}

#include "media/PicturePrefetch.h"

#include <algorithm>

#include "media/MediaStore.h"

PicturePrefetch::PicturePrefetch(const QString& programDir, std::shared_ptr<FolderIndex> index,
                                 std::vector<PictureRequest> requests) {
    loaded_.reserve(requests.size());
    for (PictureRequest& request : requests) loaded_.push_back({std::move(request), QImage(), false, false});
    thread_ = std::thread([this, programDir, index] { LoadAll(programDir, index); });
}

PicturePrefetch::~PicturePrefetch() {
    Wait();
}

// Should it fail part way, what it did not load is loaded as if never asked.
void PicturePrefetch::LoadAll(const QString& programDir, const std::shared_ptr<FolderIndex>& index) {
    try {
        MediaStore store(programDir, index);
        for (Loaded& entry : loaded_) {
            QImage picture = store.LoadWordPicture(entry.request.word, true, entry.request.within);
            const std::lock_guard lock(mutex_);
            entry.picture = std::move(picture);
            entry.loaded = true;
            changed_.notify_all();
        }
    } catch (...) {
    }
    const std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
}

void PicturePrefetch::Wait() {
    if (thread_.joinable()) thread_.join();
}

std::optional<QImage> PicturePrefetch::Take(const QString& word, const QSize& within) {
    std::unique_lock lock(mutex_);
    const auto match = std::find_if(loaded_.begin(), loaded_.end(), [&](const Loaded& entry) {
        return !entry.taken && entry.request.word == word && entry.request.within == within;
    });
    if (match == loaded_.end()) return std::nullopt;
    changed_.wait(lock, [&] { return match->loaded || ended_; });
    if (!match->loaded) return std::nullopt;
    match->taken = true;
    return std::move(match->picture);
}

bool PicturePrefetch::Empty() {
    const std::lock_guard lock(mutex_);
    return std::all_of(loaded_.begin(), loaded_.end(), [](const Loaded& entry) { return entry.taken; });
}

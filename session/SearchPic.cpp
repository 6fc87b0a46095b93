#include "session/SearchPic.h"

#include <algorithm>

namespace vorlix {

MySearchPic::MySearchPic(ImageBytes baseImage, const SearchPlan& plan, QObject* parent)
    : QThread(parent), base_(baseImage), plan_(plan) {}

MySearchPic::~MySearchPic() {
    requestInterruption();
    Join();
}

void MySearchPic::Join() {
    wait();
    joined_ = finished_.load(std::memory_order_acquire);
}

void MySearchPic::run() {
    SearchCallbacks callbacks;
    callbacks.terminated = [this] { return isInterruptionRequested(); };
    callbacks.progress = [this](int percent) {
        progress_.store(std::clamp(percent, 0, 100));
        RaiseWake();
    };
    callbacks.found = [this](std::int32_t foundPos, const PitRecord& record, int found,
                             int foundExt) {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back({foundPos, record, found, foundExt});
        }
        found_.store(found);
        foundExt_.store(foundExt);
        RaiseWake();
    };
    RunPictureSearch(base_, plan_, callbacks);
    done_.store(true);
    wakePending_.store(true);
    emit Wake();
    finished_.store(true, std::memory_order_release);
}

void MySearchPic::RaiseWake() {
    if (!wakePending_.exchange(true)) emit Wake();
}

std::vector<MySearchPic::FoundRecord> MySearchPic::TakeFound(std::size_t max) {
    wakePending_.store(false);
    std::lock_guard lock(mutex_);
    const std::size_t n = std::min(max, queue_.size() - head_);
    std::vector<FoundRecord> taken(queue_.begin() + head_, queue_.begin() + head_ + n);
    head_ += n;
    if (head_ == queue_.size()) {
        queue_.clear();
        head_ = 0;
    }
    return taken;
}

bool MySearchPic::HasFound() const {
    std::lock_guard lock(mutex_);
    return head_ < queue_.size();
}

}  // namespace vorlix

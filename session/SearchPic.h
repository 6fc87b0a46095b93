#pragma once

#include <QThread>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "image/record_scan.h"

namespace vorlix {

// The background search for the pictures of an image. The thread only
// reads the base image and its plan (a copy of the settings it needs, taken
// when the search starts). It never waits for the window: each accepted
// record goes into a queue under a lock, and the thread raises Wake, once
// until the editing state has taken what is queued. The editing state makes
// the pictures and rows from the queue on its own thread, in order.
class MySearchPic : public QThread {
    Q_OBJECT
  public:
    struct FoundRecord {
        std::int32_t FoundPos = 0;  // image offset of the record
        PitRecord Rec{};
        int Found = 0;     // pictures found up to and including this one
        int FoundExt = 0;  // of these, found through the ExtPIT
    };

    MySearchPic(ImageBytes baseImage, const SearchPlan& plan, QObject* parent = nullptr);
    // Asks the body to end and joins it.
    ~MySearchPic() override;

    // Waits until the body has ended. Once it returns, all that the thread
    // did happened before whatever the caller does next (erasing or
    // rewriting the image it read, freeing this object): the body's last
    // act is a release store of a flag that Join reads with acquire order
    // after the wait. That hand-off is in this program's own code, where a
    // race detector sees it; the wait inside the thread library does not
    // show it to one that the library was not built with.
    void Join();
    // Join has seen the body's last act (never for a thread not started).
    bool Joined() const { return joined_; }

    bool ScanRecords() const { return plan_.scanRecords; }
    // Counts of the thread (the window's rows may be a step behind).
    int Found() const { return found_.load(); }
    int FoundExt() const { return foundExt_.load(); }
    // The body has ended; everything it found is queued.
    bool Done() const { return done_.load(); }
    // The percentage of the candidate range examined, 0 to 100.
    int Progress() const { return progress_.load(); }

    // Takes up to `max` records from the head of the queue, oldest first.
    // Re-arms Wake first, so that a record queued afterwards wakes the
    // window again.
    std::vector<FoundRecord> TakeFound(std::size_t max);
    bool HasFound() const;

  signals:
    // Something new: records queued, progress moved, or the body ended.
    // Raised from the search thread; connect it queued.
    void Wake();

  protected:
    void run() override;

  private:
    void RaiseWake();

    ImageBytes base_;
    const SearchPlan plan_;
    std::atomic<int> found_{0};
    std::atomic<int> foundExt_{0};
    std::atomic<int> progress_{0};
    std::atomic<bool> done_{false};
    std::atomic<bool> wakePending_{false};
    // Set by the body as its very last act, with release order.
    std::atomic<bool> finished_{false};
    bool joined_ = false;  // window thread only
    mutable std::mutex mutex_;
    std::vector<FoundRecord> queue_;  // guarded by mutex_
    std::size_t head_ = 0;            // guarded by mutex_
};

}  // namespace vorlix

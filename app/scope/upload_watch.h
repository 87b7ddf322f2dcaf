// The scope's upload bookkeeping on its connection: the "Update Data"
// request, the new-data flag the view's timer takes, and the watch over a
// slow upload that stops one which no longer moves.  The worker sets the
// flags during its pass; the GUI thread asks and watches.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace oscilane {

class CDeviceLink;

class UploadWatch {
  public:
    bool requested() const { return requested_.load(); }
    // The window's "Update Data" command, and every connect: one upload in single mode.
    void request() { requested_.store(true); }
    // The worker takes the request as it starts an upload, so a request made
    // while the upload runs gets one of its own.
    bool takeRequest() { return requested_.exchange(false); }
    // The worker finished an upload attempt.
    void markNewData() { newData_.store(true); }
    // True once after each upload attempt (the scope view's timer clears it).
    bool takeNewData() { return newData_.exchange(false); }

    bool slow() const { return slow_.load(); }
    void setSlow(bool slow) {
        if (slow) slowStarted_.fetch_add(1);
        slow_.store(slow);
    }
    // How far the running block read of the link has come, 0..100; 0 when
    // none runs.  Any thread may ask while the worker reads.
    static int percent(const CDeviceLink& link);
    // Called on the GUI thread while a slow upload runs: an upload that has
    // not moved for twice the time one reply takes on the line (at least a
    // second) is asked to stop, so an instrument that falls silent mid-block
    // shows as a lost link at the next cycle instead of minutes later.
    void watch(const CDeviceLink& link);

  private:
    std::atomic<bool> requested_{false};
    std::atomic<bool> newData_{false};
    std::atomic<bool> slow_{false};
    std::atomic<uint32_t> slowStarted_{0};
    // The watched slow upload, its last progress and when it was seen (GUI thread only).
    uint32_t watchedUpload_ = 0;
    uint32_t watchedBytes_ = 0;
    std::chrono::steady_clock::time_point watchedSince_{};
};

}  // namespace oscilane

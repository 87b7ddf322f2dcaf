// How far the block read running on one link has got, and a request to stop
// it.  The exchange layer keeps it; other threads read it and may cancel, so
// every field is atomic.
#pragma once

#include <atomic>
#include <cstddef>

namespace zelvo::link {

class BlockProgress {
  public:
    struct Snapshot {
        std::size_t received;  // data bytes stored so far
        std::size_t total;     // length of the block
        bool running;
    };

    Snapshot snapshot() const { return {received_.load(), total_.load(), running_.load()}; }
    // Asks the running block read to stop before it requests its next reply.
    // A request made while no block read runs is dropped, so it cannot end a later one.
    void cancel() {
        if (running_.load()) cancelRequested_.store(true);
    }
    bool cancelRequested() const { return cancelRequested_.load(); }

    // Marks one block read from its request to its end.
    class Run {
      public:
        Run(BlockProgress& p, std::size_t total) : progress_(p) {
            p.cancelRequested_.store(false);
            p.received_.store(0);
            p.total_.store(total);
            p.running_.store(true);
        }
        ~Run() {
            progress_.running_.store(false);
            progress_.cancelRequested_.store(false);
        }
        Run(const Run&) = delete;
        Run& operator=(const Run&) = delete;
        void advance(std::size_t received) { progress_.received_.store(received); }

      private:
        BlockProgress& progress_;
    };

  private:
    std::atomic<std::size_t> received_{0};
    std::atomic<std::size_t> total_{0};
    std::atomic<bool> running_{false};
    std::atomic<bool> cancelRequested_{false};
};

}  // namespace zelvo::link

// The thread that reads an entry's interrupt endpoint on a handle of its
// own and hands every 8-byte interrupt to the caller's routine.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "zelvo/ZelvoDev.h"
#include "zelvo/driver/driver.h"

namespace zelvo::zdev {

class InterruptReader {
  public:
    // Opens its handle on path and starts; check running() for success.
    InterruptReader(const std::string& path, ZdevIntRoutine routine);
    // Clears the routine, aborts the interrupt pipe every 20 ms until the
    // thread has noticed, and joins it.
    ~InterruptReader();
    InterruptReader(const InterruptReader&) = delete;
    InterruptReader& operator=(const InterruptReader&) = delete;

    bool running() const { return thread_.joinable(); }

  private:
    void run();

    driver::FileHandle handle_ = driver::kInvalidHandle;
    std::mutex mutex_;
    std::condition_variable stopped_;
    ZdevIntRoutine routine_;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace zelvo::zdev

// The meter window's two background threads: the sampling thread, which
// takes one sample each time the sampling clock says one is due, and the
// storage log writer, which appends what is handed to it.  Both wait on an
// auto-reset event, are stopped by a request and joined; nothing is killed.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "model/meter_data.h"
#include "model/meter_log.h"

namespace oscilane {

// Set wakes one wait; a set with nobody waiting is kept for the next wait.
class ThreadWakeEvent {
  public:
    void Set();
    void Wait();

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_ = false;
};

class MeterThreads {
  public:
    // Starts both threads on data, which must outlive this object.
    explicit MeterThreads(MeterData& data, uint64_t rolloverBytes = kLogRolloverBytes);
    ~MeterThreads();
    MeterThreads(const MeterThreads&) = delete;
    MeterThreads& operator=(const MeterThreads&) = delete;

    // The sampling clock's 100 ms tick: wakes the sampling thread when a
    // sample is due.
    void ClockTick();
    // Hands the buffer being filled to the writer (Data save in storage
    // mode, disconnect).
    void HandOver();

    // Takes no more samples, hands what was sampled to the writer, lets it
    // write that, and joins both threads.  Called again, it does nothing.
    void Stop();

  private:
    void sampleLoop();
    void writeLoop();

    MeterData& data_;
    LogFileWriter writer_;
    ThreadWakeEvent sampleEvent_;
    ThreadWakeEvent writerEvent_;
    std::atomic<bool> stopSampling_{false};
    std::atomic<bool> stopWriting_{false};
    std::thread sampler_;
    std::thread logWriter_;
};

}  // namespace oscilane

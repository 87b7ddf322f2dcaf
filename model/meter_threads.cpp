#include "model/meter_threads.h"

namespace oscilane {

void ThreadWakeEvent::Set() {
    {
        std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    changed_.notify_one();
}

void ThreadWakeEvent::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return signalled_; });
    signalled_ = false;
}

MeterThreads::MeterThreads(MeterData& data, uint64_t rolloverBytes)
    : data_(data), writer_(rolloverBytes) {
    data_.SetWriterWakeup([this] { writerEvent_.Set(); });
    sampler_ = std::thread([this] { sampleLoop(); });
    logWriter_ = std::thread([this] { writeLoop(); });
}

MeterThreads::~MeterThreads() { Stop(); }

void MeterThreads::ClockTick() {
    if (data_.ClockTick()) sampleEvent_.Set();
}

void MeterThreads::HandOver() { data_.HandOver(); }

void MeterThreads::Stop() {
    if (!sampler_.joinable() && !logWriter_.joinable()) return;
    // The sampler goes first, so that no reading arrives after the last
    // hand-over; the writer then writes everything before it ends.
    stopSampling_ = true;
    sampleEvent_.Set();
    if (sampler_.joinable()) sampler_.join();
    data_.HandOver();
    stopWriting_ = true;
    writerEvent_.Set();
    if (logWriter_.joinable()) logWriter_.join();
    data_.SetWriterWakeup(nullptr);
}

void MeterThreads::sampleLoop() {
    for (;;) {
        sampleEvent_.Wait();
        if (stopSampling_) return;
        data_.Sample();
        data_.RestartClock();
    }
}

void MeterThreads::writeLoop() {
    for (;;) {
        writerEvent_.Wait();
        // Read the request before writing: a stop comes after the last
        // hand-over, so what that handed over is written before the end.
        bool stopping = stopWriting_;
        data_.WriteHandedOver(writer_);
        if (stopping) return;
    }
}

}  // namespace oscilane

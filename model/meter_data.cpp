#include "model/meter_data.h"

#include <iterator>
#include <utility>

#include "model/meter_tables.h"
#include "model/meter_texts.h"

namespace oscilane {
namespace {

// A storage buffer is handed to the writer once it spans this much time.
constexpr long long kBatchSpanMs = 2000;
// The period of the sampling clock's tick.
constexpr int kClockTickMs = 100;

}  // namespace

MeterReading ReadingOf(const DmmInfo& record, const MeterTime& time) {
    MeterReading reading;
    reading.value = record.value;
    reading.prefixIndex = static_cast<uint8_t>(record.prefixIndex);
    reading.unitIndex = static_cast<uint8_t>(record.unitIndex);
    reading.time = time;
    reading.overload = record.overload;
    reading.ac = record.ac;
    reading.measureMode = record.measureMode;
    return reading;
}

MeterData::MeterData(MeterClock clock, PollClock pollClock)
    : clock_(std::move(clock)), pollClock_(std::move(pollClock)) {}

bool MeterData::Poll(const ReadMeter& read) {
    // The decoder writes some fields only in some modes, so it decodes on top
    // of the previous record; the exchange runs without holding the lock.
    DmmInfo decoded;
    {
        std::lock_guard records(recordMutex_);
        decoded = current_;
    }
    if (read(&decoded) != 0) return false;

    std::lock_guard records(recordMutex_);
    current_ = decoded;
    if (current_.measureMode != lastGood_.measureMode) {
        std::lock_guard trend(trendMutex_);
        if (!trend_.empty()) {
            trend_.clear();
            elapsedMs_ = 0;
        }
    }
    lastGood_ = current_;
    lastGoodAt_ = pollClock_();
    hasReading_ = true;
    return true;
}

std::optional<int> MeterData::Sample() {
    MeterReading reading;
    {
        // The record lock stays held while the reading joins the trend, so a
        // poll that changes the mode cannot empty the trend in between and
        // leave a reading of the old mode behind.
        std::lock_guard records(recordMutex_);
        if (!hasReading_ || staleLocked()) return std::nullopt;
        reading = ReadingOf(lastGood_, clock_());
        std::lock_guard trend(trendMutex_);
        if (trend_.size() >= kTrendCapacity) trend_.pop_front();
        trend_.push_back(reading);
    }

    std::optional<int> handed;
    {
        std::lock_guard storage(storageMutex_);
        if (storage_) {
            auto& filling = storageBuffers_[static_cast<std::size_t>(fillingIndex_)];
            filling.push_back(reading);
            if (static_cast<long long>(IntervalMs()) * static_cast<long long>(filling.size()) >=
                kBatchSpanMs)
                handed = handOverLocked();
        }
    }
    if (handed) wakeWriter();
    return handed;
}

void MeterData::Reset() {
    std::lock_guard trend(trendMutex_);
    trend_.clear();
    elapsedMs_ = 0;
}

void MeterData::SetStorage(bool storage) {
    std::optional<int> handed;
    {
        std::lock_guard lock(storageMutex_);
        if (storage_ && !storage) handed = handOverLocked();
        storage_ = storage;
    }
    Reset();
    if (handed) wakeWriter();
}

bool MeterData::Storage() const {
    std::lock_guard lock(storageMutex_);
    return storage_;
}

bool MeterData::SetDuration(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kRecordDurations.size()) return false;
    durationIndex_.store(index);
    return true;
}

int MeterData::IntervalMs() const {
    return kRecordDurations[static_cast<std::size_t>(durationIndex_.load())].intervalMs;
}

bool MeterData::SaveTrend(const std::string& path) const {
    std::vector<MeterReading> readings = Trend();
    return !WriteFileWhole(path, LogLines(readings)).has_value();
}

void MeterData::SetLogPath(std::string path) {
    std::lock_guard lock(storageMutex_);
    logPath_ = std::move(path);
}

std::string MeterData::LogPath() const {
    std::lock_guard lock(storageMutex_);
    return logPath_;
}

std::optional<int> MeterData::HandOver() {
    std::optional<int> handed;
    {
        std::lock_guard lock(storageMutex_);
        handed = handOverLocked();
    }
    if (handed) wakeWriter();
    return handed;
}

std::optional<int> MeterData::handOverLocked() {
    const int other = 1 - fillingIndex_;
    auto& filling = storageBuffers_[static_cast<std::size_t>(fillingIndex_)];
    auto& waiting = storageBuffers_[static_cast<std::size_t>(other)];
    if (filling.empty()) {
        if (waiting.empty()) return std::nullopt;
        return other;
    }
    if (waiting.empty()) {
        fillingIndex_ = other;
        return other;
    }
    // The writer has not emptied the other buffer yet (it is writing it, or
    // could not): the new readings queue up behind those, in order.
    waiting.insert(waiting.end(), std::make_move_iterator(filling.begin()),
                   std::make_move_iterator(filling.end()));
    filling.clear();
    return other;
}

void MeterData::SetWriterWakeup(std::function<void()> wakeup) {
    std::lock_guard lock(storageMutex_);
    writerWakeup_ = std::move(wakeup);
}

void MeterData::wakeWriter() const {
    std::function<void()> wakeup;
    {
        std::lock_guard lock(storageMutex_);
        wakeup = writerWakeup_;
    }
    if (wakeup) wakeup();
}

bool MeterData::WriteHandedOver(LogFileWriter& writer) {
    std::vector<MeterReading> batch;
    std::string path;
    int index = 0;
    {
        std::lock_guard lock(storageMutex_);
        // The buffer not being filled holds everything handed over.  While it
        // is not empty no hand-over switches filling to it, so it is still
        // the same buffer when the written readings are taken out below.
        index = 1 - fillingIndex_;
        const auto& waiting = storageBuffers_[static_cast<std::size_t>(index)];
        if (waiting.empty()) return true;
        batch.assign(waiting.begin(), waiting.end());
        path = logPath_;
    }

    std::optional<std::string> error = writer.Append(path, LogLines(batch));

    std::lock_guard lock(storageMutex_);
    if (error) {
        lastLogError_ = msg::kCannotWriteLog + *error;
        return false;
    }
    lastLogError_.reset();
    auto& waiting = storageBuffers_[static_cast<std::size_t>(index)];
    waiting.erase(waiting.begin(), waiting.begin() + static_cast<std::ptrdiff_t>(batch.size()));
    return waiting.empty();
}

std::optional<std::string> MeterData::LastLogError() const {
    std::lock_guard lock(storageMutex_);
    return lastLogError_;
}

std::size_t MeterData::UnwrittenReadings() const {
    std::lock_guard lock(storageMutex_);
    return storageBuffers_[static_cast<std::size_t>(1 - fillingIndex_)].size();
}

std::size_t MeterData::FillingReadings() const {
    std::lock_guard lock(storageMutex_);
    return storageBuffers_[static_cast<std::size_t>(fillingIndex_)].size();
}

bool MeterData::ClockTick() {
    const int interval = IntervalMs();
    std::lock_guard trend(trendMutex_);
    if (elapsedMs_ < interval) elapsedMs_ += kClockTickMs;
    return elapsedMs_ == interval;
}

void MeterData::RestartClock() {
    std::lock_guard trend(trendMutex_);
    elapsedMs_ = 0;
}

int MeterData::ElapsedMs() const {
    std::lock_guard trend(trendMutex_);
    return elapsedMs_;
}

DmmInfo MeterData::Current() const {
    std::lock_guard records(recordMutex_);
    return current_;
}

DmmInfo MeterData::LastGood() const {
    std::lock_guard records(recordMutex_);
    return lastGood_;
}

bool MeterData::HasReading() const {
    std::lock_guard records(recordMutex_);
    return hasReading_;
}

bool MeterData::Stale() const {
    std::lock_guard records(recordMutex_);
    return staleLocked();
}

bool MeterData::staleLocked() const {
    return hasReading_ && pollClock_() - lastGoodAt_ > kStaleReadingAfter;
}

std::vector<MeterReading> MeterData::Trend() const {
    std::lock_guard trend(trendMutex_);
    return {trend_.begin(), trend_.end()};
}

std::size_t MeterData::TrendSize() const {
    std::lock_guard trend(trendMutex_);
    return trend_.size();
}

}  // namespace oscilane

// What the meter window knows about its meter: the records the worker polls,
// the trend of sampled readings the display plots, and the storage log's
// buffers.  Four threads share it -- the window, the device worker (Poll),
// the sampling thread (Sample) and the log writer -- so every member is
// reached through a lock:
//   records:  the current and last good record;
//   trend:    the trend and the elapsed counter of the sampling clock;
//   storage:  the two storage buffers, the filling index, the storage flag,
//             the log path and the last write error.
// Locks are taken in that order and never the other way round.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "model/meter_log.h"
#include "model/meter_reading.h"
#include "zelvo/zelvo_common.h"

namespace oscilane {

// The meter worker polls once per period, plus the time of the exchange.
inline constexpr std::chrono::milliseconds kMeterPollPeriod{250};
// A last good record older than this is stale: two polls in a row brought
// no reading, so it is neither sampled nor shown as current.
inline constexpr std::chrono::milliseconds kStaleReadingAfter = 2 * kMeterPollPeriod;

// The reading a decoded record stands for, stamped with the time.
MeterReading ReadingOf(const DmmInfo& record, const MeterTime& time);

class MeterData {
  public:
    // Decodes one meter record into its argument; 0 when a reading was
    // decoded (DMMGetInfo bound to the window's device).
    using ReadMeter = std::function<int(DmmInfo*)>;
    // When the polls happen, for the age of the last good record; tests
    // step it by hand.
    using PollClock = std::function<std::chrono::steady_clock::time_point()>;

    explicit MeterData(MeterClock clock = SystemLocalTime,
                       PollClock pollClock = std::chrono::steady_clock::now);
    // The readings belong to one window; a copy would fork the log.
    MeterData(const MeterData&) = delete;
    MeterData& operator=(const MeterData&) = delete;

    // Decodes one record.  False, with nothing changed, when read fails.  A
    // new measure mode empties the trend, whose readings it would mislabel.
    bool Poll(const ReadMeter& read);

    // Appends the last good record to the trend, and in storage mode to the
    // filling storage buffer.  Once that buffer spans 2 seconds of readings
    // (interval times count), it is handed to the log writer: the index of
    // the buffer the writer is to empty is returned.  Nothing happens before
    // the first good poll, nor while the last good record is stale: the
    // trend and the log get a gap, never a reading the meter no longer shows.
    std::optional<int> Sample();

    // Empties the trend and restarts the sampling clock.
    void Reset();

    // Buffer mode (false) or storage mode (true); then Reset.  Leaving
    // storage mode hands the filling buffer to the writer, so what was
    // sampled for the log still reaches it.
    void SetStorage(bool storage);
    bool Storage() const;

    // False, with nothing changed, for an index outside the duration table.
    bool SetDuration(int index);
    int DurationIndex() const { return durationIndex_.load(); }
    int IntervalMs() const;

    // Writes the trend as log lines, oldest first, replacing path whole.
    bool SaveTrend(const std::string& path) const;

    void SetLogPath(std::string path);
    std::string LogPath() const;

    // Hands the buffer being filled to the log writer (Data save in storage
    // mode, disconnect, close).  Returns the index of the buffer the writer
    // is to empty, or nothing when no reading waits for the log.
    std::optional<int> HandOver();

    // Called (without any lock held) whenever readings were handed to the
    // writer; the log writer thread sets it to its wake-up.
    void SetWriterWakeup(std::function<void()> wakeup);

    // The log writer's step: appends the readings handed over so far to the
    // log and forgets those it wrote.  Readings it could not write stay, in
    // order, ahead of the next batch, and the reason becomes LastLogError
    // until a write succeeds.  True when nothing is left unwritten.
    bool WriteHandedOver(LogFileWriter& writer);

    // "Cannot write the log file: <file>: <reason>" while writing fails.
    std::optional<std::string> LastLogError() const;
    // Readings handed to the writer and not yet written.
    std::size_t UnwrittenReadings() const;
    // Readings in the buffer being filled.
    std::size_t FillingReadings() const;

    // The sampling clock, ticked every 100 ms while the device is connected
    // and the link is good: true when a sample is due.
    bool ClockTick();
    // Called after each sample.
    void RestartClock();
    int ElapsedMs() const;

    DmmInfo Current() const;
    DmmInfo LastGood() const;
    bool HasReading() const;
    // True once the last good record is older than kStaleReadingAfter, until
    // the next good poll.
    bool Stale() const;

    std::vector<MeterReading> Trend() const;
    std::size_t TrendSize() const;

  private:
    // Moves the filling buffer's readings behind those waiting for the
    // writer; storageMutex_ held.  The writer always empties the buffer that
    // is not being filled.
    std::optional<int> handOverLocked();
    void wakeWriter() const;
    // recordMutex_ held.
    bool staleLocked() const;

    MeterClock clock_;
    PollClock pollClock_;

    mutable std::mutex recordMutex_;
    DmmInfo current_{};
    DmmInfo lastGood_{};
    bool hasReading_ = false;
    std::chrono::steady_clock::time_point lastGoodAt_{};

    mutable std::mutex trendMutex_;
    std::deque<MeterReading> trend_;
    int elapsedMs_ = 0;

    std::atomic<int> durationIndex_{0};

    mutable std::mutex storageMutex_;
    std::array<std::deque<MeterReading>, 2> storageBuffers_;
    int fillingIndex_ = 0;
    bool storage_ = false;
    std::string logPath_;
    std::optional<std::string> lastLogError_;
    std::function<void()> writerWakeup_;
};

}  // namespace oscilane

// The last blocks a scope window displayed, kept so that a user can step
// back through past acquisitions while the window goes on acquiring: a ring
// of setting blocks, each with the local time it arrived, the oldest
// overwritten first.  Positions count from the oldest kept block (0) to the
// newest (size() - 1); every recorded block also has a sequence number that
// never changes, so a chosen block can be followed while new ones arrive.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/setting_block.h"
#include "model/whole_file.h"

namespace oscilane {

class AcquisitionHistory {
  public:
    using Clock = std::chrono::system_clock;
    static constexpr int kCapacity = 256;

    // All slots are allocated here, so recording a block only copies it.
    AcquisitionHistory();

    // Copies the block into the ring as the newest, overwriting the oldest
    // when the ring is full.
    void record(const SettingBlock& block, Clock::time_point at);

    int size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // Block and arrival time at a position, 0 the oldest; the position must be
    // below size().
    const SettingBlock& block(int position) const;
    Clock::time_point time(int position) const;

    // The sequence number of the block at a position (the first block
    // recorded has 0), and the position of a sequence number: none for one
    // not recorded yet or already overwritten.
    uint64_t sequenceAt(int position) const;
    std::optional<int> positionOf(uint64_t sequence) const;
    // The sequence number of the oldest kept block.
    uint64_t oldestSequence() const { return recorded_ - static_cast<uint64_t>(count_); }

  private:
    std::size_t slotOf(int position) const;

    std::vector<SettingBlock> blocks_;
    std::vector<Clock::time_point> times_;
    std::size_t next_ = 0;  // the slot the next block goes into
    int count_ = 0;
    uint64_t recorded_ = 0;  // blocks recorded in all
};

// A time as the local clock shows it: "hh:mm:ss.cc", with hundredths of a second.
std::string LocalTimeText(AcquisitionHistory::Clock::time_point at);

// The status line's mark of a past block: "History n/256 hh:mm:ss.cc",
// n counting from 1 for the oldest kept block.
std::string HistoryMark(int position, AcquisitionHistory::Clock::time_point at);

// The CSV of every kept block, oldest first: "block,time_stamp,time_s,CH1,
// CH2,MATH,REF", then one row per sample of each block: its block number (as
// in HistoryMark), the block's local time, the sample's time on the block's
// main time base (nine significant digits) and each trace's volts with six
// decimals, empty where the trace is off or the sample blanked.
std::string HistoryCsvText(const AcquisitionHistory& history);

// Writes HistoryCsvText to path, whole or not at all.
std::optional<WholeFileFailure> SaveHistoryCsv(const AcquisitionHistory& history,
                                               const std::filesystem::path& path);

}  // namespace oscilane

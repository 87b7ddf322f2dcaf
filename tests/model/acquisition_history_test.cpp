// The ring of past blocks: positions, sequence numbers and overflow, the
// local-time texts, and the CSV of every kept block.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "block_builder.h"
#include "file_text.h"
#include "model/acquisition_history.h"
#include "model/scope_settings.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::kOneMsPerDivision;
using testsupport::crlfLines;
namespace L = zelvo::layout;
using Clock = AcquisitionHistory::Clock;

namespace {

// Block number n carries n in its first CH1 sample, so its place shows.
SettingBlock numbered(int n) { return BlockBuilder().sample(kCh1, 0, n).block; }
int numberOf(const SettingBlock& block) { return ScopeSettings(block).sample(kCh1, 0); }

Clock::time_point at(int seconds) { return Clock::time_point(std::chrono::seconds(seconds)); }

// Local times read as UTC for as long as it lives.
class UtcClock {
  public:
    UtcClock() {
        if (const char* tz = std::getenv("TZ")) old_ = tz;
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    ~UtcClock() {
        if (old_.empty())
            ::unsetenv("TZ");
        else
            ::setenv("TZ", old_.c_str(), 1);
        ::tzset();
    }

  private:
    std::string old_;
};

TEST(AcquisitionHistory, KeepsTheNewestBlocksInOrder) {
    struct Case {
        int recorded;
        int size;
        int oldest;  // number of the block at position 0
    };
    const Case cases[] = {
        {0, 0, 0},        // nothing yet
        {1, 1, 0},        // one block
        {255, 255, 0},    // one short of full
        {256, 256, 0},    // exactly full
        {257, 256, 1},    // the first block overwritten
        {600, 256, 344},  // wrapped more than twice
    };
    for (const Case& c : cases) {
        AcquisitionHistory h;
        for (int n = 0; n < c.recorded; ++n) h.record(numbered(n), at(n));
        ASSERT_EQ(h.size(), c.size) << c.recorded;
        EXPECT_EQ(h.empty(), c.size == 0);
        EXPECT_EQ(h.oldestSequence(), static_cast<uint64_t>(c.oldest)) << c.recorded;
        for (int p = 0; p < h.size(); ++p) {
            ASSERT_EQ(numberOf(h.block(p)), c.oldest + p) << c.recorded << " at " << p;
            ASSERT_EQ(h.time(p), at(c.oldest + p)) << c.recorded << " at " << p;
            ASSERT_EQ(h.sequenceAt(p), static_cast<uint64_t>(c.oldest + p));
        }
    }
}

TEST(AcquisitionHistory, FindsAChosenBlockWhileNewOnesArrive) {
    AcquisitionHistory h;
    for (int n = 0; n < 300; ++n) h.record(numbered(n), at(n));
    struct Case {
        uint64_t sequence;
        std::optional<int> position;
    };
    const Case cases[] = {
        {0, std::nullopt},    // overwritten long ago
        {43, std::nullopt},   // the last one overwritten
        {44, 0},              // the oldest kept
        {200, 156},           // in the middle
        {299, 255},           // the newest
        {300, std::nullopt},  // not recorded yet
    };
    for (const Case& c : cases) EXPECT_EQ(h.positionOf(c.sequence), c.position) << c.sequence;

    // The block chosen at position 255 moves one place down with each new block.
    h.record(numbered(300), at(300));
    EXPECT_EQ(h.positionOf(299), 254);
    EXPECT_EQ(numberOf(h.block(*h.positionOf(299))), 299);
}

TEST(AcquisitionHistory, TimesReadAsTheLocalClock) {
    UtcClock utc;
    const Clock::time_point noon = at(12 * 3600 + 34 * 60 + 56);
    struct Case {
        Clock::time_point time;
        const char* text;
    };
    const Case cases[] = {
        {noon, "12:34:56.00"},
        {noon + std::chrono::milliseconds(789), "12:34:56.78"},  // hundredths are cut, not rounded
        {noon + std::chrono::milliseconds(5), "12:34:56.00"},
        {at(0) - std::chrono::milliseconds(10), "23:59:59.99"},  // before the epoch
    };
    for (const Case& c : cases) EXPECT_EQ(LocalTimeText(c.time), c.text);
    EXPECT_EQ(HistoryMark(0, noon), "History 1/256 12:34:56.00");
    EXPECT_EQ(HistoryMark(255, noon), "History 256/256 12:34:56.00");
}

TEST(HistoryCsv, OneRowPerSampleOfEveryKeptBlock) {
    UtcClock utc;
    AcquisitionHistory h;
    // 1 ms/div: 10 us per sample.  CH1 at 1 V/div with its lever at the top,
    // so code 0 is -8 V; CH2 and MATH off; REF shown.
    BlockBuilder first;
    first.u16(L::kTimeBase, kOneMsPerDivision).shownChannel(kCh1, 10, 100000, 0);
    first.shownChannel(kRef, 10, 100000, 0).allSamples(kRef, 255);
    first.sample(kCh1, 1, 255).sample(kCh1, 2, 32767);  // 0 V, then a blanked sample
    h.record(first.block, at(3600) + std::chrono::milliseconds(250));
    BlockBuilder second = first;
    second.channel(kRef, L::channel::kShown, 0);
    h.record(second.block, at(3601));

    const std::vector<std::string> rows = crlfLines(HistoryCsvText(h));
    ASSERT_EQ(rows.size(), 1u + 2 * 1200);
    EXPECT_EQ(rows[0], "block,time_stamp,time_s,CH1,CH2,MATH,REF");
    EXPECT_EQ(rows[1], "1,01:00:00.25,0,-8.000000,,,0.000000");
    EXPECT_EQ(rows[2], "1,01:00:00.25,1e-05,0.000000,,,0.000000");
    EXPECT_EQ(rows[3], "1,01:00:00.25,2e-05,,,,0.000000") << "a blanked sample has no volts";
    EXPECT_EQ(rows[1200], "1,01:00:00.25,0.01199,-8.000000,,,0.000000");
    EXPECT_EQ(rows[1201], "2,01:00:01.00,0,-8.000000,,,") << "REF is off in the second block";
    EXPECT_EQ(rows[2400], "2,01:00:01.00,0.01199,-8.000000,,,");
}

TEST(HistoryCsv, AnEmptyHistoryIsTheHeaderAlone) {
    EXPECT_EQ(HistoryCsvText(AcquisitionHistory()), "block,time_stamp,time_s,CH1,CH2,MATH,REF\r\n");
}

TEST(HistoryCsv, SavedWholeOrNotAtAll) {
    namespace fs = std::filesystem;
    AcquisitionHistory h;
    h.record(numbered(1), at(0));
    const fs::path dir = fs::temp_directory_path() / ("history-csv-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    EXPECT_FALSE(SaveHistoryCsv(h, dir / "h.csv"));
    EXPECT_EQ(testsupport::readBytes((dir / "h.csv").string()), HistoryCsvText(h));
    const auto failed = SaveHistoryCsv(h, dir / "missing" / "h.csv");
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->stage, WholeFileStage::Open);
    fs::remove_all(dir);
}

}  // namespace

// The driver's control records as the driver tests build and read them, and
// the record-level calls every driver fixture makes, whichever bus its driver
// runs over.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <future>
#include <initializer_list>
#include <span>
#include <vector>

#include "zelvo/driver/driver.h"

namespace zelvo::testing {

// A record: command and length words, then payload, with room for at least
// room bytes of reply after the header.
inline std::vector<uint8_t> record(zdev::DriverCommand c, uint32_t length,
                                   std::vector<uint8_t> payload = {}, std::size_t room = 0) {
    std::vector<uint8_t> r(8 + std::max(room, payload.size()));
    for (int i = 0; i < 4; ++i) {
        r[static_cast<std::size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(c) >> (8 * i));
        r[static_cast<std::size_t>(4 + i)] = static_cast<uint8_t>(length >> (8 * i));
    }
    std::copy(payload.begin(), payload.end(), r.begin() + 8);
    return r;
}

inline std::vector<uint8_t> le32s(std::initializer_list<uint32_t> words) {
    std::vector<uint8_t> out;
    for (uint32_t w : words)
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(w >> (8 * i)));
    return out;
}

inline uint32_t wordAt(const std::vector<uint8_t>& r, std::size_t at) {
    return r[at] | (r[at + 1] << 8) | (r[at + 2] << 16) | (static_cast<uint32_t>(r[at + 3]) << 24);
}

// Mixed into a fixture, which supplies the driver under test.
class DriverRecordCalls {
  protected:
    virtual ~DriverRecordCalls() = default;
    virtual driver::Driver& driver() = 0;

    // Sends r as the record, the first inSize bytes of it as input, and takes the reply into r.
    zdev::Status run(driver::FileHandle h, std::vector<uint8_t>& r, std::size_t inSize = SIZE_MAX) {
        uint32_t returned = 0;
        const std::span<const uint8_t> in(r.data(), std::min(inSize, r.size()));
        return driver().deviceControl(h, zdev::kControlCode, in, r, returned);
    }
    zdev::Status write(driver::FileHandle h, std::span<const uint8_t> bytes) {
        auto r = record(zdev::DriverCommand::WriteBulk, static_cast<uint32_t>(bytes.size()),
                        {bytes.begin(), bytes.end()});
        return run(h, r);
    }
    zdev::Status read(driver::FileHandle h, std::vector<uint8_t>& r, uint32_t length = 64) {
        r = record(zdev::DriverCommand::ReadBulk, length, {}, length);
        return run(h, r, 8);
    }
    zdev::Status setTimeouts(driver::FileHandle h, uint32_t writeMs, uint32_t readMs) {
        auto r = record(zdev::DriverCommand::SetTimeouts, 8, le32s({writeMs, readMs}));
        return run(h, r);
    }
    // A read started on its own thread, for a device with nothing to say.
    std::future<zdev::Status> pendingRead(driver::FileHandle h) {
        return std::async(std::launch::async, [this, h] {
            std::vector<uint8_t> r;
            return read(h, r);
        });
    }
    // Aborts the bulk-in pipe, and with it a read in flight.
    zdev::Status abortRead(driver::FileHandle h) {
        auto r = record(zdev::DriverCommand::AbortPipe, 4, le32s({6}));
        return run(h, r);
    }
    // With a read time-out of 500 ms, a read of a silent device ends after
    // about that long with status 258 and nothing read, well within limit.
    void expectReadTimesOut(driver::FileHandle h, std::chrono::milliseconds limit) {
        using Clock = std::chrono::steady_clock;
        ASSERT_EQ(setTimeouts(h, 1000, 500), zdev::Status::Success);
        std::vector<uint8_t> r;
        const auto start = Clock::now();
        EXPECT_EQ(read(h, r), zdev::Status::Timeout);
        const auto took = Clock::now() - start;
        EXPECT_EQ(wordAt(r, 0), 258u);
        EXPECT_EQ(wordAt(r, 4), 0u);
        EXPECT_GE(took, std::chrono::milliseconds(450));
        EXPECT_LT(took, limit);
    }
};

}  // namespace zelvo::testing

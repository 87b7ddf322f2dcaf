// What the meter model's tests share: a scratch folder, whole-file reads,
// a clock that counts in hundredths, a poll clock moved by hand and a meter
// that reports a set record.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "file_text.h"
#include "model/meter_data.h"
#include "model/meter_reading.h"
#include "zelvo/zelvo_common.h"

namespace oscilane::testing_support {

class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "meter-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

using testsupport::readBytes;

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// Lines split at CR LF; a file whose text does not end in CR LF gives a last
// element holding the rest.
inline std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// The n-th time stamp of a clock that advances one hundredth per reading, so
// the log line of every reading is distinct and shows its order.
inline MeterTime StampOf(int n) {
    MeterTime t;
    t.year = 2026;
    t.month = 12;
    t.day = 7;
    t.hour = static_cast<uint16_t>(n / 360000);
    t.minute = static_cast<uint16_t>(n / 6000 % 60);
    t.second = static_cast<uint16_t>(n / 100 % 60);
    t.milliseconds = static_cast<uint16_t>(n % 100 * 10);
    return t;
}

// The number StampOf wrote into a log line, or -1.
inline int StampNumber(const std::string& line) {
    int day, month, year, hour, minute, second, hundredths;
    if (std::sscanf(line.c_str(), "%d/%d/%d %d:%d:%d.%d", &day, &month, &year, &hour, &minute,
                    &second, &hundredths) != 7)
        return -1;
    return hour * 360000 + minute * 6000 + second * 100 + hundredths;
}

class CountingClock {
  public:
    MeterClock clock() {
        return [this] { return StampOf(next_.fetch_add(1)); };
    }
    int taken() const { return next_.load(); }

  private:
    std::atomic<int> next_{0};
};

// The time of the polls, standing still until a test moves it: a reading is
// stale only when the test says so, however slowly the machine runs.
class ManualPollClock {
  public:
    MeterData::PollClock clock() {
        return [this] { return now_.load(); };
    }
    void advance(std::chrono::milliseconds by) { now_ = now_.load() + by; }

  private:
    std::atomic<std::chrono::steady_clock::time_point> now_{};
};

inline DmmInfo Record(uint8_t mode, float value, int32_t prefix = 7, int32_t unit = 0) {
    DmmInfo info{};
    info.measureMode = mode;
    info.value = value;
    info.prefixIndex = prefix;
    info.unitIndex = unit;
    return info;
}

// A meter whose every read reports the given record.
inline std::function<int(DmmInfo*)> Reports(const DmmInfo& record) {
    return [record](DmmInfo* out) {
        *out = record;
        return 0;
    };
}

// Waits up to a generous time for condition; machines under load are slow.
inline bool WaitFor(const std::function<bool()>& condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace oscilane::testing_support

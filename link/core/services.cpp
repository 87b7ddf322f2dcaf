#include "core/services.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "protocol/byte_order.h"
#include "protocol/device_info_codec.h"
#include "protocol/generator_layout.h"
#include "protocol/half_word_swap.h"
#include "protocol/meter_codec.h"
#include "protocol/screen_bitmap.h"

namespace zelvo::link {
namespace {

bool writeAll(int fd, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

bool replaceFile(const char* path, std::span<const uint8_t> contents) {
    std::string temporary = std::string(path) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    // mkstemp creates the file for its owner only; a picture is as readable as any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && writeAll(fd, contents);
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(temporary.c_str(), path) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

}  // namespace

Outcome fetchDeviceInfo(DeviceHandle h, DeviceInfo& info) {
    std::array<uint8_t, kDeviceInfoBlockSize> block{};
    if (Outcome o = read(h, Block::DeviceInformation, block); o != Outcome::Ok) return o;
    info = decodeDeviceInfo(block);
    return Outcome::Ok;
}

Outcome uploadSettingBlock(DeviceHandle h, std::span<uint8_t, layout::kBlockSize> block) {
    std::vector<uint8_t> scratch(layout::kBlockSize);
    if (Outcome o = read(h, Block::Setting, scratch); o != Outcome::Ok) return o;
    swapHalfSwappedFields(std::span<uint8_t, layout::kBlockSize>(scratch));
    std::copy(scratch.begin(), scratch.end(), block.begin());
    return Outcome::Ok;
}

Outcome saveScreenBitmap(DeviceHandle h, const char* path) {
    if (path == nullptr || *path == '\0') return Outcome::IoError;
    std::vector<uint8_t> screen(kScreenBlockSize);
    if (Outcome o = read(h, Block::Screen, screen); o != Outcome::Ok) return o;
    const std::vector<uint8_t> file =
        screenBitmapFile(std::span<const uint8_t, kScreenBlockSize>(screen));
    return replaceFile(path, file) ? Outcome::Ok : Outcome::IoError;
}

Outcome fetchMeterReading(DeviceHandle h, DmmInfo& info) {
    std::array<uint8_t, kMeterBlockSize> block{};
    if (Outcome o = read(h, Block::MeterReading, block); o != Outcome::Ok) return o;
    return decodeMeterReading(block, info) ? Outcome::Ok : Outcome::Malformed;
}

Outcome setGeneratorFrequency(DeviceHandle h, double frequency, int16_t& points, int16_t& periods) {
    const auto layout = generatorLayout(frequency);
    if (!layout) return Outcome::Malformed;
    points = layout->points;
    periods = layout->periods;
    return set(h, Command::GeneratorClockDivider, layout->divider);
}

Outcome downloadGeneratorWave(DeviceHandle h, uint32_t count, const uint16_t* samples) {
    const std::size_t n = count % 65536u;
    if (n > 0 && samples == nullptr) return Outcome::Malformed;
    std::vector<uint8_t> bytes(2 * n);
    for (std::size_t i = 0; i < n; ++i) storeLe16(bytes, 2 * i, samples[i]);
    return write(h, Block::GeneratorWave, bytes);
}

}  // namespace zelvo::link

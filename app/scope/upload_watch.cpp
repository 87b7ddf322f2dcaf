#include "scope/upload_watch.h"

#include <algorithm>

#include "device/device_link.h"
#include "zelvo/command_codes.h"
#include "zelvo/serial_tables.h"

namespace oscilane {

int UploadWatch::percent(const CDeviceLink& link) {
    uint32_t received = 0;
    uint32_t total = 0;
    if (!link.isConnected() || KwGetBlockProgress(link.handle(), &received, &total) != 0 ||
        total == 0)
        return 0;
    // A reply longer than the block announced must not push the bar past its end.
    const uint64_t percent = uint64_t{std::min(received, total)} * 100 / total;
    return static_cast<int>(percent);
}

void UploadWatch::watch(const CDeviceLink& link) {
    const LinkSettings s = link.settings();
    uint32_t received = 0;
    uint32_t total = 0;
    if (!link.isConnected() || s.transport != Transport::Serial ||
        KwGetBlockProgress(deviceHandle(s), &received, &total) != 0)
        return;
    const auto now = std::chrono::steady_clock::now();
    const uint32_t upload = slowStarted_.load();
    if (upload != watchedUpload_ || received != watchedBytes_) {
        watchedUpload_ = upload;
        watchedBytes_ = received;
        watchedSince_ = now;
        return;
    }
    // One reply of block data on the line.
    constexpr double kReplyBits =
        static_cast<double>(zelvo::kBlockReplyMax * zelvo::tables::kBitsPerCharacter);
    const int baud = kBaudRates[std::min<std::size_t>(s.baudIndex, kBaudRates.size() - 1)];
    const auto limit =
        std::max(std::chrono::milliseconds(1000),
                 std::chrono::milliseconds(static_cast<int64_t>(2 * 1000 * kReplyBits / baud)));
    if (now - watchedSince_ < limit) return;
    KwCancelBlockRead(deviceHandle(s));
    watchedSince_ = now;
}

}  // namespace oscilane

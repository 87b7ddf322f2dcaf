// The decoders of the instrument's blocks must take any bytes without
// reading or writing out of bounds.
#include <array>
#include <cstring>
#include <vector>

#include "kit_meter.h"
#include "kit_settings.h"
#include "link/protocol/serial_frame.h"
#include "protocol/device_info_codec.h"
#include "protocol/frame.h"
#include "protocol/half_word_swap.h"
#include "protocol/meter_codec.h"

namespace {

template <std::size_t N>
std::array<uint8_t, N> padded(const uint8_t* data, std::size_t size) {
    std::array<uint8_t, N> a{};
    if (size > 0) std::memcpy(a.data(), data, std::min(size, N));
    return a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zelvo;
    const std::span<const uint8_t> bytes(data, size);
    replyValue(bytes);
    decodeRequest(bytes);

    decodeDeviceInfo(padded<kDeviceInfoBlockSize>(data, size));
    DmmInfo reading{};
    decodeMeterReading(padded<kMeterBlockSize>(data, size), reading);
    KitDmmInfo kitReading{};
    kit::decodeKitMeterReading(padded<kKitMeterBlockSize>(data, size), kitReading);

    // A setting block of the input repeated: every field, count and blank interval arbitrary.
    std::vector<uint8_t> block(layout::kBlockSize);
    for (std::size_t i = 0; i < block.size() && size > 0; ++i) block[i] = data[i % size];
    const kit::SettingBlock view(block.data(), layout::kBlockSize);
    swapHalfSwappedFields(view);
    KitSettings settings{};
    std::array<std::array<int16_t, layout::kSamplesPerTrace>, 4> traces{};
    kit::decodeAllSettings(view, settings, {traces[0], traces[1], traces[2], traces[3]});

    FrameAssembler frame(kSerialReplyMax);
    std::size_t at = 0;
    while (at < size && frame.state() != FrameAssembler::State::Complete &&
           frame.state() != FrameAssembler::State::TooLong) {
        const std::size_t taken =
            frame.feed(bytes.subspan(at, std::min<std::size_t>(7, size - at)));
        if (taken == 0) break;
        at += taken;
    }
    return 0;
}

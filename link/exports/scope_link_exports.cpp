// Oscilloscope exports of the link library whose developer-kit forms differ:
// volts and time-base indexes as the instrument numbers them, and the raw block.
#include "core/services.h"
#include "exports/setter_helpers.h"
#include "zelvo/ZelvoDLL.h"

using namespace zelvo;
using namespace zelvo::link;

extern "C" {

ZELVO_API int ZELVO_CALL DSOSetVOLTDIV(DeviceHandle h, int32_t channel, int32_t value) {
    return setPair(h, Command::VoltsPerDivision, channel, value);
}

ZELVO_API int ZELVO_CALL DSOSetTimeBase(DeviceHandle h, int32_t selector, int32_t value) {
    return setPair(h, Command::TimeBase, selector, value);
}

ZELVO_API int ZELVO_CALL DSOSetBWLimit(DeviceHandle h, int32_t channel, int32_t value) {
    return setPair(h, Command::BandwidthLimit, channel, value);
}

ZELVO_API int ZELVO_CALL DSOUploadSetting(DeviceHandle h, uint8_t block[ZELVO_SETTING_BLOCK_SIZE]) {
    if (block == nullptr) return 1;
    return exported(
        uploadSettingBlock(h, std::span<uint8_t, layout::kBlockSize>(block, layout::kBlockSize)));
}

}  // extern "C"

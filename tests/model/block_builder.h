// Builds setting blocks with known field values for the scope tests.
#pragma once

#include <cstdint>

#include "model/setting_block.h"
#include "zelvo/setting_block_layout.h"

namespace scopetest {

namespace L = zelvo::layout;

// The time-base index of 1 ms per division.
inline constexpr int kOneMsPerDivision = 19;

struct BlockBuilder {
    oscilane::SettingBlock block{};

    BlockBuilder& u16(std::size_t at, int value) {
        block[at] = static_cast<uint8_t>(value & 0xFF);
        block[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
        return *this;
    }
    BlockBuilder& u32(std::size_t at, uint32_t value) {
        u16(at, static_cast<int>(value & 0xFFFF));
        return u16(at + 2, static_cast<int>(value >> 16));
    }
    BlockBuilder& channel(int c, std::size_t field, int value) {
        return u16(L::firstChannelRecord(c) + field, value);
    }
    BlockBuilder& captured(int c, std::size_t field, int value) {
        return u16(L::secondChannelRecord(c) + field, value);
    }
    // A shown channel at volts index v with a consistent 1X volts value,
    // now and at capture, at lever position `lever`.
    BlockBuilder& shownChannel(int c, int voltsIndex, uint32_t volts10uV, int lever) {
        channel(c, L::channel::kShown, 1).channel(c, L::channel::kVoltsIndex, voltsIndex);
        u32(L::firstChannelRecord(c) + L::channel::kVoltsValue, volts10uV);
        u32(L::secondChannelRecord(c) + L::channel::kVoltsValue, volts10uV);
        channel(c, L::channel::kPosition, lever).captured(c, L::channel::kPosition, lever);
        return *this;
    }
    BlockBuilder& trace(int w, uint32_t step, uint32_t origin, uint32_t count, bool vector) {
        u32(L::waveformRecord(w) + L::waveform::kStep, step);
        u32(L::waveformRecord(w) + L::waveform::kOrigin, origin);
        u32(L::waveformRecord(w) + L::waveform::kSampleCount, count);
        return u16(L::waveformRecord(w) + L::waveform::kVector, vector ? 1 : 0);
    }
    BlockBuilder& sample(int w, std::size_t i, int code) {
        return u16(L::traceSamples(w) + 2 * i, code);
    }
    BlockBuilder& allSamples(int w, int code) {
        for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i) sample(w, i, code);
        return *this;
    }
};

}  // namespace scopetest

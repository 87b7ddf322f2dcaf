// Reads a simulated setting block as the link library hands it over.
#pragma once

#include <vector>

#include "instrument.h"
#include "protocol/byte_order.h"
#include "protocol/half_word_swap.h"
#include "zelvo/command_codes.h"
#include "zelvo/scope_tables.h"
#include "zelvo/setting_block_layout.h"

namespace zelvo::sim {

struct ShownBlock {
    std::vector<uint8_t> bytes;

    explicit ShownBlock(Instrument& instrument)
        : bytes(*instrument.readBlock(code(Block::Setting), layout::kBlockSize)) {
        swapHalfSwappedFields(std::span<uint8_t, layout::kBlockSize>(bytes));
    }
    int sample(int channel, std::size_t i) const {
        return loadLeI16(bytes, layout::traceSamples(channel) + 2 * i);
    }
    std::vector<int> trace(int channel) const {
        std::vector<int> codes(layout::kSamplesPerTrace);
        for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = sample(channel, i);
        return codes;
    }
    int field16(std::size_t at) const { return loadLeI16(bytes, at); }
    uint32_t field32(std::size_t at) const { return loadLe32(bytes, at); }
    // Millivolts of a sample code by the application's conversion rule.
    double millivolts(int channel, int code) const {
        const std::size_t rec = layout::firstChannelRecord(channel);
        const int volts = field16(rec + layout::channel::kVoltsIndex);
        const int position = field16(rec + layout::channel::kPosition);
        const int probe = tables::kProbeFactor[field16(rec + layout::channel::kProbe) & 3];
        const double zero = 255.0 - position * 255.0 / 199.0;
        return (code - zero) * tables::kMillivoltsPerDivision[volts] * 8.0 / 255.0 * probe;
    }
};

}  // namespace zelvo::sim

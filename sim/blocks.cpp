#include "blocks.h"

#include <algorithm>
#include <span>

#include "protocol/byte_order.h"
#include "protocol/device_info_codec.h"
#include "zelvo/command_codes.h"
#include "zelvo/setting_block_layout.h"

namespace zelvo::sim {
namespace {

namespace L = layout;

void putWordText(std::span<uint8_t> block, std::size_t firstWord, const std::string& text,
                 std::size_t maxChars) {
    const std::size_t n = std::min(text.size(), maxChars);
    for (std::size_t i = 0; i < n; ++i)
        storeLe16(block, 2 * (firstWord + i), static_cast<uint8_t>(text[i]));
}

}  // namespace

std::vector<uint8_t> deviceInfoBlock(const Identity& id) {
    namespace w = device_info_words;
    std::vector<uint8_t> block(kDeviceInfoBlockSize, 0);
    // The serial number's words run up to the name's; keep a zero word between.
    putWordText(block, w::kSerialNumber, id.serialNumber, w::kName - w::kSerialNumber - 1);
    putWordText(block, w::kName, id.name, 19);
    const uint16_t ids[5] = {0x5A56, 0x0103, 0x0001, 0x0002, 0x0100};
    for (std::size_t k = 0; k < 5; ++k) storeLe16(block, 2 * w::kIdentification[k], ids[k]);
    auto digit = [&](std::size_t word, int value) {
        storeLe16(block, 2 * word, static_cast<uint16_t>('0' + value % 10));
    };
    digit(w::kYearTens, (id.year - 2000) / 10);
    digit(w::kYearUnits, id.year);
    digit(w::kMonthTens, id.month / 10);
    digit(w::kMonthUnits, id.month);
    digit(w::kDayTens, id.day / 10);
    digit(w::kDayUnits, id.day);
    return block;
}

std::vector<uint8_t> screenBlock(const std::vector<uint8_t>& block) {
    constexpr int width = 320, height = 240;
    std::vector<uint8_t> colours(width * height, 0);
    auto plot = [&](int x, int y, uint8_t colour) {
        if (x >= 0 && x < width && y >= 0 && y < height) colours[y * width + x] = colour;
    };
    // Grid of 12 x 8 divisions of 25 pixels, dotted, in the instrument's grey.
    constexpr int left = 10, top = 20, division = 25;
    for (int d = 0; d <= 12; ++d)
        for (int y = top; y <= top + 8 * division; y += (d % 6 == 0) ? 1 : 5)
            plot(left + d * division, y, 11);
    for (int d = 0; d <= 8; ++d)
        for (int x = left; x <= left + 12 * division; x += (d % 4 == 0) ? 1 : 5)
            plot(x, top + d * division, 11);
    // The traces, scaled from the setting block's sample codes.
    const std::uint8_t traceColour[2] = {3, 5};  // yellow, green
    for (int c = 0; c < 2; ++c) {
        if (loadLe16(block, L::firstChannelRecord(c) + L::channel::kShown) == 0) continue;
        int previous = -1;
        for (int x = 0; x < 12 * division; ++x) {
            const std::size_t i =
                static_cast<std::size_t>(x) * L::kSamplesPerTrace / (12 * division);
            const int code = loadLeI16(block, L::traceSamples(c) + 2 * i);
            if (code == L::kBlankedSample) {
                previous = -1;
                continue;
            }
            const int y = top + 8 * division - code * 8 * division / 255;
            // Join each column to the previous one so steep edges stay continuous.
            const int from = previous < 0 ? y : previous;
            for (int v = std::min(from, y); v <= std::max(from, y); ++v)
                plot(left + x, v, traceColour[c]);
            previous = y;
        }
    }
    // The instrument sends its bottom row first, four pixels per byte pair:
    // the first two in the second byte, high nibble first, then the first byte.
    std::vector<uint8_t> sent;
    sent.reserve(colours.size());
    for (int y = height - 1; y >= 0; --y)
        sent.insert(sent.end(), colours.begin() + y * width, colours.begin() + (y + 1) * width);
    std::vector<uint8_t> block4(kScreenBlockSize, 0);
    for (std::size_t p = 0, j = 0; p + 3 < sent.size(); p += 4, j += 2) {
        block4[j + 1] = static_cast<uint8_t>(sent[p] << 4 | sent[p + 1]);
        block4[j] = static_cast<uint8_t>(sent[p + 2] << 4 | sent[p + 3]);
    }
    return block4;
}

}  // namespace zelvo::sim

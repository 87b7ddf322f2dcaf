// Reading a capture file must take any bytes: either a whole capture whose
// every value is a finite number of sensible size, written back as the same
// bytes it would be saved as, or a refusal with a reason.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_require.h"
#include "model/capture_file.h"

namespace {

// A whole file of each layout, for inputs that change a few of its bytes.
const std::string& wholeFile(unsigned layout) {
    static const std::array<std::string, 3> kFiles = [] {
        std::string data = "#CHANNEL:CH2\r\n#CLOCK=0.001000000S\r\n#SIZE=1200\r\n#UNITS:V\r\n\r\n";
        std::string csv = "time_s,volts\r\n";
        std::string all = "time_s,CH1,CH2,MATH,REF\r\n";
        for (int i = 0; i < 1200; ++i) {
            const std::string volts = std::to_string((i % 256 - 128) * 0.03125);
            const std::string time = std::to_string(i) + "e-05";
            data += (i % 97 == 0 ? std::string("nan") : volts) + "\r\n";
            csv += (i == 0 ? std::string("0") : time) + "," + volts + "\r\n";
            all += (i == 0 ? std::string("0") : time) + "," + volts + ",," + volts + ",\r\n";
        }
        return std::array<std::string, 3>{data, csv, all};
    }();
    return kFiles[layout % 3];
}

// Random bytes rarely get past the first line.  Some inputs therefore change
// a few bytes of a whole file; the others start with a header of each layout
// and go on in the characters the samples are made of.
std::string shapedInput(const uint8_t* data, std::size_t size) {
    if (size >= 3 && (data[0] & 16) != 0) {
        std::string text = wholeFile(data[1]);
        for (std::size_t i = 2; i + 2 < size; i += 3) {
            const std::size_t at = (static_cast<std::size_t>(data[i]) << 8 | data[i + 1]) * 7;
            if (at < text.size()) text[at] = static_cast<char>(data[i + 2]);
        }
        return text;
    }
    constexpr std::string_view kAlphabet = "0123456789.-,enaS\r\n";
    constexpr std::string_view kHeaders[] = {
        "#CHANNEL:CH1\r\n#CLOCK=0.001000000S\r\n#SIZE=1200\r\n#UNITS:V\r\n\r\n", "time_s,volts\r\n",
        "time_s,CH1,CH2,MATH,REF\r\n", ""};
    if (size == 0) return {};
    std::string text(kHeaders[data[0] % 4]);
    const bool restricted = (data[0] & 4) != 0;
    // Short bodies are repeated, so some inputs reach the full 1200 lines.
    const std::size_t repeat = size < 16 ? 1200 : 1;
    for (std::size_t r = 0; r < repeat; ++r)
        for (std::size_t i = 1; i < size; ++i)
            text += restricted ? kAlphabet[data[i] % kAlphabet.size()] : static_cast<char>(data[i]);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace oscilane;
    const std::string text = shapedInput(data, size);
    const CaptureReadResult result = ReadCaptureText(text);
    if (const auto* error = std::get_if<CaptureReadError>(&result)) {
        fuzzing::require(!error->reason.empty());
        return 0;
    }
    const Capture& capture = std::get<Capture>(result);
    fuzzing::require(!capture.traces.empty());
    fuzzing::require(std::isfinite(capture.secondsPerDivision) && capture.secondsPerDivision >= 0);
    for (const CaptureTrace& trace : capture.traces) {
        fuzzing::require(trace.channel >= 0 && trace.channel < 4);
        fuzzing::require(trace.volts.size() == 1200);
        for (const auto& v : trace.volts)
            fuzzing::require(!v || (std::isfinite(*v) && std::fabs(*v) <= kCaptureVoltsLimit));
    }
    // What was read writes back to a file that reads as the same capture.
    const CaptureReadResult again = ReadCaptureText(CaptureText(capture));
    fuzzing::require(std::holds_alternative<Capture>(again));
    fuzzing::require(std::get<Capture>(again).traces.size() == capture.traces.size());
    return 0;
}

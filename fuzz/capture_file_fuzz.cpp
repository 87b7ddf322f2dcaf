// Reading a capture file must take any bytes: either a whole capture whose
// every value is a finite number of sensible size, written back as the same
// bytes it would be saved as, or a refusal with a reason.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/capture_file.h"

namespace {

// Random bytes rarely get past the first line; these inputs start with a
// header of each layout and go on in the characters the samples are made of.
std::string shapedInput(const uint8_t* data, std::size_t size) {
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

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace oscilane;
    const std::string text = shapedInput(data, size);
    const CaptureReadResult result = ReadCaptureText(text);
    if (const auto* error = std::get_if<CaptureReadError>(&result)) {
        check(!error->reason.empty());
        return 0;
    }
    const Capture& capture = std::get<Capture>(result);
    check(!capture.traces.empty());
    check(std::isfinite(capture.secondsPerDivision) && capture.secondsPerDivision >= 0);
    for (const CaptureTrace& trace : capture.traces) {
        check(trace.channel >= 0 && trace.channel < 4);
        check(trace.volts.size() == 1200);
        for (const auto& v : trace.volts)
            check(!v || (std::isfinite(*v) && std::fabs(*v) <= kCaptureVoltsLimit));
    }
    // What was read writes back to a file that reads as the same capture.
    const CaptureReadResult again = ReadCaptureText(CaptureText(capture));
    check(std::holds_alternative<Capture>(again));
    check(std::get<Capture>(again).traces.size() == capture.traces.size());
    return 0;
}

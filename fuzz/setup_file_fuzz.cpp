// Reading a setup file must take any bytes: either every setting with a
// value in its range, which writes back to the same values, or a refusal
// with a reason and a line within the text.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_require.h"
#include "model/scope_setup_file.h"

namespace {

// Random bytes rarely get past the first line; these inputs start as a
// setup file and then mix names, numbers and line ends.
std::string shapedInput(const uint8_t* data, std::size_t size) {
    using namespace oscilane;
    if (size == 0 || (data[0] & 1) == 0)
        return std::string(reinterpret_cast<const char*>(data), size);
    std::string text(kSetupFileHeader);
    text += "\r\n";
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        const SetupSetting& s = kSetupSettings[data[i] % kSetupSettings.size()];
        text += s.name;
        text += data[i + 1] & 0x80 ? "=" : " = ";
        text += std::to_string(static_cast<int>(data[i + 1] & 0x7F) - 8);
        text += data[i + 1] & 0x40 ? "\n" : "\r\n";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace oscilane;
    const std::string text = shapedInput(data, size);
    const SetupParse parsed = ParseSetup(text);
    if (parsed.values) {
        fuzzing::require(!SetupOutOfRange(*parsed.values));
        const SetupParse again = ParseSetup(SetupText(*parsed.values));
        fuzzing::require(again.values && *again.values == *parsed.values);
    } else {
        const auto lines = std::count(text.begin(), text.end(), '\n');
        fuzzing::require(!parsed.refusal.reason.empty());
        fuzzing::require(parsed.refusal.line >= 1 && parsed.refusal.line <= lines + 2);
    }
    return 0;
}

// Loading a generator CSV file must take any bytes: never read or write past
// the sample buffer, and either take a whole, sound wave or leave it as it was.
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_require.h"
#include "model/generator_csv.h"

namespace {

// Most random bytes fail at the "#SIZE" line; these inputs reach the samples.
std::string shapedInput(const uint8_t* data, std::size_t size) {
    constexpr std::string_view kAlphabet = "0123456789.-,=\r\n \te#";
    std::string text;
    const bool restricted = size > 0 && (data[0] & 2) != 0;
    if (size >= 3 && (data[0] & 1) != 0) {
        const unsigned count = (static_cast<unsigned>(data[1]) << 8 | data[2]) % 4200;
        text = "#CLOCK=" + std::to_string(data[1] * 1000 + 1) +
               ".5\r\n#SIZE=" + std::to_string(count) + "\r\n";
        data += 3;
        size -= 3;
    }
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        text += restricted ? kAlphabet[data[i] % kAlphabet.size()] : c;
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace oscilane;
    const std::string text = shapedInput(data, size);

    // Through a real file, as the window loads one, but without touching the disk.
    const int fd = ::memfd_create("generator-csv", 0);
    if (fd < 0) return 0;
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n <= 0) break;
        rest.remove_prefix(static_cast<std::size_t>(n));
    }

    GeneratorWave wave;
    wave.samples.back() = 7.0f;  // a sentinel beyond any count the file may ask for
    const GeneratorWave before = wave;
    const CsvResult result = LoadCsv(wave, "/proc/self/fd/" + std::to_string(fd));
    ::close(fd);

    if (result.ok()) {
        fuzzing::require(wave.sampleCount >= 1 && wave.sampleCount <= kGeneratorBufferSize);
        fuzzing::require(std::isfinite(wave.frequency) && wave.frequency > 0);
        fuzzing::require(wave.waveType == WaveType::Arbitrary);
        if (wave.sampleCount < kGeneratorBufferSize) fuzzing::require(wave.samples.back() == 7.0f);
        fuzzing::require(CsvText(wave).size() > 0);
    } else {
        fuzzing::require(wave == before);
        fuzzing::require(!result.message().empty());
    }
    return 0;
}

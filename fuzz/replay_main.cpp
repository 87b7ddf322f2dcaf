// Drives a fuzz target without libFuzzer: feeds it every file named on the
// command line, then a fixed number of pseudo-random inputs (the same on every
// run), so the targets run in every test build, sanitizers included.  With
// clang the same targets link against libFuzzer instead (ZELVO_LIBFUZZER).
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::mt19937 random(20261208);
    constexpr int kInputs = 20000;
    for (int n = 0; n < kInputs; ++n) {
        std::vector<uint8_t> bytes(random() % 700);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
        // Bias some inputs towards the protocol's own opcodes and lengths.
        if (bytes.size() >= 12 && n % 3 == 0) {
            bytes[0] = static_cast<uint8_t>(160 + random() % 4);
            bytes[1] = bytes[2] = bytes[3] = 0;
            bytes[4] = static_cast<uint8_t>(random() % 74);
        }
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%d inputs\n", kInputs + argc - 1);
    return 0;
}

// A session recording from a user may hold anything: the reader must refuse
// or read it without reading out of bounds, what it reads must write back
// and read again the same, and the replay must serve it to any requests.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "fuzz_require.h"
#include "protocol/byte_order.h"
#include "protocol/session_format.h"
#include "session_replay.h"

namespace {

using zelvo::session::Recording;

// A whole recording with an exchange of every kind, for inputs to change.
std::string sampleRecording() {
    using namespace zelvo::session;
    std::string text = encodeHeader({kFormatVersion, "1.0.0", "2024-01-01T00:00:00Z"});
    const std::array<uint32_t, 3> requests[] = {
        {160, 1, 1}, {161, 19, 0}, {163, 1040, 2}, {162, 8, 7}};
    for (const auto& request : requests) {
        Exchange e;
        e.link = static_cast<LinkKind>(request[0] % 3);
        e.request = request;
        e.packetSizes = {4, 5, 0};
        e.reply = {132, 0, 0, 0, 1, 2, 3, 4, 5};
        text += encodeExchange(e);
    }
    return text;
}

// Inputs with the top bit of their first byte clear change bytes of the
// sample (pairs of position and value) and may cut it short; the others are
// taken as they are.
std::string recordingText(const uint8_t* data, std::size_t size) {
    if (size == 0 || (data[0] & 0x80))
        return std::string(reinterpret_cast<const char*>(data), size);
    static const std::string sample = sampleRecording();
    std::string text = sample;
    for (std::size_t i = 1; i + 1 < size; i += 2)
        text[(data[i] * 7u) % text.size()] = static_cast<char>(data[i + 1]);
    if (data[0] & 0x40) text.resize(text.size() - data[0] % 64);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text = recordingText(data, size);
    const auto parsed = zelvo::session::parseRecording(text);
    const auto* recording = std::get_if<Recording>(&parsed);
    if (!recording) return 0;

    std::string again;
    for (const auto& h : recording->sessions) again += zelvo::session::encodeHeader(h);
    for (const auto& e : recording->exchanges) again += zelvo::session::encodeExchange(e);
    const auto reread = zelvo::session::parseRecording(again);
    const auto* second = std::get_if<Recording>(&reread);
    fuzzing::require(second && second->exchanges == recording->exchanges &&
                     second->sessions.size() == recording->sessions.size());

    // Every recorded request, each followed by continue bytes, against the replay.
    zelvo::sim::SessionReplay replay(recording->exchanges, {.loop = (size & 1) != 0});
    for (const auto& e : recording->exchanges) {
        std::array<uint8_t, zelvo::kRequestSize> request{};
        for (std::size_t w = 0; w < 3; ++w) zelvo::storeLe32(request, 4 * w, e.request[w]);
        (void)replay.handle(request);
        const uint8_t continueByte = 0;
        for (std::size_t k = 0; k <= e.packetSizes.size(); ++k)
            (void)replay.handle(std::span(&continueByte, 1));
    }
    // Every request sent was recorded; block-write data may take some in without a count.
    const auto counts = replay.counts();
    fuzzing::require(counts.unanswered == 0 &&
                     counts.matched + counts.fellBack <= recording->exchanges.size());
    return 0;
}

// The simulated instrument must take any sequence of datagrams from the PC.
#include "instrument.h"
#include "responder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static zelvo::sim::Instrument instrument;
    zelvo::sim::Responder responder(instrument);
    // Each first byte gives the length of the next unit the PC sends.
    for (std::size_t at = 0; at < size;) {
        const std::size_t n =
            std::min<std::size_t>(data[at] % 16 == 0 ? 12 : data[at] % 16, size - at - 1);
        responder.handle(std::span(data + at + 1, n));
        at += n + 1;
    }
    return 0;
}

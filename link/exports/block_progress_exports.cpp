// Progress and cancellation of a running block read, for callers that show a
// progress box during a slow upload, and the end of any wait for the
// instrument, for callers that close a link.  Safe to call from another
// thread than the one running the exchange.
#include "core/device_calls.h"
#include "zelvo/ZelvoDLL.h"

using namespace zelvo;
using namespace zelvo::link;

extern "C" {

ZELVO_API int ZELVO_CALL KwGetBlockProgress(DeviceHandle h, uint32_t* received, uint32_t* total) {
    Transport* t = transportFor(h);
    if (t == nullptr) return 1;
    const BlockProgress::Snapshot s = t->blockProgress().snapshot();
    if (received != nullptr) *received = static_cast<uint32_t>(s.received);
    if (total != nullptr) *total = static_cast<uint32_t>(s.total);
    return s.running ? 0 : 1;
}

ZELVO_API int ZELVO_CALL KwCancelBlockRead(DeviceHandle h) {
    Transport* t = transportFor(h);
    if (t == nullptr) return 1;
    t->blockProgress().cancel();
    return 0;
}

ZELVO_API int ZELVO_CALL KwAbortExchange(DeviceHandle h) {
    Transport* t = transportFor(h);
    if (t == nullptr) return 1;
    t->abortWait();
    return 0;
}

}  // extern "C"

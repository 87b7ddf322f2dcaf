// The link library's meter reading.
#include "core/services.h"
#include "zelvo/ZelvoDLL.h"

using namespace zelvo;
using namespace zelvo::link;

extern "C" {

ZELVO_API int ZELVO_CALL DMMGetInfo(DeviceHandle h, DmmInfo* info) {
    return info ? exported(fetchMeterReading(h, *info)) : 1;
}

}  // extern "C"

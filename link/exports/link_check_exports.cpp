// The link check and the ETS flag, offered by the link library only.
#include "core/services.h"
#include "zelvo/ZelvoDLL.h"

using namespace zelvo;
using namespace zelvo::link;

extern "C" {

ZELVO_API int ZELVO_CALL KwCheckComOK(DeviceHandle h) {
    return exported(set(h, Command::LinkCheck, 1));
}

ZELVO_API int ZELVO_CALL KwSetETSUpdate(DeviceHandle h, uint8_t value) {
    return set(h, Command::EtsUpdate, value) == Outcome::Ok ? 1 : 0;
}

ZELVO_API int ZELVO_CALL KwGetETSUpdate(DeviceHandle h, uint8_t* value) {
    if (value == nullptr) return 1;
    const GetResult r = get(h, Command::EtsUpdate, kEtsGetValue);
    if (r.outcome != Outcome::Ok) return 1;
    *value = static_cast<uint8_t>(r.value);
    return 0;
}

}  // extern "C"

#include "serial_fixture.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string>

namespace zelvo::testing {
namespace {

class SerialLines : public ::testing::Environment {
  public:
    void SetUp() override {
        for (int k = 0; k < kLineCount; ++k) {
            lines.push_back(std::make_unique<PtyInstrument>());
            lines.back()->server.start();
            const std::string name = "ZELVO_COM" + std::to_string(kFirstPort + k);
            ::setenv(name.c_str(), lines.back()->server.path().c_str(), 1);
        }
        const std::string missing = "ZELVO_COM" + std::to_string(kMissingPort);
        ::setenv(missing.c_str(), "/nonexistent/zelvo-serial-test", 1);

        library = ::dlopen(ZELVO_DLL_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << ::dlerror();
        resolve(api.comInit, "KwComInit");
        resolve(api.comClose, "KwComClose");
        resolve(api.comDeviceList, "KwGetCOMDeviceList");
        resolve(api.comPortPath, "KwGetCOMPortPath");
        resolve(api.checkComOk, "KwCheckComOK");
        resolve(api.setTimeBase, "DSOSetTimeBase");
        resolve(api.getFunction, "KwGetFunction");
        resolve(api.changeFunction, "KwChangeFunction");
        resolve(api.meterInfo, "DMMGetInfo");
        resolve(api.deviceInfo, "KwGetDeviceInfo");
        resolve(api.uploadSetting, "DSOUploadSetting");
        resolve(api.download, "DDSDownload");
        resolve(api.blockProgress, "KwGetBlockProgress");
        resolve(api.cancelBlockRead, "KwCancelBlockRead");
        resolve(api.abortExchange, "KwAbortExchange");
    }
    void TearDown() override {
        if (library != nullptr) ::dlclose(library);
        for (auto& l : lines) l->server.stop();
    }

    template <class F>
    void resolve(F& f, const char* name) {
        f = reinterpret_cast<F>(::dlsym(library, name));
        ASSERT_NE(f, nullptr) << name;
    }

    std::vector<std::unique_ptr<PtyInstrument>> lines;
    void* library = nullptr;
    ZelvoApi api{};
};

SerialLines* environment =
    static_cast<SerialLines*>(::testing::AddGlobalTestEnvironment(new SerialLines));

}  // namespace

const ZelvoApi& zelvoApi() { return environment->api; }
PtyInstrument& line(int k) { return *environment->lines.at(static_cast<std::size_t>(k)); }

void SerialLinkTest::SetUp() {
    for (int k = 0; k < kLineCount; ++k) {
        line(k).instrument.setFaults({});
        line(k).server.setSerialFaults({});
        line(k).server.setPaced(false);
    }
}

void SerialLinkTest::TearDown() {
    for (uint32_t slot = 0; slot < 16; ++slot) api.comClose(ZELVO_HANDLE(ZELVO_LINK_SERIAL, slot));
}

}  // namespace zelvo::testing

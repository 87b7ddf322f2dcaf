#include "device_link_fixture.h"

#include <QCoreApplication>
#include <thread>

#include "device/device_tables.h"

namespace oscilane::testing {

bool eventually(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void DeviceLinkTest::SetUp() {
    DeviceTables::instance().clear();
    server_ = zelvo::sim::serveOnFreeLoopback(instrument_);
}

void DeviceLinkTest::TearDown() {
    server_.reset();
    DeviceTables::instance().clear();
}

std::unique_ptr<DeviceSession> sessionFor(DeviceFunction function) {
    switch (function) {
        case DeviceFunction::Scope:
            return std::make_unique<ScopeSession>();
        case DeviceFunction::Meter:
            return std::make_unique<MeterSession>();
        case DeviceFunction::Generator:
            break;
    }
    return std::make_unique<GeneratorSession>();
}

UploadWatch& uploadsOf(CDeviceLink& link) {
    return dynamic_cast<ScopeSession&>(*link.session()).uploads();
}

LinkSettings DeviceLinkTest::lanSettings(uint16_t updateMode) const {
    LinkSettings s;
    s.transport = Transport::Lan;
    s.deviceIndex = 0;
    s.updateMode = updateMode;
    EXPECT_TRUE(parseDottedAddress(QString::fromStdString(server_->address()), &s.lanAddress));
    return s;
}

std::unique_ptr<CDeviceLink> DeviceLinkTest::makeLink(DeviceFunction function,
                                                      uint16_t updateMode) const {
    auto link = std::make_unique<CDeviceLink>();
    link->applySettings(lanSettings(updateMode));
    link->adoptSession(sessionFor(function));
    link->startWorker();
    return link;
}

std::vector<zelvo::DecodedRequest> DeviceLinkTest::requests() {
    return instrument_.inspect([](zelvo::sim::Instrument&, zelvo::sim::Responder& r) {
        return std::vector<zelvo::DecodedRequest>(r.requests().begin(), r.requests().end());
    });
}

std::vector<zelvo::DecodedRequest> DeviceLinkTest::requestsSince(std::size_t from) {
    std::vector<zelvo::DecodedRequest> all = requests();
    all.erase(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())));
    return all;
}

std::size_t DeviceLinkTest::uploads() {
    std::size_t n = 0;
    for (const zelvo::DecodedRequest& r : requests())
        n += r.opcode == zelvo::Opcode::BlockRead &&
             r.second == static_cast<uint32_t>(zelvo::Block::Setting);
    return n;
}

}  // namespace oscilane::testing

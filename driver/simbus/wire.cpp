#include "simbus/wire.h"

namespace zelvo::driver::simbus {
namespace {

void put8(std::vector<uint8_t>& out, uint8_t v) { out.push_back(v); }
void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Reads little-endian fields from the front of a span; fails once past its end.
class Reader {
  public:
    explicit Reader(std::span<const uint8_t> b) : bytes_(b) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == bytes_.size(); }
    uint8_t u8() { return static_cast<uint8_t>(take(1)); }
    uint16_t u16() { return static_cast<uint16_t>(take(2)); }
    uint32_t u32() { return static_cast<uint32_t>(take(4)); }
    std::span<const uint8_t> bytes(std::size_t n) {
        if (!ok_ || bytes_.size() - at_ < n) {
            ok_ = false;
            return {};
        }
        const auto s = bytes_.subspan(at_, n);
        at_ += n;
        return s;
    }

  private:
    uint64_t take(std::size_t n) {
        uint64_t v = 0;
        const auto s = bytes(n);
        for (std::size_t i = 0; i < s.size(); ++i) v |= static_cast<uint64_t>(s[i]) << (8 * i);
        return v;
    }
    std::span<const uint8_t> bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

bool knownType(uint8_t t) {
    return t >= static_cast<uint8_t>(WireType::List) && t <= static_cast<uint8_t>(WireType::Unplug);
}

void putDevice(std::vector<uint8_t>& out, const PortDevice& d) {
    put32(out, d.port);
    put16(out, d.info.vendor);
    put16(out, d.info.product);
    put8(out, d.info.interfaceNumber);
    put8(out, static_cast<uint8_t>(d.info.endpoints.size()));
    for (const EndpointInfo& e : d.info.endpoints) {
        put8(out, e.address);
        put8(out, static_cast<uint8_t>(e.type));
        put16(out, e.maxPacketSize);
    }
    put16(out, static_cast<uint16_t>(d.info.path.size()));
    out.insert(out.end(), d.info.path.begin(), d.info.path.end());
}

}  // namespace

std::vector<uint8_t> encode(const WireMessage& m) {
    std::vector<uint8_t> out;
    out.reserve(4 + kFrameHeaderSize - 4 + m.data.size());
    put32(out, static_cast<uint32_t>(kFrameHeaderSize - 4 + m.data.size()));
    put8(out, static_cast<uint8_t>(m.type));
    put8(out, m.endpoint);
    put8(out, m.code);
    put8(out, 0);
    put32(out, m.id);
    put32(out, m.port);
    put32(out, m.length);
    out.insert(out.end(), m.data.begin(), m.data.end());
    return out;
}

Decoded decode(std::span<const uint8_t> bytes) {
    if (bytes.size() < 4) return {DecodeState::NeedMore, {}, 0};
    Reader r(bytes);
    const uint32_t size = r.u32();
    if (size < kFrameHeaderSize - 4 || size > kMaxFrameSize) return {DecodeState::Invalid, {}, 0};
    if (bytes.size() - 4 < size) return {DecodeState::NeedMore, {}, 0};
    WireMessage m;
    const uint8_t type = r.u8();
    if (!knownType(type)) return {DecodeState::Invalid, {}, 0};
    m.type = static_cast<WireType>(type);
    m.endpoint = r.u8();
    m.code = r.u8();
    r.u8();
    m.id = r.u32();
    m.port = r.u32();
    m.length = r.u32();
    const auto data = r.bytes(size - (kFrameHeaderSize - 4));
    m.data.assign(data.begin(), data.end());
    return {DecodeState::Complete, std::move(m), 4 + size};
}

std::vector<uint8_t> encodeDevices(std::span<const PortDevice> devices) {
    std::vector<uint8_t> out;
    for (const PortDevice& d : devices) putDevice(out, d);
    return out;
}

std::optional<std::vector<PortDevice>> decodeDevices(std::span<const uint8_t> bytes) {
    std::vector<PortDevice> devices;
    Reader r(bytes);
    while (r.ok() && !r.atEnd()) {
        PortDevice d;
        d.port = r.u32();
        d.info.vendor = r.u16();
        d.info.product = r.u16();
        d.info.interfaceNumber = r.u8();
        const uint8_t endpoints = r.u8();
        for (uint8_t i = 0; i < endpoints && r.ok(); ++i) {
            EndpointInfo e{};
            e.address = r.u8();
            const uint8_t type = r.u8();
            if (type != static_cast<uint8_t>(TransferType::Bulk) &&
                type != static_cast<uint8_t>(TransferType::Interrupt))
                return std::nullopt;
            e.type = static_cast<TransferType>(type);
            e.maxPacketSize = r.u16();
            d.info.endpoints.push_back(e);
        }
        const auto path = r.bytes(r.u16());
        d.info.path.assign(path.begin(), path.end());
        if (r.ok()) devices.push_back(std::move(d));
    }
    if (!r.ok()) return std::nullopt;
    return devices;
}

}  // namespace zelvo::driver::simbus

// I/O-free pieces of the USB path: the simulated bus's frames, the record
// ring of buffered transfers, the ID list, the simulated port's packets.
#include <gtest/gtest.h>

#include "protocol/frame.h"
#include "record_ring.h"
#include "simbus/wire.h"
#include "simulated_instrument.h"
#include "usb_port.h"
#include "zelvo/driver/usb_ids.h"

namespace zelvo::testing {
namespace {

using namespace driver;
using namespace driver::simbus;

TEST(UsbWire, FramesRoundTripAndCutFramesWait) {
    WireMessage m;
    m.type = WireType::Submit;
    m.endpoint = 0x82;
    m.code = 2;
    m.id = 0x01020304;
    m.port = 7;
    m.length = 4096;
    m.data = {9, 8, 7};
    const std::vector<uint8_t> bytes = encode(m);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_EQ(decode(std::span(bytes).first(cut)).state, DecodeState::NeedMore) << cut;
    std::vector<uint8_t> two = bytes;
    two.insert(two.end(), bytes.begin(), bytes.end());
    const Decoded d = decode(two);
    ASSERT_EQ(d.state, DecodeState::Complete);
    EXPECT_EQ(d.consumed, bytes.size());
    EXPECT_EQ(d.message.id, m.id);
    EXPECT_EQ(d.message.port, 7u);
    EXPECT_EQ(d.message.length, 4096u);
    EXPECT_EQ(d.message.data, m.data);
}

TEST(UsbWire, BrokenFramesAreInvalid) {
    std::vector<uint8_t> oversize = encode(WireMessage{});
    oversize[3] = 0x7F;  // size beyond the largest frame
    EXPECT_EQ(decode(oversize).state, DecodeState::Invalid);
    std::vector<uint8_t> undersize = encode(WireMessage{});
    undersize[0] = 3;
    EXPECT_EQ(decode(undersize).state, DecodeState::Invalid);
    std::vector<uint8_t> unknownType = encode(WireMessage{});
    unknownType[4] = 0xEE;
    EXPECT_EQ(decode(unknownType).state, DecodeState::Invalid);
}

TEST(UsbWire, DeviceRecordsRoundTripAndCutRecordsFail) {
    PortDevice d{3, {"sim-1-3", 0x1209, 0x0001, 0, {{0x82, TransferType::Bulk, 64}}}};
    const std::vector<uint8_t> bytes = encodeDevices(std::span(&d, 1));
    const auto back = decodeDevices(bytes);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 1u);
    EXPECT_EQ(back->front().info.path, "sim-1-3");
    EXPECT_EQ(back->front().info.endpoints.front().maxPacketSize, 64);
    for (std::size_t cut = 1; cut < bytes.size(); ++cut)
        EXPECT_FALSE(decodeDevices(std::span(bytes).first(cut))) << cut;
}

TEST(UsbRecordRing, FullRingDropsTheOldestRecords) {
    RecordRing ring;
    for (std::size_t i = 0; i < RecordRing::kCapacity + 5; ++i) {
        const uint8_t b = static_cast<uint8_t>(i);
        ring.push(std::span(&b, 1));
    }
    EXPECT_EQ(ring.count(), RecordRing::kCapacity);
    EXPECT_EQ(ring.pop()->front(), 5);
}

TEST(UsbRecordRing, TakeCopiesWholeRecordsAndDropsTheRestOfOneThatDoesNotFit) {
    RecordRing ring;
    const std::vector<uint8_t> a(40, 0xA), b(40, 0xB), c(10, 0xC);
    ring.push(a);
    ring.push(b);
    ring.push(c);
    std::vector<uint8_t> dest(64);
    EXPECT_EQ(ring.take(dest), 64u);
    EXPECT_EQ(dest[39], 0xA);
    EXPECT_EQ(dest[40], 0xB);
    // What did not fit of the second record is gone; the third is next.
    EXPECT_EQ(ring.count(), 1u);
    EXPECT_EQ(ring.take(dest), 10u);
    EXPECT_EQ(ring.take(dest), 0u);
}

TEST(UsbRecordRing, QueueingIsAllOrNothing) {
    RecordRing ring;
    const std::vector<uint8_t> almostFull((RecordRing::kCapacity - 1) * 64, 1);
    ASSERT_TRUE(ring.pushAll(almostFull));
    EXPECT_FALSE(ring.pushAll(std::vector<uint8_t>(65, 2)));  // two records, room for one
    EXPECT_EQ(ring.count(), RecordRing::kCapacity - 1);
    EXPECT_TRUE(ring.pushAll(std::vector<uint8_t>(64, 2)));
}

TEST(UsbIds, ParsesPairsCommentsAndSkipsJunk) {
    struct Case {
        const char* text;
        std::vector<UsbId> ids;
    };
    const Case cases[] = {
        {"1209:0001", {{0x1209, 0x0001}}},
        {"1209:0001, abcd:EF01\n", {{0x1209, 0x0001}, {0xABCD, 0xEF01}}},
        {"# instruments\n1209:0001 # the bench one\n  04b4:1004", {{0x1209, 1}, {0x04B4, 0x1004}}},
        {"12345:0001 1209: :0001 zz:0001 1209:0002", {{0x1209, 0x0002}}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(parseUsbIds(c.text), c.ids) << c.text;
}

TEST(UsbSimPort, BlockReadStreamsTheWholeBlockInPackets) {
    struct Case {
        Block block;
        std::size_t length;
    };
    for (const Case c : {Case{Block::MeterReading, kMeterBlockSize},
                         Case{Block::DeviceInformation, kDeviceInfoBlockSize},
                         Case{Block::Setting, kSettingBlockSize}}) {
        sim::SimulatedInstrument instrument;
        sim::UsbPort port(instrument, {});
        const auto now = sim::UsbClock::now();
        port.out(sim::kBulkOut, encodeBlockReadRequest(c.block, static_cast<uint32_t>(c.length)),
                 now);
        std::size_t packets = 0;
        while (auto p = port.takePacket(sim::kBulkIn, now)) {
            EXPECT_EQ(p->size(), sim::kUsbPacket);
            ++packets;
        }
        EXPECT_EQ(packets, 1 + (c.length + 63) / 64) << c.length;
    }
}

}  // namespace
}  // namespace zelvo::testing

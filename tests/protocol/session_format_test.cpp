// The session recording's lines: what is written reads back the same; a
// recording cut short by a crash keeps what is whole and says so; any other
// broken line refuses the file with its line number.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "protocol/session_format.h"

namespace zelvo::session {
namespace {

Exchange sampleRead() {
    Exchange e;
    e.link = LinkKind::Serial;
    e.index = 7;
    e.request = {163, 176, 2};
    e.outcome = Outcome::TimedOut;
    e.gapMicros = 123456789012;
    e.packetSizes = {4, 3, 0};
    e.reply = {0x84, 0, 0, 0, 0xFF, 0x00, 0x7F};
    return e;
}

const std::string kHeader = encodeHeader({kFormatVersion, "1.2.3", "2024-05-06T07:08:09Z"});

Recording parsed(const std::string& text) {
    auto result = parseRecording(text);
    if (auto* e = std::get_if<ParseError>(&result)) {
        ADD_FAILURE() << "line " << e->line << ": " << e->reason;
        return {};
    }
    return std::get<Recording>(result);
}

TEST(SessionFormat, ExchangesOfEveryKindReadBackAsWritten) {
    std::vector<Exchange> written;
    const std::array<uint32_t, 4> opcodes = {160, 161, 162, 163};
    for (uint32_t op : opcodes) {
        Exchange e = sampleRead();
        e.request[0] = op;
        e.link = static_cast<LinkKind>(op % 3);
        e.outcome = static_cast<Outcome>(op % 7);
        written.push_back(e);
    }
    Exchange empty;
    empty.request = {161, 0xFFFFFFFF, 0};
    written.push_back(empty);
    std::string text = kHeader;
    for (const Exchange& e : written) text += encodeExchange(e);
    const Recording r = parsed(text);
    ASSERT_EQ(r.sessions.size(), 1u);
    EXPECT_EQ(r.sessions[0].library, "1.2.3");
    EXPECT_EQ(r.sessions[0].started, "2024-05-06T07:08:09Z");
    EXPECT_EQ(r.exchanges, written);
    EXPECT_FALSE(r.lastLineCut);
}

TEST(SessionFormat, LinesAreJsonObjectsEndingInCrLf) {
    const std::string line = encodeExchange(sampleRead());
    EXPECT_EQ(line,
              "{\"link\":\"serial\",\"index\":7,\"exchange\":\"read\",\"request\":[163,176,2],"
              "\"outcome\":\"timed-out\",\"gap_us\":123456789012,\"packets\":[4,3,0],"
              "\"reply\":\"hAAAAP8Afw==\"}\r\n");
    EXPECT_EQ(kHeader,
              "{\"format\":\"zelvo-session\",\"version\":1,\"library\":\"1.2.3\","
              "\"started\":\"2024-05-06T07:08:09Z\"}\r\n");
}

TEST(SessionFormat, LineEndsSpacesAndFieldOrderAreFree) {
    const std::string text =
        "{ \"started\" : \"x\", \"version\": 1, \"library\": \"a\\\"b\", \"format\": "
        "\"zelvo-session\" }\n"
        "{\"reply\":\"\",\"packets\":[],\"gap_us\":0,\"outcome\":\"ok\",\"request\":[160, 1, "
        "2],\"exchange\":\"set\",\"index\":0,\"link\":\"usb\",\"note\":\"ignored\"}\n";
    const Recording r = parsed(text);
    EXPECT_EQ(r.sessions.at(0).library, "a\"b");
    ASSERT_EQ(r.exchanges.size(), 1u);
    EXPECT_EQ(r.exchanges[0].kind(), ExchangeKind::Set);
}

TEST(SessionFormat, ACutLastLineIsLeftOutAndReported) {
    const std::string whole = kHeader + encodeExchange(sampleRead());
    const std::string next = encodeExchange(sampleRead());
    for (std::size_t keep : {std::size_t{1}, next.size() / 2, next.size() - 3}) {
        const Recording r = parsed(whole + next.substr(0, keep));
        EXPECT_EQ(r.exchanges.size(), 1u) << keep;
        EXPECT_TRUE(r.lastLineCut) << keep;
    }
    // Cut just before its line end, the line is still whole.
    const Recording r = parsed(whole + next.substr(0, next.size() - 2));
    EXPECT_EQ(r.exchanges.size(), 2u);
    EXPECT_FALSE(r.lastLineCut);
}

TEST(SessionFormat, ABrokenLineRefusesTheFileWithItsNumber) {
    const std::string good = encodeExchange(sampleRead());
    struct Case {
        const char* name;
        std::string text;
        std::size_t line;
    };
    auto withThird = [&](const std::string& broken) { return kHeader + good + broken + good; };
    std::string badSizes = good;
    badSizes.replace(badSizes.find("[4,3,0]"), 7, "[4,3,1]");
    std::string badOpcode = good;
    badOpcode.replace(badOpcode.find("[163,"), 5, "[164,");
    std::string wrongKind = good;
    wrongKind.replace(wrongKind.find("\"read\""), 6, "\"set\" ");
    std::string badBase64 = good;
    badBase64.replace(badBase64.find("hAAA"), 4, "h*AA");
    std::string bigWord = good;
    bigWord.replace(bigWord.find("176"), 3, "4294967296");
    const Case cases[] = {
        {"empty file", "", 1},
        {"no header", good, 1},
        {"other format", "{\"format\":\"other\"}\r\n" + good, 1},
        {"future version",
         "{\"format\":\"zelvo-session\",\"version\":2,\"library\":\"1\","
         "\"started\":\"t\"}\r\n" +
             good,
         1},
        {"not JSON", withThird("hello\r\n"), 3},
        {"empty line", withThird("\r\n"), 3},
        {"cut line not last", withThird(good.substr(0, 40) + "\r\n"), 3},
        {"sizes do not add up", withThird(badSizes), 3},
        {"unknown opcode", withThird(badOpcode), 3},
        {"kind and opcode differ", withThird(wrongKind), 3},
        {"bad base64", withThird(badBase64), 3},
        {"word too large", withThird(bigWord), 3},
        {"key twice", withThird("{\"link\":\"usb\",\"link\":\"usb\"}\r\n"), 3},
        {"negative number", withThird("{\"index\":-1}\r\n"), 3},
    };
    for (const Case& c : cases) {
        const auto result = parseRecording(c.text);
        const auto* error = std::get_if<ParseError>(&result);
        ASSERT_NE(error, nullptr) << c.name;
        EXPECT_EQ(error->line, c.line) << c.name << ": " << error->reason;
        EXPECT_FALSE(error->reason.empty()) << c.name;
    }
}

TEST(SessionFormat, AFileMayHoldSeveralSessions) {
    const std::string text =
        kHeader + encodeExchange(sampleRead()) + kHeader + encodeExchange(sampleRead());
    const Recording r = parsed(text);
    EXPECT_EQ(r.sessions.size(), 2u);
    EXPECT_EQ(r.exchanges.size(), 2u);
}

TEST(SessionFormat, Base64RoundTripsEveryLengthAndRefusesBadText) {
    std::vector<uint8_t> bytes;
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(decodeBase64(encodeBase64(bytes)), bytes) << n;
        bytes.push_back(static_cast<uint8_t>(0xF0 + n));
    }
    EXPECT_EQ(encodeBase64({'M', 'a', 'n'}), "TWFu");
    for (const char* bad : {"A", "AB=", "A===", "AB=C", "AA==AAAA", "AA A"})
        EXPECT_FALSE(decodeBase64(bad)) << bad;
}

}  // namespace
}  // namespace zelvo::session

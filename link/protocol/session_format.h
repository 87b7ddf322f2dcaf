// The session recording: a header line naming the format, then one line per
// exchange between the PC and an instrument, in JSON Lines with the reply
// bytes in base64 (docs/session-recording.md).  Encoding and parsing only;
// the recorder and the replay do the I/O.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zelvo::session {

inline constexpr std::string_view kFormatName = "zelvo-session";
inline constexpr uint32_t kFormatVersion = 1;

enum class LinkKind : uint8_t { Usb, Serial, Lan };
enum class ExchangeKind : uint8_t { Set, Get, Read, Write };
// What became of an exchange, as the recording names it.
enum class Outcome : uint8_t { Ok, Refused, TimedOut, Malformed, IoError, NotOpen, Cancelled };

std::string_view name(LinkKind kind);
std::string_view name(ExchangeKind kind);
std::string_view name(Outcome outcome);

struct Header {
    uint32_t version = kFormatVersion;
    std::string library;  // version of the library that recorded
    std::string started;  // UTC, ISO 8601
};

struct Exchange {
    LinkKind link = LinkKind::Usb;
    uint32_t index = 0;  // slot or device index
    // The request's three words: opcode, then (code, value) or (length, block).
    std::array<uint32_t, 3> request{};
    Outcome outcome = Outcome::Ok;
    uint64_t gapMicros = 0;  // since the previous exchange began
    // Each reply packet's or datagram's size, in arrival order; their bytes
    // one after another in reply.
    std::vector<uint32_t> packetSizes;
    std::vector<uint8_t> reply;

    // The kind the opcode names; none for an opcode that is not one of the four.
    std::optional<ExchangeKind> kind() const;
    bool operator==(const Exchange&) const = default;
};

// One line each, ending in CR LF.
std::string encodeHeader(const Header& header);
std::string encodeExchange(const Exchange& exchange);

struct Recording {
    // One header per session the file holds: a recorder appends, so a file
    // may hold several.
    std::vector<Header> sessions;
    std::vector<Exchange> exchanges;
    // The last line ended without its line end and could not be read: a
    // recording cut short by a crash.  It is left out.
    bool lastLineCut = false;
};

struct ParseError {
    std::size_t line;  // from 1
    std::string reason;
};

std::variant<Recording, ParseError> parseRecording(std::string_view text);

std::string encodeBase64(const std::vector<uint8_t>& bytes);
std::optional<std::vector<uint8_t>> decodeBase64(std::string_view text);

}  // namespace zelvo::session

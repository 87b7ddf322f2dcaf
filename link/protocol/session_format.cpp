#include "protocol/session_format.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <numeric>

#include "zelvo/command_codes.h"

namespace zelvo::session {
namespace {

constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kLineEnd = "\r\n";

constexpr std::array kLinkKinds = {LinkKind::Usb, LinkKind::Serial, LinkKind::Lan};
constexpr std::array kOutcomes = {Outcome::Ok,        Outcome::Refused, Outcome::TimedOut,
                                  Outcome::Malformed, Outcome::IoError, Outcome::NotOpen,
                                  Outcome::Cancelled};

// The values a recording's lines hold: texts, counts and lists of counts.
using Value = std::variant<std::string, uint64_t, std::vector<uint64_t>>;
using Fields = std::map<std::string, Value, std::less<>>;

// Reads the one flat JSON object a line holds.  Only what the format uses
// is accepted: string keys, and values that are strings without control
// characters (escapes \" and \\ only), unsigned integers, or arrays of them.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}

    std::optional<Fields> object(std::string& reason) {
        Fields fields;
        if (!take('{')) return fail(reason, "not a JSON object");
        if (!take('}')) {
            do {
                auto key = string();
                if (!key) return fail(reason, "a key is not a string");
                if (!take(':')) return fail(reason, "no ':' after a key");
                auto value = this->value();
                if (!value) return fail(reason, "the value of \"" + *key + "\" cannot be read");
                if (!fields.emplace(std::move(*key), std::move(*value)).second)
                    return fail(reason, "a key appears twice");
            } while (take(','));
            if (!take('}')) return fail(reason, "the object does not end with '}'");
        }
        skipSpace();
        if (at_ != text_.size()) return fail(reason, "text after the object");
        return fields;
    }

  private:
    static std::nullopt_t fail(std::string& reason, std::string text) {
        reason = std::move(text);
        return std::nullopt;
    }
    void skipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
    }
    bool take(char c) {
        skipSpace();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool peek(char c) {
        skipSpace();
        return at_ < text_.size() && text_[at_] == c;
    }
    std::optional<std::string> string() {
        if (!take('"')) return std::nullopt;
        std::string out;
        while (at_ < text_.size()) {
            char c = text_[at_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
            if (c == '\\') {
                if (at_ >= text_.size()) return std::nullopt;
                c = text_[at_++];
                if (c != '"' && c != '\\') return std::nullopt;
            }
            out += c;
        }
        return std::nullopt;
    }
    std::optional<uint64_t> number() {
        skipSpace();
        uint64_t v = 0;
        const char* begin = text_.data() + at_;
        const char* end = text_.data() + text_.size();
        const auto [stop, error] = std::from_chars(begin, end, v);
        if (error != std::errc() || (*begin == '0' && stop - begin > 1)) return std::nullopt;
        at_ += static_cast<std::size_t>(stop - begin);
        return v;
    }
    std::optional<Value> value() {
        if (peek('"')) {
            auto s = string();
            return s ? std::optional<Value>(std::move(*s)) : std::nullopt;
        }
        if (take('[')) {
            std::vector<uint64_t> list;
            if (take(']')) return Value(std::move(list));
            do {
                const auto n = number();
                if (!n) return std::nullopt;
                list.push_back(*n);
            } while (take(','));
            if (!take(']')) return std::nullopt;
            return Value(std::move(list));
        }
        const auto n = number();
        return n ? std::optional<Value>(*n) : std::nullopt;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

template <class T>
const T* field(const Fields& fields, std::string_view key) {
    const auto found = fields.find(key);
    return found == fields.end() ? nullptr : std::get_if<T>(&found->second);
}

template <class Enum, std::size_t N>
std::optional<Enum> named(const std::array<Enum, N>& all, const std::string* text) {
    if (!text) return std::nullopt;
    for (Enum e : all)
        if (name(e) == *text) return e;
    return std::nullopt;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        // Control characters have no place in a version or a time; they are dropped.
        if (static_cast<unsigned char>(c) >= 0x20) out += c;
    }
    return out + "\"";
}

template <class T>
std::string list(const T& values) {
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) out += ",";
        out += std::to_string(values[i]);
    }
    return out + "]";
}

std::optional<Header> readHeader(const Fields& f, std::string& reason) {
    const auto* version = field<uint64_t>(f, "version");
    const auto* library = field<std::string>(f, "library");
    const auto* started = field<std::string>(f, "started");
    if (!version || !library || !started) {
        reason = "the header lacks its version, library or start time";
        return std::nullopt;
    }
    if (*version != kFormatVersion) {
        reason = "format version " + std::to_string(*version) + " is not known (this reads " +
                 std::to_string(kFormatVersion) + ")";
        return std::nullopt;
    }
    return Header{static_cast<uint32_t>(*version), *library, *started};
}

std::optional<Exchange> readExchange(const Fields& f, std::string& reason) {
    auto fail = [&](std::string text) -> std::optional<Exchange> {
        reason = std::move(text);
        return std::nullopt;
    };
    Exchange e;
    const auto link = named(kLinkKinds, field<std::string>(f, "link"));
    if (!link) return fail("no known link kind");
    e.link = *link;
    const auto* index = field<uint64_t>(f, "index");
    if (!index || *index > 0xFFFF) return fail("no slot or device index");
    e.index = static_cast<uint32_t>(*index);
    const auto* request = field<std::vector<uint64_t>>(f, "request");
    if (!request || request->size() != 3 ||
        std::any_of(request->begin(), request->end(), [](uint64_t w) { return w > 0xFFFFFFFFu; }))
        return fail("the request is not three 32-bit words");
    std::copy(request->begin(), request->end(), e.request.begin());
    const auto kind = e.kind();
    const auto* exchangeName = field<std::string>(f, "exchange");
    if (!kind || !exchangeName || name(*kind) != *exchangeName)
        return fail("the exchange does not match the request's opcode");
    const auto outcome = named(kOutcomes, field<std::string>(f, "outcome"));
    if (!outcome) return fail("no known outcome");
    e.outcome = *outcome;
    const auto* gap = field<uint64_t>(f, "gap_us");
    if (!gap) return fail("no time since the previous exchange");
    e.gapMicros = *gap;
    const auto* sizes = field<std::vector<uint64_t>>(f, "packets");
    if (!sizes) return fail("no packet sizes");
    const auto* reply = field<std::string>(f, "reply");
    auto bytes = reply ? decodeBase64(*reply) : std::nullopt;
    if (!bytes) return fail("the reply is not base64");
    uint64_t total = 0;
    for (uint64_t s : *sizes) {
        if (s > bytes->size()) return fail("the packet sizes do not add up to the reply");
        total += s;
        e.packetSizes.push_back(static_cast<uint32_t>(s));
    }
    if (total != bytes->size()) return fail("the packet sizes do not add up to the reply");
    e.reply = std::move(*bytes);
    return e;
}

}  // namespace

std::string_view name(LinkKind kind) {
    switch (kind) {
        case LinkKind::Usb:
            return "usb";
        case LinkKind::Serial:
            return "serial";
        case LinkKind::Lan:
            break;
    }
    return "lan";
}

std::string_view name(ExchangeKind kind) {
    switch (kind) {
        case ExchangeKind::Set:
            return "set";
        case ExchangeKind::Get:
            return "get";
        case ExchangeKind::Read:
            return "read";
        case ExchangeKind::Write:
            break;
    }
    return "write";
}

std::string_view name(Outcome outcome) {
    switch (outcome) {
        case Outcome::Ok:
            return "ok";
        case Outcome::Refused:
            return "refused";
        case Outcome::TimedOut:
            return "timed-out";
        case Outcome::Malformed:
            return "malformed";
        case Outcome::IoError:
            return "io-error";
        case Outcome::NotOpen:
            return "not-open";
        case Outcome::Cancelled:
            break;
    }
    return "cancelled";
}

std::optional<ExchangeKind> Exchange::kind() const {
    switch (static_cast<Opcode>(request[0])) {
        case Opcode::Set:
            return ExchangeKind::Set;
        case Opcode::Get:
            return ExchangeKind::Get;
        case Opcode::BlockRead:
            return ExchangeKind::Read;
        case Opcode::BlockWrite:
            return ExchangeKind::Write;
    }
    return std::nullopt;
}

std::string encodeHeader(const Header& h) {
    return "{\"format\":" + quoted(kFormatName) + ",\"version\":" + std::to_string(h.version) +
           ",\"library\":" + quoted(h.library) + ",\"started\":" + quoted(h.started) + "}" +
           std::string(kLineEnd);
}

std::string encodeExchange(const Exchange& e) {
    const auto kind = e.kind();
    std::string line =
        "{\"link\":" + quoted(name(e.link)) + ",\"index\":" + std::to_string(e.index) +
        ",\"exchange\":" + quoted(kind ? name(*kind) : "") + ",\"request\":" + list(e.request) +
        ",\"outcome\":" + quoted(name(e.outcome)) + ",\"gap_us\":" + std::to_string(e.gapMicros) +
        ",\"packets\":" + list(e.packetSizes) + ",\"reply\":\"";
    line += encodeBase64(e.reply);
    line += "\"}";
    line += kLineEnd;
    return line;
}

std::variant<Recording, ParseError> parseRecording(std::string_view text) {
    Recording recording;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        const bool whole = end != std::string_view::npos;
        std::string_view line = text.substr(0, whole ? end : text.size());
        text.remove_prefix(whole ? end + 1 : text.size());
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        std::string reason;
        auto fields = LineReader(line).object(reason);
        std::optional<Exchange> exchange;
        if (fields) {
            const auto* format = field<std::string>(*fields, "format");
            if (format && *format == kFormatName) {
                if (auto header = readHeader(*fields, reason)) {
                    recording.sessions.push_back(std::move(*header));
                    continue;
                }
            } else if (format) {
                reason = "not a Zelvo session recording";
            } else if (recording.sessions.empty()) {
                reason = "the recording does not begin with its header";
            } else if ((exchange = readExchange(*fields, reason))) {
                recording.exchanges.push_back(std::move(*exchange));
                continue;
            }
        }
        // Lines go out whole with their line end, so only the last one, cut
        // short by a crash, can lack it; what came before it stands.
        if (!whole && !recording.sessions.empty()) {
            recording.lastLineCut = true;
            break;
        }
        return ParseError{lineNumber, reason};
    }
    if (recording.sessions.empty()) return ParseError{1, "the recording is empty"};
    return recording;
}

std::string encodeBase64(const std::vector<uint8_t>& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        uint32_t group = static_cast<uint32_t>(bytes[i]) << 16;
        if (n > 1) group |= static_cast<uint32_t>(bytes[i + 1]) << 8;
        if (n > 2) group |= bytes[i + 2];
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? kBase64Alphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return out;
}

std::optional<std::vector<uint8_t>> decodeBase64(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::vector<uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        uint32_t group = 0;
        std::size_t padding = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = text[i + k];
            if (c == '=' && last && k >= 2) {
                ++padding;
                group <<= 6;
                continue;
            }
            const auto at = kBase64Alphabet.find(c);
            if (at == std::string_view::npos || padding > 0) return std::nullopt;
            group = (group << 6) | static_cast<uint32_t>(at);
        }
        out.push_back(static_cast<uint8_t>(group >> 16));
        if (padding < 2) out.push_back(static_cast<uint8_t>(group >> 8));
        if (padding < 1) out.push_back(static_cast<uint8_t>(group));
    }
    return out;
}

}  // namespace zelvo::session

#include "replay_info_verb.h"

#include <CLI/CLI.hpp>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <variant>

#include "protocol/session_format.h"

namespace zelvo::cli {
namespace {

using session::Exchange;
using session::ExchangeKind;

// A request in words: set and get name a code and a value, block requests a block and a length.
std::string requestText(const Exchange& e) {
    const auto kind = e.kind();
    const bool block = kind == ExchangeKind::Read || kind == ExchangeKind::Write;
    char text[96];
    std::snprintf(text, sizeof text, block ? "%s block %u length %u" : "%s code %u value %u",
                  std::string(name(*kind)).c_str(), block ? e.request[2] : e.request[1],
                  block ? e.request[1] : e.request[2]);
    return text;
}

void printSummary(const std::string& path, const session::Recording& r) {
    std::printf("recording %s\n", path.c_str());
    for (const session::Header& h : r.sessions)
        std::printf("session: format %s version %u, library %s, started %s\n",
                    std::string(session::kFormatName).c_str(), h.version, h.library.c_str(),
                    h.started.c_str());
    std::printf("exchanges: %zu\n", r.exchanges.size());
    if (r.lastLineCut)
        std::puts("the last line is cut short (the recording ended in a crash) and left out");

    std::map<std::tuple<session::LinkKind, ExchangeKind, session::Outcome>, std::size_t> byKind;
    std::map<std::array<uint32_t, 3>, std::pair<std::string, std::size_t>> byRequest;
    uint64_t spanMicros = 0;
    for (std::size_t i = 0; i < r.exchanges.size(); ++i) {
        const Exchange& e = r.exchanges[i];
        ++byKind[{e.link, *e.kind(), e.outcome}];
        auto& [text, count] = byRequest[e.request];
        if (count++ == 0) text = requestText(e);
        // A session's first exchange starts its own clock.
        if (i > 0) spanMicros += e.gapMicros;
    }
    std::printf("time span: %.3f s\n", static_cast<double>(spanMicros) / 1e6);
    std::puts("by link, kind and outcome:");
    for (const auto& [key, count] : byKind) {
        const auto& [link, kind, outcome] = key;
        std::printf("  %s %s %s: %zu\n", std::string(name(link)).c_str(),
                    std::string(name(kind)).c_str(), std::string(name(outcome)).c_str(), count);
    }
    std::puts("requests:");
    for (const auto& [request, entry] : byRequest)
        std::printf("  %s: %zu\n", entry.first.c_str(), entry.second);
}

int replayInfo(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "zelvo: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
        return kExitInstrumentFailed;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto parsed = session::parseRecording(text);
    if (const auto* error = std::get_if<session::ParseError>(&parsed)) {
        std::fprintf(stderr, "zelvo: %s line %zu: %s\n", path.c_str(), error->line,
                     error->reason.c_str());
        return kExitInstrumentFailed;
    }
    printSummary(path, std::get<session::Recording>(parsed));
    return kExitSuccess;
}

}  // namespace

void addReplayInfoVerb(CLI::App& parser, VerbTable& verbs) {
    auto file = std::make_shared<std::string>();
    CLI::App& verb = verbs.add(
        parser, "replay-info",
        "Summarise a session recording (ZELVO_RECORD=FILE): its header, the exchanges by link, "
        "kind and outcome, its time span and each distinct request with its count.  Exit "
        "status 1 when the file cannot be read.",
        [file] { return replayInfo(*file); });
    verb.add_option("FILE", *file, "The recording")->required();
}

}  // namespace zelvo::cli

// A recorded session served back as the instrument (docs/session-recording.md):
// a request equal to the next recorded one gets its recorded replies and the
// recording moves on; another recorded request gets the replies recorded last
// for it (or, before it was first recorded, first); a request never recorded
// gets none, as from a silent instrument.  Replies go out packet by packet as
// they were recorded, whichever link recorded them, so a time-out or a
// malformed reply comes back as such.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <span>
#include <vector>

#include "protocol/session_format.h"
#include "reply_source.h"

namespace zelvo::sim {

struct ReplayOptions {
    bool loop = false;      // start again after the last recorded exchange
    bool realtime = false;  // keep the recorded pauses between exchanges
};

struct ReplayCounts {
    std::size_t matched = 0;     // the next recorded request
    std::size_t fellBack = 0;    // recorded, but elsewhere in the recording
    std::size_t unanswered = 0;  // never recorded
    bool operator==(const ReplayCounts&) const = default;
};

class SessionReplay final : public ReplySource {
  public:
    SessionReplay(std::vector<session::Exchange> exchanges, ReplayOptions options);

    std::vector<Reply> handle(std::span<const uint8_t> bytes) override;
    ReplayCounts counts() const;

  private:
    using Clock = std::chrono::steady_clock;
    using RequestKey = std::array<uint32_t, 3>;

    struct Match {
        const session::Exchange* exchange;  // none when the request was never recorded
        bool next;                          // the next recorded one, not a fallback
    };
    Match find(const RequestKey& request);
    std::vector<Reply> serve(const Match& m);

    mutable std::mutex mutex_;
    const std::vector<session::Exchange> exchanges_;
    const ReplayOptions options_;
    // Where each request was recorded, in recording order.
    std::map<RequestKey, std::vector<std::size_t>> positions_;
    std::size_t next_ = 0;
    // Block-read data still to hand out, one packet per continue byte.
    std::deque<std::vector<uint8_t>> readData_;
    // Bytes of block-write data still to take in without a reply.
    std::size_t writeDataLeft_ = 0;
    Clock::time_point previousRequest_{};
    ReplayCounts counts_;
};

}  // namespace zelvo::sim

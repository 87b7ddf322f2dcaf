// The instrument's side of one link: takes each datagram or frame the PC
// sends and produces the replies, with switchable faults for tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "instrument.h"
#include "protocol/frame.h"

namespace zelvo::sim {

struct Faults {
    bool silent = false;                      // answer nothing at all
    std::chrono::milliseconds replyDelay{0};  // every reply this late
    int lateReplies = 0;                      // the next n replies arrive lateDelay late
    std::chrono::milliseconds lateDelay{150};
    bool refuseAcknowledgements = false;  // answer sets and announcements with 0
    bool truncatedReplies = false;        // replies to sets and gets cut to 2 bytes
    bool garbageReplies = false;          // replies to sets and gets are noise
    bool foreignSource = false;           // replies come from another address
    bool emptyBlockReplies = false;       // block-read data replies are empty
    bool overlongBlockReplies = false;    // every block-read data reply is a full 512 bytes
    bool oversizeReplies = false;         // block-read data replies exceed the largest datagram
};

struct Reply {
    std::vector<uint8_t> bytes;
    std::chrono::milliseconds delay{0};
    bool fromForeignAddress = false;
};

class Responder {
  public:
    explicit Responder(Instrument& instrument) : instrument_(instrument) {}

    void setFaults(const Faults& f) { faults_ = f; }
    // Handles one unit from the PC; the replies to send, in order.
    std::vector<Reply> handle(std::span<const uint8_t> bytes);

    // Every request decoded so far, oldest first (at most the last 256).
    const std::deque<DecodedRequest>& requests() const { return requests_; }
    // Continue bytes received since the last block-read request.
    int continueBytes() const { return continueBytes_; }
    // Data bytes received for block writes.
    std::size_t blockWriteBytes() const { return blockWriteBytes_; }

  private:
    std::vector<Reply> onRequest(const DecodedRequest& r);
    std::vector<Reply> onContinue();
    void onWriteData(std::span<const uint8_t> bytes);
    Reply reply(std::vector<uint8_t> bytes, bool shortReply);

    Instrument& instrument_;
    Faults faults_;
    std::deque<DecodedRequest> requests_;

    struct PendingRead {
        std::vector<uint8_t> data;
        std::size_t at = 0;
    };
    std::optional<PendingRead> read_;
    struct PendingWrite {
        uint32_t block;
        uint32_t length;
        std::vector<uint8_t> data;
    };
    std::optional<PendingWrite> write_;
    int continueBytes_ = 0;
    std::size_t blockWriteBytes_ = 0;
};

}  // namespace zelvo::sim

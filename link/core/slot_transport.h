// What the serial and LAN links share.  Their slots are opened and closed by
// the caller, so an exchange only checks that the slot is open; block reads
// ask for every reply with a continue byte; and block data travels in units
// of one reply in both directions.
#pragma once

#include <cstddef>

#include "core/transport.h"

namespace zelvo::link {

class SlotTransport : public Transport {
  public:
    virtual bool isOpen() const = 0;

    Outcome beginExchange() final { return isOpen() ? Outcome::Ok : Outcome::NotOpen; }
    void endExchange() final {}
    bool repliesNeedContinueByte() const final { return true; }
    std::size_t blockReplyUnit() const final { return replyUnit_; }
    std::size_t writeChunkSize() const final { return replyUnit_; }

  protected:
    // replyUnit: the most bytes one reply of block data carries.
    explicit SlotTransport(std::size_t replyUnit) : replyUnit_(replyUnit) {}

  private:
    std::size_t replyUnit_;
};

}  // namespace zelvo::link

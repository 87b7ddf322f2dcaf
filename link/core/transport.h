// The one interface every link (USB, serial, LAN) implements.  The exchanges
// of the command protocol are written once on top of it (exchange.h).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/block_progress.h"

namespace zelvo::link {

// What became of a step.  The exported interface folds every failure into 1,
// but inside the library a time-out, an I/O error and a malformed reply differ.
enum class Outcome : uint8_t {
    Ok,
    NotOpen,    // no such link, or the slot is closed
    TimedOut,   // nothing arrived within the wait
    IoError,    // the operating system refused the operation
    Malformed,  // a reply arrived but cannot be used (too short, too long, empty)
    Refused,    // the instrument answered with something other than an acknowledgement
    Cancelled,  // the caller stopped a running block read
};

// Which reply is awaited; serial links wait differently for each.
enum class ReplyKind : uint8_t {
    Short,        // reply to a set, get or block-write announcement
    FirstAnswer,  // the first answer of a block read
    BlockData,    // one unit of block-read data
};

struct Received {
    Outcome outcome;
    std::size_t count;  // bytes stored in the destination
};

class Transport {
  public:
    virtual ~Transport() = default;

    // Brackets every exchange: USB opens and closes the device around it,
    // slot-based links check that the slot is open.
    virtual Outcome beginExchange() = 0;
    virtual void endExchange() = 0;

    // Sends one request, continue byte or block-write chunk.
    virtual Outcome send(std::span<const uint8_t> bytes) = 0;
    // Takes one reply and stores at most dest.size() bytes of it.
    virtual Received receive(std::span<uint8_t> dest, ReplyKind kind) = 0;

    // Block reads on serial and LAN ask for every reply with a one-byte
    // continue message; USB streams packets.
    virtual bool repliesNeedContinueByte() const = 0;
    // Largest unit of block-read data one receive delivers.
    virtual std::size_t blockReplyUnit() const = 0;
    // Size of the chunks a block write is sent in.
    virtual std::size_t writeChunkSize() const = 0;

    // Throws away reply data the instrument sent beyond what the exchange
    // took, and says whether there was any.  Only a link whose replies stream
    // in unasked (USB) can hold such data, which the next exchange would
    // otherwise take for its own reply.  Called last in an exchange; after a
    // failure (afterFailure) the link may wait longer, since it is rare.
    virtual bool discardSurplus(bool afterFailure) {
        (void)afterFailure;
        return false;
    }
    // Ends, from another thread, the wait the exchange under way is in, so
    // it fails now instead of at its time-out: a running block read stops
    // before its next reply, a link honours abortRequested() while it waits,
    // and USB also ends the transfer in flight.  Between exchanges it does
    // nothing, so it cannot end a later one.
    virtual void abortWait() {
        blockProgress_.cancel();
        if (exchangeRunning_.load()) abortRequested_.store(true);
    }
    bool abortRequested() const { return abortRequested_.load(); }

    // Progress of the block read running on this link; other threads may watch or cancel it.
    BlockProgress& blockProgress() { return blockProgress_; }

  private:
    friend class ExchangeScope;
    BlockProgress blockProgress_;
    std::atomic<bool> exchangeRunning_{false};
    std::atomic<bool> abortRequested_{false};
};

// Opens and closes one exchange on a transport.
class ExchangeScope {
  public:
    explicit ExchangeScope(Transport& t) : transport_(t), outcome_(begin(t)) {}
    ~ExchangeScope() {
        if (outcome_ == Outcome::Ok) transport_.endExchange();
        transport_.exchangeRunning_.store(false);
        transport_.abortRequested_.store(false);
    }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;
    Outcome outcome() const { return outcome_; }

  private:
    static Outcome begin(Transport& t) {
        t.abortRequested_.store(false);
        t.exchangeRunning_.store(true);
        return t.beginExchange();
    }

    Transport& transport_;
    Outcome outcome_;
};

}  // namespace zelvo::link

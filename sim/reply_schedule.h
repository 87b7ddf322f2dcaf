// Replies held until their due time, so a delayed reply never holds up the
// next request.  Replies due at the same moment leave in the order they came.
#pragma once

#include <chrono>
#include <map>
#include <utility>

namespace zelvo::sim {

template <typename Reply>
class ReplySchedule {
  public:
    using Clock = std::chrono::steady_clock;

    // Holds reply until delay from now has passed.
    void add(Clock::duration delay, Reply reply) {
        held_.emplace(Clock::now() + delay, std::move(reply));
    }
    // When the earliest held reply is due; time_point::max() while none is held.
    Clock::time_point nextDue() const {
        return held_.empty() ? Clock::time_point::max() : held_.begin()->first;
    }
    // Hands every reply due by now to take, earliest first, and lets go of it.
    template <typename Take>
    void takeDue(Clock::time_point now, Take&& take) {
        while (!held_.empty() && held_.begin()->first <= now) {
            take(held_.begin()->second);
            held_.erase(held_.begin());
        }
    }

  private:
    std::multimap<Clock::time_point, Reply> held_;
};

}  // namespace zelvo::sim

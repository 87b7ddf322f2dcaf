// A device connection stand-in: records posted commands and holds the flags.
#pragma once

#include <utility>
#include <vector>

#include "scope/scope_link_state.h"

namespace scopetest {

struct FakeLink final : oscilane::CommandSink, oscilane::ScopeLinkState {
    std::vector<std::pair<int, int32_t>> posted;
    bool isConnected = true;
    bool removed = false;
    bool slow = false;
    int percent = 0;
    int watchedTicks = 0;
    bool fresh = false;
    oscilane::ScopeData data;
    oscilane::AutoResetEvent event{true};

    void Post(oscilane::QueuedCommand c) override {
        posted.emplace_back(c.kind, static_cast<int32_t>(c.argument));
    }
    bool connected() const override { return isConnected; }
    bool deviceRemoved() const override { return removed; }
    bool slowUpload() const override { return slow; }
    int uploadPercent() const override { return percent; }
    void watchSlowUpload() override { ++watchedTicks; }
    bool newData() const override { return fresh; }
    void clearNewData() override { fresh = false; }

    oscilane::ScopeLink link() { return {*this, data, event, *this}; }
    std::pair<int, int32_t> last() const {
        return posted.empty() ? std::pair{0, -1} : posted.back();
    }
};

}  // namespace scopetest

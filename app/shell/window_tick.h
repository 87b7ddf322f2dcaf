// The instrument windows' tick: every open scope, meter and generator view
// reads what its session has and redraws at this interval.
#pragma once

namespace oscilane {

inline constexpr int kWindowTickMs = 100;

}  // namespace oscilane

// Fixed texts of the scope window's data files, kept in one place; the
// texts every instrument window shares are in shell/save_texts.h.
#pragma once

namespace oscilane::scopefiletext {

// A CSV needs samples; a trace that is off has none.  %1 is the channel.
inline constexpr const char* kChannelOffNoCsv = "%1 is off: there are no samples to save as CSV.";

}  // namespace oscilane::scopefiletext

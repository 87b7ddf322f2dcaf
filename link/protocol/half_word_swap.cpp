#include "half_word_swap.h"

#include <utility>

namespace zelvo {

void swapHalfSwappedFields(std::span<uint8_t, layout::kBlockSize> block) {
    for (std::size_t at : layout::kHalfSwappedOffsets) {
        std::swap(block[at], block[at + 2]);
        std::swap(block[at + 1], block[at + 3]);
    }
}

}  // namespace zelvo

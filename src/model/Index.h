// The position of record, node, element or equation n in a table indexed by that 1-based number.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kradon {

constexpr std::size_t at(std::int32_t n) {
    return static_cast<std::size_t>(n);
}

} // namespace kradon

#pragma once
// SHA-256 from the operating system's or a system library's implementation.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace platform {

using Sha256Digest = std::array<std::uint8_t, 32>;

// None when the library fails.
std::optional<Sha256Digest> Sha256(std::span<const std::uint8_t> bytes);

}  // namespace platform

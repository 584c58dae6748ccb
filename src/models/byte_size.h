// File sizes as the user types them: "200k", "1.5M", "500000". The units
// are decimal, as file managers show sizes: k is 1000 bytes, M 1,000,000,
// G 1,000,000,000; a trailing "B" ("200kB") changes nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvane::core {

// The largest size accepted: a limit above this means none.
inline constexpr std::int64_t kMaxByteSize = 1'000'000'000;

// The number of bytes, rounded down; absent for anything that is not a
// plain decimal number (digits, at most one point) with an optional unit,
// or is under 1 byte or over kMaxByteSize. Surrounding spaces, and one
// space before the unit, are allowed; signs and exponents are not.
std::optional<std::int64_t> parseByteSize(std::string_view text);

}  // namespace quorvane::core

// Numbered names for test files, with no dependencies of its own.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::test {

// "{prefix}{n}{suffix}": numbered("p", 3, ".png") == "p3.png". Built by
// appending, as `"p" + std::to_string(n)` sets off a false -Wrestrict in
// GCC 12 at -O3.
inline std::string numbered(std::string_view prefix, long long n, std::string_view suffix = {}) {
  std::string text(prefix);
  text += std::to_string(n);
  text += suffix;
  return text;
}

}  // namespace quorvane::test

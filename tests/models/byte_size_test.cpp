#include "models/byte_size.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

TEST(ByteSize, DecimalUnitsAsFileManagersShowSizes) {
  const struct {
    const char* text;
    std::int64_t bytes;
  } cases[] = {
      {"500000", 500'000},
      {"200k", 200'000},
      {"200K", 200'000},
      {"200kB", 200'000},
      {"200 kB", 200'000},
      {"1.5M", 1'500'000},
      {"1.5mb", 1'500'000},
      {"0.5k", 500},
      {".5k", 500},
      {"1G", 1'000'000'000},
      {" 42 ", 42},
      {"1.0005k", 1000},  // rounded down
      {"7B", 7},
      {"1.2345678901M", 1'234'567},
  };
  for (const auto& c : cases) EXPECT_EQ(parseByteSize(c.text), c.bytes) << c.text;
}

TEST(ByteSize, RefusesWhatIsNotASizeOrOutOfRange) {
  for (const char* text : {"",     " ",     "0",     "0k",     "0.0001",
                           "-1",   "+5k",   "12q",   "1e9999", "1e3",
                           "k",    ".",     "1..5k", "1.5.2M", "1  k",
                           "1kk",  "1 KiB", "2G",    "1.1G",   "99999999999999999999",
                           "0x10", "200k!", "1,5M"}) {
    EXPECT_FALSE(parseByteSize(text)) << text;
  }
}

}  // namespace
}  // namespace quorvane::core

// One LibvipsRuntime for the whole test binary, as each front end's main()
// owns one.
#include <gtest/gtest.h>

#include "codec/libvips_runtime.h"

// Read by LeakSanitizer in sanitizer builds (and unused otherwise): x265, run
// by libheif for every HEIC write, keeps per-process encoder tables it never
// frees. Nothing of ours is suppressed.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() {
  return "leak:libx265.so\n";
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  quorvane::codec::LibvipsRuntime runtime(argv[0]);
  return RUN_ALL_TESTS();
}

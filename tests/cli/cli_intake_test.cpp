// What the command line takes in from folders, found while it converts.
#include <filesystem>

#include "cli/cli_test_fixture.h"

namespace quorvane::cli {
namespace {

TEST_F(CliTest, OutputsInAnOutputFolderInsideTheTreeAreNotTakenAsInputs) {
  image(m_work / "tree" / "a.png");
  image(m_work / "tree" / "deep" / "b.png");
  image(m_work / "tree" / "out" / "earlier.png");  // an output of an earlier run
  const CliRun result = run({"--output", "tree/out", "tree"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.err.find("quorvane: warning: images in the output folder, left out: 1"),
            std::string::npos)
      << result.err;
  EXPECT_NE(result.out.find("2 converted"), std::string::npos) << result.out;
  EXPECT_EQ(filesIn(m_work / "tree" / "out"),
            (std::vector<std::string>{"a.webp", "b.webp", "earlier.png"}));
  // The same again: the new outputs are left out too.
  const CliRun again = run({"--output", "tree/out", "tree"});
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_NE(again.err.find("left out: 3"), std::string::npos) << again.err;
}

}  // namespace
}  // namespace quorvane::cli

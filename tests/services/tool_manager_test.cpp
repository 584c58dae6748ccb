#include <gtest/gtest.h>

#include <filesystem>

#include "services/tool_manager.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

TEST(ToolManager, FindsOnlyExecutableFilesInBin) {
  ScratchDir resources;
  fs::create_directories(resources / "bin/sub");
  test::writeFile(resources / "bin/cwebp", "#!/bin/sh\n");
  fs::permissions(resources / "bin/cwebp", fs::perms::owner_all);
  test::writeFile(resources / "bin/cjpeg", "#!/bin/sh\n");
  fs::permissions(resources / "bin/cjpeg", fs::perms::owner_read | fs::perms::owner_write);
  test::writeFile(resources / "bin/sub/avifenc", "#!/bin/sh\n");
  fs::permissions(resources / "bin/sub/avifenc", fs::perms::owner_all);
  fs::create_directories(resources / "bin/oxipng");  // a folder is no tool

  const ToolManager tools(resources.path());
  EXPECT_EQ(tools.toolPath("cwebp"), resources / "bin/cwebp");
  EXPECT_TRUE(tools.isToolAvailable("cwebp"));
  for (const char* name : {"cjpeg", "avifenc", "oxipng", "sub/avifenc", "sub\\avifenc", ""}) {
    EXPECT_FALSE(tools.isToolAvailable(name)) << name;
    try {
      tools.toolPath(name);
      ADD_FAILURE() << name;
    } catch (const ToolManager::ToolError& error) {
      EXPECT_EQ(error.kind(), ToolManager::ToolError::Kind::ToolNotFound) << name;
      EXPECT_EQ(error.description().toStdString(),
                "CLI tool '" + std::string(name) + "' not found. Place binaries in " +
                    (resources / "bin").native() + "/.");
    }
  }
}

TEST(ToolManager, NoResourceFolderMeansNoTools) {
  const ToolManager tools(std::nullopt);
  EXPECT_FALSE(tools.isToolAvailable("cwebp"));
  try {
    tools.toolPath("cwebp");
    FAIL();
  } catch (const ToolManager::ToolError& error) {
    EXPECT_EQ(error.kind(), ToolManager::ToolError::Kind::BundleResourceNotFound);
    EXPECT_EQ(error.description(), "App bundle resource path not found.");
  }
}

TEST(ToolManager, TheApplicationFolderSitsBesideBin) {
  const auto folder = ToolManager::forApplication().resourceFolder();
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->filename(), "quorvane");
  EXPECT_EQ(folder->parent_path().filename(), "share");
}

}  // namespace
}  // namespace quorvane::core

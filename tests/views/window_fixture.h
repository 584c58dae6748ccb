// What the window tests share: a ContentView over a controller with a fake
// converter (conversions end only when the test lets them), a scratch
// folder, and image files written into it.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <vector>

#include "support/fake_converter.h"
#include "viewmodels/conversion_view_model.h"
#include "views/content_view.h"

namespace quorvane::test {

class WindowFixture {
 public:
  // A shown, active window over a fresh controller; false when the window
  // system did not make it active.
  bool setUp();
  void tearDown();

  // Lists the files and waits (with a deadline) until the walk is done.
  bool add(const std::vector<std::filesystem::path>& locations);
  // Lets every conversion end, now and later.
  void openGate() { converter->releaseAll(); }
  // Runs a batch to its end (with a deadline).
  bool runToEnd();

  std::unique_ptr<QTemporaryDir> dir;
  std::filesystem::path files;
  core::NoDesktopIntegration desktop;
  std::unique_ptr<FakeConverter> converter;
  std::unique_ptr<core::ConversionViewModel> vm;
  std::unique_ptr<gui::ContentView> view;
};

// An 8-bit PNG of one grey.
void writeImage(const std::filesystem::path& path, int width = 8, int height = 6);
// A file of `bytes` bytes that is no image.
void writeBytes(const std::filesystem::path& path, std::size_t bytes);

}  // namespace quorvane::test

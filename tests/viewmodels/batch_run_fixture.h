// The controller's batches over a fake converter, for the batch tests.
#pragma once

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "services/settings_store.h"
#include "support/fake_converter.h"
#include "support/test_files.h"
#include "viewmodels/conversion_view_model.h"

namespace quorvane::core {

namespace fs = std::filesystem;
using Kind = ConversionStatus::Kind;
using quorvane::test::ScratchDir;

class RecordingDesktop final : public DesktopIntegration {
 public:
  void openFolder(const fs::path&) override {}
  bool isApplicationActive() const override { return active; }
  void playCompletionSound() override { ++sounds; }
  void requestAttention() override { ++attentions; }
  void announce(const QString& text) override { announcements.push_back(text); }
  bool active = false;
  int sounds = 0;
  int attentions = 0;
  std::vector<QString> announcements;
};

// The controller's batches, with a fake converter that the test lets finish.
// (The scheduling itself is BatchRunner's, tested with it.)
class BatchRunTest : public ::testing::Test {
 protected:
  std::unique_ptr<ConversionViewModel> makeController() {
    auto store = settingsStoreAt(QString::fromStdString((m_config / "q.conf").native()));
    auto vm = std::make_unique<ConversionViewModel>(std::make_unique<SettingsPersistence>(store),
                                                    std::make_unique<BookmarkService>(store),
                                                    m_desktop, &m_converter);
    vm->setParallelLimit(2);
    return vm;
  }
  // Files named like images, holding their name: the fake converter never
  // reads them, and no two look alike to the ledger.
  void add(std::initializer_list<std::string> names, const fs::path& folder = {}) {
    std::vector<fs::path> paths;
    for (const std::string& name : names) {
      const fs::path path = (folder.empty() ? m_files.path() : folder) / name;
      fs::create_directories(path.parent_path());
      test::writeFile(path, name);
      paths.push_back(path);
    }
    m_vm->addFiles(paths);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_vm->isAddingFiles(); }, 10000));
  }
  bool runToEnd() {
    QSignalSpy finished(m_vm.get(), &ConversionViewModel::conversionFinished);
    m_vm->startConversion();
    return finished.wait(10000);
  }
  std::vector<Kind> kinds() const {
    std::vector<Kind> result;
    for (const auto& item : m_vm->items()) result.push_back(item.status().kind);
    return result;
  }

  ScratchDir m_config;
  ScratchDir m_files;
  RecordingDesktop m_desktop;
  quorvane::test::FakeConverter m_converter;
  std::unique_ptr<ConversionViewModel> m_vm = makeController();
};

}  // namespace quorvane::core

// A batch of N tiny images through the controller with a converter that
// returns at once: what the list, the scheduling and the row updates cost,
// per item, as the list grows (it should not grow with it).
//
//   batch_bench [N...]   (1,000, 10,000 and 100,000 by default)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "services/converter.h"
#include "viewmodels/conversion_view_model.h"

namespace {

namespace fs = std::filesystem;
using namespace quorvane;

class InstantConverter final : public core::Converter {
 public:
  core::EncodedImage encode(const core::ConversionJob& job,
                            const core::CancellationToken&) const override {
    std::filesystem::create_directories(job.outputDirectory);
    return {.staged =
                std::make_unique<core::StagedOutput>(job.outputDirectory, QStringLiteral("webp"))};
  }
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
  if (counts.empty()) counts = {1000, 10000, 100000};
  for (int count : counts) {
    QTemporaryDir work;
    const fs::path folder = work.path().toStdString();
    for (int i = 0; i < count; ++i) {
      std::ofstream(folder / std::string("f").append(std::to_string(i)).append(".png")) << 'x';
    }
    core::NoDesktopIntegration desktop;
    InstantConverter converter;
    core::ConversionViewModel controller(nullptr, nullptr, desktop, &converter);
    controller.addFiles({folder});
    while (controller.isAddingFiles())
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    int changes = 0;
    QObject::connect(&controller, &core::ConversionViewModel::itemChanged, [&] { ++changes; });
    bool finished = false;
    QObject::connect(&controller, &core::ConversionViewModel::conversionFinished,
                     [&] { finished = true; });
    QElapsedTimer timer;
    timer.start();
    controller.startConversion();
    while (!finished) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = timer.nsecsElapsed() / 1e6;
    std::printf("%d items: batch %.0f ms, %.1f us per item, %.1f us per row change (%d changes)\n",
                count, ms, ms * 1000 / count, ms * 1000 / changes, changes);
  }
  return 0;
}

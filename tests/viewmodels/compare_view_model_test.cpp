// The compare view's model: both files decoded, trial encodes that a newer
// quality cancels and that leave no file behind, and the difference map.
#include "viewmodels/compare_view_model.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "codec/image_codec.h"
#include "services/conversion_errors.h"
#include "services/image_converter.h"
#include "services/prepared_input.h"
#include "services/staged_output.h"
#include "viewmodels/difference_heat_map.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;

constexpr int kDeadlineMs = 20000;

// A grey picture with a square of another grey at (x, y), side `side`.
codec::RgbaImage squarePicture(int width, int height, int x, int y, int side) {
  codec::RgbaImage image(width, height);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      std::uint8_t* pixel = image.data() + 4 * (std::size_t(row) * width + column);
      const bool inside = column >= x && column < x + side && row >= y && row < y + side;
      // A gentle pattern, so the metric has structure to compare.
      const auto grey = static_cast<std::uint8_t>(100 + (column * 7 + row * 3) % 40);
      pixel[0] = inside ? 250 : grey;
      pixel[1] = inside ? 20 : grey;
      pixel[2] = inside ? 20 : grey;
      pixel[3] = 255;
    }
  }
  return image;
}

fs::path folderOf(const QTemporaryDir& dir) {
  return fs::path(dir.path().toStdString());
}

std::vector<fs::path> filesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) files.push_back(entry.path());
  return files;
}

// Stages a PNG whose red square moves with the quality; the encode of
// `heldQuality` waits until it is cancelled or released.
class GatedConverter final : public Converter {
 public:
  explicit GatedConverter(int heldQuality) : m_held(heldQuality) {}

  EncodedImage encode(const ConversionJob& job, const CancellationToken& token) const override {
    {
      std::unique_lock lock(m_mutex);
      m_started.push_back(job.settings.quality);
      m_changed.notify_all();
    }
    if (job.settings.quality == m_held) {
      const auto wake = token.onCancel([this] {
        std::lock_guard lock(m_mutex);
        m_changed.notify_all();
      });
      std::unique_lock lock(m_mutex);
      m_changed.wait(lock, [&] { return m_released || token.isCancelled(); });
      if (token.isCancelled()) {
        ++m_cancelled;
        throw CancellationError();
      }
    }
    EncodedImage encoded;
    encoded.staged = std::make_unique<StagedOutput>(job.outputDirectory, QStringLiteral("png"));
    const codec::RgbaImage pixels = squarePicture(64, 48, job.settings.quality / 4, 4, 12);
    if (!codec::writePng(pixels, encoded.staged->path())) throw ConversionError::outputUnreadable();
    encoded.format = OutputFormat::Png;
    encoded.quality = job.settings.quality;
    return encoded;
  }

  void release() {
    std::lock_guard lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
  }
  bool hasStarted(int quality) const {
    std::lock_guard lock(m_mutex);
    return std::find(m_started.begin(), m_started.end(), quality) != m_started.end();
  }
  int cancelled() const {
    std::lock_guard lock(m_mutex);
    return m_cancelled;
  }

 private:
  const int m_held;
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  mutable std::vector<int> m_started;
  mutable int m_cancelled = 0;
  bool m_released = false;
};

// The real engine, whose preparations of an original wait until released
// (one release each); records the prepared input each encode was given.
class HeldPreparation final : public Converter {
 public:
  EncodedImage encode(const ConversionJob& job, const CancellationToken& token) const override {
    {
      std::lock_guard lock(m_mutex);
      m_given.push_back(job.prepared);
    }
    return m_engine.encode(job, token);
  }
  std::shared_ptr<PreparedInput> prepare(const ConversionJob& job,
                                         const CancellationToken& token) const override {
    {
      const auto wake = token.onCancel([this] {
        std::lock_guard lock(m_mutex);
        m_changed.notify_all();
      });
      std::unique_lock lock(m_mutex);
      const int number = ++m_prepares;
      m_changed.wait(lock, [&] { return m_releases >= number || token.isCancelled(); });
    }
    auto prepared = m_engine.prepare(job, token);
    std::lock_guard lock(m_mutex);
    m_made = prepared;
    return prepared;
  }

  void release(int count = 1) {
    std::lock_guard lock(m_mutex);
    m_releases += count;
    m_changed.notify_all();
  }
  int prepares() const {
    std::lock_guard lock(m_mutex);
    return m_prepares;
  }
  std::vector<std::shared_ptr<PreparedInput>> given() const {
    std::lock_guard lock(m_mutex);
    return m_given;
  }
  std::shared_ptr<PreparedInput> made() const {
    std::lock_guard lock(m_mutex);
    return m_made;
  }

 private:
  ImageConverter m_engine;
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  mutable int m_prepares = 0;
  mutable std::vector<std::shared_ptr<PreparedInput>> m_given;
  mutable std::shared_ptr<PreparedInput> m_made;
  int m_releases = 0;
};

class CompareViewModelTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_files.isValid() && m_scratch.isValid());
    m_subject.original = folderOf(m_files) / "photo.png";
    m_subject.output = folderOf(m_files) / "out" / "photo.png";
    fs::create_directories(m_subject.output.parent_path());
    ASSERT_TRUE(codec::writePng(squarePicture(64, 48, 8, 8, 12), m_subject.original));
    ASSERT_TRUE(codec::writePng(squarePicture(64, 48, 40, 30, 12), m_subject.output));
    m_subject.originalSize = static_cast<qint64>(fs::file_size(m_subject.original));
    m_subject.outputSize = static_cast<qint64>(fs::file_size(m_subject.output));
    m_subject.settings.format = OutputFormat::Png;
    m_subject.settings.quality = 80;
    m_subject.settings.options.checkQuality = true;
  }

  QTemporaryDir m_files;
  QTemporaryDir m_scratch;
  CompareSubject m_subject;
};

TEST_F(CompareViewModelTest, ANewerQualityCancelsTheEncodeOfTheOlderOne) {
  GatedConverter converter(/*heldQuality=*/50);
  CompareViewModel model(converter, folderOf(m_scratch));
  model.open(m_subject, 0, 0);
  model.requestQuality(50);
  ASSERT_TRUE(QTest::qWaitFor([&] { return converter.hasStarted(50); }, kDeadlineMs));
  EXPECT_TRUE(model.isEncoding());

  model.requestQuality(60);
  ASSERT_TRUE(QTest::qWaitFor([&] { return model.output().trial; }, kDeadlineMs))
      << model.problem().toStdString();
  EXPECT_EQ(model.output().quality, 60);
  EXPECT_FALSE(model.isEncoding());
  EXPECT_TRUE(QTest::qWaitFor([&] { return converter.cancelled() == 1; }, kDeadlineMs))
      << "the encode at 50 was left running";
  converter.release();
  // The older one never comes back over the newer.
  QTest::qWait(50);
  EXPECT_EQ(model.output().quality, 60);
  EXPECT_TRUE(model.problem().isEmpty()) << model.problem().toStdString();
  // Its receipt is measured after its picture is shown.
  EXPECT_TRUE(QTest::qWaitFor([&] { return model.output().score.has_value(); }, kDeadlineMs));
}

TEST_F(CompareViewModelTest, ATrialEncodeLeavesNoFileBehind) {
  // The real engine and its tools, at a size that shows a reduced decode.
  ImageConverter converter;
  m_subject.settings.format = OutputFormat::Webp;
  CompareViewModel model(converter, folderOf(m_scratch));
  const auto outputsBefore = filesIn(m_subject.output.parent_path());
  model.open(m_subject, 0, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return model.original().full && model.output().picture.full; },
                              kDeadlineMs))
      << model.problem().toStdString();
  EXPECT_EQ(model.original().width, 64);
  EXPECT_EQ(model.output().picture.height, 48);

  for (const int quality : {30, 90}) {
    model.requestQuality(quality);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          return model.output().trial && model.output().quality == quality && !model.isEncoding();
        },
        kDeadlineMs))
        << quality << ": " << model.problem().toStdString();
    EXPECT_GT(model.output().size, 0);
    EXPECT_TRUE(filesIn(folderOf(m_scratch)).empty()) << "after the encode at " << quality;
  }
  EXPECT_EQ(filesIn(m_subject.output.parent_path()), outputsBefore);
  EXPECT_TRUE(QTest::qWaitFor([&] { return model.output().score.has_value(); }, kDeadlineMs));
}

TEST_F(CompareViewModelTest, ATrialAskedForWhileTheOriginalIsPreparedWaitsForIt) {
  HeldPreparation converter;
  CompareViewModel model(converter, folderOf(m_scratch));
  model.open(m_subject, 0, 0);
  model.requestQuality(50);
  ASSERT_TRUE(QTest::qWaitFor([&] { return converter.prepares() == 1; }, kDeadlineMs));
  converter.release();
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return model.output().trial && !model.isEncoding(); }, kDeadlineMs))
      << model.problem().toStdString();
  EXPECT_TRUE(model.problem().isEmpty()) << model.problem().toStdString();
  // One preparation, and the trial used it rather than decoding the original again.
  EXPECT_EQ(converter.prepares(), 1);
  ASSERT_NE(converter.made(), nullptr);
  EXPECT_EQ(converter.given(), std::vector{converter.made()});

  // A trial waiting for a preparation that a new opening stops is dropped
  // with it; the next waits for the next preparation.
  model.open(m_subject, 0, 0);
  model.requestQuality(70);
  ASSERT_TRUE(QTest::qWaitFor([&] { return converter.prepares() == 2; }, kDeadlineMs));
  model.open(m_subject, 0, 0);
  model.requestQuality(60);
  ASSERT_TRUE(QTest::qWaitFor([&] { return converter.prepares() == 3; }, kDeadlineMs));
  converter.release(2);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return model.output().trial && model.output().quality == 60 && !model.isEncoding(); },
      kDeadlineMs))
      << model.problem().toStdString();
  const auto given = converter.given();
  ASSERT_EQ(given.size(), 2u) << "the trial at 70 was encoded";
  EXPECT_EQ(given.back(), converter.made());
}

TEST_F(CompareViewModelTest, TheDifferenceMapMarksWhereTheOutputDiffers) {
  GatedConverter converter(-1);
  CompareViewModel model(converter, folderOf(m_scratch));
  model.open(m_subject, 0, 0);
  model.setDifferenceMapShown(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !model.differenceMap().empty(); }, kDeadlineMs))
      << model.problem().toStdString();
  const codec::RgbaImage& map = *model.differenceMap().pixels;
  ASSERT_EQ(map.width(), 64);
  ASSERT_EQ(map.height(), 48);
  const auto alphaAt = [&map](int x, int y) {
    return map.data()[4 * (std::size_t(y) * map.width() + x) + 3];
  };
  // Both squares differ (one is gone, one is new); a far corner does not.
  EXPECT_GT(alphaAt(13, 13), 100);
  EXPECT_GT(alphaAt(45, 35), 100);
  EXPECT_EQ(alphaAt(60, 2), 0);

  // A new output makes a new map: the old one is not shown over it.
  model.requestQuality(90);
  ASSERT_TRUE(QTest::qWaitFor([&] { return model.output().trial; }, kDeadlineMs));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !model.differenceMap().empty(); }, kDeadlineMs));
  const codec::RgbaImage& after = *model.differenceMap().pixels;
  // The trial's square lies at x 22..33.
  EXPECT_GT(after.data()[4 * (std::size_t(10) * 64 + 27) + 3], 100);
}

TEST(DifferenceHeatMapTest, StaysClearWhereNothingShowsAndTurnsRedWhereMuchDoes) {
  const std::vector<float> values{-1.0f, 0.0f, kUnseenDifference, std::nanf(""),
                                  0.3f,  0.6f, kPlainDifference,  50.0f};
  const codec::RgbaImage map = differenceHeatMap(values, 4, 2);
  const auto pixel = [&map](int i) { return map.data() + 4 * i; };
  for (int i : {0, 1, 2, 3}) EXPECT_EQ(pixel(i)[3], 0) << "value " << values[i];
  // More difference, more colour, and from red-orange to red.
  EXPECT_GT(pixel(4)[3], 0);
  EXPECT_GT(pixel(5)[3], pixel(4)[3]);
  EXPECT_GT(pixel(6)[3], pixel(5)[3]);
  EXPECT_LT(pixel(6)[1], pixel(4)[1]);
  EXPECT_EQ(std::vector<std::uint8_t>(pixel(6), pixel(6) + 4),
            std::vector<std::uint8_t>(pixel(7), pixel(7) + 4));
}

}  // namespace
}  // namespace quorvane::core

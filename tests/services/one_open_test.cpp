// A conversion opens its input once (the intake that measured it before is
// the only other open), and Auto's choice for an image depends on that
// image alone: the real encoders, small images.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QUuid>
#include <atomic>
#include <fstream>
#include <iterator>
#include <mutex>

#include "codec/image_codec.h"
#include "services/batch_runner.h"
#include "services/image_converter.h"
#include "services/prepared_input.h"
#include "services/run_conversion.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

std::mutex watchedMutex;
fs::path watched;
std::atomic<int> opensOfWatched{0};

void countOpen(const fs::path& path) {
  const std::lock_guard lock(watchedMutex);
  if (path == watched) ++opensOfWatched;
}

// Counts the codec's opens of one file while it lives.
class OpenCounter {
 public:
  explicit OpenCounter(const fs::path& path) {
    {
      const std::lock_guard lock(watchedMutex);
      watched = path;
    }
    opensOfWatched = 0;
    codec::observeInputOpens(&countOpen);
  }
  ~OpenCounter() { codec::observeInputOpens(nullptr); }
  OpenCounter(const OpenCounter&) = delete;
  OpenCounter& operator=(const OpenCounter&) = delete;
  int opens() const { return opensOfWatched.load(); }
};

// A photo-like gradient with grain, opaque.
codec::RgbaImage photo(int width, int height, int seed) {
  codec::RgbaImage image(width, height);
  std::uint32_t noise = static_cast<std::uint32_t>(seed) * 2654435761u + 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      std::uint8_t* p = image.data() + (static_cast<std::size_t>(y) * width + x) * 4;
      const int grain = static_cast<int>(noise >> 29);
      p[0] = static_cast<std::uint8_t>((x * 200 / width + grain + seed * 9) % 256);
      p[1] = static_cast<std::uint8_t>((y * 180 / height + grain) % 256);
      p[2] = static_cast<std::uint8_t>(((x ^ y) % 64 + 90 + grain) % 256);
      p[3] = 255;
    }
  }
  return image;
}

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class OneOpenTest : public ::testing::Test {
 protected:
  ConversionOutcome convert(const fs::path& input, const fs::path& folder,
                            EncodeSettings settings) {
    settings.options.ifLarger = IfLarger::Write;  // tiny inputs may grow
    return runConversion(m_converter, {input, folder, std::nullopt, settings}, m_token, {});
  }

  ScratchDir m_in;
  ScratchDir m_out;
  CancellationToken m_token;
  ImageConverter m_converter;
};

TEST_F(OneOpenTest, EveryRoadOpensItsInputOnceAfterTheIntake) {
  // Inputs of the three common kinds, made by the roads themselves.
  ASSERT_TRUE(codec::writePng(photo(96, 64, 1), m_in / "photo.png"));
  fs::path inputs[] = {m_in / "photo.png", {}, {}};
  for (auto [format, slot] : {std::pair{OutputFormat::Jpeg, 1}, {OutputFormat::Webp, 2}}) {
    const ConversionOutcome made = convert(m_in / "photo.png", m_in.path(), {.format = format});
    ASSERT_EQ(made.kind, ConversionOutcome::Kind::Completed) << made.message.toStdString();
    inputs[slot] = made.output;
  }
  for (const fs::path& input : inputs) {
    for (OutputFormat format : kAllOutputFormats) {
      SCOPED_TRACE(input.filename().native() + " to " + rawValue(format).toStdString());
      const OpenCounter counter(input);
      ASSERT_TRUE(codec::readImageSize(input));  // as the intake measures it
      // Bounded, scored and carrying metadata: every step that could read it.
      const ConversionOutcome outcome =
          convert(input, m_out.path(),
                  {.format = format,
                   .maxWidth = 48,
                   .options = {.keepMetadata = true, .checkQuality = true}});
      ASSERT_EQ(outcome.kind, ConversionOutcome::Kind::Completed) << outcome.message.toStdString();
      EXPECT_TRUE(outcome.score);
      EXPECT_GE(counter.opens(), 2);  // the seam sees both
      EXPECT_LE(counter.opens(), 2);
    }
  }
}

TEST_F(OneOpenTest, AutoGivesAnImageTheSameFileWhateverRanBeforeIt) {
  const fs::path first = m_in / "first.png";
  const fs::path second = m_in / "second.png";
  ASSERT_TRUE(codec::writePng(photo(80, 60, 2), first));
  ASSERT_TRUE(codec::writePng(photo(80, 60, 7), second));
  const EncodeSettings autoSettings{.autoFormat = true, .quality = 80};
  const ScratchDir alone, after;
  const ConversionOutcome firstAlone = convert(first, alone.path(), autoSettings);
  const ConversionOutcome secondFirst = convert(second, after.path(), autoSettings);
  const ConversionOutcome firstAfter = convert(first, after.path(), autoSettings);
  for (const ConversionOutcome* outcome : {&firstAlone, &secondFirst, &firstAfter}) {
    ASSERT_EQ(outcome->kind, ConversionOutcome::Kind::Completed) << outcome->message.toStdString();
  }
  EXPECT_EQ(firstAlone.chosenFormat, firstAfter.chosenFormat);
  EXPECT_EQ(firstAlone.chosenQuality, firstAfter.chosenQuality);
  EXPECT_EQ(bytesOf(firstAlone.output), bytesOf(firstAfter.output));
}

TEST_F(OneOpenTest, AutoGivesEachImageTheSameFileWhateverTheBatchOrder) {
  std::vector<fs::path> inputs;
  for (int seed : {2, 5, 7}) {
    inputs.push_back(m_in / ("photo" + std::to_string(seed) + ".png"));
    ASSERT_TRUE(codec::writePng(photo(72, 48, seed), inputs.back()));
  }
  // Two at once, in two orders: each image meets other neighbours and
  // other timing.
  const auto runBatch = [&](const std::vector<fs::path>& order, const fs::path& folder) {
    BatchRunner runner(
        m_converter,
        {.encode = {.autoFormat = true, .quality = 80, .options = {.ifLarger = IfLarger::Write}},
         .folder = folder},
        {.parallel = 2});
    std::vector<BatchEntry> entries;
    for (const fs::path& input : order) entries.push_back({QUuid::createUuid(), input, 72, 48});
    QSignalSpy done(&runner, &BatchRunner::done);
    runner.append(std::move(entries));
    runner.start();
    EXPECT_TRUE(done.wait(120000)) << "the batch did not end";
  };
  const ScratchDir forwards, backwards;
  runBatch(inputs, forwards.path());
  runBatch({inputs.rbegin(), inputs.rend()}, backwards.path());
  const std::vector<std::string> names = test::filesIn(forwards.path());
  ASSERT_EQ(names.size(), inputs.size());
  EXPECT_EQ(test::filesIn(backwards.path()), names);
  for (const std::string& name : names) {
    EXPECT_EQ(bytesOf(forwards / name), bytesOf(backwards / name)) << name;
  }
}

TEST_F(OneOpenTest, EncodesOfAPreparedInputOpenNothingAndMatchAFreshEncode) {
  const fs::path input = m_in / "photo.png";
  ASSERT_TRUE(codec::writePng(photo(120, 80, 3), input));
  const EncodeSettings settings{.format = OutputFormat::Webp, .quality = 80, .maxWidth = 60};
  std::shared_ptr<PreparedInput> prepared;
  {
    const OpenCounter counter(input);
    prepared = m_converter.prepare({input, m_out.path(), std::nullopt, settings}, m_token);
    ASSERT_TRUE(prepared);
    EXPECT_EQ(counter.opens(), 1);
  }
  for (const int quality : {30, 90}) {
    SCOPED_TRACE(quality);
    ConversionJob job{input, m_out.path(), std::nullopt, settings};
    job.settings.quality = quality;
    const EncodedImage fresh = m_converter.encode(job, m_token);
    job.prepared = prepared;
    const OpenCounter counter(input);
    const EncodedImage reused = m_converter.encode(job, m_token);
    EXPECT_EQ(counter.opens(), 0);
    EXPECT_EQ(reused.quality, quality);
    EXPECT_EQ(bytesOf(reused.staged->path()), bytesOf(fresh.staged->path()));
  }
  // Prepared for other settings (another bound): opened and decoded anew.
  ConversionJob unbounded{input, m_out.path(), std::nullopt, settings};
  unbounded.settings.maxWidth.reset();
  unbounded.prepared = prepared;
  const OpenCounter counter(input);
  const EncodedImage whole = m_converter.encode(unbounded, m_token);
  EXPECT_EQ(counter.opens(), 1);
  const auto size = codec::readImageSize(whole.staged->path());
  ASSERT_TRUE(size);
  EXPECT_EQ(size.value().width, 120);
}

}  // namespace
}  // namespace quorvane::core

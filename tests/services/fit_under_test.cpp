#include "services/fit_under.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "output_options_fixture.h"
#include "services/auto_format.h"
#include "services/batch_report.h"
#include "services/conversion_ledger.h"

namespace quorvane::core::output_options_test {
namespace {

using SizeAt = std::function<std::int64_t(int)>;

// Runs a whole search against sizes given by quality.
std::vector<FitTrial> search(const SizeAt& sizeAt, int start, int highest, std::int64_t limit) {
  std::vector<FitTrial> trials;
  while (const auto quality = nextFitQuality(trials, start, highest, limit)) {
    EXPECT_TRUE(std::none_of(trials.begin(), trials.end(),
                             [&](const FitTrial& t) { return t.quality == *quality; }))
        << "quality " << *quality << " tried twice";
    trials.push_back({*quality, sizeAt(*quality)});
    if (trials.size() > 30) break;  // a search that does not end fails below
  }
  return trials;
}

std::optional<int> bestFit(const std::vector<FitTrial>& trials, std::int64_t limit) {
  std::optional<int> best;
  for (const FitTrial& t : trials) {
    if (t.bytes <= limit && (!best || t.quality > *best)) best = t.quality;
  }
  return best;
}

bool tried(const std::vector<FitTrial>& trials, int quality) {
  return std::any_of(trials.begin(), trials.end(),
                     [&](const FitTrial& t) { return t.quality == quality; });
}

TEST(FitSearch, FindsTheHighestQualityThatFitsAndProvesTheNextDoesNot) {
  // Sizes as encoders make them: growing faster towards the top, with flat steps.
  const std::vector<SizeAt> encoders = {
      [](int q) { return std::int64_t(4000 + 900 * std::exp(q / 14.0)); },
      [](int q) { return std::int64_t(20'000 + 1500 * (q / 5) + q * q * 30); },
      [](int q) { return std::int64_t(1000 + 50 * q); },
  };
  std::size_t most = 0;
  for (std::size_t e = 0; e < encoders.size(); ++e) {
    for (const int start : {100, 80, 35}) {
      for (std::int64_t limit = 3000; limit < 2'000'000; limit = limit * 5 / 4) {
        SCOPED_TRACE(testing::Message()
                     << "encoder " << e << " start " << start << " limit " << limit);
        const auto trials = search(encoders[e], start, start, limit);
        most = std::max(most, trials.size());
        EXPECT_LE(trials.size(), 14u);
        EXPECT_EQ(trials.front().quality, start);
        int expected = -1;
        for (int q = 0; q <= start; ++q) {
          if (encoders[e](q) <= limit) expected = q;
        }
        if (expected < 0) {
          EXPECT_FALSE(bestFit(trials, limit));
          EXPECT_TRUE(tried(trials, kFitLowestQuality));
          continue;
        }
        EXPECT_EQ(bestFit(trials, limit), expected);
        // The next step up was tried and did not fit (unless none was allowed).
        if (expected < start) {
          EXPECT_TRUE(tried(trials, expected + 1));
        }
      }
    }
  }
  // Interpolation on the size makes most searches short.
  EXPECT_LE(most, 10u);
}

TEST(FitSearch, SearchesUpToTheHighestWhenTheStartFits) {
  const SizeAt sizeAt = [](int q) { return std::int64_t(1000 + 100 * q); };
  const auto trials = search(sizeAt, 50, 98, 9'000);  // 80 fits, 81 does not
  EXPECT_EQ(trials.front().quality, 50);
  EXPECT_EQ(bestFit(trials, 9'000), 80);
  EXPECT_TRUE(tried(trials, 81));
  // Everything fits: it stops at the highest.
  const auto all = search(sizeAt, 50, 98, 1'000'000);
  EXPECT_EQ(bestFit(all, 1'000'000), 98);
  EXPECT_LE(all.size(), 8u);
}

TEST(FitSearch, AnEncoderWhoseSizeDipsStillEndsOnAFitWhoseNextStepDoesNot) {
  // 61 is larger than 62: not monotonic.
  const SizeAt sizeAt = [](int q) {
    if (q == 61) return std::int64_t(50'500);
    return std::int64_t(10'000 + 650 * q);
  };
  for (const std::int64_t limit : {50'000, 50'400, 51'000}) {
    SCOPED_TRACE(limit);
    const auto trials = search(sizeAt, 100, 100, limit);
    const auto best = bestFit(trials, limit);
    ASSERT_TRUE(best);
    EXPECT_LE(sizeAt(*best), limit);
    EXPECT_TRUE(tried(trials, *best + 1));
    EXPECT_GT(sizeAt(*best + 1), limit);
  }
}

// With the real encoders: each lossy format's output fits, and the quality
// one above it would not.
TEST_F(OutputOptionsTest, ASizeLimitGivesTheHighestQualityThatFitsInEveryLossyFormat) {
  ScratchDir in;
  ASSERT_TRUE(codec::writePng(shaded(3), in / "photo.png"));
  for (const OutputFormat format : {OutputFormat::Webp, OutputFormat::Jpeg, OutputFormat::Avif,
                                    OutputFormat::Heic, OutputFormat::Jxl}) {
    SCOPED_TRACE(rawValue(format).toStdString());
    const OutputOptions write{.ifLarger = IfLarger::Write};
    const ConversionOutcome free = run(in / "photo.png", m_out.path(), format, 90, write);
    ASSERT_EQ(free.kind, ConversionOutcome::Kind::Completed) << free.message.toStdString();
    EXPECT_FALSE(free.searchEncodes);
    const std::int64_t limit = free.size * 3 / 5;

    OutputOptions limited = write;
    limited.maxFileSize = limit;
    const ConversionOutcome fitted = run(in / "photo.png", m_out.path(), format, 90, limited);
    ASSERT_EQ(fitted.kind, ConversionOutcome::Kind::Completed) << fitted.message.toStdString();
    EXPECT_LE(fitted.size, limit);
    ASSERT_TRUE(fitted.quality);
    EXPECT_LT(*fitted.quality, 90);
    EXPECT_EQ(fitted.fits, std::optional<bool>(true));
    ASSERT_TRUE(fitted.searchEncodes);
    EXPECT_GE(*fitted.searchEncodes, 3);
    EXPECT_NE(
        fitted.message.indexOf(
            QStringLiteral("%1 at %2 to fit under").arg(displayName(format)).arg(*fitted.quality)),
        -1)
        << fitted.message.toStdString();
    // The file is the trial that fitted: it reads back, and was scored.
    EXPECT_TRUE(fitted.score);

    const ConversionOutcome above =
        run(in / "photo.png", m_out.path(), format, *fitted.quality + 1, write);
    ASSERT_EQ(above.kind, ConversionOutcome::Kind::Completed);
    EXPECT_GT(above.size, limit);

    // Room to spare: the quality asked for, in one encode, the same file.
    limited.maxFileSize = free.size;
    const ConversionOutcome roomy = run(in / "photo.png", m_out.path(), format, 90, limited);
    EXPECT_EQ(roomy.quality, std::optional<int>(90));
    EXPECT_EQ(roomy.searchEncodes, std::optional<int>(1));
    EXPECT_EQ(roomy.size, free.size);
    EXPECT_NE(roomy.message.indexOf(QStringLiteral(" at 90 fits under")), -1)
        << roomy.message.toStdString();
  }
}

TEST_F(OutputOptionsTest, WhatCannotFitSaysSoAndNeverClaimsItFits) {
  ScratchDir in;
  ASSERT_TRUE(codec::writePng(shaded(5), in / "photo.png"));
  OutputOptions tiny{.ifLarger = IfLarger::Write};
  tiny.maxFileSize = 100;
  const ConversionOutcome webp = run(in / "photo.png", m_out.path(), OutputFormat::Webp, 80, tiny);
  ASSERT_EQ(webp.kind, ConversionOutcome::Kind::Completed) << webp.message.toStdString();
  EXPECT_EQ(webp.fits, std::optional<bool>(false));
  EXPECT_EQ(webp.quality, std::optional<int>(0));  // the smallest trial
  EXPECT_GT(webp.size, 100);
  EXPECT_NE(webp.message.indexOf(QStringLiteral("Does not fit under")), -1);
  EXPECT_NE(webp.message.indexOf(QStringLiteral("even at quality 0")), -1);
  EXPECT_EQ(webp.message.indexOf(QStringLiteral("to fit under")), -1);

  // The never-larger rule still applies: a small input's original is kept.
  ASSERT_TRUE(codec::writePng(logo(), in / "logo.png"));
  OutputOptions keep = tiny;
  keep.ifLarger = IfLarger::KeepOriginal;
  const ConversionOutcome kept = run(in / "logo.png", m_out.path(), OutputFormat::Avif, 80, keep);
  EXPECT_EQ(kept.kind, ConversionOutcome::Kind::KeptOriginal) << kept.message.toStdString();

  // PNG has no quality to lower: checked, and said.
  const ConversionOutcome png = run(in / "photo.png", m_out.path(), OutputFormat::Png, 80, tiny);
  ASSERT_EQ(png.kind, ConversionOutcome::Kind::Completed);
  EXPECT_EQ(png.fits, std::optional<bool>(false));
  EXPECT_FALSE(png.searchEncodes);
  EXPECT_NE(png.message.indexOf(QStringLiteral("no quality to lower")), -1);
  EXPECT_TRUE(sizeLimitCaveat({.format = OutputFormat::Png, .options = tiny}));
  EXPECT_TRUE(sizeLimitCaveat({.format = OutputFormat::Webp, .sameFormat = true, .options = tiny}));
  OutputOptions lossless = tiny;
  lossless.lossless = true;
  EXPECT_TRUE(sizeLimitCaveat({.format = OutputFormat::Webp, .options = lossless}));
  EXPECT_FALSE(sizeLimitCaveat({.format = OutputFormat::Webp, .options = tiny}));
  EXPECT_FALSE(sizeLimitCaveat({.format = OutputFormat::Png}));
}

TEST_F(OutputOptionsTest, AutoUnderALimitPicksAFormatThatFitsAndCountsItsEncodes) {
  ScratchDir in;
  ASSERT_TRUE(codec::writePng(shaded(2), in / "photo.png"));
  const OutputOptions write{.ifLarger = IfLarger::Write};
  const ConversionOutcome free =
      run(in / "photo.png", m_out.path(), OutputFormat::Webp, 95, write, true);
  ASSERT_EQ(free.kind, ConversionOutcome::Kind::Completed) << free.message.toStdString();
  ASSERT_TRUE(free.searchEncodes);
  EXPECT_FALSE(free.fits);

  OutputOptions limited = write;
  limited.maxFileSize = free.size / 2;
  const ConversionOutcome fitted =
      run(in / "photo.png", m_out.path(), OutputFormat::Webp, 95, limited, true);
  ASSERT_EQ(fitted.kind, ConversionOutcome::Kind::Completed) << fitted.message.toStdString();
  EXPECT_LE(fitted.size, *limited.maxFileSize);
  EXPECT_EQ(fitted.fits, std::optional<bool>(true));
  ASSERT_TRUE(fitted.chosenFormat);
  ASSERT_TRUE(fitted.searchEncodes);
  EXPECT_GT(*fitted.searchEncodes, *free.searchEncodes);
  ASSERT_TRUE(fitted.score && free.score);
  EXPECT_LT(*fitted.score, *free.score);  // it had to give up some of the look

  // A generous limit changes nothing: Auto's own choice fits.
  limited.maxFileSize = free.size * 2;
  const ConversionOutcome roomy =
      run(in / "photo.png", m_out.path(), OutputFormat::Webp, 95, limited, true);
  EXPECT_EQ(roomy.size, free.size);
  EXPECT_EQ(roomy.searchEncodes, free.searchEncodes);
}

TEST(SizeLimitRecords, TheLedgerTellsLimitsApart) {
  OutputOptions limited;
  limited.maxFileSize = 200'000;
  const auto fingerprint = [](const OutputOptions& options) {
    return ConversionLedger::settingsFingerprint(OutputFormat::Webp, 80, {}, {}, options, false,
                                                 false);
  };
  EXPECT_NE(fingerprint(limited), fingerprint({}));
  OutputOptions other = limited;
  other.maxFileSize = 300'000;
  EXPECT_NE(fingerprint(limited), fingerprint(other));
}

TEST(SizeLimitRecords, TheReportSaysHowManyEncodesAndWhetherItFits) {
  ConversionOutcome outcome{
      .kind = ConversionOutcome::Kind::Completed, .size = 1000, .quality = 63};
  outcome.searchEncodes = 5;
  outcome.fits = true;
  BatchSettings settings;
  settings.encode.options.maxFileSize = 200'000;
  const ReportRow row = reportRowFor("/in/a.png", 5000, outcome, settings);
  EXPECT_EQ(row.quality, 63);
  const QString json = QString::fromUtf8(reportJson({row}));
  EXPECT_NE(json.indexOf(QStringLiteral("\"search_encodes\": 5")), -1) << json.toStdString();
  EXPECT_NE(json.indexOf(QStringLiteral("\"fits\": true")), -1);
  const QString csv = QString::fromUtf8(reportCsv({row}));
  EXPECT_TRUE(csv.startsWith(QStringLiteral("input,")));
  EXPECT_NE(csv.indexOf(QStringLiteral(",search_encodes,fits\r\n")), -1);
  EXPECT_NE(csv.indexOf(QStringLiteral(",no,5,yes\r\n")), -1) << csv.toStdString();
  // Without a search or a limit, both are empty.
  const ReportRow plain =
      reportRowFor("/in/b.png", 5000, {.kind = ConversionOutcome::Kind::Completed}, {});
  EXPECT_NE(QString::fromUtf8(reportCsv({plain})).indexOf(QStringLiteral(",no,,\r\n")), -1);
  const QString plainJson = QString::fromUtf8(reportJson({plain}));
  EXPECT_NE(plainJson.indexOf(QStringLiteral("\"fits\": null")), -1) << plainJson.toStdString();
}

}  // namespace
}  // namespace quorvane::core::output_options_test

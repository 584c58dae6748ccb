// The command line's size limit, with the real encoders.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli/cli_test_fixture.h"

namespace quorvane::cli {
namespace {

QJsonArray reportImages(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return QJsonDocument::fromJson(QByteArray::fromStdString(text))
      .object()
      .value(QStringLiteral("images"))
      .toArray();
}

TEST_F(CliTest, MaxFileSizeWritesTheHighestQualityThatFitsUnder200k) {
  image(m_work / "big.png", 1200, 900);
  // Without the limit this WebP is over 200,000 bytes: the limit must lower it.
  const CliRun free = run({"--format", "webp", "--output", "free", "big.png"});
  ASSERT_EQ(free.exitCode, 0) << free.err;
  ASSERT_GT(fs::file_size(m_work / "free" / "big.webp"), 200'000u);

  const CliRun fitted = run({"--format", "webp", "--max-file-size", "200k", "--output", "fit",
                             "--report", "r.json", "big.png"});
  ASSERT_EQ(fitted.exitCode, 0) << fitted.err;
  EXPECT_LE(fs::file_size(m_work / "fit" / "big.webp"), 200'000u);
  const QJsonArray images = reportImages(m_work / "r.json");
  ASSERT_EQ(images.size(), 1);
  const QJsonObject row = images[0].toObject();
  const int quality = row.value(QStringLiteral("quality")).toInt();
  EXPECT_LT(quality, 80);
  EXPECT_TRUE(row.value(QStringLiteral("fits")).toBool());
  EXPECT_GE(row.value(QStringLiteral("search_encodes")).toInt(), 2);
  EXPECT_NE(fitted.out.find("WebP at " + std::to_string(quality) + " to fit under 200.0 kB"),
            std::string::npos)
      << fitted.out;

  // One quality step higher would not have fitted.
  const CliRun above = run({"--format", "webp", "--quality", std::to_string(quality + 1),
                            "--output", "above", "big.png"});
  ASSERT_EQ(above.exitCode, 0) << above.err;
  EXPECT_GT(fs::file_size(m_work / "above" / "big.webp"), 200'000u);
}

TEST_F(CliTest, MaxFileSizeSaysWhatCannotFitAndWhatIsOnlyChecked) {
  image(m_work / "a.png", 200, 150);
  const CliRun tiny = run({"--format", "jpeg", "--max-file-size", "100", "--if-larger", "write",
                           "--output", "out", "--report", "r.json", "a.png"});
  ASSERT_EQ(tiny.exitCode, 0) << tiny.err;
  EXPECT_NE(tiny.out.find("Does not fit under 100 bytes even at quality 0"), std::string::npos)
      << tiny.out;
  const QJsonObject row = reportImages(m_work / "r.json")[0].toObject();
  EXPECT_FALSE(row.value(QStringLiteral("fits")).toBool(true));
  EXPECT_EQ(row.value(QStringLiteral("quality")).toInt(-1), 0);

  // PNG is said before the batch, then checked.
  const CliRun png = run({"--format", "png", "--max-file-size", "1k", "--output", "png", "a.png"});
  EXPECT_EQ(png.exitCode, 0) << png.err;
  EXPECT_NE(png.err.find("quorvane: warning: PNG outputs are not made smaller to fit under"),
            std::string::npos)
      << png.err;
}

TEST_F(CliTest, MaxFileSizeRefusesWhatIsNotASize) {
  image(m_work / "a.png");
  for (const char* size : {"0", "-1", "12q", "1e9999", "2G", ""}) {
    const CliRun result = run({"--max-file-size", size, "a.png"});
    EXPECT_EQ(result.exitCode, 2) << size;
    EXPECT_NE(result.err.find("quorvane: error: max-file-size must be a size from 1 byte to 1G"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("not '" + std::string(size) + "'"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(m_work / "compressed"));
}

}  // namespace
}  // namespace quorvane::cli

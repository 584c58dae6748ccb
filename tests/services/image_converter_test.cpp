#include "services/image_converter.h"
#include "services/tool_version.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "codec/image_codec.h"
#include "services/conversion_errors.h"
#include "services/temporary_files.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

fs::path codecData() {
  return fs::path(QUORVANE_TEST_DATA_DIR "/../../codec/data").lexically_normal();
}

// A gradient with a transparent left column, so alpha handling shows.
codec::RgbaImage makeImage(int width, int height) {
  codec::RgbaImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = image.data() + 4 * (static_cast<std::size_t>(y) * width + x);
      p[0] = static_cast<std::uint8_t>(x * 255 / std::max(1, width - 1));
      p[1] = static_cast<std::uint8_t>(y * 255 / std::max(1, height - 1));
      p[2] = 90;
      p[3] = x == 0 ? 0 : 255;
    }
  }
  return image;
}

void writePng(const fs::path& path, int width, int height) {
  ASSERT_TRUE(codec::writePng(makeImage(width, height), path));
}

std::vector<std::string> readLines(const fs::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().native());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string describe(const std::function<void()>& action) {
  try {
    action();
  } catch (const ConversionFailure& failure) {
    return failure.description().toStdString();
  }
  return "no error";
}

TEST(FitSize, KeepsProportionsAndNeverEnlarges) {
  const struct {
    int w, h;
    std::optional<int> maxW, maxH;
    PixelSize expected;
  } cases[] = {
      {4000, 3000, 1000, std::nullopt, {1000, 750}},
      {4000, 3000, 1000, 500, {667, 500}},
      {100, 100, 200, std::nullopt, {100, 100}},
      {100, 100, 0, -5, {100, 100}},
      {1, 10000, std::nullopt, 10, {1, 10}},
      {5, 5, 3, std::nullopt, {3, 3}},
      {1, 100, 1, 50, {1, 50}},
      {0, 0, std::nullopt, std::nullopt, {1, 1}},
      {3, 2, 2, std::nullopt, {2, 1}},  // 1.333 rounds to 1
      {4, 2, 3, std::nullopt, {3, 2}},  // 1.5 rounds away from zero
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ImageConverter::fitSize(c.w, c.h, c.maxW, c.maxH), c.expected)
        << c.w << "x" << c.h << " in " << c.maxW.value_or(-1) << "x" << c.maxH.value_or(-1);
  }
}

TEST(ConversionErrors, AFullDiskSaysSoInOurWords) {
  // What a full temporary disk does to the JPEG road's intermediate.
  const auto written = codec::writeTga(codec::RgbaImage(4, 4), "/dev/full");
  ASSERT_FALSE(written);
  EXPECT_EQ(describe([&] { throwCodecFailure(written.error(), "Cannot write a temporary file"); }),
            "Cannot write a temporary file: No space left on the device");
}

// Fake tools that record their arguments and produce a plausible output.
// What a conversion wrote (the tests of this file all expect a file).
fs::path written(const ImageConverter& converter, const ConversionJob& job,
                 const CancellationToken& token, OutputNameReservations* reservations = nullptr) {
  return converter.convert(job, token, {reservations, nullptr}).output;
}

class ConverterWithFakeToolsTest : public ::testing::Test {
 protected:
  ConverterWithFakeToolsTest() {
    fs::create_directories(m_resources / "bin");
    const std::string log = "printf '%s\\n' \"$@\" > '" + (m_resources / "args").native() + "'\n";
    // Each writes the file named last (or after -o) as a copy of the input;
    // cwebp keeps what it read from its standard input and writes a PNG.
    tool("cwebp", log + "cat > '" + (m_resources / "stdin").native() + "'; cp '" +
                      (codecData() / "2-truncated.png").native() + "' \"$6\"");
    tool("avifenc", "[ \"$1\" = --version ] && exit 1\n" + log +
                        "eval in=\\${$(($# - 1))}; eval out=\\${$#}; cp \"$in\" \"$out\"");
    // cjpeg writes a real (tiny) JPEG, so the output reads back.
    tool("cjpeg", log + "cat '" + (codecData() / "2-exif-orientation-6.jpg").native() + "'");
    tool("oxipng", log);
  }
  void tool(const std::string& name, const std::string& body) {
    const fs::path path = m_resources / "bin" / name;
    test::writeFile(path, "#!/bin/sh\n" + body + "\n");
    fs::permissions(path, fs::perms::owner_all);
  }
  std::vector<std::string> lastArguments() const { return readLines(m_resources / "args"); }
  fs::path convert(const fs::path& input, OutputFormat format, std::optional<int> maxW = {},
                   std::optional<int> maxH = {}) {
    return written(m_converter, {input, m_out.path(), format, 80, maxW, maxH, std::nullopt},
                   m_token);
  }

  ScratchDir m_resources;
  ScratchDir m_in;
  ScratchDir m_out;
  CancellationToken m_token;
  ImageConverter m_converter{ToolManager(m_resources.path())};
};

TEST_F(ConverterWithFakeToolsTest, WebPGetsTheDecodedFittedPixelsThroughAPipe) {
  for (const char* name : {"photo.PNG", "scan.bmp"}) {
    SCOPED_TRACE(name);
    if (std::string(name) == "scan.bmp") {
      test::writeBmp(m_in / name, 40, 30);
    } else {
      writePng(m_in / name, 40, 30);
    }
    const fs::path out = convert(m_in / name, OutputFormat::Webp, 20);
    EXPECT_EQ(out.parent_path(), m_out.path());
    const auto args = lastArguments();
    ASSERT_EQ(args.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(args.begin(), args.begin() + 5),
              (std::vector<std::string>{"-q", "80", "-m", "6", "-o"}));
    EXPECT_EQ(fs::path(args[5]).parent_path(), m_out.path());  // staged beside the output
    EXPECT_EQ(std::vector<std::string>(args.begin() + 6, args.end()),
              (std::vector<std::string>{"--", "-"}));
    // What the tool read: the image upright and fitted, as a PAM.
    std::ifstream in(m_resources / "stdin", std::ios::binary);
    const std::string pam((std::istreambuf_iterator<char>(in)), {});
    const std::string header =
        "P7\nWIDTH 20\nHEIGHT 15\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    EXPECT_EQ(pam.substr(0, header.size()), header);
    EXPECT_EQ(pam.size(), header.size() + 20 * 15 * 4);
  }
  // No temporary file is left behind.
  EXPECT_TRUE(fs::is_empty(privateTemporaryFolder()));
}

TEST_F(ConverterWithFakeToolsTest, AvifDownscalesIntoAnIntermediateWhenBounded) {
  writePng(m_in / "small.png", 40, 30);
  convert(m_in / "small.png", OutputFormat::Avif);
  auto args = lastArguments();
  ASSERT_EQ(args.size(), 13u);
  // Nothing of the file but its pixels goes along unless asked.
  EXPECT_EQ(std::vector<std::string>(args.begin(), args.begin() + 12),
            (std::vector<std::string>{"--min", "12", "--max", "12", "--speed", "4", "--jobs", "1",
                                      "--ignore-exif", "--ignore-xmp", "--ignore-icc",
                                      (m_in / "small.png").native()}));

  convert(m_in / "small.png", OutputFormat::Avif, 1000);  // a bound, even one that fits
  args = lastArguments();
  ASSERT_EQ(args.size(), 13u);
  EXPECT_EQ(fs::path(args[11]).parent_path(), privateTemporaryFolder());
  EXPECT_FALSE(fs::exists(args[11]));
}

// avifenc 1.0 deprecated --min/--max for -q: the release the tool names
// decides, and either way the quantizer is the same.
TEST_F(ConverterWithFakeToolsTest, AvifQualityIsSaidTheWayTheInstalledReleaseTakesIt) {
  writePng(m_in / "small.png", 40, 30);
  const std::string log = "printf '%s\\n' \"$@\" > '" + (m_resources / "args").native() + "'\n";
  const std::string copy = "eval in=\\${$(($# - 1))}; eval out=\\${$#}; cp \"$in\" \"$out\"";
  for (const auto& [said, expected] :
       {std::pair<std::string, std::vector<std::string>>{"Version: 0.11.1 (aom [enc/dec]:3.6.0)",
                                                         {"--min", "12", "--max", "12"}},
        {"Version: 1.2.1 (dav1d [dec]:1.5.1, aom [enc/dec]:v3.12.1)", {"-q", "81"}}}) {
    SCOPED_TRACE(said);
    tool("avifenc", "[ \"$1\" = --version ] && { echo '" + said + "'; exit 0; }\n" + log + copy);
    convert(m_in / "small.png", OutputFormat::Avif);
    const auto args = lastArguments();
    ASSERT_GE(args.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(args.begin(), args.begin() + expected.size()), expected);
  }
  EXPECT_EQ(avifQuantizerArguments(0, QVersionNumber(1, 2, 1)),
            (std::vector<std::string>{"-q", "100"}));
  EXPECT_EQ(avifQuantizerArguments(63, QVersionNumber(1, 0)),
            (std::vector<std::string>{"-q", "0"}));
}

TEST_F(ConverterWithFakeToolsTest, JpegAndPngCommandLines) {
  writePng(m_in / "a.png", 8, 8);
  convert(m_in / "a.png", OutputFormat::Jpeg);
  auto args = lastArguments();
  ASSERT_EQ(args.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(args.begin(), args.begin() + 5),
            (std::vector<std::string>{"-quality", "80", "-optimize", "-progressive", "-targa"}));
  EXPECT_FALSE(fs::exists(args[5]));  // the TGA is gone

  const fs::path png = convert(m_in / "a.png", OutputFormat::Png);
  args = lastArguments();
  ASSERT_EQ(args.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(args.begin(), args.begin() + 4),
            (std::vector<std::string>{"-o", "4", "--strip", "safe"}));
  EXPECT_TRUE(fs::exists(png));
}

TEST_F(ConverterWithFakeToolsTest, FailuresCarryTheirTextAndLeaveNothing) {
  writePng(m_in / "a.png", 8, 8);
  tool("cwebp", "printf 'bad input' >&2; exit 1");
  EXPECT_EQ(describe([&] { convert(m_in / "a.png", OutputFormat::Webp); }),
            "cwebp could not convert the image (exit status 1)");
  tool("avifenc", "exit 0");  // claims success, writes nothing
  EXPECT_EQ(describe([&] { convert(m_in / "a.png", OutputFormat::Avif); }),
            "Output file was not created");
  fs::permissions(m_resources / "bin/cjpeg", fs::perms::owner_read);
  EXPECT_EQ(
      describe([&] { convert(m_in / "a.png", OutputFormat::Jpeg); }),
      "CLI tool 'cjpeg' not found. Place binaries in " + (m_resources / "bin").native() + "/.");
  test::writeFile(m_in / "fake.png", "not an image at all");
  for (OutputFormat format : kAllOutputFormats) {
    EXPECT_EQ(describe([&] { convert(m_in / "fake.png", format); }),
              "Not an image, or a kind this program cannot read");
  }
  EXPECT_TRUE(filesIn(m_out.path()).empty());
  EXPECT_TRUE(filesIn(privateTemporaryFolder()).empty());
}

TEST_F(ConverterWithFakeToolsTest, CancelBeforeStartCreatesNothing) {
  writePng(m_in / "a.png", 8, 8);
  m_token.cancel();
  EXPECT_THROW(
      written(m_converter,
              {m_in / "a.png", m_out / "new/folder", OutputFormat::Png, 80, {}, {}, std::nullopt},
              m_token),
      CancellationError);
  EXPECT_FALSE(fs::exists(m_out / "new"));
}

TEST_F(ConverterWithFakeToolsTest, CancelDuringAnEncoderOfEveryKind) {
  writePng(m_in / "a.png", 8, 8);
  // HEIC too: its encoder runs as a process of its own, so a cancel reaches it.
  for (const std::string name : {"avifenc", "quorvane-heic"}) {
    CancellationToken token;
    fs::remove(m_resources / "running");
    tool(name, "touch '" + (m_resources / "running").native() + "'; sleep 30");
    std::jthread canceller([this, token] {
      while (!fs::exists(m_resources / "running")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      token.cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    const OutputFormat format = name == "avifenc" ? OutputFormat::Avif : OutputFormat::Heic;
    EXPECT_THROW(written(m_converter, {m_in / "a.png", m_out.path(), format, 80, 4, {}, {}}, token),
                 CancellationError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(filesIn(m_out.path()).empty());
    EXPECT_TRUE(filesIn(privateTemporaryFolder()).empty());
  }
}

TEST_F(ConverterWithFakeToolsTest, EveryRoadChecksTheHeaderBeforeAnyToolOrDecoder) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  for (OutputFormat format : kAllOutputFormats) {
    EXPECT_EQ(describe([&] { convert(codecData() / "2-png-claims-100000.png", format); }),
              "Image too large (100,000 × 100,000 pixels; the limit is 268,435,456 pixels)");
    EXPECT_EQ(describe([&] { convert(codecData() / "2-jpeg-claims-65500.jpg", format); }),
              "Image too large (65,500 × 65,500 pixels; the limit is 268,435,456 pixels)");
  }
  EXPECT_FALSE(fs::exists(m_resources / "args"));  // no tool ran
  EXPECT_TRUE(filesIn(m_out.path()).empty());
}

TEST_F(ConverterWithFakeToolsTest, AnOutputThatDoesNotReadBackIsAFailure) {
  writePng(m_in / "a.png", 8, 8);
  tool("quorvane-heic", "printf 'not a HEIC' > \"$3\"");
  tool("cwebp", "head -c 300 /dev/zero > \"$6\"");
  for (OutputFormat format : {OutputFormat::Heic, OutputFormat::Webp}) {
    EXPECT_EQ(describe([&] { convert(m_in / "a.png", format); }),
              "The encoder wrote a file that cannot be read back");
  }
  EXPECT_TRUE(filesIn(m_out.path()).empty());
}

TEST_F(ConverterWithFakeToolsTest, AnOutputFolderMovedAwayMidConversionKeepsNoStagingFile) {
  // The user moves the output folder while the encoder runs; the encoder
  // writes its file before the move, or after it into a folder made anew at
  // the old place (as the next conversion of the batch would make it).
  writePng(m_in / "a.png", 8, 8);
  const std::string out = (m_out / "out").native();
  const std::string moved = (m_out / "moved").native();
  const std::string copy = "eval in=\\${$(($# - 1))}; eval to=\\${$#}; cp \"$in\" \"$to\"";
  for (const std::string& script :
       {copy + "; mv '" + out + "' '" + moved + "'",
        "mv '" + out + "' '" + moved + "'; mkdir '" + out + "'; " + copy}) {
    SCOPED_TRACE(script);
    tool("avifenc", "[ \"$1\" = --version ] && exit 1\n" + script);
    try {
      written(m_converter, {m_in / "a.png", out, OutputFormat::Avif, 80, {}, {}, std::nullopt},
              m_token);
    } catch (const ConversionFailure&) {
      // Failing is fair; leaving hidden files is not.
    }
    for (const fs::path& folder : {fs::path(out), fs::path(moved)}) {
      for (const std::string& name : filesIn(folder)) {
        EXPECT_FALSE(name.starts_with(".quorvane-")) << folder << '/' << name;
      }
    }
    fs::remove_all(out);
    fs::remove_all(moved);
  }
}

TEST_F(ConverterWithFakeToolsTest, MissingOptimiserStillGivesAPng) {
  fs::remove(m_resources / "bin/oxipng");
  writePng(m_in / "a.png", 8, 8);
  EXPECT_TRUE(fs::exists(convert(m_in / "a.png", OutputFormat::Png)));
}

TEST_F(ConverterWithFakeToolsTest, NeverReplacesAnExistingFileOrTheInput) {
  writePng(m_in / "a.png", 8, 8);
  test::writeBmp(m_in / "a.bmp", 8, 8);
  // Same base name, one folder: a.webp then a-1.webp.
  EXPECT_EQ(convert(m_in / "a.png", OutputFormat::Webp), m_out / "a.webp");
  EXPECT_EQ(convert(m_in / "a.bmp", OutputFormat::Webp), m_out / "a-1.webp");

  // A custom name that is taken by then goes to the next free name.
  test::writeFile(m_out / "image-01.png", "precious");
  const fs::path numbered =
      written(m_converter,
              {m_in / "a.png", m_out.path(), OutputFormat::Png, 80, {}, {}, m_out / "image-01.png"},
              m_token);
  EXPECT_EQ(numbered, m_out / "image-01-1.png");
  EXPECT_EQ(readLines(m_out / "image-01.png"), std::vector<std::string>{"precious"});

  // Output folder = input folder, same format: the input stays as it was.
  const auto before = fs::file_size(m_in / "a.png");
  const fs::path beside =
      written(m_converter,
              {m_in / "a.png", m_in.path(), OutputFormat::Png, 80, {}, {}, std::nullopt}, m_token);
  EXPECT_EQ(beside, m_in / "a-1.png");
  EXPECT_EQ(fs::file_size(m_in / "a.png"), before);
}

TEST_F(ConverterWithFakeToolsTest, ReservationsKeepConcurrentNamesApart) {
  OutputNameReservations reservations;
  writePng(m_in / "a.png", 8, 8);
  // Both choose before either writes, as two parallel conversions would.
  const fs::path first = reservations.reserveUnique(m_out.path(), "a", "webp");
  const fs::path second = written(
      m_converter, {m_in / "a.png", m_out.path(), OutputFormat::Webp, 80, {}, {}, std::nullopt},
      m_token, &reservations);
  EXPECT_EQ(first, m_out / "a.webp");
  EXPECT_EQ(second, m_out / "a-1.webp");
}

// The real encoders from the resource folder, as the application runs them.
class ConverterWithRealToolsTest : public ::testing::Test {
 protected:
  fs::path convert(const fs::path& input, OutputFormat format, std::optional<int> maxW = {},
                   int quality = 80) {
    return written(m_converter, {input, m_out.path(), format, quality, maxW, {}, std::nullopt},
                   m_token);
  }

  ScratchDir m_in;
  ScratchDir m_out;
  CancellationToken m_token;
  ImageConverter m_converter;
};

TEST_F(ConverterWithRealToolsTest, EveryFormatDecodesAtTheFittedSize) {
  writePng(m_in / "photo.png", 64, 48);
  for (OutputFormat format : kAllOutputFormats) {
    SCOPED_TRACE(rawValue(format).toStdString());
    const fs::path out = convert(m_in / "photo.png", format, 32);
    EXPECT_EQ(out.extension().native(), "." + fileExtension(format).toStdString());
    const auto header = codec::readHeader(out);
    ASSERT_TRUE(header) << out;
    EXPECT_EQ(header.value().width, 32);
    EXPECT_EQ(header.value().height, 24);
  }
  EXPECT_TRUE(filesIn(privateTemporaryFolder()).empty());
}

TEST_F(ConverterWithRealToolsTest, SizesAFormatCannotHoldFailEarlyOrAreShrunkFirst) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  writePng(m_in / "strip.png", 10000, 1);
  EXPECT_EQ(describe([&] { convert(m_in / "strip.png", OutputFormat::Heic); }),
            "HEIC cannot hold an image of 10,000 × 1 pixels (it needs a short side of 32 pixels "
            "or more once the long side reaches 4,217)");
  writePng(m_in / "wide.png", 16384, 2);
  EXPECT_EQ(describe([&] { convert(m_in / "wide.png", OutputFormat::Webp); }),
            "WebP cannot hold an image of 16,384 × 2 pixels (its sides are at most 16,383 pixels)");
  EXPECT_TRUE(filesIn(m_out.path()).empty());
  // A bound that brings it within reach: cwebp gets a copy it can read.
  const auto header = codec::readHeader(convert(m_in / "wide.png", OutputFormat::Webp, 8192));
  ASSERT_TRUE(header);
  EXPECT_EQ(header.value().width, 8192);
  EXPECT_EQ(header.value().height, 1);
}

TEST_F(ConverterWithRealToolsTest, DamageOnlyTheToolsMindConvertsLikeAnyOtherFormat) {
  // Every pixel is there, but the end chunk is missing: our decoder reads
  // it, cwebp and avifenc (libpng) refuse it.
  writePng(m_in / "whole.png", 64, 48);
  std::ifstream in(m_in / "whole.png", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  test::writeFile(m_in / "no-end.png", bytes.substr(0, bytes.size() - 12));
  for (OutputFormat format : kAllOutputFormats) {
    SCOPED_TRACE(rawValue(format).toStdString());
    EXPECT_TRUE(codec::readHeader(convert(m_in / "no-end.png", format)));
  }
}

TEST_F(ConverterWithRealToolsTest, PngHasFewColoursAndNoTransparency) {
  writePng(m_in / "gradient.png", 96, 64);
  for (auto [quality, colours] : {std::pair{50, 64}, {75, 128}, {100, 256}}) {
    auto decoded = codec::decode(convert(m_in / "gradient.png", OutputFormat::Png, {}, quality));
    ASSERT_TRUE(decoded);
    std::set<std::uint32_t> distinct;
    const auto& image = decoded.value();
    for (std::size_t i = 0; i < image.byteSize(); i += 4) {
      const std::uint8_t* p = image.data() + i;
      distinct.insert(p[0] << 16 | p[1] << 8 | p[2]);
      ASSERT_EQ(p[3], 255);
    }
    EXPECT_LE(static_cast<int>(distinct.size()), colours) << quality;
  }
}

TEST_F(ConverterWithRealToolsTest, OddInputsEndUprightOrAsAClearError) {
  const fs::path data = codecData();
  // Stored 4x2 with orientation 6: displayed (and written) 2 wide, 4 tall.
  const auto rotatedHeader = codec::readHeader(data / "2-exif-orientation-6.jpg");
  ASSERT_TRUE(rotatedHeader);
  for (OutputFormat format : {OutputFormat::Webp, OutputFormat::Avif}) {
    const auto header = codec::readHeader(convert(data / "2-exif-orientation-6.jpg", format));
    ASSERT_TRUE(header);
    EXPECT_EQ(header.value().width, rotatedHeader.value().width);
    EXPECT_EQ(header.value().height, rotatedHeader.value().height);
  }
  // The tools would turn a truncated JPEG into a grey-bottomed picture.
  for (OutputFormat format : {OutputFormat::Webp, OutputFormat::Avif, OutputFormat::Jpeg}) {
    EXPECT_EQ(describe([&] { convert(data / "2-truncated.jpg", format); }),
              "The image data is damaged");
  }
}

}  // namespace
}  // namespace quorvane::core

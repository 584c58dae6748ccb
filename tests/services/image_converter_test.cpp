#include "services/image_converter.h"

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
#include "services/converter_test_support.h"
#include "services/image_fitting.h"
#include "services/process_runner.h"
#include "services/run_conversion.h"
#include "services/temporary_files.h"
#include "services/tool_manager.h"
#include "services/tool_version.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::filesIn;
using test::ScratchDir;
using namespace converter_test;
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
    EXPECT_EQ(fitSize(c.w, c.h, c.maxW, c.maxH), c.expected)
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
class ConverterWithFakeToolsTest : public ::testing::Test {
 protected:
  ConverterWithFakeToolsTest() {
    fs::create_directories(m_resources / "bin");
    const std::string log = "printf '%s\\n' \"$@\" > '" + (m_resources / "args").native() + "'\n";
    // Each writes the file named last (or after -o) as a copy of the input;
    // cwebp keeps what it read from its standard input and writes a small
    // WebP made by the real one, so the output reads back.
    writePng(m_resources / "made.png", 4, 4);
    runProcess(
        ToolManager::forApplication().toolPath(QStringLiteral("cwebp")),
        {"-quiet", (m_resources / "made.png").native(), "-o", (m_resources / "made.webp").native()},
        m_token);
    tool("cwebp", log + "cat > '" + (m_resources / "stdin").native() + "'; cp '" +
                      (m_resources / "made.webp").native() + "' \"$6\"");
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
    return written(m_converter, makeJob(input, m_out.path(), format, 80, maxW, maxH), m_token);
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

TEST_F(ConverterWithFakeToolsTest, AvifDownscalesIntoAnIntermediateWhenShrunk) {
  writePng(m_in / "small.png", 40, 30);
  convert(m_in / "small.png", OutputFormat::Avif);
  auto args = lastArguments();
  ASSERT_EQ(args.size(), 13u);
  // Nothing of the file but its pixels goes along unless asked.
  EXPECT_EQ(std::vector<std::string>(args.begin(), args.begin() + 12),
            (std::vector<std::string>{"--min", "12", "--max", "12", "--speed", "4", "--jobs", "1",
                                      "--ignore-exif", "--ignore-xmp", "--ignore-icc",
                                      (m_in / "small.png").native()}));

  convert(m_in / "small.png", OutputFormat::Avif, 1000);  // a bound that it fits
  args = lastArguments();
  ASSERT_EQ(args.size(), 13u);
  EXPECT_EQ(args[11], (m_in / "small.png").native());

  convert(m_in / "small.png", OutputFormat::Avif, 20);  // one that shrinks it
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
  // The TGA comes through a pipe: no file is made for it.
  EXPECT_EQ(args,
            (std::vector<std::string>{"-quality", "80", "-optimize", "-progressive", "-targa"}));
  EXPECT_TRUE(filesIn(privateTemporaryFolder()).empty());

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
  EXPECT_THROW(written(m_converter,
                       makeJob(m_in / "a.png", m_out / "new/folder", OutputFormat::Png), m_token),
               CancellationError);
  EXPECT_FALSE(fs::exists(m_out / "new"));
}

TEST_F(ConverterWithFakeToolsTest, CancelDuringAnEncoderOfEveryKind) {
  writePng(m_in / "a.png", 8, 8);
  // HEIC too: its encoder runs as a process of its own, so a cancel reaches it.
  for (const std::string name : {"avifenc", "quorvane-heic", "cjxl"}) {
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
    const OutputFormat format = name == "avifenc" ? OutputFormat::Avif
                                : name == "cjxl"  ? OutputFormat::Jxl
                                                  : OutputFormat::Heic;
    EXPECT_THROW(written(m_converter, makeJob(m_in / "a.png", m_out.path(), format, 80, 4), token),
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

  // Tools that exit 0 after writing part of a file whose header reads, with
  // no receipt to decode it: the file's structure gives it away.
  const fs::path photo = codecData() / "2-exif-orientation-6.jpg";
  tool("cjpeg",
       "head -c " + std::to_string(fs::file_size(photo) - 20) + " '" + photo.native() + "'");
  tool("cwebp", "head -c 40 '" + (m_resources / "made.webp").native() + "' > \"$6\"");
  for (OutputFormat format : {OutputFormat::Jpeg, OutputFormat::Webp}) {
    SCOPED_TRACE(rawValue(format).toStdString());
    ConversionJob job = makeJob(m_in / "a.png", m_out.path(), format);
    job.settings.options.checkQuality = false;
    EXPECT_EQ(describe([&] { written(m_converter, job, m_token); }),
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
      written(m_converter, makeJob(m_in / "a.png", out, OutputFormat::Avif), m_token);
    } catch (const FailedOutcome&) {
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
  const fs::path numbered = written(
      m_converter,
      makeJob(m_in / "a.png", m_out.path(), OutputFormat::Png, 80, {}, {}, m_out / "image-01.png"),
      m_token);
  EXPECT_EQ(numbered, m_out / "image-01-1.png");
  EXPECT_EQ(readLines(m_out / "image-01.png"), std::vector<std::string>{"precious"});

  // Output folder = input folder, same format: the input stays as it was.
  const auto before = fs::file_size(m_in / "a.png");
  const fs::path beside =
      written(m_converter, makeJob(m_in / "a.png", m_in.path(), OutputFormat::Png), m_token);
  EXPECT_EQ(beside, m_in / "a-1.png");
  EXPECT_EQ(fs::file_size(m_in / "a.png"), before);
}

TEST_F(ConverterWithFakeToolsTest, ReservationsKeepConcurrentNamesApart) {
  OutputNameReservations reservations;
  writePng(m_in / "a.png", 8, 8);
  // Both choose before either writes, as two parallel conversions would.
  const fs::path first = reservations.reserveUnique(m_out.path(), "a", "webp");
  const fs::path second =
      written(m_converter, makeJob(m_in / "a.png", m_out.path(), OutputFormat::Webp), m_token,
              &reservations);
  EXPECT_EQ(first, m_out / "a.webp");
  EXPECT_EQ(second, m_out / "a-1.webp");
}

}  // namespace
}  // namespace quorvane::core

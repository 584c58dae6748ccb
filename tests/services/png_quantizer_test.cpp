// The PNG road's palette step with Keep Transparency: what comes out for
// images with and without alpha, read back from the written file.
#include "services/png_quantizer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "codec/image_codec.h"
#include "support/composite_error.h"
#include "support/soft_logo.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

codec::RgbaImage imageOf(const std::vector<std::uint8_t>& rgba, int width, int height) {
  codec::RgbaImage image(width, height);
  std::copy(rgba.begin(), rgba.end(), image.data());
  return image;
}

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The alpha values of a PNG's tRNS chunk (empty without one).
std::string trnsOf(const std::string& png) {
  for (std::size_t at = 8; at + 8 <= png.size();) {
    const auto length = static_cast<std::size_t>(
        static_cast<unsigned char>(png[at]) << 24 | static_cast<unsigned char>(png[at + 1]) << 16 |
        static_cast<unsigned char>(png[at + 2]) << 8 | static_cast<unsigned char>(png[at + 3]));
    if (png.compare(at + 4, 4, "tRNS") == 0) return png.substr(at + 8, length);
    at += 12 + length;
  }
  return {};
}

class PngPaletteTest : public ::testing::Test {
 protected:
  fs::path write(const std::string& name, const codec::RgbaImage& image) {
    const fs::path path = m_dir / name;
    EXPECT_TRUE(codec::writePng(image, path));
    return path;
  }
  fs::path quantize(const fs::path& input, int quality, bool keepAlpha, const std::string& name) {
    const auto header = codec::readHeader(input);
    EXPECT_TRUE(header);
    const fs::path output = m_dir / name;
    PNGQuantizer::quantize(input, output, quality, {header.value().width, header.value().height},
                           m_token, nullptr, keepAlpha);
    return output;
  }

  ScratchDir m_dir;
  CancellationToken m_token;
};

TEST_F(PngPaletteTest, ASoftEdgedLogoComesOutIndexedWithTranslucentEntriesAndLittleError) {
  const auto rgba = test::softLogo(200, 150);
  const fs::path input = write("logo.png", imageOf(rgba, 200, 150));
  // Mean Oklab difference over black and white, at 256 and at 64 colours: the
  // palette reaches 0.0027 and 0.0054 on this logo, alpha cut to 0 or 255
  // would cost 0.0114; the bounds leave a quarter more.
  for (const auto& [quality, bound] : {std::pair{80, 0.0034}, std::pair{40, 0.0068}}) {
    SCOPED_TRACE(::testing::Message() << "quality " << quality);
    const fs::path output = quantize(input, quality, true, "out.png");
    const std::string png = bytesOf(output);
    ASSERT_GT(png.size(), 26u);
    EXPECT_EQ(png[25], 3) << "colour type: indexed";
    const std::string alphas = trnsOf(png);
    ASSERT_FALSE(alphas.empty());
    // Translucent entries first, and many of them: the edge and the shadow.
    std::size_t translucent = 0;
    for (const char a : alphas) translucent += a != 0 && a != '\xff';
    EXPECT_GE(translucent, 8u);
    EXPECT_NE(alphas.back(), '\xff');

    const auto decoded = codec::decode(output);
    ASSERT_TRUE(decoded);
    const std::uint8_t* out = decoded.value().data();
    const double error = test::compositeError(
        rgba.data(), [&](std::size_t i) { return out + i * 4; }, rgba.size() / 4);
    EXPECT_LT(error, bound);
    // Fully transparent pixels stay so, and nothing else becomes so.
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
      if (rgba[i + 3] == 0) {
        ASSERT_EQ(out[i + 3], 0) << "pixel " << i / 4;
      }
      if (rgba[i + 3] == 255) {
        ASSERT_EQ(out[i + 3], 255) << "pixel " << i / 4;
      }
    }
  }
}

TEST_F(PngPaletteTest, AnOpaqueImageTakesTheColourPaletteWhateverKeepTransparencySays) {
  // Many colours, all opaque: quantised, the same bytes with and without.
  auto rgba = test::softLogo(120, 90);
  for (std::size_t i = 0; i < rgba.size(); i += 4) {
    rgba[i] = static_cast<std::uint8_t>(rgba[i] + i / 4 % 7), rgba[i + 3] = 255;
  }
  const fs::path input = write("opaque.png", imageOf(rgba, 120, 90));
  for (int quality : {40, 80}) {
    const std::string kept = bytesOf(quantize(input, quality, true, "kept.png"));
    const std::string plain = bytesOf(quantize(input, quality, false, "plain.png"));
    EXPECT_EQ(kept, plain) << "quality " << quality;
    EXPECT_TRUE(trnsOf(kept).empty());
  }
}

}  // namespace
}  // namespace quorvane::core

// Helpers for codec tests: temporary folders, synthetic images, and saving
// them with libvips in any format so every loader gets exercised.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "codec/image_codec.h"

namespace quorvane::codec::test {

using Pixel = std::array<int, 4>;

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

std::filesystem::path testData(const std::string& name);

RgbaImage makeRgba(int width, int height, const std::function<Pixel(int x, int y)>& colour);
Pixel pixelAt(const RgbaImage& image, int x, int y);
// Each channel within `tolerance`; `where` names the pixel in a failure.
void expectNear(const Pixel& got, const Pixel& want, int tolerance, const std::string& where);

// Four quadrants: red top-left, green top-right, blue bottom-left, white
// bottom-right. Any flip, turn or channel swap shows.
Pixel quadrantColour(int x, int y, int width, int height);
RgbaImage makeQuadrants(int width, int height);

// Raw samples (bands interleaved, rows top-down) saved through libvips.
// The saver follows path's extension; options use libvips' "[...]" syntax,
// e.g. "[bitdepth=16]" (the test controls the name, so this is safe here). interpretation is a
// VipsInterpretation value. An optional ICC profile is embedded.
void saveSamples(const std::filesystem::path& path, const std::string& options, const void* samples,
                 int width, int height, int bands, bool sixteenBit, int interpretation,
                 const std::vector<std::uint8_t>& iccProfile = {}, int pageHeight = 0);
void saveRgba(const RgbaImage& image, const std::filesystem::path& path,
              const std::string& options = "", int keepBands = 4);

std::vector<std::uint8_t> readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A BMP written byte by byte (pixel rows as BGR(A)), so the loader is not
// tested against a file from the same library. infoSize is 12 (OS/2 core),
// 40 (BITMAPINFOHEADER) or 124 (V5; 32-bit with an alpha mask).
std::vector<std::uint8_t> makeBmp(const RgbaImage& image, int infoSize, bool topDown,
                                  int bitsPerPixel);

// A matrix/TRC ICC v2 profile for the given xy primaries and white, with the
// sRGB tone curve (parametric) or a pure gamma.
std::vector<std::uint8_t> makeRgbProfile(const std::array<double, 8>& primariesAndWhiteXy,
                                         double gamma /* <= 0: sRGB curve */);
// A grey (kTRC) ICC v2 profile with a pure gamma curve.
std::vector<std::uint8_t> makeGreyProfile(double gamma);
// CIE xy of red, green, blue and white.
inline constexpr std::array<double, 8> kSrgbPrimaries = {0.64, 0.33, 0.30,   0.60,
                                                         0.15, 0.06, 0.3127, 0.3290};
inline constexpr std::array<double, 8> kDisplayP3Primaries = {0.680, 0.320, 0.265,  0.690,
                                                              0.150, 0.060, 0.3127, 0.3290};

// Open descriptors of this process (entries of /proc/self/fd).
std::vector<std::string> openDescriptors();

}  // namespace quorvane::codec::test

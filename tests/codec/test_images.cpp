#include "test_images.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <vips/vips.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace quorvane::codec::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-codec-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path testData(const std::string& name) {
  return std::filesystem::path(QUORVANE_TEST_DATA_DIR) / name;
}

RgbaImage makeRgba(int width, int height, const std::function<Pixel(int x, int y)>& colour) {
  RgbaImage image(width, height);
  std::uint8_t* p = image.data();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, p += 4) {
      const Pixel c = colour(x, y);
      for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(c[i]);
    }
  }
  return image;
}

Pixel pixelAt(const RgbaImage& image, int x, int y) {
  const std::uint8_t* p = image.data() + (static_cast<std::size_t>(y) * image.width() + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

void expectNear(const Pixel& got, const Pixel& want, int tolerance, const std::string& where) {
  for (int c = 0; c < 4; ++c) {
    EXPECT_NEAR(got[c], want[c], tolerance) << where << " channel " << c;
  }
}

Pixel quadrantColour(int x, int y, int width, int height) {
  const bool right = x >= width / 2;
  const bool bottom = y >= height / 2;
  if (!bottom) return right ? Pixel{0, 255, 0, 255} : Pixel{255, 0, 0, 255};
  return right ? Pixel{255, 255, 255, 255} : Pixel{0, 0, 255, 255};
}

RgbaImage makeQuadrants(int width, int height) {
  return makeRgba(width, height, [&](int x, int y) { return quadrantColour(x, y, width, height); });
}

void saveSamples(const std::filesystem::path& path, const std::string& options, const void* samples,
                 int width, int height, int bands, bool sixteenBit, int interpretation,
                 const std::vector<std::uint8_t>& iccProfile, int pageHeight) {
  const std::size_t size = static_cast<std::size_t>(width) * height * bands * (sixteenBit ? 2 : 1);
  VipsImage* image = vips_image_new_from_memory_copy(
      samples, size, width, height, bands, sixteenBit ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR);
  ASSERT_NE(image, nullptr) << vips_error_buffer();
  image->Type = static_cast<VipsInterpretation>(interpretation);
  if (!iccProfile.empty()) {
    vips_image_set_blob_copy(image, VIPS_META_ICC_NAME, iccProfile.data(), iccProfile.size());
  }
  if (pageHeight > 0) vips_image_set_int(image, VIPS_META_PAGE_HEIGHT, pageHeight);
  const std::string target = path.string() + options;
  const int rc = vips_image_write_to_file(image, target.c_str(), nullptr);
  g_object_unref(image);
  ASSERT_EQ(rc, 0) << "saving " << target << ": " << vips_error_buffer();
}

void saveRgba(const RgbaImage& image, const std::filesystem::path& path, const std::string& options,
              int keepBands) {
  std::vector<std::uint8_t> samples;
  samples.reserve(static_cast<std::size_t>(image.width()) * image.height() * keepBands);
  for (std::size_t i = 0; i < image.byteSize(); i += 4) {
    samples.insert(samples.end(), image.data() + i, image.data() + i + keepBands);
  }
  saveSamples(path, options, samples.data(), image.width(), image.height(), keepBands, false,
              keepBands <= 2 ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB);
}

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

namespace {

void putLe(std::vector<std::uint8_t>& b, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void putBe(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void putTag(std::vector<std::uint8_t>& b, const char* tag) {
  b.insert(b.end(), tag, tag + 4);
}

std::uint32_t s15(double v) {
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(v * 65536.0)));
}

using Mat = std::array<std::array<double, 3>, 3>;

Mat mul(const Mat& a, const Mat& b) {
  Mat r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
  return r;
}

std::array<double, 3> transform(const Mat& m, const std::array<double, 3>& v) {
  return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2],
          m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
          m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

Mat inverse(const Mat& m) {
  Mat r{};  // the transposed cofactors, then over the determinant
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const int a = (j + 1) % 3, b = (j + 2) % 3, c = (i + 1) % 3, d = (i + 2) % 3;
      r[i][j] = m[a][c] * m[b][d] - m[a][d] * m[b][c];
    }
  }
  const double det = m[0][0] * r[0][0] + m[0][1] * r[1][0] + m[0][2] * r[2][0];
  for (auto& row : r)
    for (double& v : row) v /= det;
  return r;
}

}  // namespace

std::vector<std::uint8_t> makeBmp(const RgbaImage& image, int infoSize, bool topDown,
                                  int bitsPerPixel) {
  const int w = image.width();
  const int h = image.height();
  const int bytesPerPixel = bitsPerPixel / 8;
  const int rowSize = (w * bytesPerPixel + 3) / 4 * 4;
  std::vector<std::uint8_t> b;
  b.push_back('B');
  b.push_back('M');
  putLe(b, static_cast<std::uint32_t>(14 + infoSize + rowSize * h), 4);
  putLe(b, 0, 4);
  putLe(b, static_cast<std::uint32_t>(14 + infoSize), 4);
  putLe(b, static_cast<std::uint32_t>(infoSize), 4);
  if (infoSize == 12) {
    putLe(b, static_cast<std::uint32_t>(w), 2);
    putLe(b, static_cast<std::uint32_t>(h), 2);
    putLe(b, 1, 2);
    putLe(b, static_cast<std::uint32_t>(bitsPerPixel), 2);
  } else {
    putLe(b, static_cast<std::uint32_t>(w), 4);
    putLe(b, static_cast<std::uint32_t>(topDown ? -h : h), 4);
    putLe(b, 1, 2);
    putLe(b, static_cast<std::uint32_t>(bitsPerPixel), 2);
    putLe(b, bitsPerPixel == 32 ? 3 : 0, 4);  // BI_BITFIELDS for 32-bit
    putLe(b, static_cast<std::uint32_t>(rowSize * h), 4);
    putLe(b, 2835, 4);
    putLe(b, 2835, 4);
    putLe(b, 0, 4);
    putLe(b, 0, 4);
    if (infoSize == 124) {
      putLe(b, 0x00ff0000, 4);
      putLe(b, 0x0000ff00, 4);
      putLe(b, 0x000000ff, 4);
      putLe(b, 0xff000000, 4);
      putLe(b, 0x73524742, 4);        // 'sRGB'
      b.insert(b.end(), 36 + 12, 0);  // endpoints, gammas
      putLe(b, 4, 4);                 // LCS_GM_IMAGES
      b.insert(b.end(), 12, 0);       // profile data, size, reserved
    }
  }
  for (int row = 0; row < h; ++row) {
    const int y = topDown ? row : h - 1 - row;
    const std::size_t start = b.size();
    for (int x = 0; x < w; ++x) {
      const Pixel p = pixelAt(image, x, y);
      b.push_back(static_cast<std::uint8_t>(p[2]));
      b.push_back(static_cast<std::uint8_t>(p[1]));
      b.push_back(static_cast<std::uint8_t>(p[0]));
      if (bytesPerPixel == 4) b.push_back(static_cast<std::uint8_t>(p[3]));
    }
    b.resize(start + rowSize, 0);
  }
  return b;
}

namespace {

// A profile of the given data colour space around its tags.
std::vector<std::uint8_t> assembleProfile(const char* space, const std::vector<const char*>& names,
                                          const std::vector<std::vector<std::uint8_t>>& bodies) {
  std::vector<std::uint8_t> profile(128, 0);
  putBe(profile, static_cast<std::uint32_t>(bodies.size()));
  std::size_t offset = 128 + 4 + 12 * bodies.size();
  std::vector<std::uint8_t> data;
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    putTag(profile, names[i]);
    putBe(profile, static_cast<std::uint32_t>(offset + data.size()));
    putBe(profile, static_cast<std::uint32_t>(bodies[i].size()));
    data.insert(data.end(), bodies[i].begin(), bodies[i].end());
    while (data.size() % 4) data.push_back(0);
  }
  profile.insert(profile.end(), data.begin(), data.end());
  // Header.
  const auto setBe = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) profile[at + i] = static_cast<std::uint8_t>(v >> (8 * (3 - i)));
  };
  const auto setTag = [&](std::size_t at, const char* t) {
    for (int i = 0; i < 4; ++i) profile[at + i] = static_cast<std::uint8_t>(t[i]);
  };
  setBe(0, static_cast<std::uint32_t>(profile.size()));
  setBe(8, 0x02100000);
  setTag(12, "mntr");
  setTag(16, space);
  setTag(20, "XYZ ");
  setTag(36, "acsp");
  setBe(68, s15(0.9642));
  setBe(72, s15(1.0));
  setBe(76, s15(0.8249));
  return profile;
}

std::vector<std::uint8_t> describedAs(const std::string& text) {
  std::vector<std::uint8_t> d;
  putTag(d, "desc");
  putBe(d, 0);
  putBe(d, static_cast<std::uint32_t>(text.size() + 1));
  d.insert(d.end(), text.begin(), text.end());
  d.push_back(0);
  d.insert(d.end(), 8 + 3 + 67, 0);
  return d;
}

std::vector<std::uint8_t> xyzOf(double x, double y, double z) {
  std::vector<std::uint8_t> d;
  putTag(d, "XYZ ");
  putBe(d, 0);
  putBe(d, s15(x));
  putBe(d, s15(y));
  putBe(d, s15(z));
  return d;
}

std::vector<std::uint8_t> gammaCurve(double gamma) {
  std::vector<std::uint8_t> curve;
  putTag(curve, "curv");
  putBe(curve, 0);
  putBe(curve, 1);
  const auto g = static_cast<std::uint32_t>(std::lround(gamma * 256.0));
  curve.push_back(static_cast<std::uint8_t>(g >> 8));
  curve.push_back(static_cast<std::uint8_t>(g));
  curve.push_back(0);
  curve.push_back(0);
  return curve;
}

}  // namespace

std::vector<std::uint8_t> makeRgbProfile(const std::array<double, 8>& xy, double gamma) {
  // RGB -> XYZ for the given primaries and white, then Bradford-adapted to
  // the D50 connection space as ICC matrix profiles store it.
  const auto toXyz = [](double x, double y) {
    return std::array<double, 3>{x / y, 1.0, (1.0 - x - y) / y};
  };
  Mat p{};
  for (int c = 0; c < 3; ++c) {
    const auto v = toXyz(xy[2 * c], xy[2 * c + 1]);
    for (int r = 0; r < 3; ++r) p[r][c] = v[r];
  }
  const auto white = toXyz(xy[6], xy[7]);
  const auto s = transform(inverse(p), white);
  Mat rgbToXyz{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) rgbToXyz[r][c] = p[r][c] * s[c];
  const Mat bradford = {
      {{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}};
  const std::array<double, 3> d50 = {0.9642, 1.0, 0.8249};
  const auto coneSrc = transform(bradford, white);
  const auto coneDst = transform(bradford, d50);
  Mat scale{};
  for (int i = 0; i < 3; ++i) scale[i][i] = coneDst[i] / coneSrc[i];
  const Mat adapted = mul(mul(mul(inverse(bradford), scale), bradford), rgbToXyz);

  // Tag bodies.
  std::vector<std::vector<std::uint8_t>> bodies;
  std::vector<const char*> names;
  {
    std::vector<std::uint8_t> d;
    const std::string text = "Quorvane test profile";
    putTag(d, "desc");
    putBe(d, 0);
    putBe(d, static_cast<std::uint32_t>(text.size() + 1));
    d.insert(d.end(), text.begin(), text.end());
    d.push_back(0);
    d.insert(d.end(), 8 + 3 + 67, 0);
    bodies.push_back(d);
    names.push_back("desc");
  }
  const auto xyzTag = [&](const char* name, double x, double y, double z) {
    std::vector<std::uint8_t> d;
    putTag(d, "XYZ ");
    putBe(d, 0);
    putBe(d, s15(x));
    putBe(d, s15(y));
    putBe(d, s15(z));
    bodies.push_back(d);
    names.push_back(name);
  };
  xyzTag("wtpt", d50[0], d50[1], d50[2]);
  xyzTag("rXYZ", adapted[0][0], adapted[1][0], adapted[2][0]);
  xyzTag("gXYZ", adapted[0][1], adapted[1][1], adapted[2][1]);
  xyzTag("bXYZ", adapted[0][2], adapted[1][2], adapted[2][2]);
  std::vector<std::uint8_t> curve;
  if (gamma > 0) {
    putTag(curve, "curv");
    putBe(curve, 0);
    putBe(curve, 1);
    const auto g = static_cast<std::uint32_t>(std::lround(gamma * 256.0));
    curve.push_back(static_cast<std::uint8_t>(g >> 8));
    curve.push_back(static_cast<std::uint8_t>(g));
    curve.push_back(0);
    curve.push_back(0);
  } else {
    putTag(curve, "para");
    putBe(curve, 0);
    curve.push_back(0);
    curve.push_back(3);  // function type 3
    curve.push_back(0);
    curve.push_back(0);
    for (double v : {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045}) putBe(curve, s15(v));
  }
  for (const char* name : {"rTRC", "gTRC", "bTRC"}) {
    bodies.push_back(curve);
    names.push_back(name);
  }

  return assembleProfile("RGB ", names, bodies);
}

std::vector<std::uint8_t> makeGreyProfile(double gamma) {
  return assembleProfile(
      "GRAY", {"desc", "wtpt", "kTRC"},
      {describedAs("Quorvane grey test profile"), xyzOf(0.9642, 1.0, 0.8249), gammaCurve(gamma)});
}

std::vector<std::string> openDescriptors() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    const auto target = std::filesystem::read_symlink(entry.path(), ec);
    names.push_back(entry.path().filename().string() + " -> " + target.string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace quorvane::codec::test

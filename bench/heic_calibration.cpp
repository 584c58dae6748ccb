// Calibrates HEIC quality against the JPEG road: for each photo, encodes the
// JPEG road exactly as the converter does (flatten onto white, our TGA,
// `cjpeg -quality q -optimize -progressive -targa`) and HEIC at a sweep of
// libheif Q values with the options writeHeic uses, decodes both with the
// codec layer, and measures luma SSIM against the source pixels. Then, for
// each quality q, finds the Q whose mean SSIM over all photos equals the JPEG
// road's mean SSIM at q, and the size the HEIC file has there.
//
//   heic_calibration [--max-pixels N] photo...
//
// Photos larger than --max-pixels (default 3,000,000) are first downscaled
// with the codec's Lanczos resize, to keep a run to a few minutes; both roads
// then encode the same downscaled pixels.
//
// SSIM: Wang, Bovik, Sheikh, Simoncelli, "Image quality assessment: from
// error visibility to structural similarity", IEEE TIP 13(4), 2004. Computed
// on luma Y = 0.299 R + 0.587 G + 0.114 B (the JPEG YCbCr weights) of 8-bit
// sRGB values, with an 11x11 Gaussian window (sigma 1.5), K1 = 0.01,
// K2 = 0.03, L = 255, averaged over every window that lies wholly inside the
// image.
// libvips first: glib names a field `signals`, which Qt defines as a keyword.
#include <vips/vips.h>
// clang-format off
#include <QCoreApplication>
// clang-format on

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "codec/image_codec.h"
#include "codec/libvips_runtime.h"
#include "services/cancellation_token.h"
#include "services/conversion_errors.h"
#include "services/process_runner.h"
#include "services/temporary_files.h"
#include "services/tool_manager.h"

namespace {

namespace fs = std::filesystem;
using namespace quorvane;

constexpr std::array kJpegQualities = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
// libvips refuses Q 0; the sweep is denser where the JPEG road's range lands.
constexpr std::array kHeifQs = {1,  5,  10, 15, 20, 25, 30, 35, 40, 45, 50,
                                55, 60, 65, 70, 75, 80, 85, 90, 95, 100};

struct Plane {
  int width = 0;
  int height = 0;
  std::vector<float> values;
};

Plane lumaOf(const codec::RgbaImage& image) {
  Plane plane{image.width(), image.height(), {}};
  plane.values.resize(static_cast<std::size_t>(image.width()) * image.height());
  const std::uint8_t* p = image.data();
  for (std::size_t i = 0; i < plane.values.size(); ++i, p += 4) {
    plane.values[i] = 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
  }
  return plane;
}

// Separable Gaussian blur keeping only fully covered ("valid") positions:
// the output is (width - 10) x (height - 10).
constexpr int kRadius = 5;

std::array<float, 2 * kRadius + 1> gaussianWeights() {
  std::array<float, 2 * kRadius + 1> w{};
  double sum = 0;
  for (int i = -kRadius; i <= kRadius; ++i) sum += std::exp(-(i * i) / (2 * 1.5 * 1.5));
  for (int i = -kRadius; i <= kRadius; ++i) {
    w[i + kRadius] = static_cast<float>(std::exp(-(i * i) / (2 * 1.5 * 1.5)) / sum);
  }
  return w;
}

std::vector<float> blurValid(const std::vector<float>& in, int width, int height) {
  static const auto w = gaussianWeights();
  const int ow = width - 2 * kRadius;
  const int oh = height - 2 * kRadius;
  std::vector<float> rows(static_cast<std::size_t>(ow) * height);
  for (int y = 0; y < height; ++y) {
    const float* src = &in[static_cast<std::size_t>(y) * width];
    float* dst = &rows[static_cast<std::size_t>(y) * ow];
    for (int x = 0; x < ow; ++x) {
      float s = 0;
      for (int k = 0; k <= 2 * kRadius; ++k) s += w[k] * src[x + k];
      dst[x] = s;
    }
  }
  std::vector<float> out(static_cast<std::size_t>(ow) * oh, 0.0f);
  for (int y = 0; y < oh; ++y) {
    float* dst = &out[static_cast<std::size_t>(y) * ow];
    for (int k = 0; k <= 2 * kRadius; ++k) {
      const float* src = &rows[static_cast<std::size_t>(y + k) * ow];
      for (int x = 0; x < ow; ++x) dst[x] += w[k] * src[x];
    }
  }
  return out;
}

double ssim(const Plane& a, const Plane& b) {
  if (a.width != b.width || a.height != b.height || a.width <= 2 * kRadius ||
      a.height <= 2 * kRadius) {
    std::fprintf(stderr, "heic_calibration: error: size mismatch\n");
    std::exit(1);
  }
  const std::size_t n = a.values.size();
  std::vector<float> aa(n), bb(n), ab(n);
  for (std::size_t i = 0; i < n; ++i) {
    aa[i] = a.values[i] * a.values[i];
    bb[i] = b.values[i] * b.values[i];
    ab[i] = a.values[i] * b.values[i];
  }
  const auto muA = blurValid(a.values, a.width, a.height);
  const auto muB = blurValid(b.values, a.width, a.height);
  const auto sAA = blurValid(aa, a.width, a.height);
  const auto sBB = blurValid(bb, a.width, a.height);
  const auto sAB = blurValid(ab, a.width, a.height);
  constexpr double kC1 = (0.01 * 255) * (0.01 * 255);
  constexpr double kC2 = (0.03 * 255) * (0.03 * 255);
  double total = 0;
  for (std::size_t i = 0; i < muA.size(); ++i) {
    const double ma = muA[i], mb = muB[i];
    const double va = sAA[i] - ma * ma, vb = sBB[i] - mb * mb, cov = sAB[i] - ma * mb;
    total +=
        ((2 * ma * mb + kC1) * (2 * cov + kC2)) / ((ma * ma + mb * mb + kC1) * (va + vb + kC2));
  }
  return total / static_cast<double>(muA.size());
}

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "heic_calibration: error: %s\n", what.c_str());
  std::exit(1);
}

codec::RgbaImage decodeOrDie(const fs::path& path) {
  auto decoded = codec::decode(path);
  if (!decoded) fail(decoded.error().detail);
  return std::move(decoded).value();
}

void writeBytes(const fs::path& path, const void* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) fail("cannot write " + path.string());
}

struct Measure {
  double ssim = 0;
  std::size_t bytes = 0;
};

// The JPEG road of ImageConverter, on pixels already decoded (and flattened).
Measure jpegRoad(const codec::RgbaImage& image, const Plane& reference, const fs::path& cjpeg,
                 int quality) {
  core::TemporaryFile tga(QStringLiteral("tga"));
  core::TemporaryFile jpg(QStringLiteral("jpg"));
  if (!codec::writeTga(image, tga.path())) fail("write TGA");
  const core::CancellationToken token;
  const std::string jpeg = core::runProcess(cjpeg,
                                            {"-quality", std::to_string(quality), "-optimize",
                                             "-progressive", "-targa", tga.path().native()},
                                            token, {.captureStdout = true});
  writeBytes(jpg.path(), jpeg.data(), jpeg.size());
  return {ssim(reference, lumaOf(decodeOrDie(jpg.path()))), jpeg.size()};
}

// HEIC at libheif Q with the options writeHeic passes (8-bit, HEVC, 4:2:0,
// no metadata), opaque input as three bands.
Measure heicAt(const codec::RgbaImage& image, const Plane& reference, int heifQ) {
  VipsImage* wrapped = vips_image_new_from_memory(image.data(), image.byteSize(), image.width(),
                                                  image.height(), 4, VIPS_FORMAT_UCHAR);
  if (!wrapped) fail("wrap");
  wrapped->Type = VIPS_INTERPRETATION_sRGB;
  VipsImage* rgb = nullptr;
  if (vips_extract_band(wrapped, &rgb, 0, "n", 3, nullptr) != 0) fail("extract");
  g_object_unref(wrapped);
  void* buffer = nullptr;
  std::size_t length = 0;
  if (vips_heifsave_buffer(rgb, &buffer, &length, "Q", heifQ, "bitdepth", 8, "compression",
                           VIPS_FOREIGN_HEIF_COMPRESSION_HEVC, "subsample_mode",
                           VIPS_FOREIGN_SUBSAMPLE_ON, "strip", TRUE, nullptr) != 0) {
    fail(std::string("heifsave: ") + vips_error_buffer());
  }
  g_object_unref(rgb);
  core::TemporaryFile heic(QStringLiteral("heic"));
  writeBytes(heic.path(), buffer, length);
  g_free(buffer);
  return {ssim(reference, lumaOf(decodeOrDie(heic.path()))), length};
}

// Linear interpolation of y(x) at x over increasing xs.
double interpolate(const std::vector<double>& xs, const std::vector<double>& ys, double x) {
  if (x <= xs.front()) return ys.front();
  if (x >= xs.back()) return ys.back();
  const auto it = std::upper_bound(xs.begin(), xs.end(), x);
  const std::size_t i = static_cast<std::size_t>(it - xs.begin());
  const double t = (x - xs[i - 1]) / (xs[i] - xs[i - 1]);
  return ys[i - 1] + t * (ys[i] - ys[i - 1]);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  codec::LibvipsRuntime vips(argv[0]);
  long maxPixels = 3'000'000;
  std::vector<fs::path> photos;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--max-pixels" && i + 1 < argc) {
      maxPixels = std::atol(argv[++i]);
    } else {
      photos.emplace_back(arg);
    }
  }
  if (photos.empty()) {
    std::fprintf(stderr, "usage: heic_calibration [--max-pixels N (3000000)] photo...\n");
    return 2;
  }
  const fs::path cjpeg = core::ToolManager::forApplication().toolPath(QStringLiteral("cjpeg"));

  const std::size_t nj = kJpegQualities.size(), nh = kHeifQs.size();
  std::vector<double> jpegSsim(nj, 0), heifSsim(nh, 0);
  std::vector<double> jpegBytes(nj, 0), heifBytes(nh, 0);
  double pixelsTotal = 0;
  try {
    for (const fs::path& photo : photos) {
      codec::RgbaImage image = decodeOrDie(photo);
      const double pixels = static_cast<double>(image.width()) * image.height();
      if (pixels > static_cast<double>(maxPixels)) {
        const double scale = std::sqrt(static_cast<double>(maxPixels) / pixels);
        auto smaller = codec::resize(image, std::max(1, int(image.width() * scale)),
                                     std::max(1, int(image.height() * scale)));
        if (!smaller) fail(smaller.error().detail);
        image = std::move(smaller).value();
      }
      codec::flattenOnto(image, 255, 255, 255);
      pixelsTotal += static_cast<double>(image.width()) * image.height();
      const Plane reference = lumaOf(image);
      std::printf("%s (%dx%d)\n", photo.filename().c_str(), image.width(), image.height());
      std::printf("  JPEG q :");
      for (std::size_t i = 0; i < nj; ++i) {
        const Measure m = jpegRoad(image, reference, cjpeg, kJpegQualities[i]);
        jpegSsim[i] += m.ssim;
        jpegBytes[i] += static_cast<double>(m.bytes);
        std::printf(" %d:%.4f/%zuk", kJpegQualities[i], m.ssim, m.bytes / 1024);
      }
      std::printf("\n  HEIC Q :");
      for (std::size_t i = 0; i < nh; ++i) {
        const Measure m = heicAt(image, reference, kHeifQs[i]);
        heifSsim[i] += m.ssim;
        heifBytes[i] += static_cast<double>(m.bytes);
        std::printf(" %d:%.4f/%zuk", kHeifQs[i], m.ssim, m.bytes / 1024);
      }
      std::printf("\n");
      std::fflush(stdout);
    }
  } catch (const core::ConversionFailure& failure) {
    fail(failure.description().toStdString());
  }
  const double count = static_cast<double>(photos.size());
  std::printf("\n%zu photos, %.1f MP in all\n", photos.size(), pixelsTotal / 1e6);
  std::printf("\nHEIC sweep: Q, mean SSIM, bits per pixel\n");
  std::vector<double> qs, meanHeif, logHeifBytes;
  for (std::size_t i = 0; i < nh; ++i) {
    qs.push_back(kHeifQs[i]);
    meanHeif.push_back(heifSsim[i] / count);
    logHeifBytes.push_back(std::log(heifBytes[i]));
    std::printf("  %3d  %.4f  %.3f\n", kHeifQs[i], meanHeif.back(), heifBytes[i] * 8 / pixelsTotal);
  }
  // The match inverts mean SSIM(Q), which must rise with Q for that to mean
  // anything; say so if the measurements disagree.
  for (std::size_t i = 1; i < nh; ++i) {
    if (meanHeif[i] < meanHeif[i - 1]) {
      std::printf("  warning: mean SSIM falls between Q %d and %d\n", kHeifQs[i - 1], kHeifQs[i]);
    }
  }
  std::printf(
      "\nquality  JPEG SSIM  JPEG bpp  matching Q  HEIC bpp (interpolated)  HEIC/JPEG size\n");
  for (std::size_t i = 0; i < nj; ++i) {
    const double target = jpegSsim[i] / count;
    double q;
    if (target <= meanHeif.front()) {
      q = qs.front();
    } else if (target >= meanHeif.back()) {
      q = qs.back();
    } else {
      q = interpolate(meanHeif, qs, target);
    }
    // Sizes grow about exponentially with Q, so interpolate their logarithm.
    const double heicBytes = std::exp(interpolate(qs, logHeifBytes, q));
    std::printf("  %3d    %.4f     %.3f     %5.1f       %.3f                  %.2f\n",
                kJpegQualities[i], target, jpegBytes[i] * 8 / pixelsTotal, q,
                heicBytes * 8 / pixelsTotal, heicBytes / jpegBytes[i]);
  }
  return 0;
}

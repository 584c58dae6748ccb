// The image codec layer: the only code that talks to libvips. Everything else
// sees plain values (sizes, RGBA buffers) and file paths as bytes.
//
// Thread-safety: every function may be called from several threads at once on
// different files, once a LibvipsRuntime exists (see libvips_runtime.h).
// Paths are used byte for byte: names that are not UTF-8, or hold spaces,
// brackets, quotes or a leading dash, are opened like any other.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "codec/codec_result.h"
#include "codec/hdr_signal.h"
#include "codec/metadata.h"
#include "codec/stop_requested.h"

namespace quorvane::codec {

// Largest pixel count any decode accepts: 2^28 pixels (16384 x 16384, a 1 GiB
// RGBA buffer). Headers claiming more are refused before pixels are touched,
// so a hostile file cannot make us allocate tens of gigabytes.
inline constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

enum class ColourModel { Srgb, Grey, Cmyk, Other };

// What a header says, without decoding pixels. Width and height are the size
// as displayed: EXIF orientations 5..8 swap the stored sides.
struct ImageHeader {
  int width = 0;
  int height = 0;
  int orientation = 1;    // EXIF 1..8; 1 when absent or out of range
  int bands = 0;          // stored channels, alpha included
  int bitsPerSample = 8;  // 8, 16, 32 or 64
  bool hasAlpha = false;
  bool hasIccProfile = false;
  bool iccProfileIsSrgb = false;  // meaningful only with hasIccProfile
  // False when the profile is for another colour space than the pixels (a
  // grey profile on RGB data): decoding ignores it.
  bool iccProfileFits = true;
  ColourModel colourModel = ColourModel::Other;
  int frameCount = 1;  // pages or animation frames
  std::string loader;  // e.g. "jpegload", "pngload", "heifload", "bmp"
  // HEIF and AVIF without a profile: the code points, when they say HDR
  // (decode() then renders it for SDR).
  HdrSignal hdr{};
};

// 8-bit sRGB pixels, 4 bytes per pixel (R, G, B, A), straight (not
// premultiplied) alpha, rows top to bottom with no padding. Move-only: copying
// a photo by accident costs tens of megabytes.
class RgbaImage {
 public:
  RgbaImage() = default;
  RgbaImage(int width, int height);  // zero-filled; throws std::bad_alloc
  RgbaImage(RgbaImage&&) noexcept = default;
  RgbaImage& operator=(RgbaImage&&) noexcept = default;
  RgbaImage(const RgbaImage&) = delete;
  RgbaImage& operator=(const RgbaImage&) = delete;

  // Pixels left as the allocator gives them: memory is only touched (and
  // only counts) as rows are written. Throws std::bad_alloc.
  static RgbaImage uninitialized(int width, int height);
  RgbaImage clone() const;

  int width() const { return m_width; }
  int height() const { return m_height; }
  bool empty() const { return m_size == 0; }
  std::uint8_t* data() { return m_pixels.get(); }
  const std::uint8_t* data() const { return m_pixels.get(); }
  std::size_t byteSize() const { return m_size; }

 private:
  int m_width = 0;
  int m_height = 0;
  std::size_t m_size = 0;
  std::unique_ptr<std::uint8_t[]> m_pixels;
};

struct DecodeOptions {
  StopRequested stopRequested;
  // The caller will shrink the image to fit this size (0: no bound). JPEG and
  // WebP can then decode at a reduced scale that still leaves at least twice
  // the fitted size, which saves most of the time and memory of large photos.
  int fitWidth = 0;
  int fitHeight = 0;
  // An embedded RGB profile is kept: the pixels stay in its colour space
  // (the caller embeds it in the output). CMYK, grey and unusable profiles
  // are converted to sRGB all the same.
  bool keepRgbProfile = false;
};

struct ImageSize {
  int width = 0;
  int height = 0;
};

// The size as displayed, as cheaply as the format allows: a PNG's is read
// from its first chunks (tens of times faster than a full header read, which
// matters when a drop lists 100,000 screenshots); everything else goes
// through readHeader.
Result<ImageSize> readImageSize(const std::filesystem::path& path);

// Reads the header of frame 0 only. Fails (see CodecError::Kind) for files
// that are missing, empty, not images or whose header is damaged.
Result<ImageHeader> readHeader(const std::filesystem::path& path);

// Decodes frame 0 into upright 8-bit sRGB RGBA: EXIF orientation applied, an
// embedded ICC profile (or CMYK) converted to sRGB, 16-bit reduced, grey and
// palette expanded, opaque alpha added when missing. Truncated or damaged
// files fail instead of decoding to grey; images over kMaxPixels fail with
// CodecError::TooLarge before any pixel buffer is allocated, and the buffer
// is allocated only once the first rows have decoded.
Result<RgbaImage> decode(const std::filesystem::path& path, const DecodeOptions& options = {});

// EXIF, XMP and the ICC profile of frame 0, as stored (EXIF without its
// "Exif" prefix). Empty blocks when absent.
Result<Metadata> readMetadata(const std::filesystem::path& path);

// Whether a header's pixel count is over kMaxPixels.
bool exceedsPixelLimit(std::int64_t width, std::int64_t height);

// Whether the file's compressed data is all there, for a file about to be
// handed to an encoder tool as it is (tools may turn a truncated JPEG into a
// grey-bottomed image and report success). Reads the whole JPEG scan at an
// eighth of its size, so it costs a fraction of a decode; other formats are
// reported complete (their tools fail on damage themselves).
bool verifyComplete(const std::filesystem::path& path);

// Whether every pixel of frame 0 decodes, without keeping them: for checking
// a freshly written output whose encoder is known to write, now and then, a
// file whose header reads but whose pixels do not.
bool decodesCompletely(const std::filesystem::path& path);

// Resamples to exactly width x height (both >= 1) with a Lanczos filter,
// in premultiplied alpha so transparent edges do not darken.
Result<RgbaImage> resize(const RgbaImage& image, int width, int height,
                         const StopRequested& stopRequested = {});

// Composites onto an opaque colour in place; alpha becomes 255.
void flattenOnto(RgbaImage& image, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Writers. Each creates or truncates the file at path and fails with
// CodecError::WriteFailed when the file could not be completely written; a
// failed write removes what it created.
// `metadata`, when given, is embedded; otherwise the file carries none.
Result<void> writePng(const RgbaImage& image, const std::filesystem::path& path,
                      const Metadata* metadata = nullptr);
// The same pixels as writePng for a tool to read next: written about ten
// times faster (not deflated up to 64 MP), the file larger.
Result<void> writeScratchPng(const RgbaImage& image, const std::filesystem::path& path,
                             const Metadata* metadata = nullptr);
// quality is 0..1 (clamped); 0 still writes a (very small) file.
Result<void> writeHeic(const RgbaImage& image, const std::filesystem::path& path, double quality,
                       const Metadata* metadata = nullptr);
// An HDR signal, a 16-bit RGB(A) PNG as OpenedImage::writeHdrPng writes
// it, as a 10-bit HEIC with `signal`'s code points in its nclx box.
Result<void> writeHdrHeic(const std::filesystem::path& png, const std::filesystem::path& path,
                          double quality, const HdrSignal& signal,
                          const Metadata* metadata = nullptr);
// Uncompressed 24-bit true-colour TGA, rows stored bottom-up as the header
// says; alpha is dropped (flatten first when it matters).
Result<void> writeTga(const RgbaImage& image, const std::filesystem::path& path);

// The TGA file writeTga writes, as bytes (for a tool that reads it from a
// pipe); empty for sides over 65535.
std::string tgaBytes(const RgbaImage& image);

// Writes `bytes` as the whole file at path (created or truncated); a failed
// write removes what it created.
Result<void> writeBytes(const std::filesystem::path& path, std::string_view bytes);

// The header of a PAM file (Netpbm's portable arbitrary map) holding the
// image's RGBA bytes as they are: header + data() is the whole file, which
// encoders read from a pipe without anything to compress or parse.
std::string pamHeader(const RgbaImage& image);

// The pixels as they are, behind a 16-byte header, for handing an image to a
// helper process of ours: nothing to compress, nothing to lose.
Result<void> writeRawRgba(const RgbaImage& image, const std::filesystem::path& path);
Result<RgbaImage> readRawRgba(const std::filesystem::path& path);
// The same through a pipe: the 16-byte header to send before data(), and
// the reading end.
std::string rawRgbaHeader(const RgbaImage& image);
Result<RgbaImage> readRawRgbaStream(int fd);

// Calls `observer` with the path of every file the codec opens for reading,
// on the thread that opens it (nullptr: none): a seam for tests that count
// how often a conversion opens its input.
void observeInputOpens(void (*observer)(const std::filesystem::path&));

// Frees libvips' per-thread state; call at the end of each job on a thread
// libvips did not create (worker pools), or memory builds up.
void releaseThreadResources();

}  // namespace quorvane::codec

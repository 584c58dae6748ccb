#include "codec/opened_image.h"

#include "codec/hdr_decode.h"
#include "codec/jxl_container.h"
#include "codec/vips_open.h"

namespace quorvane::codec {

struct OpenedImage::State {
  std::filesystem::path path;
  detail::Probe input;
  ImageHeader header;
  Metadata metadata;
};

OpenedImage::OpenedImage(std::unique_ptr<State> state) : m_state(std::move(state)) {}
OpenedImage::OpenedImage(OpenedImage&&) noexcept = default;
OpenedImage& OpenedImage::operator=(OpenedImage&&) noexcept = default;
OpenedImage::~OpenedImage() = default;

Result<OpenedImage> OpenedImage::open(const std::filesystem::path& path) {
  constexpr const char* kAction = "read header of";
  auto probed = detail::probe(path, kAction);
  if (!probed) return probed.error();
  auto state = std::make_unique<State>();
  state->path = path;
  state->input = std::move(probed).value();
  if (state->input.bmp) {
    state->header = detail::headerOf(*state->input.bmp);
  } else {
    auto image = detail::openWithVips(state->input.file.fd.get(), true, path, kAction);
    if (!image) return image.error();
    state->header = detail::headerOf(image.value().get());
    state->metadata = detail::metadataOf(image.value().get());
    if (state->header.loader == "jxlload" && state->metadata.exif.empty() &&
        state->metadata.xmp.empty()) {
      // libvips 8.14 reads no EXIF or XMP box of a JPEG XL file.
      const auto read = detail::readAll(state->input.file.fd.get(), state->input.file.size);
      const Metadata boxed =
          jxlMetadata(std::string_view(reinterpret_cast<const char*>(read.data()), read.size()));
      state->metadata.exif = boxed.exif;
      state->metadata.xmp = boxed.xmp;
    }
    if (state->header.loader == "heifload" && !state->header.hasIccProfile) {
      if (const auto signal = detail::readHdrSignal(state->input.file)) state->header.hdr = *signal;
    }
  }
  return OpenedImage(std::move(state));
}

const std::filesystem::path& OpenedImage::path() const {
  return m_state->path;
}
const ImageHeader& OpenedImage::header() const {
  return m_state->header;
}
const Metadata& OpenedImage::metadata() const {
  return m_state->metadata;
}
std::int64_t OpenedImage::fileSize() const {
  return m_state->input.file.size;
}

Result<RgbaImage> OpenedImage::decode(const DecodeOptions& options) const {
  return detail::decodeProbed(m_state->input, m_state->header, m_state->path, options);
}

Result<void> OpenedImage::writeHdrPng(int width, int height, const std::filesystem::path& png,
                                      const StopRequested& stopRequested) const {
  if (!m_state->header.hdr.isHdr()) {
    return detail::makeError(CodecError::Kind::Unsupported, "write the HDR pixels of",
                             m_state->path, "not an HDR image");
  }
  return detail::writeHdrPng(m_state->input, m_state->header, m_state->path, width, height, png,
                             stopRequested);
}

Result<std::string> OpenedImage::bytes() const {
  const auto read = detail::readAll(m_state->input.file.fd.get(), m_state->input.file.size);
  if (read.empty()) {
    return detail::makeError(CodecError::Kind::FileSystem, "read", m_state->path, "read failed");
  }
  return std::string(read.begin(), read.end());
}

void observeInputOpens(void (*observer)(const std::filesystem::path&)) {
  detail::setOpenObserver(observer);
}

bool OpenedImage::isComplete() const {
  return detail::completeProbed(m_state->input);
}

}  // namespace quorvane::codec

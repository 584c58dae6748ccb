#include "services/roads/tool_inputs.h"

#include <QCoreApplication>

#include "codec/indexed_png.h"
#include "services/conversion_errors.h"

namespace quorvane::core {

ToolInputs::ToolInputs(const codec::OpenedImage& source, PixelSize size, bool keepProfile,
                       const CancellationToken& token)
    : m_source(source), m_size(size), m_keepProfile(keepProfile), m_token(token) {}

const codec::RgbaImage& ToolInputs::decodedLocked() {
  if (m_pixels) return *m_pixels;
  if (m_failure) std::rethrow_exception(m_failure);
  try {
    m_pixels.emplace(decodeFitted(m_source, m_size, m_token, m_keepProfile));
  } catch (const CancellationError&) {
    throw;  // not remembered: nothing asks again once cancelled
  } catch (...) {
    m_failure = std::current_exception();
    throw;
  }
  return *m_pixels;
}

const codec::RgbaImage& ToolInputs::onWhiteLocked() {
  const codec::RgbaImage& pixels = decodedLocked();
  if (!m_transparent) m_transparent = codec::hasTransparency(pixels);
  if (!*m_transparent) return pixels;
  if (!m_onWhite) {
    m_onWhite.emplace(pixels.clone());
    codec::flattenOnto(*m_onWhite, 255, 255, 255);
  }
  return *m_onWhite;
}

const codec::RgbaImage& ToolInputs::pixels() {
  const std::lock_guard lock(m_mutex);
  return decodedLocked();
}

const codec::RgbaImage& ToolInputs::pixelsOnWhite() {
  const std::lock_guard lock(m_mutex);
  return onWhiteLocked();
}

const codec::RgbaImage& ToolInputs::pixelsInSrgb() {
  const std::lock_guard lock(m_mutex);
  if (!m_keepProfile) return decodedLocked();
  if (!m_srgb) m_srgb.emplace(decodeFitted(m_source, m_size, m_token, false));
  return *m_srgb;
}

bool ToolInputs::hasTransparency() {
  const std::lock_guard lock(m_mutex);
  if (!m_transparent) m_transparent = codec::hasTransparency(decodedLocked());
  return *m_transparent;
}

bool ToolInputs::isDecoded() const {
  const std::lock_guard lock(m_mutex);
  return m_pixels.has_value();
}

const std::filesystem::path& ToolInputs::png() {
  const std::lock_guard lock(m_mutex);
  if (!m_png) {
    const codec::RgbaImage& pixels = decodedLocked();
    TemporaryFile file(QStringLiteral("png"));
    if (auto written = codec::writeScratchPng(pixels, file.path()); !written) {
      throwCodecFailure(written.error(), QCoreApplication::translate(
                                             "ConversionError", "Cannot write a temporary file"));
    }
    m_png.emplace(std::move(file));
  }
  return m_png->path();
}

const std::filesystem::path& ToolInputs::hdrPng() {
  const std::lock_guard lock(m_mutex);
  if (!m_hdrPng) {
    TemporaryFile file(QStringLiteral("png"));
    if (auto written = m_source.writeHdrPng(m_size.width, m_size.height, file.path(),
                                            stopRequestedBy(m_token));
        !written) {
      m_token.throwIfCancelled();
      throwCodecFailure(written.error());
    }
    m_hdrPng.emplace(std::move(file));
  }
  return m_hdrPng->path();
}

const std::string& ToolInputs::tgaOnWhite() {
  const std::lock_guard lock(m_mutex);
  if (!m_tga) {
    std::string bytes = codec::tgaBytes(onWhiteLocked());
    if (bytes.empty()) throw ConversionError::fromKind(ConversionError::Kind::BmpExportFailed);
    m_tga = std::move(bytes);
  }
  return *m_tga;
}

}  // namespace quorvane::core

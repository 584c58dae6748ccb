#include <vips/vips.h>

#include <algorithm>
#include <cstring>

#include "codec/image_codec.h"

namespace quorvane::codec {

RgbaImage::RgbaImage(int width, int height) : RgbaImage(uninitialized(width, height)) {
  std::fill_n(m_pixels.get(), m_size, std::uint8_t{0});
}

RgbaImage RgbaImage::uninitialized(int width, int height) {
  RgbaImage image;
  image.m_width = width;
  image.m_height = height;
  image.m_size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  // new[] without a value-initialiser leaves the bytes untouched.
  if (image.m_size > 0) image.m_pixels.reset(new std::uint8_t[image.m_size]);
  return image;
}

RgbaImage RgbaImage::clone() const {
  RgbaImage copy = uninitialized(m_width, m_height);
  if (m_size > 0) std::memcpy(copy.m_pixels.get(), m_pixels.get(), m_size);
  return copy;
}

void releaseThreadResources() {
  vips_thread_shutdown();
}

}  // namespace quorvane::codec

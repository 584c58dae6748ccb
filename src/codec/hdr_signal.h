// How an image's numbers turn into light when it has no ICC profile but a
// coding-independent code point (CICP, an "nclx" colour box in HEIF and
// AVIF): the primaries, the transfer function, the YCbCr matrix and the
// range, as ITU-T H.273 numbers them. Only what tells a high dynamic range
// (HDR) image from an SDR one is interpreted here.
#pragma once

#include <cstdint>

namespace quorvane::codec {

enum class HdrTransfer {
  None,  // an SDR transfer (or none given)
  Pq,    // SMPTE ST 2084 / BT.2100 perceptual quantiser, absolute light
  Hlg,   // ARIB STD-B67 / BT.2100 hybrid log-gamma, relative light
};

struct HdrSignal {
  // H.273 code points; 2 is "unspecified".
  int primaries = 2;
  int transfer = 2;
  int matrix = 2;
  bool fullRange = true;

  static constexpr int kPrimariesBt709 = 1;
  static constexpr int kPrimariesBt2020 = 9;
  static constexpr int kPrimariesP3D65 = 12;
  static constexpr int kTransferPq = 16;
  static constexpr int kTransferHlg = 18;

  HdrTransfer kind() const {
    if (transfer == kTransferPq) return HdrTransfer::Pq;
    if (transfer == kTransferHlg) return HdrTransfer::Hlg;
    return HdrTransfer::None;
  }
  bool isHdr() const { return kind() != HdrTransfer::None; }
  bool operator==(const HdrSignal&) const = default;
};

// What an HDR file says about its light, in cd/m² (0: not said): the
// content light level box (clli) and the mastering display's peak (mdcv).
struct HdrLightLevels {
  double maxContentLight = 0;
  double masteringPeak = 0;
};

}  // namespace quorvane::codec

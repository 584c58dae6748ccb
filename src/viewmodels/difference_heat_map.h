// The metric's difference map as a picture to lay over the output: clear
// where the two look alike, from yellow through orange to red where the
// difference grows.
#pragma once

#include <vector>

#include "codec/image_codec.h"

namespace quorvane::core {

// `map` holds width x height values, rows packed, as perceptualScore gives
// them. Values at or under kUnseenDifference stay clear; from
// kPlainDifference up the colour is full red. Throws std::bad_alloc.
//
// Read off a 12 MP photo against JPEG encodes of it: at quality 95 (score
// 94) 99 % of the values lie under 0.07; at 80 (84.5, very close) 90 %
// under 0.075; at 40 (54, visible) half are over 0.15 and a tenth over
// 0.47; at 10 a tenth over 1.46.
codec::RgbaImage differenceHeatMap(const std::vector<float>& map, int width, int height);

inline constexpr float kUnseenDifference = 0.1f;
inline constexpr float kPlainDifference = 1.0f;

}  // namespace quorvane::core

// The picture aspect ratio a renderer shows: the stored size stretched by the
// sample (pixel) aspect ratio, as a reduced fraction.
#pragma once

#include "codecs/common/TimeBase.h"

namespace orves::codecs {

// 720 x 576 with SAR 64:45 -> 16:9; an unknown or invalid SAR counts as
// square pixels. {0, 1} for an empty picture.
Rational PictureAspect(int width, int height, Rational sampleAspect);

}  // namespace orves::codecs

// Limits for the picture fuzz targets: the same checks as the defaults, at sizes that keep
// each input fast.
#pragma once

#include "picture/Picture.h"

inline orvo::DecodeLimits FuzzLimits() {
    orvo::DecodeLimits limits;
    limits.maxSide = 4096;
    limits.maxPixels = 1 << 22;
    limits.maxTotalPixels = 1 << 24;
    limits.maxFrames = 1000;
    limits.maxJpegScans = 100;
    return limits;
}

// The colours of the pictures, shared by every painter (the desktop's and the
// web page's): 0xRRGGBB.
#pragma once

#include <cstdint>

#include "graph/dayGraph.h"

namespace graph {

constexpr uint32_t sunRgb = 0xe67800, moonRgb = 0x5a46aa, nowRgb = 0xd21e1e;

uint32_t skyRgb(SkyLevel level);

}  // namespace graph

#include "graph/palette.h"

namespace graph {

uint32_t skyRgb(SkyLevel level)
{
    switch (level) {
    case SkyLevel::day: return 0xc4e2fa;
    case SkyLevel::civil: return 0x8cb4de;
    case SkyLevel::nautical: return 0x5c80b4;
    case SkyLevel::astronomical: return 0x375080;
    case SkyLevel::night: return 0x1c2642;
    }
    return 0;
}

}  // namespace graph

// Twips to pixels, rounded half away from zero.
#include "settings/Twips.h"

#include <cmath>

namespace kradon {

int TwipsToPixels(double twips, double dpi) {
    return static_cast<int>(std::lround(twips / TwipsPerPixel(dpi)));
}

} // namespace kradon

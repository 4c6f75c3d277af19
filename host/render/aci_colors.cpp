// The table follows the colour-index scheme: 1 to 9 are named colours and greys; 10 to 249 run
// through 24 hues in 15 degree steps, ten entries each: five shades (100, 65, 50, 30 and 15
// per cent brightness), each in full saturation and then half saturation; 250 to 255 are a
// grey ramp from 20 per cent to white. Components are truncated to integers.
#include "aci_colors.h"

#include <array>
#include <cstdlib>

namespace gantrel::render {

namespace {

struct Rgb8 {
    int r = 0, g = 0, b = 0;
};

Rgb8 hueShade(int index) {
    constexpr std::array<double, 5> shades{1.0, 0.65, 0.5, 0.3, 0.15};
    const int hue = (index - 10) / 10;
    const int entry = (index - 10) % 10;
    const double high = 255.0 * shades[entry / 2];
    const double low = entry % 2 ? high / 2.0 : 0.0;
    // Within each 60 degree sector one component rises or falls in quarters.
    const double f = (hue % 4) / 4.0;
    const double rising = low + (high - low) * f;
    const double falling = low + (high - low) * (1.0 - f);
    double r = 0.0, g = 0.0, b = 0.0;
    switch (hue / 4) {
    case 0:
        r = high, g = rising, b = low;
        break;
    case 1:
        r = falling, g = high, b = low;
        break;
    case 2:
        r = low, g = high, b = rising;
        break;
    case 3:
        r = low, g = falling, b = high;
        break;
    case 4:
        r = rising, g = low, b = high;
        break;
    default:
        r = high, g = low, b = falling;
        break;
    }
    return {static_cast<int>(r), static_cast<int>(g), static_cast<int>(b)};
}

Rgb8 tableEntry(int index) {
    static constexpr std::array<Rgb8, 10> named{{{0, 0, 0},
                                                 {255, 0, 0},
                                                 {255, 255, 0},
                                                 {0, 255, 0},
                                                 {0, 255, 255},
                                                 {0, 0, 255},
                                                 {255, 0, 255},
                                                 {255, 255, 255},
                                                 {128, 128, 128},
                                                 {192, 192, 192}}};
    if (index < 10)
        return named[index];
    if (index < 250)
        return hueShade(index);
    const int grey = static_cast<int>(51.0 + (index - 250) * (255.0 - 51.0) / 5.0);
    return {grey, grey, grey};
}

std::array<Rgb, 256> buildTable() {
    std::array<Rgb, 256> table{};
    for (int i = 0; i < 256; ++i) {
        const Rgb8 c = tableEntry(i);
        table[i] = {c.r / 255.0, c.g / 255.0, c.b / 255.0};
    }
    return table;
}

} // namespace

Rgb aciToRgb(int index) {
    static const std::array<Rgb, 256> table = buildTable();
    index = std::abs(index);
    if (index < 1 || index > 255)
        return table[7];
    return table[index];
}

Rgb aciOnWhite(int index) {
    index = std::abs(index);
    if (index < 1 || index > 255 || index == 7)
        return {0.0, 0.0, 0.0};
    return aciToRgb(index);
}

} // namespace gantrel::render

// Degrees from radians, exact where the radians came from degrees.
#include "angles.h"

#include <charconv>
#include <cmath>
#include <initializer_list>

namespace gantrel::dxf {

namespace {

std::size_t shortestLength(double v) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return static_cast<std::size_t>(end - buf);
}

} // namespace

double radiansToDegrees(double radians) {
    const double base = radians / kRadiansPerDegree;
    if (!std::isfinite(base))
        return base;
    double best = base;
    bool found = degreesToRadians(base) == radians;
    std::size_t bestLength = found ? shortestLength(base) : 0;
    double up = base, down = base;
    for (int k = 0; k < 3; ++k) {
        up = std::nextafter(up, INFINITY);
        down = std::nextafter(down, -INFINITY);
        for (double candidate : {up, down}) {
            if (degreesToRadians(candidate) != radians)
                continue;
            const std::size_t length = shortestLength(candidate);
            if (!found || length < bestLength) {
                best = candidate;
                bestLength = length;
                found = true;
            }
        }
    }
    return best;
}

} // namespace gantrel::dxf

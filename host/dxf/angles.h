// Angles in files are degrees, in the database radians. Converting back picks, among the
// doubles next to the quotient, the shortest one that reads back to the same radians, so that
// an angle read and written again keeps its text ("15.0" stays "15.0").
#pragma once

namespace gantrel::dxf {

inline constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

inline double degreesToRadians(double degrees) {
    return degrees * kRadiansPerDegree;
}
double radiansToDegrees(double radians);

} // namespace gantrel::dxf

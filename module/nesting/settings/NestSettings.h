// Every parameter of the nesting module, in one record that is copied into each run.
#pragma once

#include <cstdint>

namespace gantrel {

struct NestSettings {
    // Gap between parts and between parts and the sheet edge, in drawing units.
    double spacing = 1.0;
    // Number of rotations a part may take, spread evenly over 360 degrees.
    std::int32_t rotationCount = 0;
    // Kept for the record's layout; nothing reads it.
    std::int32_t reservedInteger = 2;
    // Arrangements in the population of the genetic search.
    std::int32_t population = 10;
    // Division count used when curves are turned into points.
    double arcPrecision = 20.0;
    // Factor between drawing units and the integer units of the polygon arithmetic.
    std::int32_t integerScale = 100000000;
    // Arc tolerance of outline offsetting, in drawing units.
    double arcTolerance = 0.3;
    // Compute no-fit polygons by orbiting instead of by Minkowski difference.
    bool orbiting = false;
    // Consider holes of a part as places for other parts.
    bool holes = true;
    // Percentage used by the mutation of the genetic search.
    std::int32_t mutationRate = 50;
    // Maximum calculation time, carried with the settings.
    std::int32_t maxCalculationTime = 3;
    // When false every part keeps rotation 0.
    bool rotationAllowed = false;
    // Largest part count for which the first generation enumerates every order.
    std::int32_t exhaustiveOrderLimit = 8;
    // Area threshold of the point reduction applied to parts and sheet.
    double reductionThreshold = 2.0;
    // Number of generations the genetic search breeds in one run.
    std::int32_t generations = 1;
    // After the generations, keep improving the best layout until the maximum calculation time,
    // a stop request, or a layout that cannot be bettered.
    bool improve = false;
};

// The module's own record: holds the defaults from the moment the module is loaded, is replaced
// by the settings dialog and copied by every nesting command. Main thread only.
NestSettings& ModuleNestSettings();

} // namespace gantrel

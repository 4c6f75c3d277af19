// An optional double: the module's way of saying "a value, or none".
#pragma once

namespace gantrel {

struct Dbl {
    bool present = false;
    double value = 0.0;

    Dbl() = default;
    Dbl(double v) : present(true), value(v) {} // NOLINT: a value converts to a present Dbl
};

} // namespace gantrel

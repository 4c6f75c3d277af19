// Rotation angles a part may take.
#pragma once

#include "common/Arr.h"

namespace gantrel {

class Angles : public Arr<double> {
public:
    Angles() = default;
    // Holds exactly the angles of Generate(count).
    explicit Angles(int count) { Generate(count); }

    // Appends 360 / count * i for i = 0 ... max(count, 1) - 1. A count below 1 stands for one
    // rotation and yields the single angle 0.
    virtual void Generate(int count);
};

// The angles of Generate(count), shuffled three times with the runtime generator.
class ShuffledAngles : public Angles {
public:
    explicit ShuffledAngles(int count);
};

} // namespace gantrel

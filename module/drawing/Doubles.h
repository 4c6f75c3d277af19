// A list of optional doubles with its minimum, for choosing the smallest of several distances.
#pragma once

#include "common/Arr.h"
#include "common/Dbl.h"

namespace gantrel {

class Doubles : public Arr<Dbl> {
public:
    using Arr<Dbl>::Arr;
    // The smallest present value, flagged present; an absent Dbl when no value is present.
    Dbl Min() const {
        Dbl result;
        for (const Dbl& d : *this) {
            if (d.present && (!result.present || d.value < result.value)) {
                result = d;
            }
        }
        return result;
    }
};

} // namespace gantrel

// A contact between the stationary polygon A and the orbiting polygon B.
#pragma once

#include "common/Arr.h"

#include <cstdint>

namespace gantrel {

struct Touch {
    enum Kind : std::int32_t {
        VertexOnVertex = 0,     // A[indexA] on B[indexB]
        VertexOfBOnEdgeOfA = 1, // B[indexB] inside the edge of A starting at indexA
        VertexOfAOnEdgeOfB = 2, // A[indexA] inside the edge of B starting at indexB
    };
    std::int32_t indexA = 0;
    std::int32_t indexB = 0;
    std::int32_t kind = VertexOnVertex;
};

// The contacts of one orbit step, in discovery order.
class TouchingGroup : public Arr<Touch> {
public:
    using Arr<Touch>::Arr;
};

} // namespace gantrel

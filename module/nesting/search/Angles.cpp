#include "nesting/search/Angles.h"

namespace gantrel {

void Angles::Generate(int count) {
    const int n = count < 1 ? 1 : count;
    const double step = 360.0 / n;
    for (int i = 0; i < n; ++i) {
        Add(step * i);
    }
}

ShuffledAngles::ShuffledAngles(int count) : Angles(count) {
    Shuffle();
    Shuffle();
    Shuffle();
}

} // namespace gantrel

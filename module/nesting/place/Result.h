// The outcome of placing one arrangement, and the list of every outcome of a run.
#pragma once

#include "nesting/place/Position.h"

namespace gantrel {

// Rating of a result that holds no layout at all.
inline constexpr double kEmptyRating = -1.0;

struct Result {
    // One entry per sheet; the placer always produces exactly one.
    Arr<Positions> sheets;
    // Higher is better; kEmptyRating for the empty result.
    double rating = kEmptyRating;

    bool IsEmpty() const { return sheets.IsEmpty(); }
    // Number of parts placed on the first sheet (0 for the empty result).
    int PlacedCount() const { return sheets.IsEmpty() ? 0 : sheets[0].Size(); }
};

// Every evaluated result of a run, in evaluation order.
class Results : public Arr<Result> {
public:
    using Arr<Result>::Arr;

    // The result with the highest rating; a later result replaces the current best only when
    // its rating is strictly higher. The empty result when there is none.
    Result Best() const {
        Result best;
        bool found = false;
        for (const Result& r : *this) {
            if (!found || r.rating > best.rating) {
                best = r;
                found = true;
            }
        }
        return best;
    }
};

} // namespace gantrel

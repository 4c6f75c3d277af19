// Shrinking the strip by letting parts overlap and moving them apart again.
#pragma once

#include "nesting/improve/NfpIndex.h"
#include "nesting/place/Position.h"

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace gantrel {

// The order search builds layouts one part at a time, never with an overlap, and stalls where
// every order of the last parts leaves gaps. This search works on a whole layout instead: the
// strip is cut a little short of a layout that fits, the parts past the cut are pushed back
// inside, where they overlap others, and overlapping parts are moved, one at a time and each to
// the spot and angle of least overlap found, until none is left (a layout on the shorter strip)
// or the search gives up on that length and tries a smaller cut.
//
// The overlap of two parts is the penetration depth of one part's reference point into their
// no-fit set: how far the part must move for the two to touch only. A pair's overlap is weighted,
// and the weight of a pair that keeps overlapping grows while the others decay back to 1 (guided
// local search), so that parts jammed against each other are sooner moved elsewhere than left
// shifting the same overlap between them. A part's new spot is the best of spots drawn over the
// whole strip and near its place, at its allowed angles, refined by shrinking steps and by moving
// out of its deepest overlap onto the no-fit boundary, where the parts touch exactly.
class OverlapSearch {
public:
    // parts: the run's parts; angles: per part, the angles it may take; start: a layout of every
    // part; sheet: the rectangular strip. The index must hold the no-fit set of every pair of
    // parts at every pair of their angles, the part of lower index fixed (see Shapes).
    OverlapSearch(const Polygons& parts, const std::vector<std::vector<double>>& angles,
                  const Positions& start, const NfpIndex& index, const NestPolygon& sheet,
                  std::uint64_t seed);

    // Every part at each of its angles, in part order (each unrotated, carrying its angle as its
    // rotation): an arrangement whose pairs are the no-fit sets the search needs.
    static Polygons Shapes(const Polygons& parts, const std::vector<std::vector<double>>& angles);

    // Whether the search can work: a rectangular sheet, a start placing every part at one of its
    // angles, and every no-fit set known.
    bool Usable() const { return m_usable; }

    // Called with each layout found on a shorter strip (positions in part order) and its width.
    using Found = std::function<void(const Positions& positions, double width)>;

    // Shrinks until giveUp answers true (asked between sweeps of moves); a later call goes on
    // where the last one stopped.
    void Run(const std::function<bool()>& giveUp, const Found& found);
    // Takes layout (every part placed at one of its angles, without overlap) as the best to cut
    // below when it is narrower than the best so far; false, and nothing changed, otherwise.
    bool Adopt(const Positions& layout);

    // Parts moved since the search was made.
    std::int64_t Moves() const { return m_moves; }

private:
    struct Loop {
        std::vector<GePoint> points;
        double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    };
    // A no-fit set: the loops the moving part's reference point may not enter.
    struct NoFitSet {
        std::vector<Loop> loops;
        double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    };
    // A part at one angle: its reference point and box, relative to its translation.
    struct Shape {
        double rotation = 0.0;
        GePoint reference;
        double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    };
    // Where a part is: its shape (index into the part's angles) and its translation.
    struct Place {
        int shape = 0;
        GePoint at;
    };

    const Shape& ShapeOf(int part, int shape) const {
        return m_shapes[static_cast<std::size_t>(m_firstShape[static_cast<std::size_t>(part)] +
                                                 shape)];
    }
    std::size_t PairSlot(int a, int b) const;
    // The no-fit set of part m at place p and part j at its place, and where the moving part's
    // reference point lies relative to the fixed part (the part of lower index is fixed).
    struct Relative {
        const NoFitSet* set = nullptr;
        GePoint point;
        bool mFixed = false;
    };
    Relative RelativeOf(int m, const Place& p, int j) const;
    // Penetration depth of part m at place p into part j at its place.
    double Depth(int m, const Place& p, int j) const;
    // Weighted overlap of part m at place p with every other part, summed until it passes bound.
    double Cost(int m, const Place& p, double bound) const;
    // The place clamped into the strip of the current width.
    Place Clamp(int m, Place p) const;
    // Moves part m to the best place found; true when it moved.
    bool Move(int m);
    // Refines place p of part m (cost c) by shrinking steps along the axes, then out of its
    // deepest overlap onto the touching boundary.
    void Refine(int m, Place& p, double& c) const;
    // Cuts the strip below the best layout and starts separating the parts anew.
    void StartCut();
    // Weighs the overlapping pairs and moves each of their parts once.
    void Sweep(const std::vector<std::pair<int, int>>& pairs, const std::vector<double>& depths);
    // Sum of the depths of overlapping pairs; the pairs and depths when asked for.
    double Overlap(std::vector<std::pair<int, int>>* pairs, std::vector<double>* depths) const;
    double WidthNow() const;
    Positions PositionsNow() const;

    std::vector<std::wstring> m_names;
    std::vector<Shape> m_shapes;
    std::vector<int> m_firstShape;
    std::vector<int> m_shapeCount;
    std::vector<double> m_size;
    // Per pair (a < b) and per pair of shapes: the no-fit set, as an index into m_sets.
    std::vector<std::vector<int>> m_pairSets;
    std::vector<NoFitSet> m_sets;
    std::vector<double> m_weights;
    std::vector<Place> m_places;
    // The narrowest layout without overlap, and the cut below it being separated.
    std::vector<Place> m_bestPlaces;
    double m_bestWidth = 0.0;
    double m_cut = 0.0;
    bool m_separating = false;
    // The least total overlap met on this cut, and the sweeps since it was last lowered.
    double m_least = 0.0;
    int m_stale = 0;
    double m_x0 = 0.0, m_y0 = 0.0, m_y1 = 0.0;
    double m_width = 0.0;
    double m_tolerance = 0.0;
    bool m_usable = false;
    std::mt19937_64 m_random;
    std::int64_t m_moves = 0;
};

} // namespace gantrel

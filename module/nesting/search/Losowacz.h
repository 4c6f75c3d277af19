// The genetic search over part orders and rotations.
#pragma once

#include "nesting/geometry/BoundingBox.h"
#include "nesting/search/Layout.h"
#include "nesting/settings/NestSettings.h"

#include <cstdint>
#include <ctime>
#include <functional>

namespace gantrel {

// Owns the population, hands its layouts out one at a time for evaluation, takes their ratings
// back and breeds a new generation (selection, crossover, mutation) once every layout of the
// current one is rated. Higher ratings are better. Random numbers come from the runtime
// generator, so a seeded run repeats itself.
class Losowacz {
public:
    // Seconds since some fixed moment; the stall limit of the random start counts in them.
    using Clock = std::function<std::int64_t()>;

    // Builds the first generation: every order of the parts when they are no more than the
    // exhaustive-order limit, otherwise a random start grown from the input order.
    Losowacz(const Polygons& parts, const NestPolygon& sheet, const NestSettings& settings,
             Clock clock = SystemClock);
    virtual ~Losowacz() = default;

    // The rotation of part: 0 when it may not rotate; otherwise the first of the shuffled
    // allowed angles at which the part's box is strictly narrower and lower than the sheet's,
    // or 0 when none is.
    virtual double RandomAngle(const NestPolygon& part);
    // A copy of layout in which each part swaps with its successor at the mutation rate, and
    // every angle is drawn anew.
    virtual Layout Mutate(const Layout& layout);

    // A copy of the next layout to evaluate: the first one not rated yet; when every layout is
    // rated, a new generation is bred first. An empty layout when the population is empty.
    Layout GetNext();
    // The rating of the layout last handed out.
    void SetRating(double rating);
    int Count() const { return m_population.Size(); }
    void Clear() { m_population.Clear(); }

    // Sorts the population best first and replaces it by its offspring.
    void NextGeneration();
    // A member of the population chosen by rank, best most likely; excluded (when given) is left
    // out of the draw once.
    Layout Select(const Layout* excluded) const;
    // Two children: each parent's head up to the cut, then the other parent's remaining parts
    // in its order with its angles.
    std::pair<Layout, Layout> Crossover(const Layout& p1, const Layout& p2) const;

    const Population& GetPopulation() const { return m_population; }
    int CurrentIndex() const { return m_current; }

    static std::int64_t SystemClock() { return static_cast<std::int64_t>(std::time(nullptr)); }

private:
    void RandomStart(const Polygons& parts);
    void EveryOrder(const Polygons& parts);
    // 1.0 / rand(), +infinity when the draw is 0.
    static double ReciprocalDraw();

    std::int32_t m_current = 0;
    BoundingBox m_sheetBox;
    Population m_population;
    NestSettings m_settings;
    Clock m_clock;
};

} // namespace gantrel

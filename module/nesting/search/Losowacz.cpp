#include "nesting/search/Losowacz.h"

#include "common/Random.h"
#include "nesting/geometry/Predicates.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

namespace gantrel {

Losowacz::Losowacz(const Polygons& parts, const NestPolygon& sheet, const NestSettings& settings,
                   Clock clock)
    : m_sheetBox(BoundingBoxOf(sheet)), m_settings(settings), m_clock(std::move(clock)) {
    if (parts.Size() > m_settings.exhaustiveOrderLimit) {
        RandomStart(parts);
    } else {
        EveryOrder(parts);
    }
}

void Losowacz::RandomStart(const Polygons& parts) {
    if (m_population.IsEmpty()) {
        Layout inputOrder;
        for (const NestPolygon& part : parts) {
            inputOrder.Add(part, 0.0);
        }
        m_population.Add(std::move(inputOrder));
    }
    // A population of fewer than one is one.
    const int size = std::max(m_settings.population, 1);
    // Stop growing when no new layout turned up for this many seconds: with few parts and no
    // rotation there may be fewer distinct layouts than the population size.
    const std::int64_t stallLimit =
        std::min(static_cast<std::int64_t>(0.4 * size), std::int64_t{10});
    std::int64_t lastGain = m_clock();
    while (m_population.Size() < size) {
        Layout candidate = Mutate(m_population[0]);
        if (!m_population.ContainsEqual(candidate)) {
            m_population.Add(std::move(candidate));
            lastGain = m_clock();
        }
        if (m_clock() - lastGain > stallLimit) {
            break;
        }
    }
}

void Losowacz::EveryOrder(const Polygons& parts) {
    const int n = parts.Size();
    double factorial = 1.0;
    for (int i = 2; i <= n; ++i) {
        factorial *= i;
    }
    const auto count = static_cast<std::uint64_t>(factorial);
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    m_population.Clear();
    m_population.Reserve(static_cast<int>(count));
    for (std::uint64_t k = 0; k < count; ++k) {
        Layout layout;
        for (int index : order) {
            layout.Add(parts[index], 0.0);
        }
        m_population.Add(std::move(layout));
        std::next_permutation(order.begin(), order.end());
    }
}

double Losowacz::ReciprocalDraw() {
    const int draw = rand();
    return draw == 0 ? std::numeric_limits<double>::infinity() : 1.0 / draw;
}

double Losowacz::RandomAngle(const NestPolygon& part) {
    if (!part.Rotatable()) {
        return 0.0;
    }
    const int count = m_settings.rotationAllowed ? m_settings.rotationCount : 1;
    const ShuffledAngles candidates(count);
    for (double angle : candidates) {
        const BoundingBox box = BoundingBoxOf(part.RotatedAbout(angle, GePoint(0.0, 0.0)));
        if (box.Width() < m_sheetBox.Width() && box.Height() < m_sheetBox.Height()) {
            return angle;
        }
    }
    return 0.0;
}

Layout Losowacz::Mutate(const Layout& layout) {
    Layout mutant = layout;
    mutant.SetRating(0.0);
    const double rate = m_settings.mutationRate * 0.01;
    for (int i = 0; i < mutant.Size(); ++i) {
        if (rand() / static_cast<double>(kRandMax) < rate) {
            mutant.SwapParts(i, i + 1);
        }
        mutant.SetAngle(i, RandomAngle(mutant.Parts()[i]));
    }
    return mutant;
}

Layout Losowacz::GetNext() {
    if (m_population.IsEmpty()) {
        return Layout();
    }
    for (int i = 0; i < m_population.Size(); ++i) {
        if (!m_population[i].IsRated()) {
            m_current = i;
            return m_population[i];
        }
    }
    NextGeneration();
    // The bred generation is handed out from its second layout; a population of one has only
    // its first.
    m_current = m_population.Size() > 1 ? 1 : 0;
    return m_population[m_current];
}

void Losowacz::SetRating(double rating) {
    if (m_current >= 0 && m_current < m_population.Size()) {
        m_population[m_current].SetRating(rating);
    }
}

void Losowacz::NextGeneration() {
    std::sort(m_population.begin(), m_population.end(),
              [](const Layout& a, const Layout& b) { return a.Rating() > b.Rating(); });
    if (m_population.Size() == 1) {
        // One layout cannot be crossed; its mutation is the next generation, so that further
        // generations keep searching instead of rating the same layout again.
        m_population[0] = Mutate(m_population[0]);
        return;
    }
    if (m_population.Size() < 2) {
        return;
    }
    Population next;
    next.Reserve(m_population.Size());
    while (next.Size() < m_population.Size()) {
        const Layout p1 = Select(nullptr);
        const Layout p2 = Select(&p1);
        auto [c1, c2] = Crossover(p1, p2);
        next.Add(Mutate(c1));
        if (next.Size() < m_population.Size()) {
            next.Add(Mutate(c2));
        }
    }
    m_population = std::move(next);
}

Layout Losowacz::Select(const Layout* excluded) const {
    std::vector<const Layout*> members;
    members.reserve(static_cast<std::size_t>(m_population.Size()));
    bool removed = excluded == nullptr;
    for (const Layout& layout : m_population) {
        if (!removed && layout == *excluded) {
            removed = true;
            continue;
        }
        members.push_back(&layout);
    }
    if (members.empty()) {
        return m_population.IsEmpty() ? Layout() : m_population[0];
    }
    const double m = static_cast<double>(members.size());
    const double w = 1.0 / m;
    // The reciprocal of the raw draw, not a uniform fraction: the draw is nearly always far
    // below w, so the best member is chosen most of the time.
    const double r = ReciprocalDraw();
    double lower = 0.0;
    double upper = w;
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (lower < r && r < upper) {
            return *members[i];
        }
        lower = upper;
        upper = upper + 2.0 * w * (m - static_cast<double>(i)) / m;
    }
    return *members[0];
}

std::pair<Layout, Layout> Losowacz::Crossover(const Layout& p1, const Layout& p2) const {
    const double f1 = std::max(ReciprocalDraw(), 0.1);
    // A second draw of 0 would make the fraction infinite; a cut past the last part means the
    // same as a cut at it.
    const double fraction = f1 < 0.9 ? std::min(std::max(ReciprocalDraw(), 0.1), 1.0) : 0.9;
    const int n = p1.Size();
    const int cut = static_cast<int>(std::lround((n - 1) * fraction));
    Layout c1 = p1.Slice(0, cut);
    Layout c2 = p2.Slice(0, cut);
    const auto fill = [](Layout& child, const Layout& donor) {
        const int headSize = child.Size();
        for (int k = 0; k < donor.Size(); ++k) {
            bool present = false;
            for (int j = 0; j < headSize && !present; ++j) {
                present = IsSame(child.Parts()[j], donor.Parts()[k]);
            }
            if (!present) {
                child.Add(donor.Parts()[k], donor.GetAngles()[k]);
            }
        }
    };
    fill(c1, p2);
    fill(c2, p1);
    c1.SetRating(0.0);
    c2.SetRating(0.0);
    return {std::move(c1), std::move(c2)};
}

} // namespace gantrel

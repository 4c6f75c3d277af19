#include "nesting/nfp/TranslationFinder.h"

#include <cmath>

namespace gantrel {

namespace {

constexpr double kReverseTolerance = 1e-7;

// Whether candidate c points exactly back along the previous move u.
bool ReversesMove(const Vector& u, const Vector& c) {
    const double lu = u.Length();
    const double lc = c.Length();
    const double dot = Dot(u * (1.0 / lu), -(c * (1.0 / lc)));
    return std::fabs(dot - 1.0) < kReverseTolerance;
}

} // namespace

void TranslationFinder::Generate() {
    m_candidates.clear();
    const bool havePrevious = m_previous != nullptr && m_previous->Vector().IsFinite();
    const Vector previousMove = havePrevious ? m_previous->Vector() : Vector();
    for (const Touch& touch : m_touches) {
        const int ia = touch.indexA;
        const int ib = touch.indexB;
        const GePoint& pa = m_a[ia];
        const GePoint& pb = m_b[ib];
        std::unique_ptr<IPosibleTranslation> candidate;
        switch (touch.kind) {
        case Touch::VertexOnVertex:
            candidate = MakePointPoint(
                Edge(m_a[m_a.PrevIndex(ia)], pa), Edge(pa, m_a[m_a.NextIndex(ia)]),
                Edge(m_b[m_b.PrevIndex(ib)], pb), Edge(pb, m_b[m_b.NextIndex(ib)]), touch);
            break;
        case Touch::VertexOfBOnEdgeOfA:
            candidate = MakeOnStationaryEdge(m_a[m_a.NextIndex(ia)] - pa, touch);
            break;
        default:
            candidate = MakeOnMovingEdge(pb - m_b[m_b.NextIndex(ib)], touch);
            break;
        }
        if (havePrevious && ReversesMove(previousMove, candidate->Vector())) {
            continue;
        }
        m_candidates.push_back(std::move(candidate));
    }
}

const IPosibleTranslation* TranslationFinder::FindBest() {
    Generate();
    if (m_candidates.empty()) {
        return nullptr;
    }
    if (m_candidates.size() == 1) {
        return m_candidates.front().get();
    }
    const IPosibleTranslation* best = nullptr;
    for (const auto& q : m_candidates) {
        bool acceptsAll = true;
        for (const auto& r : m_candidates) {
            if (!q->Accepts(r->Vector())) {
                acceptsAll = false;
                break;
            }
        }
        if (acceptsAll && (best == nullptr || q->Order() < best->Order())) {
            best = q.get();
        }
    }
    return best;
}

TranslationList TranslationFinder::Candidates() {
    Generate();
    TranslationList copy;
    copy.reserve(m_candidates.size());
    for (const auto& c : m_candidates) {
        copy.push_back(c->Clone());
    }
    return copy;
}

std::unique_ptr<IPosibleTranslation>
TranslationFinder::MakePointPoint(const Edge& e1, const Edge& e2, const Edge& e3, const Edge& e4,
                                  const Touch& touch) {
    return std::make_unique<PointPointTouchedTranslation>(touch, e1, e2, e3, e4);
}

std::unique_ptr<IPosibleTranslation> TranslationFinder::MakeOnMovingEdge(const Vector& v,
                                                                         const Touch& touch) {
    return std::make_unique<PointOnEdgeTranslation>(touch, v);
}

std::unique_ptr<IPosibleTranslation> TranslationFinder::MakeOnStationaryEdge(const Vector& v,
                                                                             const Touch& touch) {
    return std::make_unique<PointOnEdgeTranslation>(touch, v);
}

std::unique_ptr<IPosibleTranslation>
InnerTranslationFinder::MakePointPoint(const Edge& e1, const Edge& e2, const Edge& e3,
                                       const Edge& e4, const Touch& touch) {
    return std::make_unique<PointPointTouchedTranslationInner>(touch, e1, e2, e3, e4);
}

std::unique_ptr<IPosibleTranslation> InnerTranslationFinder::MakeOnMovingEdge(const Vector& v,
                                                                              const Touch& touch) {
    return std::make_unique<PointOnEdgeTranslationInner>(touch, -v);
}

std::unique_ptr<IPosibleTranslation>
InnerTranslationFinder::MakeOnStationaryEdge(const Vector& v, const Touch& touch) {
    return std::make_unique<PointOnEdgeTranslationInner>(touch, v);
}

} // namespace gantrel

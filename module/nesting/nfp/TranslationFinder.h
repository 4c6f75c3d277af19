// Turns the contacts of one orbit step into candidate moves and picks one.
#pragma once

#include "nesting/geometry/NestPolygon.h"
#include "nesting/nfp/PossibleTranslation.h"

#include <memory>
#include <vector>

namespace gantrel {

using TranslationList = std::vector<std::unique_ptr<IPosibleTranslation>>;

class ITranslationFinder {
public:
    virtual ~ITranslationFinder() = default;
    // The chosen candidate (owned by the finder), or null.
    virtual const IPosibleTranslation* FindBest() = 0;
    // A copy of the candidate list, after generating it.
    virtual TranslationList Candidates() = 0;
    virtual std::unique_ptr<IPosibleTranslation> MakePointPoint(const Edge& e1, const Edge& e2,
                                                                const Edge& e3, const Edge& e4,
                                                                const Touch& touch) = 0;
    // A vertex of A inside an edge of B.
    virtual std::unique_ptr<IPosibleTranslation> MakeOnMovingEdge(const Vector& v,
                                                                  const Touch& touch) = 0;
    // A vertex of B inside an edge of A.
    virtual std::unique_ptr<IPosibleTranslation> MakeOnStationaryEdge(const Vector& v,
                                                                      const Touch& touch) = 0;
};

// The finder of the outer orbit. a and b (b at its current position) and previous must outlive
// the finder; previous is the last step's move, or null.
class TranslationFinder : public ITranslationFinder {
public:
    TranslationFinder(const NestPolygon& a, const NestPolygon& b, const TouchingGroup& touches,
                      const IPosibleTranslation* previous)
        : m_a(a), m_b(b), m_touches(touches), m_previous(previous) {}

    // No candidate: null; one: that one. Otherwise, of the candidates whose contact accepts the
    // move of every candidate, the one with the lowest Order (the earliest on ties), or null.
    const IPosibleTranslation* FindBest() override;
    TranslationList Candidates() override;
    std::unique_ptr<IPosibleTranslation> MakePointPoint(const Edge& e1, const Edge& e2,
                                                        const Edge& e3, const Edge& e4,
                                                        const Touch& touch) override;
    std::unique_ptr<IPosibleTranslation> MakeOnMovingEdge(const Vector& v,
                                                          const Touch& touch) override;
    std::unique_ptr<IPosibleTranslation> MakeOnStationaryEdge(const Vector& v,
                                                              const Touch& touch) override;

protected:
    // One candidate per contact, in contact order, without those reversing the previous move.
    void Generate();

    const NestPolygon& m_a;
    const NestPolygon& m_b;
    const TouchingGroup& m_touches;
    TranslationList m_candidates;
    const IPosibleTranslation* m_previous;
};

// The finder of the inner orbit (B inside A).
class InnerTranslationFinder : public TranslationFinder {
public:
    using TranslationFinder::TranslationFinder;

    std::unique_ptr<IPosibleTranslation> MakePointPoint(const Edge& e1, const Edge& e2,
                                                        const Edge& e3, const Edge& e4,
                                                        const Touch& touch) override;
    // Stores nextB - B.
    std::unique_ptr<IPosibleTranslation> MakeOnMovingEdge(const Vector& v,
                                                          const Touch& touch) override;
    std::unique_ptr<IPosibleTranslation> MakeOnStationaryEdge(const Vector& v,
                                                              const Touch& touch) override;
};

} // namespace gantrel

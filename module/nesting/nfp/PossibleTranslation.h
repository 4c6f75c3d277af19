// Candidate moves of the orbiting polygon, one kind per kind of contact.
#pragma once

#include "nesting/geometry/GePoint.h"
#include "nesting/nfp/NfpReport.h"
#include "nesting/nfp/Touch.h"

#include <memory>

namespace gantrel {

// cross >= 0, or |cross| < 1e-8.
bool NonNegativeCross(double cross);

class IPosibleTranslation {
public:
    virtual ~IPosibleTranslation() = default;
    // The displacement this candidate proposes for B.
    virtual gantrel::Vector Vector() const = 0;
    // Whether this candidate's contact allows B to move along v.
    virtual bool Accepts(const gantrel::Vector& v) const = 0;
    virtual std::unique_ptr<IPosibleTranslation> Clone() const = 0;
    // Diagnostic lines of the candidate.
    virtual void Draw(DiagnosticSink& sink) const = 0;
    // The vertex of A of the contact: the lowest wins among acceptable candidates.
    virtual int Order() const = 0;
};

// A vertex sliding inside an edge: the move runs along the edge vector.
class PointOnEdgeTranslation : public IPosibleTranslation {
public:
    PointOnEdgeTranslation(const Touch& touch, const gantrel::Vector& edge)
        : m_touch(touch), m_edge(edge) {}

    gantrel::Vector Vector() const override { return m_edge; }
    // cross(edge, v) >= 0 within 1e-8.
    bool Accepts(const gantrel::Vector& v) const override;
    std::unique_ptr<IPosibleTranslation> Clone() const override {
        return std::make_unique<PointOnEdgeTranslation>(*this);
    }
    void Draw(DiagnosticSink& sink) const override;
    int Order() const override { return m_touch.indexA; }

protected:
    Touch m_touch;
    gantrel::Vector m_edge;
};

// The same for B inside A: cross(edge, v) <= 0 within 1e-8.
class PointOnEdgeTranslationInner : public PointOnEdgeTranslation {
public:
    using PointOnEdgeTranslation::PointOnEdgeTranslation;

    bool Accepts(const gantrel::Vector& v) const override;
    std::unique_ptr<IPosibleTranslation> Clone() const override {
        return std::make_unique<PointOnEdgeTranslationInner>(*this);
    }
};

// A vertex of B on a vertex of A; the four edges meeting there decide the move.
class PointPointTouchedTranslation : public IPosibleTranslation {
public:
    // e1 = (prevA, A), e2 = (A, nextA), e3 = (prevB, B), e4 = (B, nextB).
    PointPointTouchedTranslation(const Touch& touch, const Edge& e1, const Edge& e2, const Edge& e3,
                                 const Edge& e4)
        : m_touch(touch), m_e1(e1), m_e2(e2), m_e3(e3), m_e4(e4) {}

    // B - nextB when cross(nextA - A, nextB - B) >= 0 within 1e-8, otherwise nextA - A.
    gantrel::Vector Vector() const override;
    bool Accepts(const gantrel::Vector& v) const override { return AcceptsVector(v); }
    std::unique_ptr<IPosibleTranslation> Clone() const override {
        return std::make_unique<PointPointTouchedTranslation>(*this);
    }
    void Draw(DiagnosticSink& sink) const override;
    int Order() const override { return m_touch.indexA; }
    // With w the outer vector rule: cross(w, v) >= 0 within 1e-8.
    virtual bool AcceptsVector(const gantrel::Vector& v) const;

protected:
    gantrel::Vector OuterVector() const;

    Touch m_touch;
    Edge m_e1;
    Edge m_e2;
    Edge m_e3;
    Edge m_e4;
};

// The same for B inside A: B - prevB when cross(nextA - A, B - prevB) >= 0 within 1e-8,
// otherwise nextA - A. Acceptance keeps the outer rule.
class PointPointTouchedTranslationInner : public PointPointTouchedTranslation {
public:
    using PointPointTouchedTranslation::PointPointTouchedTranslation;

    gantrel::Vector Vector() const override;
    std::unique_ptr<IPosibleTranslation> Clone() const override {
        return std::make_unique<PointPointTouchedTranslationInner>(*this);
    }
};

} // namespace gantrel

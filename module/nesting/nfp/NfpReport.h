// Where no-fit-polygon code sends its messages (a Printer of the command line) and its diagnostic
// drawings. No-fit-polygon code may run on worker threads; both are called on the thread that
// started the computation.
#pragma once

#include "frame/Printer.h"
#include "nesting/geometry/GePoints.h"

#include <string>
#include <vector>

namespace gantrel {

// Receives the diagnostic drawing of an orbit that failed: polylines in drawing coordinates,
// with a colour index (-1: the drawing's default).
class DiagnosticSink {
public:
    virtual ~DiagnosticSink() = default;
    virtual void AddPolyline(const GePoints& points, bool closed, int colourIndex) = 0;
};

// A sink that keeps what it receives, for handing over to another sink later.
class CollectingDiagnosticSink : public DiagnosticSink {
public:
    struct Polyline {
        GePoints points;
        bool closed = false;
        int colourIndex = -1;
    };

    void AddPolyline(const GePoints& points, bool closed, int colourIndex) override {
        m_polylines.push_back({points, closed, colourIndex});
    }
    const std::vector<Polyline>& Polylines() const { return m_polylines; }
    void DeliverTo(DiagnosticSink& sink) const {
        for (const Polyline& p : m_polylines) {
            sink.AddPolyline(p.points, p.closed, p.colourIndex);
        }
    }

private:
    std::vector<Polyline> m_polylines;
};

} // namespace gantrel

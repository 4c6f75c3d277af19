#include "drawing/CoordinateReaders.h"

#include <algorithm>
#include <cmath>

namespace gantrel {

namespace {

// A curve handle of a given host class that stays open while one reader samples it, and is
// closed when the reader returns.
class OpenedCurve : public Curve {
public:
    OpenedCurve(ZcDbObjectId id, const ZcRxClass* cls) : Curve(id), m_class(cls) {}
    ZcDbCurve* Host() const { return HostCurve(); }

protected:
    const ZcRxClass* HostClass() const override { return m_class; }

private:
    const ZcRxClass* m_class;
};

// More samples than this on one curve come from a division count no drawing needs; such steps
// may also stall the running value (value + step == value) and never reach the end.
constexpr double kMaxSamples = 1e6;

// A step that moves a running value from first to last in at most kMaxSamples additions; false
// for n <= 0, NaN and infinite steps.
bool UsableStep(double first, double step, double last) {
    return std::isfinite(step) && step > 0.0 && (last - first) / step <= kMaxSamples;
}

// Appends the points at first, first+step ... below last, then (when withEnd) the point at last.
int SampleByParam(const ZcDbCurve* curve, double first, double step, double last, bool withEnd,
                  Points& points) {
    ZcGePoint3d p;
    if (UsableStep(first, step, last)) {
        for (double t = first; t < last; t += step) {
            if (const int es = curve->getPointAtParam(t, p); es != Zcad::eOk) {
                return es;
            }
            points.append(p);
        }
    } else {
        if (const int es = curve->getPointAtParam(first, p); es != Zcad::eOk) {
            return es;
        }
        points.append(p);
    }
    if (withEnd) {
        if (const int es = curve->getPointAtParam(last, p); es != Zcad::eOk) {
            return es;
        }
        points.append(p);
    }
    return Zcad::eOk;
}

} // namespace

int ReadLineCoordinates(ZcDbObjectId line, Points& points) {
    ZWLine handle(line);
    ZcGePoint3d start, end;
    if (const int es = handle.StartPoint(start); es != HandleStatus::kOk) {
        return es;
    }
    if (const int es = handle.EndPoint(end); es != HandleStatus::kOk) {
        return es;
    }
    points.append(start);
    points.append(end);
    return HandleStatus::kOk;
}

int ReadArcCoordinates(ZcDbObjectId arc, Points& points, double n) {
    OpenedCurve curve(arc, ZcDbArc::desc());
    if (const int es = curve.Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    const ZcDbCurve* host = curve.Host();
    double endParam = 0.0, length = 0.0;
    int es = host->getEndParam(endParam);
    if (es == Zcad::eOk) {
        es = host->getDistAtParam(endParam, length);
    }
    const double step = length / n;
    ZcGePoint3d p;
    double param = 0.0;
    if (es == Zcad::eOk && UsableStep(0.0, step, length)) {
        for (double d = 0.0; d < length && es == Zcad::eOk; d += step) {
            es = host->getParamAtDist(d, param);
            if (es == Zcad::eOk) {
                es = host->getPointAtParam(param, p);
            }
            if (es == Zcad::eOk) {
                points.append(p);
            }
        }
    } else if (es == Zcad::eOk) {
        es = host->getStartPoint(p);
        if (es == Zcad::eOk) {
            points.append(p);
        }
    }
    if (es == Zcad::eOk) {
        es = host->getParamAtDist(length, param);
    }
    if (es == Zcad::eOk) {
        es = host->getPointAtParam(param, p);
    }
    if (es == Zcad::eOk) {
        points.append(p);
    }
    curve.Close();
    return es;
}

int ReadCircleCoordinates(ZcDbObjectId circle, Points& points, double n) {
    OpenedCurve curve(circle, ZcDbCircle::desc());
    if (const int es = curve.Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    double endParam = 0.0;
    int es = curve.Host()->getEndParam(endParam);
    if (es == Zcad::eOk) {
        es = SampleByParam(curve.Host(), 0.0, endParam / n, endParam, false, points);
    }
    curve.Close();
    return es;
}

int ReadCurveByParam(ZcDbObjectId id, Points& points, double n) {
    OpenedCurve curve(id, ZcDbCurve::desc());
    if (const int es = curve.Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    double startParam = 0.0, endParam = 0.0;
    int es = curve.Host()->getStartParam(startParam);
    if (es == Zcad::eOk) {
        es = curve.Host()->getEndParam(endParam);
    }
    if (es == Zcad::eOk) {
        es = SampleByParam(curve.Host(), startParam, endParam / n, endParam, true, points);
    }
    curve.Close();
    return es;
}

int ReadCurveCoordinates(ZcDbObjectId id, Points& points, double n) {
    const Entity entity(id);
    if (entity.IsLine()) {
        return ReadLineCoordinates(id, points);
    }
    if (entity.IsPolyline()) {
        PolylineCoordinatesReader_byParam reader(id);
        return reader.Read(points, n);
    }
    if (entity.IsCircle()) {
        return ReadCircleCoordinates(id, points, n);
    }
    if (entity.IsSpline()) {
        return ReadCurveByParam(id, points, n);
    }
    if (entity.IsArc()) {
        return ReadArcCoordinates(id, points, n);
    }
    if (entity.IsCurve()) {
        return ReadCurveByParam(id, points, n);
    }
    return HandleStatus::kWrongClass;
}

int PolylineCoordinatesReader_byParam::Read(Points& points, double n) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    const auto* polyline = ZcDbPolyline::cast(m_object);
    const unsigned int count = polyline->numVerts();
    const double step = 1.0 / n;
    ZcGePoint3d p;
    for (unsigned int i = 0; i < count; ++i) {
        if (const int es = polyline->getPointAtParam(i, p); es != Zcad::eOk) {
            return Done(es);
        }
        points.append(p);
        if (polyline->segType(i) != ZcDbPolyline::kArc || !UsableStep(0.0, step, 1.0)) {
            continue;
        }
        // The first sample lies on the vertex itself; the distance test keeps it out.
        for (double t = i; t < i + 1.0; t += step) {
            if (const int es = polyline->getPointAtParam(t, p); es != Zcad::eOk) {
                return Done(es);
            }
            if (p.distanceTo(points.last()) > 1e-5) {
                points.append(p);
            }
        }
    }
    return Done(HandleStatus::kOk);
}

int PolylineCoordinatesReader_byParam_Simplified::Read(Points& points, double n) {
    Points read;
    const int es = PolylineCoordinatesReader_byParam::Read(read, n);
    SimplifyPoints(read);
    points.append(read);
    return es;
}

void SimplifyPoints(Points& points) {
    const int count = points.length();
    if (count < 3) {
        return;
    }
    Points kept;
    kept.append(points[0]);
    for (int i = 1; i + 1 < count; ++i) {
        const ZcGeVector3d toPoint = points[i] - kept.last();
        const ZcGeVector3d toNext = points[i + 1] - kept.last();
        const double angle =
            std::atan2(toPoint.crossProduct(toNext).length(), toPoint.dotProduct(toNext));
        if (!(angle < 1e-4)) {
            kept.append(points[i]);
        }
    }
    kept.append(points[count - 1]);
    points = kept;
}

void JoinPiece(Points& chain, const Points& piece) {
    if (piece.isEmpty()) {
        return;
    }
    if (chain.isEmpty()) {
        chain = piece;
        return;
    }
    const double distances[4] = {
        chain.first().distanceTo(piece.first()), chain.first().distanceTo(piece.last()),
        chain.last().distanceTo(piece.first()), chain.last().distanceTo(piece.last())};
    int best = 0;
    for (int k = 1; k < 4; ++k) {
        if (distances[k] < distances[best] - 1e-9) {
            best = k;
        }
    }
    Points joined;
    switch (best) {
    case 0: // piece reversed, then the chain
        for (int i = piece.length() - 1; i >= 0; --i) {
            joined.append(piece[i]);
        }
        joined.append(chain);
        break;
    case 1: // piece, then the chain
        joined = piece;
        joined.append(chain);
        break;
    case 2:
        joined = chain;
        joined.append(piece);
        break;
    default:
        joined = chain;
        for (int i = piece.length() - 1; i >= 0; --i) {
            joined.append(piece[i]);
        }
        break;
    }
    chain = joined;
}

double ShoelaceArea(const Points& points) {
    const int count = points.length();
    if (count < 3) {
        return 0.0;
    }
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
        const ZcGePoint3d& previous = points[(i + count - 1) % count];
        const ZcGePoint3d& p = points[i];
        sum += (previous.y - p.y) * (p.x + previous.x);
    }
    return std::fabs(sum / 2.0);
}

} // namespace gantrel

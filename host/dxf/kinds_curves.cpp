// Lines, circles, arcs, ellipses and points.
#include "contexts.h"
#include "kinds.h"
#include "ocs.h"
#include "zcdbents.h"

namespace gantrel::dxf {

namespace {

// The center of a circle or an arc, given in the object coordinates of its normal.
template <class E> Field ocsCenter() {
    return custom(
        10, FieldKind::Point3, Presence::Always, {},
        [](const void* t, Value& v, WriteContext&) {
            const E& e = *static_cast<const E*>(t);
            v.point = worldToOcs(e.normal(), e.center());
        },
        [](void* t, const Value& v, ReadContext&) {
            return static_cast<E*>(t)->setCenter(v.point);
        });
}

// The center was read in object coordinates; with the normal known it becomes a world point.
template <class E> Zcad::ErrorStatus centerToWorld(void* t, ZcDbObject&, ReadContext&) {
    E& e = *static_cast<E*>(t);
    return e.setCenter(ocsToWorld(e.normal(), e.center()));
}

const Subclass kLine{
    "AcDbLine",
    {
        prop<&ZcDbLine::thickness, &ZcDbLine::setThickness>(39, FieldKind::Real, Presence::Optional,
                                                            0.0),
        prop<&ZcDbLine::startPoint, &ZcDbLine::setStartPoint>(10, FieldKind::Point3),
        prop<&ZcDbLine::endPoint, &ZcDbLine::setEndPoint>(11, FieldKind::Point3),
        prop<&ZcDbLine::normal, &ZcDbLine::setNormal>(210, FieldKind::Vector3, Presence::Optional,
                                                      kZ),
    }};

const Subclass kCircle{"AcDbCircle",
                       {
                           prop<&ZcDbCircle::thickness, &ZcDbCircle::setThickness>(
                               39, FieldKind::Real, Presence::Optional, 0.0),
                           ocsCenter<ZcDbCircle>(),
                           prop<&ZcDbCircle::radius, &ZcDbCircle::setRadius>(40, FieldKind::Real),
                           prop<&ZcDbCircle::normal, &ZcDbCircle::setNormal>(
                               210, FieldKind::Vector3, Presence::Optional, kZ),
                       }};

const Subclass kArcCircle{"AcDbCircle",
                          {
                              prop<&ZcDbArc::thickness, &ZcDbArc::setThickness>(
                                  39, FieldKind::Real, Presence::Optional, 0.0),
                              ocsCenter<ZcDbArc>(),
                              prop<&ZcDbArc::radius, &ZcDbArc::setRadius>(40, FieldKind::Real),
                              prop<&ZcDbArc::normal, &ZcDbArc::setNormal>(210, FieldKind::Vector3,
                                                                          Presence::Optional, kZ),
                          }};

const Subclass kArc{"AcDbArc",
                    {
                        prop<&ZcDbArc::startAngle, &ZcDbArc::setStartAngle>(50, FieldKind::Angle),
                        prop<&ZcDbArc::endAngle, &ZcDbArc::setEndAngle>(51, FieldKind::Angle),
                    }};

// An ellipse is set up in one call from all its values.
struct EllipseData {
    ZcGePoint3d center;
    ZcGeVector3d majorAxis = ZcGeVector3d::kXAxis;
    ZcGeVector3d normal = ZcGeVector3d::kZAxis;
    double ratio = 1.0;
    double start = 0.0, end = 2 * kPi;
};

void loadEllipse(const ZcDbEllipse& e, EllipseData& d, WriteContext&) {
    d = {e.center(),      e.majorAxis(),       e.normal(),
         e.radiusRatio(), e.startParamAngle(), e.endParamAngle()};
}

Zcad::ErrorStatus storeEllipse(EllipseData& d, ZcDbEllipse& e, ReadContext&) {
    return e.set(d.center, d.normal, d.majorAxis, d.ratio, d.start, d.end);
}

const Subclass kEllipse{
    "AcDbEllipse",
    {
        member<&EllipseData::center>(10, FieldKind::Point3),
        member<&EllipseData::majorAxis>(11, FieldKind::Vector3),
        member<&EllipseData::normal>(210, FieldKind::Vector3, Presence::Optional, kZ),
        member<&EllipseData::ratio>(40, FieldKind::Real, Presence::Always, 1.0),
        member<&EllipseData::start>(41, FieldKind::Real, Presence::Always, 0.0),
        member<&EllipseData::end>(42, FieldKind::Real, Presence::Always, 2 * kPi),
    }};

const Subclass kPoint{
    "AcDbPoint",
    {
        prop<&ZcDbPoint::position, &ZcDbPoint::setPosition>(10, FieldKind::Point3),
        unmodelled(39, FieldKind::Real, 0.0, Presence::Optional),
        unmodelled(210, FieldKind::Vector3, kZ, Presence::Optional),
        unmodelled(50, FieldKind::Real, 0.0, Presence::Optional),
    }};

} // namespace

std::vector<const Kind*> curveKinds() {
    static const Schema line("LINE", {&entitySubclass(), &kLine}, true);
    static const Schema circle("CIRCLE", {&entitySubclass(), &kCircle}, true);
    static const Schema arc("ARC", {&entitySubclass(), &kArcCircle, &kArc}, true);
    static const Schema ellipse("ELLIPSE", {&entitySubclass(), &kEllipse}, true);
    static const Schema point("POINT", {&entitySubclass(), &kPoint}, true);
    static const Kind lineKind = directKind<ZcDbLine>(line);
    static const Kind circleKind = [] {
        Kind k = directKind<ZcDbCircle>(circle);
        k.endRead = &centerToWorld<ZcDbCircle>;
        return k;
    }();
    static const Kind arcKind = [] {
        Kind k = directKind<ZcDbArc>(arc);
        k.endRead = &centerToWorld<ZcDbArc>;
        return k;
    }();
    static const Kind ellipseKind =
        stagedKind<EllipseData, ZcDbEllipse, &loadEllipse, &storeEllipse>(ellipse);
    static const Kind pointKind = directKind<ZcDbPoint>(point);
    return {&lineKind, &circleKind, &arcKind, &ellipseKind, &pointKind};
}

} // namespace gantrel::dxf

// Shapes and layers the example generators draw with.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "zcdball.h"

namespace examples {

inline constexpr double kCornerBulge = 0.41421356237309503; // tan(22.5 deg): a quarter circle

// A closed lightweight polyline through the vertices, each with the bulge of its segment.
inline ZcDbPolyline* polyline(std::initializer_list<std::pair<ZcGePoint2d, double>> vertices) {
    auto* pl = new ZcDbPolyline;
    unsigned int i = 0;
    for (const auto& [point, bulge] : vertices)
        pl->addVertexAt(i++, point, bulge);
    pl->setClosed(true);
    return pl;
}

inline ZcDbCircle* circle(double x, double y, double diameter) {
    return new ZcDbCircle({x, y, 0.0}, ZcGeVector3d::kZAxis, diameter / 2.0);
}

inline void addLayer(ZcDbDatabase& db, const wchar_t* name, std::int16_t color) {
    ZcDbLayerTable* layers = nullptr;
    db.getLayerTable(layers, ZcDb::kForWrite);
    auto* layer = new ZcDbLayerTableRecord;
    layer->setName(name);
    layer->setColorIndex(color);
    layers->add(layer);
    layer->close();
    layers->close();
}

} // namespace examples

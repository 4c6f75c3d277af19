// Drawing of one entity of each kind with a painter, in the entity's own coordinates (the
// painter's placement puts them into the world).
#pragma once

#include "painter.h"
#include "zcdball.h"

namespace gantrel::render {

void drawLine(Painter& painter, const ZcDbLine& line, const Style& style);
void drawCircle(Painter& painter, const ZcDbCircle& circle, const Style& style);
void drawArc(Painter& painter, const ZcDbArc& arc, const Style& style);
void drawEllipse(Painter& painter, const ZcDbEllipse& ellipse, const Style& style);
void drawPolyline(Painter& painter, const ZcDbPolyline& polyline, const Style& style);
void drawPolyline2d(Painter& painter, const ZcDb2dPolyline& polyline, const Style& style);
void drawSpline(Painter& painter, const ZcDbSpline& spline, const Style& style);
void drawLeader(Painter& painter, const ZcDbLeader& leader, const Style& style);
void drawPoint(Painter& painter, const ZcDbPoint& point, const Style& style);

void drawHatch(Painter& painter, const ZcDbHatch& hatch, const Style& style);
void drawRegion(Painter& painter, const ZcDbRegion& region, const Style& style);

// Single-line text, attributes and attribute definitions; the text shown is passed in (an
// attribute definition outside a block shows its tag).
void drawText(Painter& painter, const ZcDbText& text, const std::wstring& shown,
              const Style& style);
void drawMText(Painter& painter, const ZcDbMText& mtext, const Style& style);
// An aligned dimension drawn from its points: extension lines, the dimension line with arrows
// of the given size, and the measurement (or override text) above the line.
void drawAlignedDimension(Painter& painter, const ZcDbAlignedDimension& dimension, double arrowSize,
                          double textHeight, const Style& style);

// A filled arrowhead with its tip at tip, pointing against direction (from tip into the line).
void drawArrowhead(Painter& painter, const ZcGePoint3d& tip, const ZcGeVector3d& into, double size,
                   const ZcGeVector3d& normal, const Style& style);

} // namespace gantrel::render

// Drawing primitives on a cairo context: paths in drawing coordinates placed by a block
// transform and mapped onto the page, strokes and fills in an entity's style, text, marks.
// Paths are built in page coordinates, so line widths and marks keep their page size at any
// drawing scale, and curves are handed to cairo as exact arcs through their own frame.
#pragma once

#include <cairo.h>

#include <string>

#include "render.h"
#include "view.h"
#include "zcge.h"

namespace gantrel::render {

struct Style {
    Rgb color;
    bool highlighted = false;
};

// The frame of a line of text: the baseline origin, the reading direction and the up
// direction, each of the length of the text height (the reading one also carries the width
// factor, the up one the oblique slant).
struct TextFrame {
    ZcGePoint3d origin;
    ZcGeVector3d along, up;
};

class Painter {
public:
    Painter(cairo_t* cr, const Affine2& view, const RenderOptions& options);

    // The transform from the coordinates of the entities being drawn to world coordinates.
    void setPlacement(const ZcGeMatrix3d& placement) { m_placement = placement; }
    const ZcGeMatrix3d& placement() const { return m_placement; }

    ZcGePoint2d toPage(const ZcGePoint3d& p) const;
    ZcGeVector2d toPage(const ZcGeVector3d& v) const;

    // Path building. moveTo starts a new piece; lineTo and arc continue the current one (a
    // curve joins the current point with a straight line) or start one.
    void moveTo(const ZcGePoint3d& p);
    void lineTo(const ZcGePoint3d& p);
    // The curve center + u cos t + v sin t for t from t0 to t1 (decreasing when t1 < t0).
    void arc(const ZcGePoint3d& center, const ZcGeVector3d& u, const ZcGeVector3d& v, double t0,
             double t1);
    void closePath();

    // Strokes the path in the style and clears it.
    void stroke(const Style& style);
    // Fills the path (even-odd) with the style's colour at the given opacity; keeps the path
    // when preserve is set, so that it can be stroked too.
    void fill(const Style& style, double opacity, bool preserve = false);

    // A small cross of fixed page size.
    void pointMark(const ZcGePoint3d& p, const Style& style);

    // Text in the frame: its advance (in text heights, before the width factor) and drawing
    // with the baseline start moved by (dx, dy) text heights within the frame.
    double textAdvance(const std::string& utf8);
    void showText(const TextFrame& frame, const std::string& utf8, double dx, double dy,
                  const Style& style);

private:
    void setSource(const Style& style, double opacity);

    cairo_t* m_cr;
    Affine2 m_view;
    const RenderOptions& m_options;
    ZcGeMatrix3d m_placement;
    // The font size that gives capital letters a height of one unit.
    double m_fontSize = 1.4;
};

} // namespace gantrel::render

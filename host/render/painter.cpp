#include "painter.h"

#include <array>
#include <cmath>

namespace gantrel::render {

namespace {

constexpr double kPointMarkHalf = 3.0;
// Samples of a curve whose frame is flat on the page (seen edge-on).
constexpr int kFlatArcSamples = 64;

bool isFinite(const ZcGePoint2d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

} // namespace

Painter::Painter(cairo_t* cr, const Affine2& view, const RenderOptions& options)
    : m_cr(cr), m_view(view), m_options(options) {
    cairo_set_line_cap(m_cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_fill_rule(m_cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_select_font_face(m_cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    // Text is drawn through arbitrary frames: hinting would distort its metrics.
    cairo_font_options_t* fontOptions = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(fontOptions, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(fontOptions, CAIRO_HINT_STYLE_NONE);
    cairo_set_font_options(m_cr, fontOptions);
    cairo_font_options_destroy(fontOptions);

    cairo_set_font_size(m_cr, 100.0);
    cairo_text_extents_t capital;
    cairo_text_extents(m_cr, "H", &capital);
    if (capital.height > 1.0)
        m_fontSize = 100.0 / capital.height;
}

ZcGePoint2d Painter::toPage(const ZcGePoint3d& p) const {
    const ZcGePoint3d w = m_placement * p;
    return m_view.apply(w.x, w.y);
}

ZcGeVector2d Painter::toPage(const ZcGeVector3d& v) const {
    const ZcGeVector3d w = m_placement * v;
    return m_view.applyLinear(w.x, w.y);
}

void Painter::moveTo(const ZcGePoint3d& p) {
    const ZcGePoint2d q = toPage(p);
    if (isFinite(q))
        cairo_move_to(m_cr, q.x, q.y);
}

void Painter::lineTo(const ZcGePoint3d& p) {
    const ZcGePoint2d q = toPage(p);
    if (isFinite(q))
        cairo_line_to(m_cr, q.x, q.y);
}

void Painter::arc(const ZcGePoint3d& center, const ZcGeVector3d& u, const ZcGeVector3d& v,
                  double t0, double t1) {
    const ZcGePoint2d o = toPage(center);
    const ZcGeVector2d a = toPage(u);
    const ZcGeVector2d b = toPage(v);
    const double det = a.x * b.y - a.y * b.x;
    const double size = a.x * a.x + a.y * a.y + b.x * b.x + b.y * b.y;
    if (!isFinite(o) || !std::isfinite(det) || !std::isfinite(t0) || !std::isfinite(t1))
        return;
    if (std::abs(det) > 1e-9 * size && size > 1e-18) {
        // The unit circle drawn through the curve's frame on the page; cairo approximates it
        // within its tolerance in page units.
        cairo_matrix_t frame;
        cairo_matrix_init(&frame, a.x, a.y, b.x, b.y, o.x, o.y);
        cairo_save(m_cr);
        cairo_transform(m_cr, &frame);
        if (t1 >= t0)
            cairo_arc(m_cr, 0.0, 0.0, 1.0, t0, t1);
        else
            cairo_arc_negative(m_cr, 0.0, 0.0, 1.0, t0, t1);
        cairo_restore(m_cr);
        return;
    }
    for (int i = 0; i <= kFlatArcSamples; ++i) {
        const double t = t0 + (t1 - t0) * i / kFlatArcSamples;
        cairo_line_to(m_cr, o.x + a.x * std::cos(t) + b.x * std::sin(t),
                      o.y + a.y * std::cos(t) + b.y * std::sin(t));
    }
}

void Painter::closePath() {
    if (cairo_has_current_point(m_cr))
        cairo_close_path(m_cr);
}

void Painter::setSource(const Style& style, double opacity) {
    const Rgb c = style.highlighted ? m_options.highlightColor : style.color;
    cairo_set_source_rgba(m_cr, c.r, c.g, c.b, opacity);
}

void Painter::stroke(const Style& style) {
    setSource(style, 1.0);
    if (style.highlighted) {
        const double w = m_options.highlightWidth;
        const std::array<double, 2> dashes{3.0 * w, 2.0 * w};
        cairo_set_line_width(m_cr, w);
        cairo_set_dash(m_cr, dashes.data(), static_cast<int>(dashes.size()), 0.0);
    } else {
        cairo_set_line_width(m_cr, m_options.lineWidth);
        cairo_set_dash(m_cr, nullptr, 0, 0.0);
    }
    cairo_stroke(m_cr);
}

void Painter::fill(const Style& style, double opacity, bool preserve) {
    setSource(style, opacity);
    if (preserve)
        cairo_fill_preserve(m_cr);
    else
        cairo_fill(m_cr);
}

void Painter::pointMark(const ZcGePoint3d& p, const Style& style) {
    const ZcGePoint2d q = toPage(p);
    if (!isFinite(q))
        return;
    const double h = style.highlighted ? 2.0 * kPointMarkHalf : kPointMarkHalf;
    cairo_move_to(m_cr, q.x - h, q.y - h);
    cairo_line_to(m_cr, q.x + h, q.y + h);
    cairo_move_to(m_cr, q.x - h, q.y + h);
    cairo_line_to(m_cr, q.x + h, q.y - h);
    stroke(style);
}

double Painter::textAdvance(const std::string& utf8) {
    cairo_save(m_cr);
    cairo_identity_matrix(m_cr);
    // Measured large, where the font's outlines are exact, and scaled back.
    cairo_set_font_size(m_cr, 100.0 * m_fontSize);
    cairo_text_extents_t extents;
    cairo_text_extents(m_cr, utf8.c_str(), &extents);
    cairo_restore(m_cr);
    return extents.x_advance / 100.0;
}

void Painter::showText(const TextFrame& frame, const std::string& utf8, double dx, double dy,
                       const Style& style) {
    if (utf8.empty())
        return;
    const ZcGePoint2d o = toPage(frame.origin);
    const ZcGeVector2d along = toPage(frame.along);
    const ZcGeVector2d up = toPage(frame.up);
    // Page size of the text below which nothing legible would come out.
    const double det = along.x * up.y - along.y * up.x;
    if (!isFinite(o) || !std::isfinite(det) || std::abs(det) < 0.25)
        return;
    // Text space: x along the baseline, y downwards (cairo's text direction), one unit a text
    // height; a mirrored frame draws mirrored text, as the placement asks.
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, along.x, along.y, -up.x, -up.y, o.x, o.y);
    cairo_save(m_cr);
    cairo_transform(m_cr, &matrix);
    cairo_set_font_size(m_cr, m_fontSize);
    setSource(style, 1.0);
    cairo_move_to(m_cr, dx, -dy);
    cairo_show_text(m_cr, utf8.c_str());
    cairo_restore(m_cr);
    cairo_new_path(m_cr);
}

} // namespace gantrel::render

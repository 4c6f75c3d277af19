// Text, multiline text and aligned dimensions. The stand-in has no drawing fonts: text is drawn
// in the system's sans-serif face, scaled so that capitals are as tall as the text height.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "draw.h"
#include "geom_util.h"
#include "winhost.h"

namespace gantrel::render {

using gantrel::db::Ocs;
using gantrel::db::ocsOf;

namespace {

// The distance between baselines of multiline text, in text heights.
constexpr double kLineSpacing = 5.0 / 3.0;
// How far below the baseline the bottom of the descenders lies, in text heights.
constexpr double kDescent = 0.3;

std::vector<std::wstring> splitLines(const std::wstring& text) {
    std::vector<std::wstring> lines(1);
    for (wchar_t c : text) {
        if (c == L'\n')
            lines.emplace_back();
        else if (c != L'\r')
            lines.back() += c;
    }
    return lines;
}

// Breaks a line at blanks so that no piece is wider than width (in text heights), except a
// single word that is wider on its own.
std::vector<std::wstring> wrapLine(Painter& painter, const std::wstring& line, double width) {
    std::vector<std::wstring> pieces;
    std::wstring current;
    std::size_t pos = 0;
    while (pos <= line.size()) {
        std::size_t blank = line.find(L' ', pos);
        if (blank == std::wstring::npos)
            blank = line.size();
        const std::wstring word = line.substr(pos, blank - pos);
        const std::wstring candidate = current.empty() ? word : current + L" " + word;
        if (!current.empty() && painter.textAdvance(::win::Narrow(candidate)) > width) {
            pieces.push_back(current);
            current = word;
        } else {
            current = candidate;
        }
        pos = blank + 1;
    }
    pieces.push_back(current);
    return pieces;
}

std::wstring formatMeasurement(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", value);
    std::string text = buffer;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return std::wstring(text.begin(), text.end());
}

} // namespace

void drawText(Painter& painter, const ZcDbText& text, const std::wstring& shown,
              const Style& style) {
    double height = text.height();
    const std::string utf8 = ::win::Narrow(shown);
    if (!(height > 0.0) || utf8.empty())
        return;
    const ZcGeVector3d normal =
        text.normal().isZeroLength() ? ZcGeVector3d::kZAxis : text.normal().normal();
    const Ocs ocs = ocsOf(normal);
    ZcGeVector3d dir = ocs.direction(text.rotation());
    double widthFactor = text.widthFactor() > 0.0 ? text.widthFactor() : 1.0;
    const double advance = painter.textAdvance(utf8);

    const bool leftBase =
        text.horizontalMode() == ZcDbText::kTextLeft && text.verticalMode() == ZcDbText::kTextBase;
    ZcGePoint3d origin = leftBase ? text.position() : text.alignmentPoint();
    double dx = 0.0, dy = 0.0;
    switch (text.horizontalMode()) {
    case ZcDbText::kTextCenter:
        dx = -0.5 * advance;
        break;
    case ZcDbText::kTextMid:
        dx = -0.5 * advance;
        dy = -0.5;
        break;
    case ZcDbText::kTextRight:
        dx = -advance;
        break;
    case ZcDbText::kTextAlign:
    case ZcDbText::kTextFit: {
        // The text fills the baseline from the position to the alignment point: aligned text
        // keeps its proportions (its height changes), fitted text is stretched.
        origin = text.position();
        const ZcGeVector3d span = text.alignmentPoint() - text.position();
        const double length = span.length();
        if (length > 0.0 && advance > 0.0) {
            dir = span / length;
            if (text.horizontalMode() == ZcDbText::kTextAlign)
                height = length / (advance * widthFactor);
            else
                widthFactor = length / (advance * height);
        }
        break;
    }
    default:
        break;
    }
    if (text.horizontalMode() != ZcDbText::kTextMid) {
        switch (text.verticalMode()) {
        case ZcDbText::kTextBottom:
            dy = kDescent;
            break;
        case ZcDbText::kTextVertMid:
            dy = -0.5;
            break;
        case ZcDbText::kTextTop:
            dy = -1.0;
            break;
        default:
            break;
        }
    }
    const ZcGeVector3d up = normal.crossProduct(dir);
    const TextFrame frame{origin, dir * (height * widthFactor),
                          (up + dir * std::tan(text.oblique())) * height};
    painter.showText(frame, utf8, dx, dy, style);
}

void drawMText(Painter& painter, const ZcDbMText& mtext, const Style& style) {
    const double height = mtext.textHeight();
    if (!(height > 0.0))
        return;
    const ZcGeVector3d normal =
        mtext.normal().isZeroLength() ? ZcGeVector3d::kZAxis : mtext.normal().normal();
    ZcGeVector3d dir = mtext.direction();
    dir -= normal * dir.dotProduct(normal);
    dir = dir.isZeroLength() ? ocsOf(normal).x : dir.normal();
    const ZcGeVector3d up = normal.crossProduct(dir);

    std::vector<std::wstring> lines;
    for (const std::wstring& line : splitLines(mtext.text())) {
        if (mtext.width() > 0.0) {
            for (std::wstring& piece : wrapLine(painter, line, mtext.width() / height))
                lines.push_back(std::move(piece));
        } else {
            lines.push_back(line);
        }
    }
    const int attachment = static_cast<int>(mtext.attachment());
    const int row = (attachment - 1) / 3; // 0 top, 1 middle, 2 bottom
    const int column = (attachment - 1) % 3;
    const double blockHeight = 1.0 + (static_cast<double>(lines.size()) - 1.0) * kLineSpacing;
    const double firstBaseline = -1.0 + row * 0.5 * blockHeight;
    const TextFrame frame{mtext.location(), dir * height, up * height};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string utf8 = ::win::Narrow(lines[i]);
        const double advance = painter.textAdvance(utf8);
        const double dx = column == 0 ? 0.0 : column == 1 ? -0.5 * advance : -advance;
        painter.showText(frame, utf8, dx, firstBaseline - static_cast<double>(i) * kLineSpacing,
                         style);
    }
}

void drawAlignedDimension(Painter& painter, const ZcDbAlignedDimension& dimension, double arrowSize,
                          double textHeight, const Style& style) {
    const ZcGePoint3d p1 = dimension.xLine1Point();
    const ZcGePoint3d p2 = dimension.xLine2Point();
    ZcGeVector3d along = p2 - p1;
    along.z = 0.0;
    if (along.isZeroLength())
        return;
    along.normalize();
    const ZcGeVector3d normal = ZcGeVector3d::kZAxis;
    const ZcGeVector3d across = normal.crossProduct(along);
    const double offset = (dimension.dimLinePoint() - p1).dotProduct(across);
    const double side = offset < 0.0 ? -1.0 : 1.0;
    const ZcGePoint3d q1 = p1 + across * offset;
    const ZcGePoint3d q2 = p2 + across * offset;

    // Extension lines leave a small gap at the measured points and run a little past the
    // dimension line.
    const double gap = 0.25 * arrowSize;
    const double beyond = 0.5 * arrowSize;
    for (const auto& [from, to] : {std::pair{p1, q1}, std::pair{p2, q2}}) {
        if (std::abs(offset) <= gap)
            continue;
        painter.moveTo(from + across * (side * gap));
        painter.lineTo(to + across * (side * beyond));
        painter.stroke(style);
    }
    painter.moveTo(q1);
    painter.lineTo(q2);
    painter.stroke(style);
    drawArrowhead(painter, q1, along, arrowSize, normal, style);
    drawArrowhead(painter, q2, -along, arrowSize, normal, style);

    double measured = 0.0;
    dimension.measurement(measured);
    std::wstring shown = dimension.dimensionText();
    if (shown.empty())
        shown = L"<>";
    if (const std::size_t at = shown.find(L"<>"); at != std::wstring::npos)
        shown.replace(at, 2, formatMeasurement(measured));
    if (!(textHeight > 0.0))
        return;
    // Text reads along the line, never upside down, centred above it (or on the stored text
    // position, which is the middle of the text).
    ZcGeVector3d reading = along;
    if (reading.x < -1e-12 || (std::abs(reading.x) <= 1e-12 && reading.y < 0.0))
        reading = -reading;
    const ZcGeVector3d up = normal.crossProduct(reading);
    const std::string utf8 = ::win::Narrow(shown);
    const double advance = painter.textAdvance(utf8);
    const ZcGePoint3d stored = dimension.textPosition();
    const bool hasPosition = !(stored == ZcGePoint3d::kOrigin);
    const ZcGePoint3d origin =
        hasPosition ? stored : q1 + (q2 - q1) * 0.5 + up * (0.5 * textHeight);
    const TextFrame frame{origin, reading * textHeight, up * textHeight};
    painter.showText(frame, utf8, -0.5 * advance, hasPosition ? -0.5 : 0.0, style);
}

} // namespace gantrel::render

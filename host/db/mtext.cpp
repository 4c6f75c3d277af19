// Multiline text: contents with the format codes of the host family, located at an attachment
// point, flowing along a direction in the plane of the normal.
#include <algorithm>
#include <cmath>
#include <cwctype>

#include "database_impl.h"
#include "geom_util.h"

ZCRX_DEFINE_MEMBERS(ZcDbMText, ZcDbEntity, L"MTEXT")

using namespace gantrel::db;

namespace {

// Line spacing of multiline text as a multiple of the text height.
constexpr double kLineSpacing = 5.0 / 3.0;

bool isHex(wchar_t c) {
    return std::iswxdigit(c) != 0;
}

// Removes format codes: "\P" and "\N" break lines, "\~" is a non-breaking space, "\\", "\{"
// and "\}" are literal, "\S a^b;" stacks a over b (written a/b), codes with an argument
// ("\A", "\C", "\F", "\H", "\Q", "\T", "\W", "\p" ...) run to their ";", switches ("\L", "\O",
// "\K" and their lower-case ends) stand alone, braces group, "^I" is a tab, "^J" a line break.
std::wstring stripFormatting(const std::wstring& s) {
    std::wstring out;
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t c = s[i];
        if (c == L'{' || c == L'}')
            continue;
        if (c == L'^' && i + 1 < n) {
            const wchar_t next = s[i + 1];
            if (next == L'I' || next == L'J' || next == L'M' || next == L' ') {
                ++i;
                if (next == L'I')
                    out += L'\t';
                else if (next == L'J')
                    out += L'\n';
                else if (next == L' ')
                    out += L'^';
                continue;
            }
            out += c;
            continue;
        }
        if (c != L'\\' || i + 1 >= n) {
            out += c;
            continue;
        }
        const wchar_t code = s[++i];
        switch (code) {
        case L'P':
        case L'N':
            out += L'\n';
            break;
        case L'~':
            out += L'\u00A0';
            break;
        case L'\\':
        case L'{':
        case L'}':
            out += code;
            break;
        case L'L':
        case L'l':
        case L'O':
        case L'o':
        case L'K':
        case L'k':
            break;
        case L'S': {
            const std::size_t end = s.find(L';', i + 1);
            std::wstring stack = s.substr(i + 1, (end == std::wstring::npos ? n : end) - i - 1);
            for (wchar_t& ch : stack)
                if (ch == L'^' || ch == L'#')
                    ch = L'/';
            // The stack's own escapes ("\^" etc.) keep their character.
            for (std::size_t k = 0; k < stack.size(); ++k)
                if (stack[k] != L'\\')
                    out += stack[k];
            i = end == std::wstring::npos ? n : end;
            break;
        }
        case L'U':
            if (i + 5 < n && s[i + 1] == L'+' && isHex(s[i + 2]) && isHex(s[i + 3]) &&
                isHex(s[i + 4]) && isHex(s[i + 5])) {
                out += static_cast<wchar_t>(std::stoul(s.substr(i + 2, 4), nullptr, 16));
                i += 5;
            } else {
                out += code;
            }
            break;
        case L'A':
        case L'C':
        case L'c':
        case L'F':
        case L'f':
        case L'H':
        case L'h':
        case L'Q':
        case L'q':
        case L'T':
        case L't':
        case L'W':
        case L'w':
        case L'p': {
            const std::size_t end = s.find(L';', i + 1);
            i = end == std::wstring::npos ? n : end;
            break;
        }
        default:
            out += code;
            break;
        }
    }
    return out;
}

} // namespace

Zcad::ErrorStatus ZcDbMText::setLocation(const ZcGePoint3d& p) {
    return setField(m_location, p);
}

Zcad::ErrorStatus ZcDbMText::setContents(const wchar_t* text) {
    return setField(m_contents, text, text);
}

std::wstring ZcDbMText::text() const {
    return stripFormatting(m_contents);
}

Zcad::ErrorStatus ZcDbMText::setTextHeight(double h) {
    return setField(m_height, h, h > 0.0);
}

Zcad::ErrorStatus ZcDbMText::setWidth(double w) {
    return setField(m_width, w, w >= 0.0);
}

double ZcDbMText::rotation() const {
    return ocsOf(m_normal).angleOf(m_direction);
}

Zcad::ErrorStatus ZcDbMText::setRotation(double r) {
    return setField(m_direction, ocsOf(m_normal).direction(r), std::isfinite(r));
}

Zcad::ErrorStatus ZcDbMText::setDirection(const ZcGeVector3d& d) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    // Only the part in the text's plane counts.
    const ZcGeVector3d inPlane = d - m_normal * d.dotProduct(m_normal);
    if (inPlane.isZeroLength())
        return Zcad::eInvalidInput;
    m_direction = inPlane.normal();
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbMText::setAttachment(AttachmentPoint a) {
    return setField(m_attachment, a, !(a < kTopLeft || a > kBottomRight));
}

Zcad::ErrorStatus ZcDbMText::setTextStyleName(const wchar_t* name) {
    return setField(m_style, name, !(!name || !*name));
}

Zcad::ErrorStatus ZcDbMText::setNormal(const ZcGeVector3d& n) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (n.isZeroLength())
        return Zcad::eInvalidInput;
    const double angle = rotation();
    m_normal = n.normal();
    m_direction = ocsOf(m_normal).direction(angle);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbMText::getGeomExtents(ZcDbExtents& extents) const {
    // An estimated box: the set width (or the longest line), one text height for the first
    // line and the line spacing for each further one.
    const std::wstring plain = text();
    std::size_t lines = 1, longest = 0, current = 0;
    for (wchar_t c : plain) {
        if (c == L'\n') {
            ++lines;
            current = 0;
        } else {
            longest = std::max(longest, ++current);
        }
    }
    const double width =
        m_width > 0.0 ? m_width : static_cast<double>(longest) * m_height * kCharWidthRatio;
    const double height = m_height * (1.0 + (static_cast<double>(lines) - 1.0) * kLineSpacing);
    const int column = (static_cast<int>(m_attachment) - 1) % 3;
    const int row = (static_cast<int>(m_attachment) - 1) / 3;
    const double x0 = -0.5 * width * column;
    const double y0 = row == 0 ? -height : row == 1 ? -0.5 * height : 0.0;
    const ZcGeVector3d dir = m_direction.normal();
    extents = ZcDbExtents();
    addBox(extents, m_location, dir, m_normal.normal().crossProduct(dir), x0, x0 + width, y0,
           y0 + height);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbMText::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    const TextFrame frame = transformTextFrame(xform, m_normal, m_direction);
    if (!(frame.alongScale > 0.0) || !(frame.acrossScale > 0.0))
        return Zcad::eNotApplicable;
    m_location.transformBy(xform);
    m_normal = frame.normal;
    m_direction = frame.direction.normal();
    m_height *= frame.acrossScale;
    m_width *= frame.alongScale;
    return Zcad::eOk;
}

void ZcDbMText::listFields(std::wstring& out) const {
    appendField(out, L"Location", formatPoint(m_location));
    appendField(out, L"Style", m_style);
    appendField(out, L"Text height", formatNumber(m_height));
    appendField(out, L"Width", formatNumber(m_width));
    appendField(out, L"Rotation", formatAngle(rotation()));
    appendField(out, L"Attachment", std::to_wstring(static_cast<int>(m_attachment)));
    appendField(out, L"Contents", m_contents);
}

// Writing one record: fields from the schema, with the kept groups of the file in their places.
#include <cmath>

#include "angles.h"
#include "record_io.h"

namespace gantrel::dxf {

namespace {

// The kept groups of one subclass (or those before any subclass).
struct Segment {
    std::string_view marker;
    int markerCode = 0; // 0 for the groups before any marker
    std::size_t begin = 0, end = 0;
    bool written = false;
};

std::vector<Segment> segments(const ZcDbDxfGroups& kept) {
    std::vector<Segment> out;
    out.push_back({});
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (kept[i].first == 100 || kept[i].first == 101) {
            out.back().end = i;
            out.push_back({kept[i].second, kept[i].first, i + 1, i + 1, false});
        }
    }
    out.back().end = kept.size();
    return out;
}

} // namespace

bool equalsDefault(const Field& f, const Value& v) {
    switch (f.kind) {
    case FieldKind::Real:
    case FieldKind::Angle:
        return v.real == f.def.real;
    case FieldKind::Int16:
    case FieldKind::Int32:
    case FieldKind::Bool:
        return v.integer == f.def.integer;
    case FieldKind::Text:
        return v.text == f.def.text;
    case FieldKind::Point3:
    case FieldKind::Vector3:
        return v.point == f.def.point;
    case FieldKind::Point2:
        return v.point.x == f.def.point.x && v.point.y == f.def.point.y;
    case FieldKind::RealList:
        return v.reals.empty();
    case FieldKind::Point3List:
        return v.points.empty();
    case FieldKind::Handle:
        return v.id.isNull();
    case FieldKind::BlockName:
        return v.id.isNull() && v.text.empty();
    default:
        return false;
    }
}

namespace {

void writeValue(const Field& f, const Value& v, GroupWriter& w, WriteContext& ctx) {
    switch (f.kind) {
    case FieldKind::Real:
        w.real(f.code, v.real);
        break;
    case FieldKind::Angle:
        w.real(f.code, radiansToDegrees(v.real));
        break;
    case FieldKind::Int16:
    case FieldKind::Int32:
    case FieldKind::Bool:
        w.integer(f.code, v.integer);
        break;
    case FieldKind::Text:
        w.text(f.code, std::wstring_view(v.text));
        break;
    case FieldKind::Point3:
    case FieldKind::Vector3:
        w.point(f.code, v.point);
        break;
    case FieldKind::Point2:
        w.point2(f.code, v.point.x, v.point.y);
        break;
    case FieldKind::RealList:
        for (double r : v.reals)
            w.real(f.code, r);
        break;
    case FieldKind::Point3List:
        for (const ZcGePoint3d& p : v.points)
            w.point(f.code, p);
        break;
    case FieldKind::Handle:
        w.handle(f.code, WriteContext::handleOf(v.id));
        break;
    case FieldKind::BlockName:
        // A block the database has, else one written for this record alone.
        w.text(f.code, std::wstring_view(v.id.isNull() ? v.text : ctx.blockName(v.id)));
        break;
    default:
        break;
    }
}

// Writes the default of an unmodelled field, or the value the file gave for it.
void writeUnmodelled(const Field& f, const ZcDbDxfGroups* kept, Segment* seg,
                     std::vector<bool>& used, GroupWriter& w, WriteContext& ctx) {
    const auto codes = f.codes();
    bool fromFile = false;
    if (kept && seg) {
        for (auto [code, component] : codes) {
            for (std::size_t i = seg->begin; i < seg->end; ++i) {
                if (!used[i] && (*kept)[i].first == code) {
                    used[i] = true;
                    writeKept(code, (*kept)[i].second, w);
                    fromFile = true;
                    break;
                }
            }
        }
    }
    if (fromFile || f.presence != Presence::Always)
        return;
    Value v;
    v.real = f.def.real;
    v.integer = f.def.integer;
    v.point = f.def.point;
    v.text = f.def.text;
    writeValue(f, v, w, ctx);
}

} // namespace

void writeKept(int code, const std::string& value, GroupWriter& w) {
    w.verbatim(code, value);
}

void writeXData(const std::vector<ZcDbXDataApp>& apps, GroupWriter& w) {
    for (const ZcDbXDataApp& app : apps) {
        w.text(1001, std::wstring_view(app.appName));
        for (const ZcDbXDataItem& item : app.items) {
            if (const auto* s = std::get_if<std::wstring>(&item.value)) {
                w.text(item.code, std::wstring_view(*s));
            } else if (const auto* d = std::get_if<double>(&item.value)) {
                w.real(item.code, *d);
            } else if (const auto* p = std::get_if<ZcGePoint3d>(&item.value)) {
                w.point(item.code, *p);
            } else if (const auto* i16 = std::get_if<std::int16_t>(&item.value)) {
                w.integer(item.code, *i16);
            } else if (const auto* i32 = std::get_if<std::int32_t>(&item.value)) {
                w.integer(item.code, *i32);
            } else if (const auto* bin = std::get_if<std::vector<unsigned char>>(&item.value)) {
                static const char* digits = "0123456789ABCDEF";
                // Binary chunks hold at most 127 bytes each.
                std::size_t pos = 0;
                do {
                    std::string hex;
                    const std::size_t n = std::min<std::size_t>(127, bin->size() - pos);
                    for (std::size_t k = 0; k < n; ++k) {
                        hex += digits[(*bin)[pos + k] >> 4];
                        hex += digits[(*bin)[pos + k] & 15];
                    }
                    w.verbatim(1004, hex);
                    pos += n;
                } while (pos < bin->size());
            }
        }
    }
}

void writeRecord(const Schema& schema, const void* object, const void* target, const RecordOut& out,
                 GroupWriter& w, WriteContext& ctx) {
    static const ZcDbDxfGroups kNone;
    const ZcDbDxfGroups& kept = out.kept ? *out.kept : kNone;
    std::vector<Segment> segs = segments(kept);
    std::vector<bool> used(kept.size(), false);

    w.text(0, std::string_view(schema.dxfName()));
    w.handle(schema.handleCode(), out.handle);
    for (std::size_t i = segs[0].begin; i < segs[0].end; ++i)
        writeKept(kept[i].first, kept[i].second, w);
    segs[0].written = true;
    if (out.writeOwner)
        w.handle(330, out.owner);

    Value v;
    const auto& subclasses = schema.subclasses();
    for (std::size_t s = 0; s < subclasses.size(); ++s) {
        const Subclass& sub = *subclasses[s];
        w.text(100, std::string_view(sub.marker));
        if (s == 0 && schema.isEntity() && out.paperSpace)
            w.integer(67, 1);
        // The kept segment of this subclass: the same occurrence of the same marker.
        std::size_t occurrence = 0;
        for (std::size_t k = 0; k < s; ++k)
            occurrence += subclasses[k]->marker == sub.marker ? 1 : 0;
        Segment* seg = nullptr;
        for (std::size_t k = 1; k < segs.size(); ++k) {
            if (segs[k].markerCode == 100 && segs[k].marker == sub.marker) {
                if (occurrence == 0) {
                    seg = &segs[k];
                    break;
                }
                --occurrence;
            }
        }
        const void* own = s == 0 && schema.isEntity() && subclasses.size() > 1 ? object : target;
        for (const Field& f : sub.fields) {
            if (f.kind == FieldKind::Ignored || f.presence == Presence::ReadOnly)
                continue;
            if (f.kind == FieldKind::Sequence) {
                f.writeSequence(own, w, ctx);
                continue;
            }
            if (!f.get) {
                writeUnmodelled(f, out.kept, seg, used, w, ctx);
                continue;
            }
            f.get(own, v, ctx);
            if (f.presence == Presence::Optional && equalsDefault(f, v))
                continue;
            writeValue(f, v, w, ctx);
        }
        if (seg) {
            seg->written = true;
            for (std::size_t i = seg->begin; i < seg->end; ++i)
                if (!used[i])
                    writeKept(kept[i].first, kept[i].second, w);
        }
    }
    // Kept subclasses the schema does not describe follow the described ones.
    for (Segment& seg : segs) {
        if (seg.written)
            continue;
        w.text(seg.markerCode, seg.marker);
        for (std::size_t i = seg.begin; i < seg.end; ++i)
            writeKept(kept[i].first, kept[i].second, w);
    }
    if (out.xdata)
        writeXData(*out.xdata, w);
}

} // namespace gantrel::dxf

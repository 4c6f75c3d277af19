// Leaders and aligned dimensions. A leader's arrow size and dimension scale, when they differ
// from the drawing's, are dimension-style overrides in its "ACAD" extended data ("DSTYLE").
#include <cmath>

#include "contexts.h"
#include "kinds.h"
#include "zcdbtext.h"

namespace gantrel::dxf {

namespace {

constexpr int kDimscale = 40;
constexpr int kDimasz = 41;

// The "DSTYLE" block of an "ACAD" extended-data list: 1000 "DSTYLE", 1002 "{", pairs of a
// 1070 dimension variable and its value, 1002 "}". Returns the index of "{", or npos.
std::size_t findStyleBlock(const std::vector<ZcDbXDataItem>& items, std::size_t& close) {
    for (std::size_t i = 0; i + 1 < items.size(); ++i) {
        const auto* name = std::get_if<std::wstring>(&items[i].value);
        const auto* open = std::get_if<std::wstring>(&items[i + 1].value);
        if (items[i].code != 1000 || !name || *name != L"DSTYLE" || items[i + 1].code != 1002 ||
            !open || *open != L"{")
            continue;
        for (std::size_t k = i + 2; k < items.size(); ++k) {
            const auto* s = std::get_if<std::wstring>(&items[k].value);
            if (items[k].code == 1002 && s && *s == L"}") {
                close = k;
                return i + 1;
            }
        }
    }
    return std::string::npos;
}

double numberOf(const ZcDbXDataItem& item, bool& ok) {
    ok = true;
    if (const auto* d = std::get_if<double>(&item.value))
        return *d;
    if (const auto* s = std::get_if<std::int16_t>(&item.value))
        return *s;
    if (const auto* l = std::get_if<std::int32_t>(&item.value))
        return *l;
    ok = false;
    return 0.0;
}

Zcad::ErrorStatus leaderFromXData(void*, ZcDbObject& obj, ReadContext& ctx) {
    auto& leader = static_cast<ZcDbLeader&>(obj);
    double dimasz = ctx.db().dimasz();
    double dimscale = ctx.db().dimscale();
    std::vector<ZcDbXDataApp> apps = leader.xDataApps();
    for (auto app = apps.begin(); app != apps.end(); ++app) {
        if (app->appName != L"ACAD")
            continue;
        std::size_t close = 0;
        const std::size_t open = findStyleBlock(app->items, close);
        if (open == std::string::npos)
            break;
        std::vector<ZcDbXDataItem> kept;
        for (std::size_t k = open + 1; k + 1 < close; k += 2) {
            const auto* var = std::get_if<std::int16_t>(&app->items[k].value);
            bool ok = false;
            const double value = numberOf(app->items[k + 1], ok);
            if (app->items[k].code == 1070 && var && ok && (*var == kDimasz || *var == kDimscale)) {
                (*var == kDimasz ? dimasz : dimscale) = value;
                continue;
            }
            kept.push_back(app->items[k]);
            kept.push_back(app->items[k + 1]);
        }
        auto& items = app->items;
        if (kept.empty()) {
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(open) - 1,
                        items.begin() + static_cast<std::ptrdiff_t>(close) + 1);
        } else {
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(open) + 1,
                        items.begin() + static_cast<std::ptrdiff_t>(close));
            items.insert(items.begin() + static_cast<std::ptrdiff_t>(open) + 1, kept.begin(),
                         kept.end());
        }
        if (items.empty())
            apps.erase(app);
        break;
    }
    leader.setXDataApps(std::move(apps));
    if (auto es = leader.setDimasz(dimasz); es != Zcad::eOk)
        return es;
    return leader.setDimscale(dimscale);
}

void leaderToXData(const ZcDbObject& obj, std::vector<ZcDbXDataApp>& apps, WriteContext& ctx) {
    const auto& leader = static_cast<const ZcDbLeader&>(obj);
    std::vector<ZcDbXDataItem> overrides;
    auto add = [&](std::int16_t var, double value) {
        overrides.push_back({1070, var});
        overrides.push_back({1040, value});
    };
    if (leader.dimscale() != ctx.db().dimscale())
        add(kDimscale, leader.dimscale());
    if (leader.dimasz() != ctx.db().dimasz())
        add(kDimasz, leader.dimasz());
    if (overrides.empty())
        return;
    auto app = std::find_if(apps.begin(), apps.end(),
                            [](const ZcDbXDataApp& a) { return a.appName == L"ACAD"; });
    if (app == apps.end()) {
        apps.push_back({L"ACAD", {}});
        app = apps.end() - 1;
    }
    std::size_t close = 0;
    const std::size_t open = findStyleBlock(app->items, close);
    if (open == std::string::npos) {
        app->items.push_back({1000, std::wstring(L"DSTYLE")});
        app->items.push_back({1002, std::wstring(L"{")});
        app->items.insert(app->items.end(), overrides.begin(), overrides.end());
        app->items.push_back({1002, std::wstring(L"}")});
    } else {
        app->items.insert(app->items.begin() + static_cast<std::ptrdiff_t>(close),
                          overrides.begin(), overrides.end());
    }
}

const Subclass kLeader{
    "AcDbLeader",
    {
        prop<&ZcDbLeader::dimensionStyleName, &ZcDbLeader::setDimensionStyleName>(
            3, FieldKind::Text, Presence::Always, L"Standard"),
        custom(
            71, FieldKind::Int16, Presence::Always, 1,
            [](const void* t, Value& v, WriteContext&) {
                v.integer = static_cast<const ZcDbLeader*>(t)->hasArrowHead() ? 1 : 0;
            },
            [](void* t, const Value& v, ReadContext&) {
                auto* leader = static_cast<ZcDbLeader*>(t);
                return v.integer ? leader->enableArrowHead() : leader->disableArrowHead();
            }),
        unmodelled(72, FieldKind::Int16, 0),
        unmodelled(73, FieldKind::Int16, 3),
        unmodelled(74, FieldKind::Int16, 1),
        unmodelled(75, FieldKind::Int16, 0),
        unmodelled(40, FieldKind::Real, 0.0, Presence::Optional),
        unmodelled(41, FieldKind::Real, 0.0, Presence::Optional),
        custom(
            76, FieldKind::Int16, Presence::Always, 0,
            [](const void* t, Value& v, WriteContext&) {
                v.integer = static_cast<const ZcDbLeader*>(t)->numVertices();
            },
            [](void*, const Value&, ReadContext&) { return Zcad::eOk; }),
        custom(
            10, FieldKind::Point3List, Presence::Always, {},
            [](const void* t, Value& v, WriteContext&) {
                const auto& vertices = static_cast<const ZcDbLeader*>(t)->vertices();
                v.points.assign(vertices.begin(), vertices.end());
            },
            [](void* t, const Value& v, ReadContext&) {
                for (const ZcGePoint3d& p : v.points)
                    if (auto es = static_cast<ZcDbLeader*>(t)->appendVertex(p); es != Zcad::eOk)
                        return es;
                return Zcad::eOk;
            }),
        unmodelled(77, FieldKind::Int16, 0, Presence::Optional),
        unmodelled(340, FieldKind::Handle, 0, Presence::Optional),
        prop<&ZcDbLeader::normal, &ZcDbLeader::setNormal>(210, FieldKind::Vector3,
                                                          Presence::Optional, kZ),
        unmodelled(211, FieldKind::Vector3, ZcGePoint3d(1.0, 0.0, 0.0), Presence::Optional),
        unmodelled(212, FieldKind::Vector3, {}, Presence::Optional),
        unmodelled(213, FieldKind::Vector3, {}, Presence::Optional),
    }};

// --- aligned dimensions ---------------------------------------------------------------------

using Dim = ZcDbAlignedDimension;

const Subclass kDimension{
    "AcDbDimension",
    {
        unmodelled(280, FieldKind::Int16, 0),
        custom(
            2, FieldKind::BlockName, Presence::Optional, L"",
            [](const void* t, Value& v, WriteContext& ctx) {
                v.id = static_cast<const Dim*>(t)->dimBlockId();
                v.text.clear();
                if (auto it = ctx.dimensionBlockNames.find(static_cast<const Dim*>(t));
                    v.id.isNull() && it != ctx.dimensionBlockNames.end())
                    v.text = it->second;
            },
            [](void*, const Value& v, ReadContext& ctx) {
                ctx.referToBlock(
                    v.text,
                    [](ZcDbObject& o, ZcDbObjectId id) {
                        return static_cast<Dim&>(o).setDimBlockId(id);
                    },
                    v.line);
                return Zcad::eOk;
            }),
        prop<&Dim::dimLinePoint, &Dim::setDimLinePoint>(10, FieldKind::Point3),
        prop<&Dim::textPosition, &Dim::setTextPosition>(11, FieldKind::Point3),
        // Aligned (1); the block is this dimension's own (32); the text was placed (128).
        custom(
            70, FieldKind::Int16, Presence::Always, 1,
            [](const void* t, Value& v, WriteContext& ctx) {
                const Dim& d = *static_cast<const Dim*>(t);
                const bool block =
                    !d.dimBlockId().isNull() || ctx.dimensionBlockNames.count(&d) > 0;
                v.integer =
                    1 | (block ? 32 : 0) | (d.textPosition() == ZcGePoint3d::kOrigin ? 0 : 128);
            },
            [](void*, const Value&, ReadContext&) { return Zcad::eOk; }),
        unmodelled(71, FieldKind::Int16, 5),
        unmodelled(72, FieldKind::Int16, 1, Presence::Optional),
        unmodelled(41, FieldKind::Real, 1.0, Presence::Optional),
        custom(
            42, FieldKind::Real, Presence::Always, 0.0,
            [](const void* t, Value& v, WriteContext&) {
                v.real = 0.0;
                static_cast<const Dim*>(t)->measurement(v.real);
            },
            [](void*, const Value&, ReadContext&) { return Zcad::eOk; }),
        unmodelled(73, FieldKind::Int16, 0, Presence::Optional),
        unmodelled(74, FieldKind::Int16, 0, Presence::Optional),
        unmodelled(75, FieldKind::Int16, 0, Presence::Optional),
        prop<&Dim::dimensionText, &Dim::setDimensionText>(1, FieldKind::Text, Presence::Optional,
                                                          L""),
        prop<&Dim::oblique, &Dim::setOblique>(52, FieldKind::Angle, Presence::Optional, 0.0),
        unmodelled(53, FieldKind::Real, 0.0, Presence::Optional),
        unmodelled(51, FieldKind::Real, 0.0, Presence::Optional),
        unmodelled(210, FieldKind::Vector3, kZ, Presence::Optional),
        prop<&Dim::dimensionStyleName, &Dim::setDimensionStyleName>(3, FieldKind::Text,
                                                                    Presence::Always, L"Standard"),
    }};

const Subclass kAlignedDimension{
    "AcDbAlignedDimension",
    {
        unmodelled(12, FieldKind::Point3, {}, Presence::Optional),
        prop<&Dim::xLine1Point, &Dim::setXLine1Point>(13, FieldKind::Point3),
        prop<&Dim::xLine2Point, &Dim::setXLine2Point>(14, FieldKind::Point3),
    }};

} // namespace

std::vector<const Kind*> annotationKinds() {
    static const Schema leader("LEADER", {&entitySubclass(), &kLeader}, true);
    static const Schema dimension("DIMENSION", {&entitySubclass(), &kDimension, &kAlignedDimension},
                                  true);
    static const Kind leaderKind = [] {
        Kind k = directKind<ZcDbLeader>(leader);
        k.endRead = &leaderFromXData;
        k.addXData = &leaderToXData;
        return k;
    }();
    static const Kind dimensionKind = directKind<ZcDbAlignedDimension>(dimension);
    return {&leaderKind, &dimensionKind};
}

} // namespace gantrel::dxf

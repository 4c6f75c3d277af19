#include "part_job.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cwctype>
#include <filesystem>

#include "drawing_file.h"
#include "nest_script.h"
#include "nest_summary.h"
#include "part_outline.h"
#include "text_codec.h"
#include "winhost.h"
#include "zcdball.h"

namespace fs = std::filesystem;

namespace gantrel::app {

namespace {

constexpr int kLargestCount = 32767;
constexpr const wchar_t* kSheetLayer = L"Sheet";
constexpr const wchar_t* kPartsLayer = L"Parts";

bool endsWithDxf(const std::string& text) {
    if (text.size() < 4)
        return false;
    std::string tail = text.substr(text.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".dxf" || tail == ".dwg";
}

// A positive finite number written in full, or nothing.
std::optional<double> positiveNumber(const std::string& text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || at != end || !std::isfinite(value) || value <= 0.0)
        return std::nullopt;
    return value;
}

void addLayer(ZcDbDatabase& db, const wchar_t* name, std::int16_t color) {
    ZcDbLayerTable* layers = nullptr;
    if (db.getLayerTable(layers, ZcDb::kForWrite) != Zcad::eOk)
        return;
    if (!layers->has(name)) {
        auto* layer = new ZcDbLayerTableRecord;
        layer->setName(name);
        layer->setColorIndex(color);
        layers->add(layer);
        layer->close();
    }
    layers->close();
}

// Appends the entity to model space on the layer; its id, the entity closed.
ZcDbObjectId appendToModelSpace(ZcDbDatabase& db, ZcDbEntity* entity, const wchar_t* layer) {
    ZcDbBlockTableRecord* model = nullptr;
    if (zcdbOpenObject(model, db.modelSpaceId(), ZcDb::kForWrite) != Zcad::eOk) {
        delete entity;
        return {};
    }
    ZcDbObjectId id;
    const Zcad::ErrorStatus es = model->appendZcDbEntity(id, entity);
    model->close();
    if (es != Zcad::eOk) {
        delete entity;
        return {};
    }
    entity->setLayer(layer);
    entity->close();
    return id;
}

// The scale from a drawing's units to the job's: 1 when either has no length unit.
double unitScale(const ZcDbDatabase& from, JobUnits to) {
    const std::optional<double> source = millimetresPerUnit(from.insunits());
    if (!source)
        return 1.0;
    return *source / (to == JobUnits::Inches ? 25.4 : 1.0);
}

ZcDbPolyline* rectangle(double width, double height) {
    auto* pl = new ZcDbPolyline;
    pl->addVertexAt(0, {0.0, 0.0});
    pl->addVertexAt(1, {width, 0.0});
    pl->addVertexAt(2, {width, height});
    pl->addVertexAt(3, {0.0, height});
    pl->setClosed(true);
    return pl;
}

// A lightweight polyline along the closed polyline (either kind) of a sheet drawing, arcs kept.
ZcDbPolyline* copyOfOutline(ZcDbObjectId id) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk)
        return nullptr;
    auto* copy = new ZcDbPolyline;
    unsigned int at = 0;
    if (const auto* light = ZcDbPolyline::cast(entity)) {
        for (const ZcDbPolyline::Vertex& v : light->vertices())
            copy->addVertexAt(at++, v.point, v.bulge);
    } else if (const auto* heavy = ZcDb2dPolyline::cast(entity)) {
        for (const ZcDb2dPolyline::VertexData& v : heavy->vertexData())
            copy->addVertexAt(at++, {v.position.x, v.position.y}, v.bulge);
    }
    entity->close();
    copy->setClosed(true);
    return copy;
}

// Moves the entity so that the lower-left corner of its extents lies at the point.
void moveExtentsTo(ZcDbObjectId id, const ZcGePoint3d& corner) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk)
        return;
    ZcDbExtents extents;
    if (entity->getGeomExtents(extents) == Zcad::eOk)
        entity->transformBy(ZcGeMatrix3d::translation(corner - extents.minPoint()));
    entity->close();
}

ZcDbExtents extentsOf(ZcDbObjectId id) {
    ZcDbExtents extents;
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) == Zcad::eOk) {
        entity->getGeomExtents(extents);
        entity->close();
    }
    return extents;
}

ZcDbObjectId addSheet(ZcDbDatabase& db, const SheetSpec& sheet, JobUnits units,
                      std::string& error) {
    if (sheet.file.empty())
        return appendToModelSpace(db, rectangle(sheet.width, sheet.height), kSheetLayer);
    std::unique_ptr<ZcDbDatabase> source = openDrawing(sheet.file, error);
    if (!source)
        return {};
    const ZcDbObjectId outline = largestClosedPolyline(*source);
    if (outline.isNull()) {
        error = sheet.file + ": holds no closed polyline to use as the sheet";
        return {};
    }
    ZcDbPolyline* copy = copyOfOutline(outline);
    if (copy == nullptr) {
        error = sheet.file + ": its sheet polyline cannot be read";
        return {};
    }
    copy->transformBy(ZcGeMatrix3d::scaling(unitScale(*source, units)));
    const ZcDbObjectId id = appendToModelSpace(db, copy, kSheetLayer);
    moveExtentsTo(id, ZcGePoint3d::kOrigin);
    return id;
}

bool hasBlock(ZcDbDatabase& db, const std::wstring& name) {
    ZcDbBlockTable* table = nullptr;
    if (db.getBlockTable(table, ZcDb::kForRead) != Zcad::eOk)
        return false;
    const bool has = table->has(name.c_str());
    table->close();
    return has;
}

bool sameName(const std::wstring& a, const std::wstring& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

// The first of base, base-2, base-3 ... that the job has not and that is not taken.
std::wstring freeBlockName(ZcDbDatabase& job, const std::wstring& base,
                           const std::wstring& taken = std::wstring()) {
    for (int n = 1;; ++n) {
        const std::wstring name = n == 1 ? base : base + L"-" + std::to_wstring(n);
        if (!hasBlock(job, name) && !sameName(name, taken))
            return name;
    }
}

// A block name from a file name: characters a block name cannot hold become "_".
std::wstring blockNameOf(const std::string& path) {
    std::wstring name = gantrel::dxf::utf8ToWide(fs::path(path).stem().string());
    for (wchar_t& c : name)
        if (c < 0x20 || std::wstring_view(L"<>/\\\":;?*|,=`").find(c) != std::wstring_view::npos)
            c = L'_';
    return name.empty() ? std::wstring(L"PART") : name;
}

// Gives the named blocks of a part drawing that the job already has, or that bear the name of
// the part's own block, other names, so that the part keeps its own definitions instead of
// taking those of an earlier part.
void renameCollidingBlocks(ZcDbDatabase& job, ZcDbDatabase& part, const std::wstring& partName) {
    ZcDbBlockTable* table = nullptr;
    if (part.getBlockTable(table, ZcDb::kForRead) != Zcad::eOk)
        return;
    const std::vector<ZcDbObjectId> ids = table->recordIds();
    table->close();
    for (const ZcDbObjectId& id : ids) {
        if (id == part.modelSpaceId() || id == part.paperSpaceId())
            continue;
        ZcDbBlockTableRecord* record = nullptr;
        if (zcdbOpenObject(record, id, ZcDb::kForWrite) != Zcad::eOk)
            continue;
        const std::wstring name = record->name();
        if (!record->isLayout() && !record->isAnonymous() &&
            (hasBlock(job, name) || sameName(name, partName))) {
            // Unique in the part drawing too, so that two of its blocks never merge.
            std::wstring other = freeBlockName(job, partName + L"$" + name, partName);
            for (int n = 2; hasBlock(part, other); ++n)
                other = freeBlockName(job, partName + L"$" + name + L"-" + std::to_wstring(n),
                                      partName);
            record->setName(other.c_str());
        }
        record->close();
    }
}

// The reference to a part's block, scaled into the job's units, with the count of pieces.
ZcDbObjectId addReference(ZcDbDatabase& db, ZcDbObjectId block, double scale, int count) {
    auto* reference = new ZcDbBlockReference(ZcGePoint3d::kOrigin, block);
    reference->setScaleFactors(ZcGeScale3d(scale, scale, scale));
    resbuf* data =
        zcutBuildList(1001, L"Plaxen", 1000, L"Count", 1070, count, 1000, L"Rotable", 1070, 1, 0);
    reference->setXData(data);
    zcutRelRb(data);
    return appendToModelSpace(db, reference, kPartsLayer);
}

} // namespace

bool parsePartRequest(const std::string& text, PartRequest& request, std::string& error) {
    request = PartRequest{text, 1};
    const std::size_t equals = text.rfind('=');
    if (endsWithDxf(text) || equals == std::string::npos)
        return true;
    request.path = text.substr(0, equals);
    const std::string count = text.substr(equals + 1);
    int value = 0;
    const char* end = count.data() + count.size();
    const auto [at, ec] = std::from_chars(count.data(), end, value);
    if (count.empty() || ec != std::errc() || at != end || value < 1 || value > kLargestCount) {
        error = fmt::format("\"{}\": the count after \"=\" must be a whole number from 1 to {}",
                            text, kLargestCount);
        return false;
    }
    request.count = value;
    return true;
}

bool parseSheetSpec(const std::string& text, SheetSpec& sheet, std::string& error) {
    sheet = SheetSpec{};
    const std::size_t x = text.find_first_of("xX");
    if (x != std::string::npos && !endsWithDxf(text)) {
        const std::optional<double> width = positiveNumber(text.substr(0, x));
        const std::optional<double> height = positiveNumber(text.substr(x + 1));
        if (width && height) {
            sheet.width = *width;
            sheet.height = *height;
            return true;
        }
    }
    if (endsWithDxf(text)) {
        sheet.file = text;
        return true;
    }
    error =
        "\"" + text + "\" is neither a size WxH of positive numbers (as 2440x1220) nor a DXF file";
    return false;
}

std::optional<double> millimetresPerUnit(int code) {
    switch (code) {
    case 1:
        return 25.4; // inches
    case 2:
        return 304.8; // feet
    case 3:
        return 1609344.0; // miles
    case 4:
        return 1.0; // millimetres
    case 5:
        return 10.0; // centimetres
    case 6:
        return 1000.0; // metres
    case 7:
        return 1000000.0; // kilometres
    case 8:
        return 25.4e-6; // microinches
    case 9:
        return 0.0254; // mils
    case 10:
        return 914.4; // yards
    case 11:
        return 1e-7; // angstroms
    case 12:
        return 1e-6; // nanometres
    case 13:
        return 1e-3; // microns
    case 14:
        return 100.0; // decimetres
    default:
        return std::nullopt;
    }
}

std::optional<PartJob> buildPartJob(const SheetSpec& sheet, const std::vector<PartRequest>& parts,
                                    JobUnits units, std::string& error) {
    PartJob job;
    job.db = std::make_unique<ZcDbDatabase>();
    ZcDbDatabase& db = *job.db;
    db.setInsunits(units == JobUnits::Inches ? 1 : 4);
    zcdbRegApp(&db, L"Plaxen");
    addLayer(db, kSheetLayer, 8);
    addLayer(db, kPartsLayer, 5);
    job.sheet = addSheet(db, sheet, units, error);
    if (job.sheet.isNull()) {
        if (error.empty())
            error = "the sheet cannot be added to the job drawing";
        return std::nullopt;
    }
    const ZcDbExtents sheetExtents = extentsOf(job.sheet);
    const double sheetHeight = sheetExtents.maxPoint().y - sheetExtents.minPoint().y;
    // The references lie in a row below the sheet, clear of it.
    double rowX = 0.0;
    const double rowY = -0.1 * sheetHeight;

    for (const PartRequest& request : parts) {
        JobPart part;
        part.path = request.path;
        part.name = fs::path(request.path).filename().string();
        part.count = request.count;
        std::unique_ptr<ZcDbDatabase> source = openDrawing(request.path, error);
        if (!source)
            return std::nullopt;
        if (!holdsClosedOutline(modelSpaceIds(*source))) {
            error = request.path +
                    ": holds no closed outline to nest (a closed polyline, circle, closed "
                    "spline, region, block, or lines and arcs whose ends meet)";
            return std::nullopt;
        }
        const std::wstring name = freeBlockName(db, blockNameOf(request.path));
        renameCollidingBlocks(db, *source, name);
        if (const Zcad::ErrorStatus es = db.insert(part.blockId, name.c_str(), source.get());
            es != Zcad::eOk) {
            error = request.path + ": cannot be inserted as a block (" +
                    ::win::Narrow(zcadErrorStatusText(es)) + ")";
            return std::nullopt;
        }
        part.block = ::win::Narrow(name);
        part.reference = addReference(db, part.blockId, unitScale(*source, units), request.count);
        if (part.reference.isNull()) {
            error = request.path + ": its block cannot be placed in the job drawing";
            return std::nullopt;
        }
        if (const ZcDbExtents extents = extentsOf(part.reference); !extents.isEmpty()) {
            const double height = extents.maxPoint().y - extents.minPoint().y;
            moveExtentsTo(part.reference, {rowX, rowY - height, 0.0});
            rowX += (extents.maxPoint().x - extents.minPoint().x) + 0.1 * std::max(height, 1.0);
        }
        job.parts.push_back(std::move(part));
    }
    return job;
}

} // namespace gantrel::app

#include "nesting/dwg/NestDWG.h"

#include "frame/Printer.h"
#include "nesting/geometry/Predicates.h"

namespace gantrel {

void NestDWG::Message(const std::wstring& text) {
    ZWPrinter().PrintText(text);
}

void NestDWG::LoadSheet(ZcDbObjectId sheet) {
    m_sheetId = sheet;
    const NestPolygon outline = DwgParser().polygonify(sheet, Settings().arcPrecision);
    SetSheet(outline.IsEmpty() ? NestPolygon() : outline);
}

void NestDWG::LoadParts(const NestEntities& parts) {
    Polygons loaded = Parts();
    DwgParser parser;
    if (Sheet().Size() > 0) {
        const BoundingBox box = BoundingBoxOf(Sheet());
        parser.SetRange(box.Min(), Reach(Settings()), Settings().integerScale);
    }
    for (const Nest_Entity& part : parts) {
        parser.Parse(part.id, Settings().arcPrecision, loaded);
    }
    SetParts(loaded);
}

} // namespace gantrel

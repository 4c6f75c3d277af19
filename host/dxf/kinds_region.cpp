// Regions: their ACIS data (SAT lines in groups 1 and 3) read into loops when it describes a
// planar region of straight and circular edges, else kept as the file's lines and written back
// unchanged.
#include "contexts.h"
#include "group_writer.h"
#include "kinds.h"
#include "sat.h"
#include "zcdbregion.h"

namespace gantrel::dxf {

namespace {

// A SAT line starts with a group 1; groups 3 continue it.
void readModel(void* t, GroupCursor& cur, ReadContext& ctx) {
    auto& region = *static_cast<ZcDbRegion*>(t);
    std::vector<std::string> fileLines;
    while (!cur.done() && (cur.peek().code == 1 || cur.peek().code == 3)) {
        const Group& g = cur.take();
        if (g.code == 1 || fileLines.empty())
            fileLines.emplace_back();
        // The cipher's characters are not text escapes: the bytes are taken as they are.
        fileLines.back() += g.value;
    }
    std::vector<std::string> sat;
    for (const std::string& l : fileLines)
        sat.push_back(decodeSatLine(l));
    PlanarLoops loops;
    std::string why;
    if (satToLoops(sat, loops, why)) {
        // The loops are tried on a scratch region first, so that a loop the region refuses
        // leaves the data raw rather than half read.
        ZcDbRegion probe;
        bool ok = true;
        for (const ZcDbLoop& loop : loops.loops)
            ok = ok && probe.appendLoop(loop) == Zcad::eOk;
        if (ok) {
            region.setNormal(loops.normal);
            region.setElevation(loops.elevation);
            for (const ZcDbLoop& loop : loops.loops)
                region.appendLoop(loop);
            return;
        }
        why = "a loop is not closed";
    }
    ctx.repairOnce("region:" + why, cur.all().empty() ? 0 : cur.all().front().line,
                   "REGION data kept as it is (" + why + ")");
    region.setRawData(std::move(fileLines));
}

// Lines longer than a group holds continue in groups 3. The cipher's characters are written as
// they are.
void writeLine(GroupWriter& w, const std::string& line) {
    constexpr std::size_t kPiece = 255;
    w.verbatim(1, std::string_view(line).substr(0, kPiece));
    for (std::size_t pos = kPiece; pos < line.size(); pos += kPiece)
        w.verbatim(3, std::string_view(line).substr(pos, kPiece));
}

void writeModel(const void* t, GroupWriter& w, WriteContext&) {
    const auto& region = *static_cast<const ZcDbRegion*>(t);
    if (region.hasRawDataOnly()) {
        for (const std::string& line : region.rawData())
            writeLine(w, line);
        return;
    }
    PlanarLoops loops;
    loops.loops = region.loops();
    loops.normal = region.normal();
    loops.elevation = region.elevation();
    for (const std::string& line : loopsToSat(loops))
        writeLine(w, encodeSatLine(line));
}

const Subclass kModelerGeometry{"AcDbModelerGeometry",
                                {
                                    unmodelled(70, FieldKind::Int16, 1),
                                    sequence(1, {3}, &readModel, &writeModel),
                                }};

} // namespace

std::vector<const Kind*> regionKinds() {
    static const Schema region("REGION", {&entitySubclass(), &kModelerGeometry}, true);
    static const Kind kind = directKind<ZcDbRegion>(region);
    return {&kind};
}

} // namespace gantrel::dxf

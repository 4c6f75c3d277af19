#include "part_job_run.h"

#include <algorithm>
#include <chrono>
#include <numeric>
#include <set>

#include "input.h"
#include "winhost.h"
#include "zcdball.h"

namespace gantrel::app {

namespace {

// The lines of one sheet's script, until one is refused or a command fails; notes a command
// left asking for more.
class SheetInput : public editor::InputSource {
public:
    SheetInput(const std::vector<NestScriptLine>& lines, const editor::HostSession& session)
        : m_lines(lines), m_session(session), m_refused(session.refusedLines()),
          m_failed(session.failedCommands()) {}

    std::optional<editor::InputLine> next(const std::string&) override {
        if (stopped())
            return std::nullopt;
        if (m_at == m_lines.size()) {
            m_unanswered = m_unanswered || m_session.commandActive();
            return std::nullopt;
        }
        editor::InputLine line;
        line.text = m_lines[m_at++].text;
        line.origin = "nest:" + std::to_string(m_at);
        return line;
    }
    bool stopped() const {
        return m_session.refusedLines() > m_refused || m_session.failedCommands() > m_failed;
    }
    bool unanswered() const { return m_unanswered; }
    // What the last line fed stands for on the command line.
    const std::string& meaning() const { return m_lines[m_at == 0 ? 0 : m_at - 1].meaning; }

private:
    const std::vector<NestScriptLine>& m_lines;
    const editor::HostSession& m_session;
    int m_refused, m_failed;
    std::size_t m_at = 0;
    bool m_unanswered = false;
};

std::string handleOf(ZcDbObjectId id) {
    return ::win::Narrow(id.handle().text());
}

void setCount(ZcDbObjectId reference, int count) {
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, reference, ZcDb::kForWrite) != Zcad::eOk)
        return;
    resbuf* data =
        zcutBuildList(1001, L"Plaxen", 1000, L"Count", 1070, count, 1000, L"Rotable", 1070, 1, 0);
    object->setXData(data);
    zcutRelRb(data);
    object->close();
}

void erase(ZcDbObjectId id) {
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, id, ZcDb::kForWrite) != Zcad::eOk)
        return;
    object->erase();
    object->close();
}

// A copy of the sheet moved right by dx; null when it cannot be made.
ZcDbObjectId copySheet(ZcDbDatabase& db, ZcDbObjectId sheet, double dx) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, sheet, ZcDb::kForRead) != Zcad::eOk)
        return {};
    auto* copy = ZcDbEntity::cast(entity->clone());
    entity->close();
    if (copy == nullptr)
        return {};
    copy->transformBy(ZcGeMatrix3d::translation({dx, 0.0, 0.0}));
    ZcDbBlockTableRecord* model = nullptr;
    ZcDbObjectId id;
    if (zcdbOpenObject(model, db.modelSpaceId(), ZcDb::kForWrite) != Zcad::eOk ||
        model->appendZcDbEntity(id, copy) != Zcad::eOk) {
        if (model != nullptr)
            model->close();
        delete copy;
        return {};
    }
    model->close();
    copy->close();
    return id;
}

double widthOf(ZcDbObjectId id) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk)
        return 0.0;
    ZcDbExtents extents;
    const bool known = entity->getGeomExtents(extents) == Zcad::eOk;
    entity->close();
    return known ? extents.maxPoint().x - extents.minPoint().x : 0.0;
}

// The part a piece is a copy of, by the block it shows; -1 for anything else.
int partOf(const PartJob& job, ZcDbObjectId piece) {
    ZcDbBlockReference* reference = nullptr;
    if (zcdbOpenObject(reference, piece, ZcDb::kForRead) != Zcad::eOk)
        return -1;
    const ZcDbObjectId block = reference->blockTableRecord();
    reference->close();
    for (std::size_t i = 0; i < job.parts.size(); ++i)
        if (job.parts[i].blockId == block)
            return static_cast<int>(i);
    return -1;
}

// The pieces one run left in the drawing: placed on the sheet or set down beside it.
struct RunPieces {
    std::vector<int> placed, setDown;
    std::vector<ZcDbObjectId> setDownIds, allIds;
};

RunPieces piecesOf(ZcDbDatabase& db, const PartJob& job, const NestSummary& summary,
                   const std::set<std::uint64_t>& before) {
    RunPieces pieces;
    pieces.placed.assign(job.parts.size(), 0);
    pieces.setDown.assign(job.parts.size(), 0);
    std::set<std::string> placed;
    for (const PlacementRecord& record : summary.placements)
        placed.insert(record.handle);
    for (const ZcDbObjectId& id : modelSpaceIds(db)) {
        if (before.count(id.handle().value()) != 0)
            continue;
        pieces.allIds.push_back(id);
        const bool isPlaced = placed.count(handleOf(id)) != 0;
        if (!isPlaced)
            pieces.setDownIds.push_back(id);
        const int part = partOf(job, id);
        if (part >= 0)
            ++(isPlaced ? pieces.placed : pieces.setDown)[part];
    }
    return pieces;
}

} // namespace

int JobOutcome::placed() const {
    int total = 0;
    for (const SheetResult& sheet : sheets)
        total += std::accumulate(sheet.placedByPart.begin(), sheet.placedByPart.end(), 0);
    return total;
}

int JobOutcome::unplaced() const {
    return std::accumulate(unplacedByPart.begin(), unplacedByPart.end(), 0);
}

JobOutcome nestPartJob(editor::HostSession& session, const PartJob& job,
                       const NestSettingsFlags& settings, int maxSheets) {
    ZcDbDatabase& db = *session.database();
    JobOutcome outcome;
    std::vector<int> remaining;
    for (const JobPart& part : job.parts)
        remaining.push_back(part.count);
    outcome.unplacedByPart = remaining;
    const double step = 1.1 * widthOf(job.sheet);
    std::vector<ZcDbObjectId> leftOver; // set down by the last sheet that placed pieces

    for (int index = 0; index < maxSheets; ++index) {
        const ZcDbObjectId sheet = index == 0 ? job.sheet : copySheet(db, job.sheet, step * index);
        if (sheet.isNull()) {
            outcome.failure = "the sheet cannot be copied for sheet " + std::to_string(index + 1);
            break;
        }
        std::vector<std::string> selection;
        for (std::size_t i = 0; i < job.parts.size(); ++i) {
            if (remaining[i] == 0)
                continue;
            setCount(job.parts[i].reference, remaining[i]);
            selection.push_back(handleOf(job.parts[i].reference));
        }
        const std::vector<NestScriptLine> lines =
            nestScript(index == 0 ? settings : NestSettingsFlags{}, handleOf(sheet), selection);
        const std::set<std::uint64_t> before = modelSpaceHandles(db);
        SheetInput input(lines, session);
        const auto start = std::chrono::steady_clock::now();
        session.run(input);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!session.transcript().atLineStart())
            session.transcript().write(std::string_view("\n"));
        if (input.stopped() || input.unanswered()) {
            outcome.failure =
                (input.unanswered() ? "the command asked for more after " : "the host refused ") +
                input.meaning() + " on sheet " + std::to_string(index + 1);
            break;
        }

        SheetResult result;
        result.handle = handleOf(sheet);
        result.summary = summariseNesting(db, sheet, before, settings.spacingOrDefault());
        result.summary.seconds = elapsed.count();
        result.summary.arrangements = session.progress().steps;
        const RunPieces pieces = piecesOf(db, job, result.summary, before);
        if (index == 0)
            for (std::size_t i = 0; i < job.parts.size(); ++i)
                if (pieces.placed[i] + pieces.setDown[i] == 0)
                    outcome.unreadParts.push_back(job.parts[i].name);
        if (!outcome.unreadParts.empty())
            break;
        const int placedHere = std::accumulate(pieces.placed.begin(), pieces.placed.end(), 0);
        if (placedHere == 0 && index > 0) {
            // What is left fits on no sheet: this sheet goes, and the pieces stay set down
            // beside the last sheet that took some.
            for (const ZcDbObjectId& id : pieces.allIds)
                erase(id);
            erase(sheet);
            break;
        }
        for (const ZcDbObjectId& id : leftOver)
            erase(id);
        leftOver = pieces.setDownIds;
        result.placedByPart = pieces.placed;
        for (std::size_t i = 0; i < job.parts.size(); ++i)
            remaining[i] -= std::min(remaining[i], pieces.placed[i]);
        outcome.unplacedByPart = remaining;
        outcome.sheets.push_back(std::move(result));
        if (placedHere == 0 || std::accumulate(remaining.begin(), remaining.end(), 0) == 0)
            break;
    }
    for (const JobPart& part : job.parts)
        erase(part.reference);
    return outcome;
}

} // namespace gantrel::app

// Observers that write the outcome of a nesting run into the drawing and onto the command line:
// the layout as copies of the pieces, the summary, the pieces that did not fit set down beside
// the sheet, and the removal of the working copies. The command attaches them in that order, so
// at the end the summary already sees the final layout and the working copies go last.
#pragma once

#include "nesting/run/NestObservers.h"

#include "zcdb.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace gantrel {

// Draws the stored result: after every arrangement the latest one, at the end the best one. Each
// position gets a copy of its piece's working copy, moved by the position's translation and
// turned by its rotation about the moved origin; the copies of the previous drawing go first.
// During the run each piece keeps one copy that is moved from layout to layout (erased while a
// layout leaves the piece out, brought back when one places it again), so that a long run does
// not fill the drawing with erased copies; the final layout is drawn with fresh copies.
class PlacementEvaluator : public Nest_Observer {
public:
    // The copies go to the model space of db.
    PlacementEvaluator(const Polygons& parts, ZcDbDatabase* db);
    ~PlacementEvaluator() override = default;

    int Update() override;
    int Finish() override;

    // The copies of the layout drawn last.
    const std::vector<ZcDbObjectId>& Copies() const { return m_copies; }

protected:
    // Draws the stored result with fresh copies.
    virtual void Place();
    // Draws the stored result by moving the copies of the previous layout.
    virtual void Redraw();

private:
    struct Drawn {
        ZcDbObjectId copy;
        // How the copy was moved from its working copy.
        ZcGeMatrix3d placement;
        bool erased = false;
    };
    // Erases the copies Redraw keeps.
    void EraseDrawn();

    ZcDbDatabase* m_db;
    std::vector<ZcDbObjectId> m_copies;
    // The copy Redraw keeps for each piece, by the piece's name.
    std::map<std::wstring, Drawn> m_drawn;
};

// The summary at the end of the run: time taken, pieces placed of all, the width of the layout
// on the sheet, and the share of the sheet's area the placed pieces cover.
class NestStatusPrinter : public Nest_Observer {
public:
    // Whole seconds since some fixed moment.
    using Clock = std::function<std::int64_t()>;
    // Texts of the language pack by identifier.
    using Texts = std::function<std::wstring(unsigned)>;

    // layout: the observer that draws the best result before this one prints; the width is
    // measured on its copies. The stopwatch starts here.
    NestStatusPrinter(const Polygons& parts, ZcDbObjectId sheet, const PlacementEvaluator& layout,
                      Clock clock = SystemClock, Texts texts = PackText);

    int Finish() override;

    static std::int64_t SystemClock();
    static std::wstring PackText(unsigned id);

private:
    // The ids of the working copies of the pieces the stored result places.
    std::vector<ZcDbObjectId> PlacedPieces() const;

    const PlacementEvaluator& m_layout;
    Clock m_clock;
    Texts m_texts;
    std::wstring m_label;
    std::int64_t m_start;
};

// Sets down, at the end of the run, a copy of every piece the best result leaves out, its lower
// left extents corner on the lower right corner of the sheet, so the user sees what did not fit.
class UnUsedPlacer : public Nest_Observer {
public:
    // The corner is taken from the sheet object's extents now; the origin when it has none.
    UnUsedPlacer(ZcDbObjectId sheet, const Polygons& parts);

    int Finish() override;

    const ZcGePoint3d& Anchor() const { return m_anchor; }
    // The copies set down at the end.
    const std::vector<ZcDbObjectId>& SetDown() const { return m_setDown; }

private:
    ZcGePoint3d m_anchor;
    std::vector<ZcDbObjectId> m_setDown;
};

// Erases the working copies of the pieces at the end of the run.
class UsedEraser : public Nest_Observer {
public:
    UsedEraser(const Polygons& parts, ZcDbDatabase* db);

    int Finish() override;
};

} // namespace gantrel

// The placer: puts the parts of one arrangement on the sheet, each at the admissible spot that
// lies furthest to the left, and rates the layout.
#pragma once

#include "nesting/geometry/Polygons.h"
#include "nesting/geometry/RegionArithmetic.h"
#include "nesting/nfp/NfpCache.h"
#include "nesting/place/NestingStopProvider.h"
#include "nesting/place/Result.h"
#include "nesting/settings/NestSettings.h"

#include <string>
#include <vector>

namespace gantrel {

// One placer serves one PlaceAll. It computes no no-fit polygon itself: the table holds the
// inner-fit polygon of every part against the sheet and the no-fit polygon of every ordered
// pair of parts at this arrangement's rotations. Region arithmetic runs on integer loops at the
// settings' integer scale s; every integer threshold below is in those units.
class Ukladacz {
public:
    // parts: the arrangement, each part carrying its rotation; the sheet is named as the table's
    // inner-fit keys name it. The stop provider may be null.
    Ukladacz(const NestPolygon& sheet, Polygons parts, NfpMap table, const NestSettings& settings,
             const NestingStopProvider* stopProvider);
    virtual ~Ukladacz();

    Ukladacz(const Ukladacz&) = delete;
    Ukladacz& operator=(const Ukladacz&) = delete;

    // Places the parts in arrangement order, skipping those that do not fit, and stops after a
    // successful placement when the stop provider says so. result gets one layout and its rating;
    // a sheet without points gives the empty result.
    virtual void PlaceAll(Result& result);
    // Makes the next PlaceAll start at part `start` of the arrangement with placed and positions
    // as the layout of the parts before it (placed parts rotated, as PlaceAll leaves them). Between
    // parts the placer keeps nothing but its placed parts and their positions, so the parts from
    // start on go where a PlaceAll from the first part would put them after that layout.
    void StartAfter(int start, Polygons placed, Positions positions);
    // After PlaceAll: for each part of the arrangement from the start on, how many parts were
    // placed before it was tried; entries before the start are 0.
    const std::vector<int>& PlacedBefore() const { return m_placedBefore; }
    // The position of one (rotated) part, or false when it does not fit.
    virtual bool PlaceOne(const NestPolygon& part, Position& position);
    // The leftmost vertex of the feasible region; among equal x the first in path and vertex
    // order.
    virtual Position BestPosition(const NestPolygon& part);
    // The leftmost vertex of the inner-fit region, for the first part.
    virtual Position FirstPosition(const NestPolygon& part);
    // Removes near-duplicate points, slivers and specks; false when nothing is left.
    virtual bool CleanFeasibleRegion(IntegerPaths& paths);
    // Whether the table holds a non-empty no-fit polygon of every placed part against part.
    virtual bool NoFitPolygonsKnown(const NestPolygon& part);
    // Inner-fit region minus the union of the no-fit loops, cleaned; false when empty or when
    // the arithmetic fails.
    virtual bool BuildFeasibleRegion(const NestPolygon& part);
    // Drops the points that lie outside the inner-fit loops' boxes (grown by 10 units) and the
    // paths left without points.
    virtual void KeepInsideInnerFit(IntegerPaths& paths);
    // The placed points followed by the part's points moved by position.
    virtual GePoints LayoutPointsWith(const NestPolygon& part, const Position& position);
    // Every point of every placed part moved by its position, in placing order.
    virtual GePoints PlacedPoints();
    // Adds the no-fit loops of every placed part against part, moved to the placed part's
    // position and cleaned, as subjects; loops of (near) zero area are dropped.
    virtual bool AddNoFitPaths(RegionClipper& clipper, const NestPolygon& part);
    // The placer's message sink; discards the text.
    virtual void Report(const std::wstring& text);
    // When cleaning left no feasible region although the inner-fit region is not empty: the
    // leftmost point of the inner-fit region that lies inside no placed part's no-fit polygon
    // (its boundary counts as free). Finds the exact fits that the sliver removal discards.
    virtual bool ExactFitPosition(const NestPolygon& part, Position& position);

    const Polygons& PlacedParts() const { return m_placedParts; }
    const Positions& PlacedPositions() const { return m_positions; }
    const IntegerPaths& FeasibleRegion() const { return m_feasible; }

protected:
    // The loops stored under key, or null when the key is absent.
    const Polygons* Lookup(const std::wstring& key) const;
    // The inner-fit loops of part against the sheet, and the no-fit loops of placed part i
    // against part; null when absent. Looked up in the table by key text; a placer that has
    // its polygons elsewhere finds them there.
    virtual const Polygons* InnerFitOf(const NestPolygon& part) const;
    virtual const Polygons* NoFitOf(int placed, const NestPolygon& part) const;
    double Scale() const { return static_cast<double>(m_settings.integerScale); }
    Position PositionAt(const NestPolygon& part, const GePoint& referenceSpot) const;
    // After BuildFeasibleRegion: the inner-fit loops and, per placed part, its no-fit loops
    // against the part being placed, in integer units at their places.
    const IntegerPaths& InnerFitPaths() const { return m_innerFitPaths; }
    const std::vector<IntegerPaths>& NoFitRegions() const { return m_noFitRegions; }

private:
    const NestingStopProvider* m_stopProvider;
    NestPolygon m_sheet;
    Polygons m_parts;
    NestSettings m_settings;
    NfpMap m_table;
    Polygons m_innerFit;
    IntegerPaths m_union;
    IntegerPaths m_feasible;
    Polygons m_placedParts;
    Positions m_positions;

    // The inner-fit loops of the part being placed, in integer units.
    IntegerPaths m_innerFitPaths;
    // Per placed part: its no-fit loops against the part being placed, as added to the union.
    std::vector<IntegerPaths> m_noFitRegions;
    // Set when the arithmetic succeeded and cleaning left nothing.
    bool m_feasibleEmptied = false;
    // The layout PlaceAll starts from (StartAfter) and the part it starts at.
    int m_start = 0;
    Polygons m_startPlaced;
    Positions m_startPositions;
    std::vector<int> m_placedBefore;
};

// Key text of the inner-fit polygon of part inside sheet, and of the no-fit polygon of moving
// around fixed, each at the polygons' own rotations.
std::wstring InnerFitKey(const NestPolygon& sheet, const NestPolygon& part);
std::wstring NoFitKey(const NestPolygon& fixed, const NestPolygon& moving);

} // namespace gantrel

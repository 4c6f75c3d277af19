// ESICUP strip instances set up for the placer and the search, with an independent check of the
// layouts they produce. Shared by the tests and the nesting benchmark.
#pragma once

#include "Esicup.h"
#include "nesting/nfp/NfpCache.h"
#include "nesting/place/Result.h"
#include "nesting/settings/NestSettings.h"

#include <map>
#include <string>

namespace gantrel::testing {

struct StripProblem {
    std::string name;
    // Factor applied to the instance's coordinates: the power of ten that brings the strip
    // height between 1,000 and 10,000 units.
    double scale = 1.0;
    // Strip height after scaling.
    double stripHeight = 0.0;
    // The strip: a rectangle long enough to take every piece in a row, named "-1".
    NestPolygon sheet;
    // One polygon per piece, named "<instance>-<item>#<copy>", largest area first; rotatable when
    // the instance allows more than one orientation.
    Polygons parts;
    // The orientations the instance allows, as a rotation count (1 when only 0 is allowed).
    int rotationCount = 1;
    double totalArea = 0.0;
    // Where the instance's known best solution puts each piece (scaled translations), by name;
    // empty when the instance records none.
    std::map<std::wstring, GePoint> solution;
};

// A width by height rectangle with its lower-left corner at the origin, named name.
NestPolygon NamedRectangle(const std::wstring& name, double width, double height);

// Every piece of the instance; rotations as allowed when allowRotation, otherwise none.
StripProblem MakeStripProblem(const EsicupInstance& instance, bool allowRotation);

// settings with spacing 0 and the problem's rotations (when allowRotation).
NestSettings StripSettings(const StripProblem& problem, bool allowRotation, int population);

struct SearchRun {
    Results results;
    Result best;
    int evaluated = 0;
};

// Seeds the runtime generator, builds the search and evaluates up to evaluations arrangements
// (a bred generation follows when the first is used up) with a cache of its own.
SearchRun RunStripSearch(const StripProblem& problem, const NestSettings& settings, int evaluations,
                         unsigned seed, bool sequentialNfp);

// Used length of a layout: the extent along the strip of the placed outlines.
double UsedLength(const StripProblem& problem, const Positions& positions);

// The placed outline of one position: the part of that name rotated and moved.
NestPolygon PlacedOutline(const StripProblem& problem, const Position& position);

// Empty when every placed outline lies inside the sheet and no two overlap, measured with the
// polygon library directly on the placed outlines (area tolerance 1e-9 of the strip height
// squared); otherwise a description, and an SVG of the layout is written under caseName.
std::string CheckLayout(const StripProblem& problem, const Positions& positions,
                        const std::string& caseName);

} // namespace gantrel::testing

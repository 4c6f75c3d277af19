// Reads the ESICUP instances (jagua-rs JSON) kept under tests/data/nesting/esicup.
#pragma once

#include "nesting/geometry/NestPolygon.h"

#include <string>
#include <vector>

namespace gantrel::testing {

struct EsicupItem {
    int id = 0;
    int demand = 0;
    std::vector<double> orientations;
    // Counter-clockwise, without the repeated closing point, named "<instance>-<id>".
    NestPolygon shape;
    // Where a known best solution puts the piece (a translation of shape), when the file says.
    bool hasSolutionPlacement = false;
    GePoint solutionPlacement;
};

struct EsicupInstance {
    std::string name;
    double stripHeight = 0.0;
    std::vector<EsicupItem> items;
};

// Throws std::runtime_error when the file is missing or malformed.
EsicupInstance LoadEsicup(const std::string& name);

// The instances converted by jagua-rs.
std::vector<std::string> EsicupNames();
// Every instance name in the data folder: EsicupNames() and the jigsaw instances dighe1 and
// dighe2.
std::vector<std::string> AllEsicupNames();

} // namespace gantrel::testing

// Drawings for the DXF tests, built through the database interface: one per entity kind, and
// one with blocks, attributes, extended data, dictionaries and header variables. The round-trip
// tests and the audit corpus (audit_corpus.cpp) use the same drawings.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "zcdball.h"

namespace dxftest {

// Appends an entity to a block (model space by default) and closes it.
ZcDbObjectId append(ZcDbDatabase& db, ZcDbEntity* entity, ZcDbObjectId block = ZcDbObjectId::kNull);

struct DrawingCase {
    std::string name;
    std::function<void(ZcDbDatabase&)> build;
};

// One case per entity kind the reader and writer know.
const std::vector<DrawingCase>& entityCases();
void buildCase(ZcDbDatabase& db, const std::string& name);
// Blocks with attribute definitions, references with attributes, extended data on entities
// and dictionaries, nested dictionaries, groups, layers and header variables.
void buildStructureDrawing(ZcDbDatabase& db);

// The region of a square 10 x 10 at the origin with a circular hole of radius 2 at (5, 5).
ZcDbRegion* squareWithHole();

} // namespace dxftest

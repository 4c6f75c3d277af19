// Areas and closed outlines of groups of drawing objects: regions, chains of touching curves
// and the contents of block references.
#pragma once

#include <vector>

#include "drawing/CoordinateReaders.h"

namespace gantrel {

using Ids = std::vector<ZcDbObjectId>;

// Supplies the area of a block reference to an AreaReader.
class BlockAreaReader {
public:
    virtual ~BlockAreaReader() = default;
    virtual double Area(ZcDbObjectId reference) = 0;
};

// The sum of the positive areas of its members: regions, curves and hatches by their own area,
// block references through the BlockAreaReader (skipped without one). A member whose area
// cannot be read is skipped.
class AreaReader {
public:
    explicit AreaReader(Ids ids, BlockAreaReader* blocks = nullptr)
        : m_ids(std::move(ids)), m_blocks(blocks) {}
    virtual ~AreaReader() = default;
    virtual double Area();

private:
    Ids m_ids;
    BlockAreaReader* m_blocks;
};

// Groups curves into chains of curves whose end points touch (within 1e-7), directly or
// through other curves. A closed lightweight polyline is a chain of its own. Objects that are
// not curves are left out. Chains come in the order of their first member, members in list
// order.
class BoundariesOfCurvesReader {
public:
    explicit BoundariesOfCurvesReader(Ids ids) : m_ids(std::move(ids)) {}
    virtual ~BoundariesOfCurvesReader() = default;
    virtual std::vector<Ids> Read();

private:
    Ids m_ids;
};

// Orders a chain: from its first curve, repeatedly the remaining curve whose nearer end point
// lies closest to the current end point (one within 1e-8 is taken at once); the current end
// point then becomes that curve's farther end point. Throws HostStatusError when a curve
// cannot be read.
Ids OrderChain(const Ids& chain);
// Whether an ordered chain is closed: one closed curve; two curves whose ends coincide
// pairwise; three or more whose first and last curve touch at any pair of end points.
bool IsClosedChain(const Ids& ordered);
// The points of an ordered chain, read curve by curve with n divisions and joined with
// JoinPiece.
Points ChainPoints(const Ids& ordered, double n);

// The closed outline of largest area found among the objects: a region, the curves of a closed
// chain, or the objects inside a block reference's definition (searched the same way).
struct Boundary {
    Ids ids;
    double area = 0.0;
    // The origin, or the insertion point of the block reference whose contents won.
    ZcGePoint3d reference;
};

// Passes: regions, closed chains of curves, block references; a candidate wins when it is the
// first or its area is strictly greater. A nested block area is scaled by the reference's X and
// Y scale factors. A host status thrown inside is printed and gives an empty result.
class BoundaryReader {
public:
    explicit BoundaryReader(Ids ids) : m_ids(std::move(ids)) {}
    virtual ~BoundaryReader() = default;
    virtual Boundary Read();

private:
    Ids m_ids;
};

// The points, in world coordinates, of the closed outline of largest area among the objects
// (the same passes as BoundaryReader). Chains are compared with 20 divisions and the winning
// chain read again with n; a block reference's contents are read with 20 divisions, placed by
// its block transform and measured again. Empty when none is found.
class OutlineReader {
public:
    OutlineReader(Ids ids, double n) : m_ids(std::move(ids)), m_n(n) {}
    virtual ~OutlineReader() = default;
    virtual Points Read();

private:
    Ids m_ids;
    double m_n;
};

} // namespace gantrel

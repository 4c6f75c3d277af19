// The user coordinate system of the working drawing, from its header ($UCSORG, $UCSXDIR,
// $UCSYDIR; the world's when absent). Typed points and the points prompts return are in it.
#pragma once

#include "zcge.h"

class ZcDbDatabase;

namespace gantrel::editor {

class SystemVariables;

struct UserSystem {
    ZcGePoint3d origin = ZcGePoint3d::kOrigin;
    ZcGeVector3d x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1}; // orthonormal, right-handed

    // A displacement moves without the origin.
    ZcGePoint3d toWorld(const ZcGePoint3d& p, bool displacement = false) const;
    ZcGePoint3d toUser(const ZcGePoint3d& p, bool displacement = false) const;
};

// The system the variables describe. Axes that are zero or parallel give the world's axes; a
// Y axis not at right angles to X is made so (its component along X removed).
UserSystem userSystem(const SystemVariables& variables, const ZcDbDatabase* db);

} // namespace gantrel::editor

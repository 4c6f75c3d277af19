// The standard 256-colour table of colour indices.
#pragma once

#include "render.h"

namespace gantrel::render {

// The RGB of a colour index 1 to 255 (index 7 is white, as the table has it). Indices outside
// the range (0 by block, 256 by layer, negative for a layer that is off) give the colour of
// their absolute value, or white when that is outside 1 to 255 too.
Rgb aciToRgb(int index);

// The colour an index is drawn in on a white page: index 7 (white on a dark screen, black on
// paper) is drawn black.
Rgb aciOnWhite(int index);

} // namespace gantrel::render

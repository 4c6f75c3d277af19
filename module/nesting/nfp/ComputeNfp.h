// One pair of shapes turned into its no-fit or inner-fit polygon.
#pragma once

#include "nesting/nfp/NfpReport.h"
#include "nesting/nfp/Pair.h"
#include "nesting/settings/NestSettings.h"

#include <string>
#include <vector>

namespace gantrel {

// Rotates both shapes by their own rotations and computes:
// - inner case: the rectangle shortcut for an axis-aligned rectangular sheet, otherwise the
//   inner orbit; every loop ends counter-clockwise;
// - outer case: the orbit when settings.orbiting is set, otherwise the Minkowski difference;
//   the outline loop ends counter-clockwise and loops inside it clockwise.
// Degenerate shapes (fewer than three points, zero area, repeated points, non-finite
// coordinates) give the empty result. A failed orbit draws itself into diagnostics (may be null).
// Nothing is printed: an empty outer result is the caller's to report (NfpErrorLines).
Polygons ComputeNfp(const Pair& pair, const NestSettings& settings,
                    DiagnosticSink* diagnostics = nullptr);

// The same, printing the error lines of an empty outer result through printer.
Polygons ComputeNfp(const Pair& pair, const NestSettings& settings, Printer& printer,
                    DiagnosticSink* diagnostics = nullptr);

// Whether result is a failure to report: an empty outer result.
bool IsNfpError(const Pair& pair, const Polygons& result);

// "\nNFP Error: " with the key text, "\nA: " and "\nB: " with the rotated shapes.
std::vector<std::wstring> NfpErrorLines(const Pair& pair);

} // namespace gantrel

// Pictures of a drawing: SVG, PNG and PDF drawn with cairo, fitted to the drawing's extents.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "zcdb.h"

namespace gantrel::render {

enum class PictureFormat { Svg, Png, Pdf };

// The format named by a file's extension (".svg", ".png", ".pdf", any letter case).
std::optional<PictureFormat> pictureFormatOf(const std::filesystem::path& file);

// A colour with components in [0, 1].
struct Rgb {
    double r = 0.0, g = 0.0, b = 0.0;
    bool operator==(const Rgb&) const = default;
};

struct RenderOptions {
    // The longer side of the picture: pixels for PNG, points for SVG and PDF.
    int size = 1200;
    // The blank border on every side, as a fraction of the longer side.
    double margin = 0.03;
    // Width of drawn lines in pixels (points).
    double lineWidth = 1.0;
    // Highlighted entities are drawn dashed, thicker and in this colour.
    Rgb highlightColor{1.0, 0.45, 0.0};
    double highlightWidth = 3.0;
    // The block whose entities are drawn; the null id draws model space.
    ZcDbObjectId space;
};

// The outcome of a render: ok, or the reason it failed, naming the output file.
struct RenderResult {
    bool ok = true;
    std::string message;
    explicit operator bool() const { return ok; }
};

// Draws the entities of a space of the drawing into a picture whose format follows the
// extension of out. The picture is written to a temporary file in the same folder and renamed
// into place, so a failure leaves no partial file (and an existing file untouched). The
// database is read without opening its objects.
RenderResult renderDrawing(const ZcDbDatabase& db, const std::filesystem::path& out,
                           const RenderOptions& options = {});

// Releases the font caches that drawing text fills (cairo's and the system font
// configuration's). Called once when a program has finished rendering, so that leak checkers
// see a clean exit; a later render loads them again.
void releaseRenderCaches();

} // namespace gantrel::render

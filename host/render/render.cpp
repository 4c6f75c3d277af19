#include "render.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "atomic_output.h"
#include "painter.h"
#include "scene.h"
#include "view.h"

namespace gantrel::render {

namespace {

cairo_status_t writeToFile(void* closure, const unsigned char* data, unsigned int length) {
    auto* file = static_cast<AtomicOutputFile*>(closure);
    return file->write(data, length) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using ContextPtr = std::unique_ptr<cairo_t, ContextDeleter>;

// A surface of the format: vector formats stream into the file as cairo writes them; PNG is
// drawn in memory and encoded at the end.
SurfacePtr createSurface(PictureFormat format, const PageView& view, AtomicOutputFile& file) {
    switch (format) {
    case PictureFormat::Svg:
        return SurfacePtr(
            cairo_svg_surface_create_for_stream(writeToFile, &file, view.width, view.height));
    case PictureFormat::Pdf:
        return SurfacePtr(
            cairo_pdf_surface_create_for_stream(writeToFile, &file, view.width, view.height));
    case PictureFormat::Png:
        return SurfacePtr(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, view.width, view.height));
    }
    return nullptr;
}

RenderResult failure(const std::filesystem::path& out, const std::string& reason) {
    return {false, "cannot draw '" + out.string() + "': " + reason};
}

} // namespace

std::optional<PictureFormat> pictureFormatOf(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".svg")
        return PictureFormat::Svg;
    if (ext == ".png")
        return PictureFormat::Png;
    if (ext == ".pdf")
        return PictureFormat::Pdf;
    return std::nullopt;
}

RenderResult renderDrawing(const ZcDbDatabase& db, const std::filesystem::path& out,
                           const RenderOptions& options) {
    const std::optional<PictureFormat> format = pictureFormatOf(out);
    if (!format)
        return failure(out, "the picture format follows the extension, one of .svg, .png, .pdf");

    SceneWalker scene(db);
    const PageView view = fitView(scene.extents(options.space), options);

    AtomicOutputFile file;
    if (!file.open(out))
        return {false, file.error()};
    SurfacePtr surface = createSurface(*format, view, file);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return failure(out, cairo_status_to_string(cairo_surface_status(surface.get())));
    {
        ContextPtr cr(cairo_create(surface.get()));
        cairo_set_source_rgb(cr.get(), 1.0, 1.0, 1.0);
        cairo_paint(cr.get());
        Painter painter(cr.get(), view.worldToPage, options);
        scene.draw(options.space, painter);
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
            return failure(out, cairo_status_to_string(cairo_status(cr.get())));
    }
    cairo_surface_t* s = surface.get();
    if (*format == PictureFormat::Png) {
        cairo_surface_flush(s);
        if (cairo_surface_write_to_png_stream(s, writeToFile, &file) != CAIRO_STATUS_SUCCESS &&
            file.error().empty())
            return failure(out, "the PNG encoder failed");
    } else {
        // Finishing writes the rest of the document through the stream.
        cairo_surface_finish(s);
    }
    if (!file.error().empty())
        return {false, file.error()};
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS)
        return failure(out, cairo_status_to_string(cairo_surface_status(s)));
    surface.reset();
    if (!file.commit())
        return {false, file.error()};
    return {};
}

void releaseRenderCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

} // namespace gantrel::render

// Helpers of the picture tests: building drawings through the host interface, temporary
// folders, and reading pictures back.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "zcdball.h"

namespace gantrel::render::test {

// A new drawing with model space, layer "0" and the usual tables; entities are appended to
// model space and closed.
class DrawingBuilder {
public:
    ZcDbDatabase db{true};

    ZcDbObjectId add(ZcDbEntity* entity, std::int16_t color = 256, const wchar_t* layer = L"0");
    void addLayer(const wchar_t* name, std::int16_t color, bool off = false);
    // A block with the given entities (taking ownership), origin at 0.
    ZcDbObjectId addBlock(const wchar_t* name, const std::vector<ZcDbEntity*>& entities);
    // Changes an entity of the drawing through a write open.
    template <typename F> void change(ZcDbObjectId id, F&& f) {
        ZcDbEntity* entity = nullptr;
        if (zcdbOpenObject(entity, id, ZcDb::kForWrite) == Zcad::eOk) {
            f(*entity);
            entity->close();
        }
    }
};

// A solid-filled square hatch with its lower left corner at (x, y).
ZcDbHatch* solidSquare(double x, double y, double side);

// A folder of its own under the system's temporary folder, removed with its contents unless
// the test failed.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    // Names of the files in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    std::filesystem::path m_path;
};

struct Rgb8 {
    int r = 255, g = 255, b = 255;
    bool isWhite() const { return r > 250 && g > 250 && b > 250; }
};

// A PNG read back into memory.
class Picture {
public:
    explicit Picture(const std::filesystem::path& png);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    bool valid() const {
        return m_surface && cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS;
    }
    int width() const { return m_width; }
    int height() const { return m_height; }
    Rgb8 at(int x, int y) const;
    // The pixel of greatest colour (least white) within radius of (x, y).
    Rgb8 strongestNear(int x, int y, int radius = 3) const;
    // Pixels matching a predicate.
    template <typename P> int count(P&& pred) const {
        int n = 0;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                n += pred(at(x, y)) ? 1 : 0;
        return n;
    }

private:
    cairo_surface_t* m_surface = nullptr;
    int m_width = 0, m_height = 0;
};

// Where a drawing point lands on a picture that shows the box [minX, maxX] x [minY, maxY] with
// its longer side of size pixels less the margin on both sides, centred, y downwards.
struct PageMap {
    double scale = 1.0, x0 = 0.0, y0 = 0.0;
    PageMap(double minX, double minY, double maxX, double maxY, int size, double margin);
    int x(double wx) const { return static_cast<int>(x0 + wx * scale); }
    int y(double wy) const { return static_cast<int>(y0 - wy * scale); }
};

// Close to the colour within tol per component.
bool near(const Rgb8& c, int r, int g, int b, int tol = 40);

std::string readFile(const std::filesystem::path& file);

} // namespace gantrel::render::test

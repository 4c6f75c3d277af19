#include "render_test_support.h"

#include "render.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

namespace gantrel::render::test {

namespace {

// Font caches released once every test has run, for a clean leak check.
class ReleaseCaches : public ::testing::Environment {
public:
    void TearDown() override { releaseRenderCaches(); }
};
[[maybe_unused]] const auto* const releaseCaches =
    ::testing::AddGlobalTestEnvironment(new ReleaseCaches);

} // namespace

ZcDbObjectId DrawingBuilder::add(ZcDbEntity* entity, std::int16_t color, const wchar_t* layer) {
    ZcDbBlockTableRecord* model = nullptr;
    zcdbOpenObject(model, db.modelSpaceId(), ZcDb::kForWrite);
    ZcDbObjectId id;
    model->appendZcDbEntity(id, entity);
    model->close();
    entity->setLayer(layer);
    entity->setColorIndex(color);
    entity->close();
    return id;
}

void DrawingBuilder::addLayer(const wchar_t* name, std::int16_t color, bool off) {
    ZcDbLayerTable* layers = nullptr;
    db.getLayerTable(layers, ZcDb::kForWrite);
    auto* layer = new ZcDbLayerTableRecord;
    layer->setName(name);
    layer->setColorIndex(color);
    layer->setIsOff(off);
    layers->add(layer);
    layer->close();
    layers->close();
}

ZcDbObjectId DrawingBuilder::addBlock(const wchar_t* name,
                                      const std::vector<ZcDbEntity*>& entities) {
    ZcDbBlockTable* blocks = nullptr;
    db.getBlockTable(blocks, ZcDb::kForWrite);
    auto* block = new ZcDbBlockTableRecord;
    block->setName(name);
    ZcDbObjectId id;
    blocks->add(id, block);
    blocks->close();
    for (ZcDbEntity* entity : entities) {
        block->appendZcDbEntity(entity);
        entity->close();
    }
    block->close();
    return id;
}

ZcDbHatch* solidSquare(double x, double y, double side) {
    auto* hatch = new ZcDbHatch;
    hatch->setPattern(L"SOLID", true);
    ZcDbLoop loop;
    loop.flags = 1 | 2;
    loop.vertices = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
    loop.bulges = {0.0, 0.0, 0.0, 0.0};
    hatch->appendLoop(loop);
    return hatch;
}

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             ("gantrel-render-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder() {
    // The pictures of a failed test stay for a look.
    if (::testing::Test::HasFailure()) {
        std::cerr << "pictures kept in " << m_path.string() << '\n';
        return;
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::vector<std::string> TempFolder::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Picture::Picture(const std::filesystem::path& png)
    : m_surface(cairo_image_surface_create_from_png(png.c_str())) {
    if (valid()) {
        m_width = cairo_image_surface_get_width(m_surface);
        m_height = cairo_image_surface_get_height(m_surface);
    }
}

Picture::~Picture() {
    if (m_surface)
        cairo_surface_destroy(m_surface);
}

Rgb8 Picture::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return {};
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    const int stride = cairo_image_surface_get_stride(m_surface);
    std::uint32_t argb = 0;
    std::copy_n(data + y * stride + 4 * x, 4, reinterpret_cast<unsigned char*>(&argb));
    // Premultiplied ARGB; the picture is painted white first, so alpha is full.
    return {static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
            static_cast<int>(argb & 0xFF)};
}

Rgb8 Picture::strongestNear(int x, int y, int radius) const {
    Rgb8 best = at(x, y);
    int bestSum = best.r + best.g + best.b;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const Rgb8 c = at(x + dx, y + dy);
            if (c.r + c.g + c.b < bestSum) {
                best = c;
                bestSum = c.r + c.g + c.b;
            }
        }
    return best;
}

PageMap::PageMap(double minX, double minY, double maxX, double maxY, int size, double margin) {
    const double w = maxX - minX, h = maxY - minY;
    const double border = std::round(size * margin);
    scale = (size - 2.0 * border) / std::max(w, h);
    const double width = std::ceil(w * scale + 2.0 * border);
    const double height = std::ceil(h * scale + 2.0 * border);
    x0 = 0.5 * (width - w * scale) - minX * scale;
    y0 = 0.5 * (height - h * scale) + maxY * scale;
}

bool near(const Rgb8& c, int r, int g, int b, int tol) {
    return std::abs(c.r - r) <= tol && std::abs(c.g - g) <= tol && std::abs(c.b - b) <= tol;
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace gantrel::render::test

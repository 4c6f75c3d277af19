// Pictures as files: each format comes out whole and of its kind, the drawing is fitted to the
// page wherever it lies, and a render that fails leaves no file behind.
//
// Invariants: the longer side of a picture is the requested size; nothing but white lies in
// the margin; an output file exists only after a successful render.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <regex>
#include <stack>

#include "render.h"
#include "render_test_support.h"

using namespace gantrel::render;
using namespace gantrel::render::test;

namespace {

// Lines, a circle and a hatch in a 300 x 150 box at the origin.
void buildSample(DrawingBuilder& d) {
    d.add(new ZcDbLine({0, 0, 0}, {300, 0, 0}), 1);
    d.add(new ZcDbLine({300, 0, 0}, {300, 150, 0}), 1);
    d.add(new ZcDbLine({300, 150, 0}, {0, 150, 0}), 1);
    d.add(new ZcDbCircle({75, 75, 0}, ZcGeVector3d::kZAxis, 50), 5);
    d.add(solidSquare(200, 50, 50), 3);
}

// The tags of an XML text balance (self-closing tags, declarations and comments aside).
bool tagsBalance(const std::string& xml, int& elements) {
    std::stack<std::string> open;
    elements = 0;
    const std::regex tag(R"(<(/?)([A-Za-z_][\w:.-]*)[^>]*?(/?)>)");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), tag); it != std::sregex_iterator();
         ++it) {
        const std::smatch& m = *it;
        if (m[1].length() > 0) {
            if (open.empty() || open.top() != m[2].str())
                return false;
            open.pop();
        } else {
            ++elements;
            if (m[3].length() == 0)
                open.push(m[2].str());
        }
    }
    return open.empty();
}

int countOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + what.size()))
        ++n;
    return n;
}

std::uint32_t bigEndian32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

} // namespace

TEST(RenderOutput, FormatFollowsTheExtensionInAnyCase) {
    EXPECT_EQ(pictureFormatOf("a.svg"), PictureFormat::Svg);
    EXPECT_EQ(pictureFormatOf("dir/a.PNG"), PictureFormat::Png);
    EXPECT_EQ(pictureFormatOf("a.b.Pdf"), PictureFormat::Pdf);
    EXPECT_FALSE(pictureFormatOf("a.bmp"));
    EXPECT_FALSE(pictureFormatOf("png"));
}

TEST(RenderOutput, PngHasItsSignatureAndTheFittedSize) {
    DrawingBuilder d;
    buildSample(d);
    TempFolder dir;
    RenderOptions options;
    options.size = 600;
    ASSERT_TRUE(renderDrawing(d.db, dir / "sample.png", options));

    const std::string bytes = readFile(dir / "sample.png");
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bytes.substr(12, 4), "IHDR");
    // A 2:1 drawing: the width is the size, the height half the drawn part plus the margins.
    EXPECT_EQ(bigEndian32(bytes, 16), 600u);
    const double margin = 18.0;
    EXPECT_NEAR(bigEndian32(bytes, 20), (600 - 2 * margin) / 2 + 2 * margin, 1.0);
    Picture picture(dir / "sample.png");
    ASSERT_TRUE(picture.valid());
    EXPECT_EQ(picture.width(), 600);
}

TEST(RenderOutput, SvgIsWellFormedWithOnePathPerStroke) {
    DrawingBuilder d;
    buildSample(d);
    TempFolder dir;
    ASSERT_TRUE(renderDrawing(d.db, dir / "sample.svg"));

    const std::string svg = readFile(dir / "sample.svg");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    int elements = 0;
    EXPECT_TRUE(tagsBalance(svg, elements));
    EXPECT_GE(elements, 6);
    // Three red lines, one blue circle, one translucent green fill.
    EXPECT_EQ(countOf(svg, "stroke:rgb(100%,0%,0%)"), 3);
    EXPECT_EQ(countOf(svg, "stroke:rgb(0%,0%,100%)"), 1);
    EXPECT_EQ(countOf(svg, "fill:rgb(0%,100%,0%)"), 1);
}

TEST(RenderOutput, PdfIsACompleteDocument) {
    DrawingBuilder d;
    buildSample(d);
    TempFolder dir;
    ASSERT_TRUE(renderDrawing(d.db, dir / "sample.pdf"));

    const std::string pdf = readFile(dir / "sample.pdf");
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("%%EOF", pdf.size() - 8), std::string::npos);
    EXPECT_NE(pdf.find("/MediaBox [ 0 0 1200 "), std::string::npos);
}

TEST(RenderOutput, DrawingFarFromTheOriginIsFittedIntoThePicture) {
    // A red square at the left end and a point at the right end of a 300 x 100 box, two
    // million units from the origin.
    const double x = 1.0e6, y = 2.0e6;
    DrawingBuilder d;
    d.add(solidSquare(x, y, 100), 1);
    d.add(new ZcDbPoint({x + 300, y + 100, 0}), 5);
    TempFolder dir;
    RenderOptions options;
    options.size = 600;
    ASSERT_TRUE(renderDrawing(d.db, dir / "far.png", options));

    Picture picture(dir / "far.png");
    ASSERT_TRUE(picture.valid());
    const PageMap map(x, y, x + 300, y + 100, 600, options.margin);
    // Red at half opacity over white.
    const Rgb8 inside = picture.at(map.x(x + 50), map.y(y + 50));
    EXPECT_TRUE(near(inside, 255, 115, 115, 30)) << inside.r << "," << inside.g << "," << inside.b;
    EXPECT_TRUE(picture.at(map.x(x + 200), map.y(y + 50)).isWhite());
    EXPECT_TRUE(near(picture.strongestNear(map.x(x + 300), map.y(y + 100)), 0, 0, 255));
    // Nothing in the outer part of the margin.
    const int band = 8;
    for (int py = 0; py < picture.height(); ++py) {
        for (int px = 0; px < picture.width(); ++px) {
            const bool inBand = px < band || py < band || px >= picture.width() - band ||
                                py >= picture.height() - band;
            if (inBand) {
                ASSERT_TRUE(picture.at(px, py).isWhite()) << px << "," << py;
            }
        }
    }
}

TEST(RenderOutput, EmptyDrawingGivesABlankPicture) {
    DrawingBuilder d;
    TempFolder dir;
    RenderOptions options;
    options.size = 100;
    ASSERT_TRUE(renderDrawing(d.db, dir / "empty.png", options));
    Picture picture(dir / "empty.png");
    ASSERT_TRUE(picture.valid());
    EXPECT_EQ(picture.width(), 100);
    EXPECT_EQ(picture.count([](const Rgb8& c) { return !c.isWhite(); }), 0);
}

TEST(RenderOutput, FailedRenderLeavesNoFile) {
    DrawingBuilder d;
    buildSample(d);
    TempFolder dir;

    // A folder that does not exist.
    const RenderResult missing = renderDrawing(d.db, dir / "no-such-folder" / "a.png");
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.message.find("no-such-folder"), std::string::npos) << missing.message;

    // An extension that names no picture format.
    const RenderResult unknown = renderDrawing(d.db, dir / "a.bmp");
    EXPECT_FALSE(unknown);
    EXPECT_NE(unknown.message.find("a.bmp"), std::string::npos);

    // The target is a folder: the picture is drawn, but cannot be put in place; the
    // temporary file must go too.
    std::filesystem::create_directory(dir / "taken.svg");
    std::ofstream(dir / "taken.svg" / "inside.txt") << "x";
    const RenderResult taken = renderDrawing(d.db, dir / "taken.svg");
    EXPECT_FALSE(taken);
    EXPECT_NE(taken.message.find("taken.svg"), std::string::npos) << taken.message;
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"taken.svg"});
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.svg"));
}

TEST(RenderOutput, RenderReplacesAnExistingPictureWhole) {
    DrawingBuilder d;
    buildSample(d);
    TempFolder dir;
    std::ofstream(dir / "old.png") << "not a picture";
    ASSERT_TRUE(renderDrawing(d.db, dir / "old.png"));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"old.png"});
    Picture picture(dir / "old.png");
    EXPECT_TRUE(picture.valid());
}

// Reading as other programs write: line ends, blanks around group codes, code pages before
// AC1021 and UTF-8 after, "\U+" and caret escapes, R12 files without handles or subclass
// markers; the group tokenizer's line numbers; and long texts tokenised in pieces.
#include <algorithm>

#include "drawings.h"
#include "dxf_groups.h"
#include "record_stream.h"
#include "test_support.h"
#include "text_codec.h"
#include "tokenizer.h"

using namespace dxftest;

namespace {

std::string withHeader(const std::string& version, const std::string& codePage,
                       const std::string& entities) {
    return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\n" + version + "\n9\n$DWGCODEPAGE\n3\n" +
           codePage + "\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

std::string text(const std::string& value) {
    return "0\nTEXT\n8\n0\n10\n0\n20\n0\n30\n0\n40\n1\n1\n" + value + "\n";
}

// The files here have a header and entities only: the missing tables and objects are repairs.
std::unique_ptr<ZcDbDatabase> loadPartial(const std::string& text) {
    return load(text, true);
}

std::wstring firstText(ZcDbDatabase& db) {
    auto texts = entitiesOf<ZcDbText>(db);
    return texts.empty() ? L"" : texts[0]->textString();
}

TEST(Tokenizer, GivesCodesValuesAndLinesForLfAndCrlf) {
    for (std::string eol : {"\n", "\r\n"}) {
        const std::string data = "  0" + eol + "SECTION" + eol + " 10" + eol + " 1.5 " + eol +
                                 "999" + eol + "comment" + eol;
        gantrel::dxf::Tokenizer t(data);
        gantrel::dxf::Group g;
        ASSERT_TRUE(t.next(g));
        EXPECT_EQ(g.code, 0);
        EXPECT_EQ(g.value, "SECTION");
        EXPECT_EQ(g.line, 1u);
        ASSERT_TRUE(t.next(g));
        EXPECT_EQ(g.code, 10);
        EXPECT_EQ(g.value, " 1.5 ");
        EXPECT_EQ(g.line, 3u);
        ASSERT_TRUE(t.next(g));
        EXPECT_EQ(g.line, 5u);
        EXPECT_FALSE(t.next(g));
    }
}

TEST(Tokenizer, TrailingBlankLinesEndTheTextButInnerOnesAreErrors) {
    gantrel::dxf::Group g;
    gantrel::dxf::Tokenizer end("0\nEOF\n\n\n");
    ASSERT_TRUE(end.next(g));
    EXPECT_FALSE(end.next(g));
    gantrel::dxf::Tokenizer inner("0\nA\n\n0\nB\n");
    ASSERT_TRUE(inner.next(g));
    try {
        inner.next(g);
        ADD_FAILURE() << "an empty group-code line was accepted";
    } catch (const gantrel::dxf::ReadError& e) {
        EXPECT_EQ(e.line(), 3u);
    }
}

TEST(TextEncoding, CodePagesBeforeAc1021) {
    // "Łódź" in Windows-1250: A3 F3 64 9F.
    auto db = loadPartial(withHeader("AC1015", "ANSI_1250", text("\xA3\xF3\x64\x9F")));
    EXPECT_EQ(firstText(*db), L"Łódź");
    // "Größe" in Windows-1252.
    db = loadPartial(withHeader("AC1018", "ANSI_1252",
                                text("Gr\xF6\xDF"
                                     "e")));
    EXPECT_EQ(firstText(*db), L"Größe");
    // Cyrillic in Windows-1251: "Дом" = C4 EE EC.
    db = loadPartial(withHeader("AC1015", "ANSI_1251", text("\xC4\xEE\xEC")));
    EXPECT_EQ(firstText(*db), L"Дом");
}

TEST(TextEncoding, Utf8FromAc1021AndEscapesEverywhere) {
    auto db = loadPartial(withHeader("AC1021", "ANSI_1252", text("Łódź \\U+20AC")));
    EXPECT_EQ(firstText(*db), L"Łódź €");
    db = loadPartial(withHeader("AC1015", "ANSI_1252", text("\\U+0141\\U+00F3d\\U+017A")));
    EXPECT_EQ(firstText(*db), L"Łódź");
    // Caret notation: "^J" a line break, "^ " a caret; a caret before anything else is itself.
    db = loadPartial(withHeader("AC1024", "ANSI_1252", text("a^Jb^ c ^x")));
    EXPECT_EQ(firstText(*db), L"a\nb^c ^x");
}

TEST(TextEncoding, InvalidUtf8IsReadAsAnsiAndReported) {
    auto db = std::make_unique<ZcDbDatabase>(false);
    const auto result = gantrel::dxf::readDxfText(
        *db, withHeader("AC1024", "ANSI_1252", text("caf\xE9")), "latin.dxf");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(firstText(*db), L"café");
    ASSERT_FALSE(result.repairs.empty());
    EXPECT_EQ(result.repairs.back(),
              "latin.dxf: text with bytes not valid in the drawing's encoding was read as "
              "ANSI_1252 (1 bytes)");
}

TEST(TextEncoding, WrittenTextIsUtf8WithCaretsForControlCharacters) {
    ZcDbDatabase db;
    ZcDbBlockTableRecord* ms = nullptr;
    zcdbOpenObject(ms, db.modelSpaceId(), ZcDb::kForWrite);
    auto* t = new ZcDbText({0, 0, 0}, L"x\ty^Jz €");
    ms->appendZcDbEntity(t);
    t->close();
    ms->close();
    const std::string written = save(db);
    EXPECT_NE(written.find("\n  1\nx^Iy^ Jz \xE2\x82\xAC\n"), std::string::npos);
    auto back = load(written);
    EXPECT_EQ(firstText(*back), L"x\ty^Jz €");
}

TEST(R12, FileWithoutHandlesMarkersOrTablesReads) {
    const std::string r12 =
        "0\r\nSECTION\r\n2\r\nHEADER\r\n9\r\n$ACADVER\r\n1\r\nAC1009\r\n9\r\n$INSUNITS\r\n70\r\n"
        "4\r\n0\r\nENDSEC\r\n0\r\nSECTION\r\n2\r\nTABLES\r\n0\r\nTABLE\r\n2\r\nLAYER\r\n70\r\n1\r\n"
        "0\r\nLAYER\r\n2\r\nWALLS\r\n70\r\n0\r\n62\r\n-3\r\n6\r\nCONTINUOUS\r\n0\r\nENDTAB\r\n0\r\n"
        "ENDSEC\r\n0\r\nSECTION\r\n2\r\nBLOCKS\r\n0\r\nBLOCK\r\n8\r\n0\r\n2\r\nBOLT\r\n70\r\n0\r\n"
        "10\r\n1\r\n20\r\n2\r\n30\r\n0\r\n0\r\nCIRCLE\r\n8\r\n0\r\n10\r\n1\r\n20\r\n2\r\n30\r\n0\r"
        "\n"
        "40\r\n0.5\r\n0\r\nENDBLK\r\n8\r\n0\r\n0\r\nENDSEC\r\n0\r\nSECTION\r\n2\r\nENTITIES\r\n"
        "0\r\nINSERT\r\n8\r\nWALLS\r\n2\r\nBOLT\r\n10\r\n5\r\n20\r\n5\r\n30\r\n0\r\n0\r\nTEXT\r\n8"
        "\r\n"
        "WALLS\r\n10\r\n0\r\n20\r\n0\r\n30\r\n0\r\n40\r\n2\r\n1\r\nR12\r\n72\r\n1\r\n11\r\n3\r\n21"
        "\r\n"
        "0\r\n31\r\n0\r\n73\r\n2\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n";
    auto db = load(r12);
    auto refs = entitiesOf<ZcDbBlockReference>(*db);
    ASSERT_EQ(refs.size(), 1u);
    EXPECT_EQ(refs[0]->layer(), L"WALLS");
    ZcDbBlockTableRecord* block = nullptr;
    ASSERT_EQ(zcdbOpenObject(block, refs[0]->blockTableRecord(), ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(block->name(), L"BOLT");
    EXPECT_EQ(block->origin(), ZcGePoint3d(1, 2, 0));
    EXPECT_EQ(block->entityIds().size(), 1u);
    block->close();
    auto texts = entitiesOf<ZcDbText>(*db);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0]->horizontalMode(), ZcDbText::kTextCenter);
    EXPECT_EQ(texts[0]->verticalMode(), ZcDbText::kTextVertMid);
    EXPECT_EQ(db->insunits(), 4);
    ZcDbLayerTable* layers = nullptr;
    ASSERT_EQ(db->getLayerTable(layers, ZcDb::kForRead), Zcad::eOk);
    ZcDbObjectId walls;
    EXPECT_EQ(layers->getIdAt(L"WALLS", walls), Zcad::eOk);
    layers->close();
    ZcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(zcdbOpenObject(layer, walls, ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(layer->isOff());
    EXPECT_EQ(layer->colorIndex(), 3);
    layer->close();
    // Every object has a handle, and the file written reads back without repairs.
    for (const ZcDbObjectId& id : db->allObjectIds())
        EXPECT_FALSE(id.handle().isNull());
    load(save(*db));
}

} // namespace

// A text long enough to be cut into pieces that two threads tokenise: every entity kind many
// times over, blocks, attributes, extended data and dictionaries come back as they were saved.
namespace {

std::string longDrawing() {
    ZcDbDatabase original;
    buildStructureDrawing(original);
    for (int round = 0; round < 80; ++round) {
        for (const DrawingCase& c : entityCases())
            c.build(original);
    }
    return save(original);
}

} // namespace

TEST(ReadingInPieces, ALongDrawingLoadsAsItWasSaved) {
    const std::string text = longDrawing();
    ASSERT_GT(text.size(), 4 * gantrel::dxf::RecordStream::kPieceBytes);
    const std::unique_ptr<ZcDbDatabase> loaded = load(text);
    EXPECT_EQ(diffGroups(parseGroups(text), parseGroups(save(*loaded))), "");
}

// Reading stops at a bad number while later pieces are being tokenised: the error names its
// line, and the drawing being read into is left as it was.
TEST(ReadingInPieces, ABadNumberInTheMiddleStopsTheReadingAtItsLine) {
    std::string text = longDrawing();
    const std::size_t at = text.find("\n 10\n", text.size() / 2) + 5;
    text.insert(at, "x");
    const std::size_t line = std::count(text.begin(), text.begin() + at, '\n') + 1;
    ZcDbDatabase db;
    const std::size_t objectsBefore = db.allObjectIds().size();
    const gantrel::dxf::ReadResult result = gantrel::dxf::readDxfText(db, text, "long.dxf");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.line, line) << result.message;
    EXPECT_EQ(db.allObjectIds().size(), objectsBefore);
}

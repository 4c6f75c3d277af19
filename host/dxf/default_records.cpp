// Default tables and objects.
#include "default_records.h"

namespace gantrel::dxf {

namespace {

void tableHead(const char* name, std::uint64_t handle, int count, GroupWriter& w) {
    w.text(0, "TABLE");
    w.text(2, name);
    w.handle(5, handle);
    w.handle(330, 0);
    w.text(100, "AcDbSymbolTable");
    w.integer(70, count);
}

void recordHead(const char* type, const char* subclass, std::uint64_t table, GroupWriter& w,
                WriteContext& ctx, int handleCode = 5) {
    w.text(0, type);
    w.handle(handleCode, ctx.newHandle());
    w.handle(330, table);
    w.text(100, "AcDbSymbolTableRecord");
    w.text(100, subclass);
}

void linetype(const char* name, const char* description, std::uint64_t table, GroupWriter& w,
              WriteContext& ctx) {
    recordHead("LTYPE", "AcDbLinetypeTableRecord", table, w, ctx);
    w.text(2, name);
    w.integer(70, 0);
    w.text(3, description);
    w.integer(72, 65);
    w.integer(73, 0);
    w.real(40, 0.0);
}

} // namespace

int defaultTableHandles(const std::string& name) {
    if (name == "LTYPE")
        return 4;
    if (name == "VPORT" || name == "STYLE" || name == "DIMSTYLE")
        return 2;
    return 1;
}

void writeDefaultTable(const std::string& name, GroupWriter& w, WriteContext& ctx) {
    const std::uint64_t table = ctx.newHandle();
    if (name == "VPORT") {
        tableHead("VPORT", table, 1, w);
        recordHead("VPORT", "AcDbViewportTableRecord", table, w, ctx);
        w.text(2, "*Active");
        w.integer(70, 0);
        w.point2(10, 0.0, 0.0);
        w.point2(11, 1.0, 1.0);
        w.point2(12, 0.0, 0.0);
        w.point2(13, 0.0, 0.0);
        w.point2(14, 10.0, 10.0);
        w.point2(15, 10.0, 10.0);
        w.point(16, ZcGePoint3d(0.0, 0.0, 1.0));
        w.point(17, ZcGePoint3d(0.0, 0.0, 0.0));
        w.real(40, 1000.0);
        w.real(41, 1.34);
        w.real(42, 50.0);
        w.real(43, 0.0);
        w.real(44, 0.0);
        w.real(50, 0.0);
        w.real(51, 0.0);
        w.integer(71, 0);
        w.integer(72, 1000);
        w.integer(73, 1);
        w.integer(74, 3);
        w.integer(75, 0);
        w.integer(76, 0);
        w.integer(77, 0);
        w.integer(78, 0);
    } else if (name == "LTYPE") {
        tableHead("LTYPE", table, 3, w);
        linetype("ByBlock", "", table, w, ctx);
        linetype("ByLayer", "", table, w, ctx);
        linetype("Continuous", "Solid line", table, w, ctx);
    } else if (name == "STYLE") {
        tableHead("STYLE", table, 1, w);
        recordHead("STYLE", "AcDbTextStyleTableRecord", table, w, ctx);
        w.text(2, "Standard");
        w.integer(70, 0);
        w.real(40, 0.0);
        w.real(41, 1.0);
        w.real(50, 0.0);
        w.integer(71, 0);
        w.real(42, 2.5);
        w.text(3, "txt");
        w.text(4, "");
    } else if (name == "DIMSTYLE") {
        tableHead("DIMSTYLE", table, 1, w);
        w.text(100, "AcDbDimStyleTable");
        w.integer(71, 0);
        recordHead("DIMSTYLE", "AcDbDimStyleTableRecord", table, w, ctx, 105);
        w.text(2, "Standard");
        w.integer(70, 0);
        const double dimscale = ctx.db().dimscale();
        const double dimasz = ctx.db().dimasz();
        w.real(40, dimscale);
        w.real(41, dimasz);
        w.real(42, 0.625);
        w.real(43, 3.75);
        w.real(44, 1.25);
        w.real(140, 2.5);
        w.real(141, 2.5);
        w.real(147, 0.625);
        w.integer(77, 1);
        w.integer(78, 8);
        w.integer(271, 2);
        w.integer(272, 2);
        w.integer(277, 2);
    } else {
        // VIEW and UCS: empty tables.
        tableHead(name.c_str(), table, 0, w);
    }
    w.text(0, "ENDTAB");
}

void writeDefaultPlotStyles(std::uint64_t dictionary, std::uint64_t placeholder,
                            std::uint64_t owner, GroupWriter& w) {
    w.text(0, "ACDBDICTIONARYWDFLT");
    w.handle(5, dictionary);
    w.handle(330, owner);
    w.text(100, "AcDbDictionary");
    w.integer(281, 1);
    w.text(3, "Normal");
    w.handle(350, placeholder);
    w.text(100, "AcDbDictionaryWithDefault");
    w.handle(340, placeholder);
    w.text(0, "ACDBPLACEHOLDER");
    w.handle(5, placeholder);
    w.handle(330, dictionary);
}

void writeDefaultClass(const std::string& name, GroupWriter& w) {
    const char* cpp = name == "LAYOUT"            ? "AcDbLayout"
                      : name == "ACDBPLACEHOLDER" ? "AcDbPlaceHolder"
                                                  : "AcDbDictionaryWithDefault";
    w.text(0, "CLASS");
    w.text(1, name);
    w.text(2, cpp);
    w.text(3, "ObjectDBX Classes");
    w.integer(90, 0);
    w.integer(91, 0);
    w.integer(280, 0);
    w.integer(281, 0);
}

} // namespace gantrel::dxf

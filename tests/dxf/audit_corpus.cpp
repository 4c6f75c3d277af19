// Writes every kind of DXF file the tests write into a folder, for ezdxf_audit.py: each test
// drawing, the structure drawing, an empty drawing, and every sample and reading-test file of
// tests/data after being read and saved.
#include <filesystem>
#include <iostream>

#include "drawings.h"
#include "dxf_io.h"

namespace fs = std::filesystem;

namespace {

bool saveTo(const ZcDbDatabase& db, const fs::path& path) {
    std::string error;
    if (!gantrel::dxf::writeDxfFile(db, path, error)) {
        std::cerr << error << "\n";
        return false;
    }
    return true;
}

bool resave(const fs::path& input, const fs::path& output) {
    ZcDbDatabase db(false);
    const auto result = gantrel::dxf::readDxf(db, input);
    if (!result.ok) {
        std::cerr << result.message << "\n";
        return false;
    }
    return saveTo(db, output);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: dxf_audit_corpus FOLDER\n";
        return 2;
    }
    const fs::path out = argv[1];
    fs::remove_all(out);
    fs::create_directories(out);
    bool ok = true;
    for (const auto& c : dxftest::entityCases()) {
        ZcDbDatabase db;
        c.build(db);
        ok = saveTo(db, out / (c.name + ".dxf")) && ok;
    }
    {
        ZcDbDatabase db;
        dxftest::buildStructureDrawing(db);
        ok = saveTo(db, out / "structure.dxf") && ok;
    }
    {
        ZcDbDatabase db;
        ok = saveTo(db, out / "empty.dxf") && ok;
    }
    const fs::path data = GANTREL_TEST_DATA;
    for (const char* folder : {"dxf-samples", "dxf"}) {
        if (!fs::exists(data / folder))
            continue;
        for (const auto& entry : fs::directory_iterator(data / folder))
            if (entry.path().extension() == ".dxf")
                ok = resave(entry.path(),
                            out / (std::string(folder) + "-" + entry.path().filename().string())) &&
                     ok;
    }
    return ok ? 0 : 1;
}

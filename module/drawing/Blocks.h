// Block definitions of the working drawing: listing, looking up by name, loading from drawing
// files, and free names for new blocks.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "zcdball.h"

namespace gantrel {

// Names compared without regard to letter case.
bool SameNameNoCase(const std::wstring& a, const std::wstring& b);

class Blocks {
public:
    // Takes the working drawing.
    Blocks();
    virtual ~Blocks() = default;
    // Appends the name of every block table record in table order; with skipLayouts, model
    // space, paper space and the other layouts are left out.
    void ListNames(std::vector<std::wstring>& names, bool skipLayouts) const;

private:
    ZcDbDatabase* m_db;
};

// Loads a block definition from a drawing file into the working drawing.
class BlockLoader {
public:
    BlockLoader();
    virtual ~BlockLoader() = default;
    // 0 when a block of that name exists or the path itself names a block (whose name is then
    // taken); 76 when the file cannot be opened; otherwise the file is read and inserted as a
    // block of that name, its invisible attribute definitions stay invisible, and the status of
    // the last step is returned.
    int Load(const std::wstring& path, const std::wstring& name);
    int Status() const { return m_status; }
    const std::wstring& Name() const { return m_name; }
    ZcDbObjectId BlockId() const { return m_blockId; }

private:
    void CarryInvisibility();
    int m_status = 374;
    std::unique_ptr<ZcDbDatabase> m_side;
    ZcDbDatabase* m_db;
    ZcDbObjectId m_sideModelSpace;
    std::wstring m_path;
    std::wstring m_name;
    ZcDbObjectId m_blockId;
};

// A block table record of the working drawing looked up by name. With loading allowed, a name
// that is no block is taken as a drawing file: the block is named after the file (without
// folder and extension) and loaded when no such block exists and the file exists and has an
// extension; otherwise "\nIt's not possible to load file: <name>\n" is printed.
class BlockByName {
public:
    explicit BlockByName(const std::wstring& name, bool allowLoading = false);
    virtual ~BlockByName() = default;

    ZcDbObjectId Id() const { return m_id; }
    bool Exists() const { return !m_id.isNull(); }
    // (tag, default text) of the attribute definitions in the record's order; constant ones
    // only with includeConstant.
    std::vector<std::pair<std::wstring, std::wstring>>
    AttributeDefinitions(bool includeConstant = false) const;
    // The references to the block.
    std::vector<ZcDbObjectId> References() const;
    std::wstring Name() const;
    ZcGePoint3d Origin() const;

private:
    ZcDbObjectId m_id;
};

class BlockNameGenerator {
public:
    virtual ~BlockNameGenerator() = default;
    virtual std::wstring NextName() = 0;
};

// prefix + counter, the counter counting up past every name the drawing's blocks (layouts left
// out) already use in any letter case. The counter keeps its value between calls.
class PseudoAnonymousBlockNameGenerator : public BlockNameGenerator {
public:
    PseudoAnonymousBlockNameGenerator(std::wstring prefix, int counter)
        : m_prefix(std::move(prefix)), m_counter(counter) {}
    std::wstring NextName() override;

private:
    std::wstring m_prefix;
    int m_counter;
};

// The block table record of a name in a database; the null id when absent.
ZcDbObjectId FindBlock(ZcDbDatabase* db, const std::wstring& name);

} // namespace gantrel

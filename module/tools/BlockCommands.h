// The block commands: "QuickBlock" turns a selection into a block and one reference to it,
// "AddToBlock" moves entities into a referenced block, "RemoveFromBlock" deletes picked entities
// from the blocks that hold them.
#pragma once

#include <vector>

#include "frame/Commands.h"
#include "zcdball.h"

namespace gantrel {

class QuickBlock_cmd : public KorvantCommand {
public:
    using KorvantCommand::KorvantCommand;
    void Run();

private:
    std::vector<ZcDbObjectId> m_ids;
};

class AddToBlock_cmd : public KorvantCommand {
public:
    using KorvantCommand::KorvantCommand;
    void Run();

private:
    std::vector<ZcDbObjectId> m_ids;
    ZcDbObjectId m_reference;
};

class RemoveFromBlock_cmd : public KorvantCommand {
public:
    using KorvantCommand::KorvantCommand;
    void Run();

private:
    std::vector<ZcDbObjectId> m_ids;
};

// Erases an entity from the block table record that holds it, when that record is a block of
// the drawing (model and paper space included); the host status.
int EraseFromOwnerBlock(ZcDbObjectId id);

} // namespace gantrel

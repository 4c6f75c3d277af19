#include "tools/BlockCommands.h"

#include "drawing/Blocks.h"
#include "drawing/UserInput.h"
#include "drawing/ZWDrawer.h"
#include "frame/Printer.h"
#include "frame/TextProvider.h"
#include "tools/BlockJobs.h"
#include "zcdbhost.h"
#include "zced.h"

namespace gantrel {

namespace {

constexpr unsigned kTargetReferenceText = 40101;
constexpr unsigned kNestedEntityText = 40102;
constexpr wchar_t kQuickBlockPrefix[] = L"QuickBlock_";

} // namespace

void QuickBlock_cmd::Run() {
    if (Start() != 0) {
        return;
    }
    m_ids = SelectImplied();
    if (m_ids.empty()) {
        m_ids = SelectEntities();
    }
    if (m_ids.empty()) {
        return;
    }
    PseudoAnonymousBlockNameGenerator names(kQuickBlockPrefix, 1);
    BlockMakeJob(m_ids, &names).Make();
    RunQuietly(L"_REGEN");
}

void AddToBlock_cmd::Run() {
    if (Start() != 0) {
        return;
    }
    m_ids = SelectEntities();
    ZWUserInput input(m_texts->GetText(kTargetReferenceText));
    for (;;) {
        const int status = input.PickEntity();
        if (status == RTENAME) {
            break;
        }
        if (status == RTCAN) {
            return;
        }
    }
    m_reference = input.Picked();
    BlockMoveJob(m_reference, m_ids).Run();
    RunQuietly(L"_REGEN");
}

int EraseFromOwnerBlock(ZcDbObjectId id) {
    ZcDbEntity* entity = nullptr;
    if (const Zcad::ErrorStatus es = zcdbOpenObject(entity, id, ZcDb::kForRead); es != Zcad::eOk) {
        return es;
    }
    const ZcDbObjectId owner = entity->ownerId();
    ZcDbBlockTableRecord* record = nullptr;
    std::wstring name;
    if (zcdbOpenObject(record, owner, ZcDb::kForRead) == Zcad::eOk) {
        name = record->name();
        record->close();
    }
    Zcad::ErrorStatus es = Zcad::eUndefinedBlock;
    if (!name.empty() && !FindBlock(WorkingDatabase(), name).isNull()) {
        es = entity->upgradeOpen();
        if (es == Zcad::eOk) {
            es = entity->erase();
        }
    }
    entity->close();
    return es;
}

void RemoveFromBlock_cmd::Run() {
    if (Start() != 0) {
        return;
    }
    const std::wstring prompt = L"\n" + m_texts->GetText(kNestedEntityText);
    for (;;) {
        zds_name name = {0, 0};
        zds_point pick = {0.0, 0.0, 0.0};
        zds_matrix xform;
        resbuf* containers = nullptr;
        const int status = zcedNEntSelP(prompt.c_str(), name, pick, 0, xform, &containers);
        if (containers != nullptr) {
            zcutRelRb(containers);
        }
        if (status == RTERROR) {
            continue; // the pick hit nothing
        }
        if (status != RTNORM) {
            return;
        }
        ZcDbObjectId id;
        if (zcdbGetObjectId(id, name) != Zcad::eOk) {
            continue;
        }
        m_ids.push_back(id);
        // Every reference of the block loses the entity, since it leaves the definition.
        if (const int es = EraseFromOwnerBlock(id); es != Zcad::eOk) {
            PrintErrorStatus(es);
        }
        RunQuietly(L"_REGEN");
    }
}

} // namespace gantrel

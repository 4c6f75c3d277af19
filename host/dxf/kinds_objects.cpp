// Table records (layers, block records, registered applications), dictionaries, groups and
// layouts, and the BLOCK and ENDBLK records that frame a block's entities.
#include <cstdlib>

#include "contexts.h"
#include "group_writer.h"
#include "kinds.h"
#include "object_kinds.h"

namespace gantrel::dxf {

namespace {

const Subclass kRecord{"AcDbSymbolTableRecord", {}};

Field recordName() {
    return prop<&ZcDbSymbolTableRecord::name, &ZcDbSymbolTableRecord::setName>(2, FieldKind::Text);
}

using Layer = ZcDbLayerTableRecord;

const Subclass kLayer{"AcDbLayerTableRecord",
                      {
                          recordName(),
                          // Frozen 1, locked 4.
                          custom(
                              70, FieldKind::Int16, Presence::Always, 0,
                              [](const void* t, Value& v, WriteContext&) {
                                  const Layer& l = *static_cast<const Layer*>(t);
                                  v.integer = (l.isFrozen() ? 1 : 0) | (l.isLocked() ? 4 : 0);
                              },
                              [](void* t, const Value& v, ReadContext&) {
                                  Layer& l = *static_cast<Layer*>(t);
                                  l.setIsFrozen(v.integer & 1);
                                  return l.setIsLocked(v.integer & 4);
                              }),
                          // A layer that is off has its colour negative.
                          custom(
                              62, FieldKind::Int16, Presence::Always, 7,
                              [](const void* t, Value& v, WriteContext&) {
                                  const Layer& l = *static_cast<const Layer*>(t);
                                  v.integer = l.isOff() ? -l.colorIndex() : l.colorIndex();
                              },
                              [](void* t, const Value& v, ReadContext&) {
                                  Layer& l = *static_cast<Layer*>(t);
                                  if (v.integer < -255 || v.integer > 255)
                                      return Zcad::eInvalidInput;
                                  l.setIsOff(v.integer < 0);
                                  return l.setColorIndex(
                                      static_cast<std::int16_t>(std::abs(v.integer)));
                              }),
                          custom(
                              6, FieldKind::Text, Presence::Always, L"Continuous",
                              [](const void* t, Value& v, WriteContext&) {
                                  v.text = static_cast<const Layer*>(t)->linetypeName();
                              },
                              [](void* t, const Value& v, ReadContext&) {
                                  return static_cast<Layer*>(t)->setLinetypeName(v.text);
                              }),
                          unmodelled(290, FieldKind::Bool, 1, Presence::Optional),
                          unmodelled(370, FieldKind::Int16, -3),
                          unmodelled(390, FieldKind::Handle, 0, Presence::Optional),
                          unmodelled(347, FieldKind::Handle, 0, Presence::Optional),
                      }};

using Block = ZcDbBlockTableRecord;

const Subclass kBlockRecord{"AcDbBlockTableRecord",
                            {
                                recordName(),
                                custom(
                                    340, FieldKind::Handle, Presence::Optional, 0,
                                    [](const void* t, Value& v, WriteContext&) {
                                        v.id = static_cast<const Block*>(t)->getLayoutId();
                                    },
                                    [](void*, const Value& v, ReadContext& ctx) {
                                        ctx.referByHandle(
                                            v.handle,
                                            [](ZcDbObject& o, ZcDbObjectId id) {
                                                return static_cast<Block&>(o).setLayoutId(id);
                                            },
                                            v.line);
                                        return Zcad::eOk;
                                    }),
                                unmodelled(70, FieldKind::Int16, 0),
                                unmodelled(280, FieldKind::Int16, 1),
                                unmodelled(281, FieldKind::Int16, 0),
                            }};

const Subclass kRegApp{"AcDbRegAppTableRecord",
                       {recordName(), unmodelled(70, FieldKind::Int16, 0)}};

// Dictionary entries: a key (3) and the entry's handle (350, or 360 in a dictionary that owns
// its entries hard).
void readEntries(void* t, GroupCursor& cur, ReadContext& ctx) {
    auto* dict = static_cast<ZcDbDictionary*>(t);
    while (!cur.done() && cur.peek().code == 3) {
        const Group& key = cur.take();
        if (cur.done() || (cur.peek().code != 350 && cur.peek().code != 360)) {
            ctx.repair(key.line,
                       "DICTIONARY: entry \"" + ctx.utf8(key) + "\" without an object dropped");
            continue;
        }
        const Group& h = cur.take();
        ctx.dictionaryEntries.push_back({dict, ctx.text(key), ctx.handle(h), h.line});
    }
}

void writeEntries(const void* t, GroupWriter& w, WriteContext& ctx) {
    bool hard = false;
    if (ctx.currentKept)
        for (const auto& [code, value] : *ctx.currentKept)
            hard = hard || (code == 280 && value == "1");
    for (const auto& [key, id] : static_cast<const ZcDbDictionary*>(t)->entries()) {
        w.text(3, std::wstring_view(key));
        w.handle(hard ? 360 : 350, id.handle().value());
    }
    if (t == ctx.rootDictionary) {
        for (const auto& [key, handle] : ctx.rootExtras) {
            w.text(3, std::wstring_view(key));
            w.handle(350, handle);
        }
    }
}

const Subclass kDictionary{"AcDbDictionary",
                           {
                               unmodelled(280, FieldKind::Int16, 0, Presence::Optional),
                               unmodelled(281, FieldKind::Int16, 1),
                               sequence(3, {}, &readEntries, &writeEntries),
                           }};

// Group members by handle (340), in order. They are appended once every object is read; a
// handle of no object is reported and dropped then.
void readMembers(void*, GroupCursor& cur, ReadContext& ctx) {
    while (!cur.done() && cur.peek().code == 340) {
        const Group& member = cur.take();
        ctx.referByHandle(
            ctx.handle(member),
            [](ZcDbObject& o, ZcDbObjectId id) { return static_cast<ZcDbGroup&>(o).append(id); },
            member.line);
    }
}

void writeMembers(const void* t, GroupWriter& w, WriteContext&) {
    for (const ZcDbObjectId& id : static_cast<const ZcDbGroup*>(t)->allEntityIds())
        w.handle(340, id.handle().value());
}

const Subclass kGroup{
    "AcDbGroup",
    {
        prop<&ZcDbGroup::description, &ZcDbGroup::setDescription>(300, FieldKind::Text),
        prop<&ZcDbGroup::isAnonymous, &ZcDbGroup::setAnonymous>(70, FieldKind::Int16),
        prop<&ZcDbGroup::isSelectable, &ZcDbGroup::setSelectable>(71, FieldKind::Int16,
                                                                  Presence::Always, 1),
        sequence(340, {}, &readMembers, &writeMembers),
    }};

// Plot settings of a layout, kept as the file gave them; defaults for a new layout.
const Subclass kPlotSettings{
    "AcDbPlotSettings",
    {
        unmodelled(1, FieldKind::Text, L""),    unmodelled(2, FieldKind::Text, L"none_device"),
        unmodelled(4, FieldKind::Text, L""),    unmodelled(6, FieldKind::Text, L""),
        unmodelled(40, FieldKind::Real, 7.5),   unmodelled(41, FieldKind::Real, 20.0),
        unmodelled(42, FieldKind::Real, 7.5),   unmodelled(43, FieldKind::Real, 20.0),
        unmodelled(44, FieldKind::Real, 420.0), unmodelled(45, FieldKind::Real, 297.0),
        unmodelled(46, FieldKind::Real, 0.0),   unmodelled(47, FieldKind::Real, 0.0),
        unmodelled(48, FieldKind::Real, 0.0),   unmodelled(49, FieldKind::Real, 0.0),
        unmodelled(140, FieldKind::Real, 0.0),  unmodelled(141, FieldKind::Real, 0.0),
        unmodelled(142, FieldKind::Real, 1.0),  unmodelled(143, FieldKind::Real, 1.0),
        unmodelled(70, FieldKind::Int16, 688),  unmodelled(72, FieldKind::Int16, 1),
        unmodelled(73, FieldKind::Int16, 0),    unmodelled(74, FieldKind::Int16, 5),
        unmodelled(7, FieldKind::Text, L""),    unmodelled(75, FieldKind::Int16, 16),
        unmodelled(76, FieldKind::Int16, 0),    unmodelled(77, FieldKind::Int16, 2),
        unmodelled(78, FieldKind::Int16, 300),  unmodelled(147, FieldKind::Real, 1.0),
        unmodelled(148, FieldKind::Real, 0.0),  unmodelled(149, FieldKind::Real, 0.0),
    }};

using Layout = ZcDbLayout;

const Subclass kLayout{"AcDbLayout",
                       {
                           prop<&Layout::getLayoutName, &Layout::setLayoutName>(1, FieldKind::Text),
                           unmodelled(70, FieldKind::Int16, 1),
                           prop<&Layout::getTabOrder, &Layout::setTabOrder>(71, FieldKind::Int16),
                           unmodelled(10, FieldKind::Point2, ZcGePoint3d(0.0, 0.0, 0.0)),
                           unmodelled(11, FieldKind::Point2, ZcGePoint3d(420.0, 297.0, 0.0)),
                           unmodelled(12, FieldKind::Point3, ZcGePoint3d()),
                           unmodelled(14, FieldKind::Point3, ZcGePoint3d(1e20, 1e20, 1e20)),
                           unmodelled(15, FieldKind::Point3, ZcGePoint3d(-1e20, -1e20, -1e20)),
                           unmodelled(146, FieldKind::Real, 0.0),
                           unmodelled(13, FieldKind::Point3, ZcGePoint3d()),
                           unmodelled(16, FieldKind::Point3, ZcGePoint3d(1.0, 0.0, 0.0)),
                           unmodelled(17, FieldKind::Point3, ZcGePoint3d(0.0, 1.0, 0.0)),
                           unmodelled(76, FieldKind::Int16, 1),
                           custom(
                               330, FieldKind::Handle, Presence::Always, 0,
                               [](const void* t, Value& v, WriteContext&) {
                                   v.id = static_cast<const Layout*>(t)->getBlockTableRecordId();
                               },
                               [](void*, const Value& v, ReadContext& ctx) {
                                   ctx.referByHandle(
                                       v.handle,
                                       [](ZcDbObject& o, ZcDbObjectId id) {
                                           return static_cast<Layout&>(o).setBlockTableRecordId(id);
                                       },
                                       v.line);
                                   return Zcad::eOk;
                               }),
                       }};

// --- BLOCK and ENDBLK ----------------------------------------------------------------------

const Subclass kBlockEntity{"AcDbEntity", {unmodelled(8, FieldKind::Text, L"0")}};

const Subclass kBlockBegin{
    "AcDbBlockBegin",
    {
        member<&BlockData::name>(2, FieldKind::Text),
        member<&BlockData::flags>(70, FieldKind::Int16),
        member<&BlockData::origin>(10, FieldKind::Point3),
        // The name once more.
        custom(
            3, FieldKind::Text, Presence::Always, L"",
            [](const void* t, Value& v, WriteContext&) {
                v.text = static_cast<const BlockData*>(t)->name;
            },
            [](void*, const Value&, ReadContext&) { return Zcad::eOk; }),
        unmodelled(1, FieldKind::Text, L""),
        member<&BlockData::description>(4, FieldKind::Text, Presence::Optional, L""),
    }};

const Subclass kBlockEnd{"AcDbBlockEnd", {}};

} // namespace

std::vector<const Kind*> objectKinds() {
    static const Schema layer("LAYER", {&kRecord, &kLayer}, false);
    static const Schema block("BLOCK_RECORD", {&kRecord, &kBlockRecord}, false);
    static const Schema regApp("APPID", {&kRecord, &kRegApp}, false);
    static const Schema dictionary("DICTIONARY", {&kDictionary}, false);
    static const Schema layout("LAYOUT", {&kPlotSettings, &kLayout}, false);
    static const Schema group("GROUP", {&kGroup}, false);
    static const Kind layerKind = directKind<ZcDbLayerTableRecord>(layer);
    static const Kind blockKind = directKind<ZcDbBlockTableRecord>(block);
    static const Kind regAppKind = directKind<ZcDbRegAppTableRecord>(regApp);
    static const Kind dictionaryKind = directKind<ZcDbDictionary>(dictionary);
    static const Kind layoutKind = directKind<ZcDbLayout>(layout);
    static const Kind groupKind = directKind<ZcDbGroup>(group);
    return {&layerKind, &blockKind, &regAppKind, &dictionaryKind, &layoutKind, &groupKind};
}

const Schema& blockBeginSchema() {
    static const Schema schema("BLOCK", {&kBlockEntity, &kBlockBegin}, false);
    return schema;
}

const Schema& blockEndSchema() {
    static const Schema schema("ENDBLK", {&kBlockEntity, &kBlockEnd}, false);
    return schema;
}

} // namespace gantrel::dxf

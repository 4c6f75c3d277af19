// Selection sets: zcedSSGet in the modes the host offers, and the set operations.
#include <algorithm>

#include "answers.h"
#include "database_impl.h"
#include "picking.h"
#include "rb_util.h"
#include "session.h"
#include "winhost.h"
#include "zcdbhost.h"
#include "zced.h"

using gantrel::editor::HostSession;
using gantrel::editor::SelectedEntity;
using gantrel::editor::Verdict;

namespace {

// Wildcard match of one pattern ("*" any run, "?" one character), without regard to case.
bool wildMatch(const std::wstring& pattern, const std::wstring& text) {
    std::wstring p = gantrel::editor::upperName(pattern), t = gantrel::editor::upperName(text);
    std::size_t pi = 0, ti = 0, star = std::wstring::npos, mark = 0;
    while (ti < t.size()) {
        if (pi < p.size() && (p[pi] == L'?' || p[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (pi < p.size() && p[pi] == L'*') {
            star = pi++;
            mark = ti;
        } else if (star != std::wstring::npos) {
            pi = star + 1;
            ti = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == L'*')
        ++pi;
    return pi == p.size();
}

// A comma-separated list of wildcard patterns.
bool matchesList(const std::wstring& list, const std::wstring& text) {
    std::size_t start = 0;
    while (true) {
        std::size_t comma = list.find(L',', start);
        if (wildMatch(list.substr(start, comma - start), text))
            return true;
        if (comma == std::wstring::npos)
            return false;
        start = comma + 1;
    }
}

// Filters of entity type (0), layer (8) and colour (62), all of which must match. False in
// supported when the filter holds other groups.
bool passes(const ZcDbEntity& entity, const resbuf* filter, bool& supported) {
    for (const resbuf* rb = filter; rb; rb = rb->rbnext) {
        switch (rb->restype) {
        case 0:
        case RTDXF0: {
            const wchar_t* dxf = entity.isA()->dxfName();
            if (!rb->resval.rstring || !dxf || !matchesList(rb->resval.rstring, dxf))
                return false;
            break;
        }
        case 8:
            if (!rb->resval.rstring || !matchesList(rb->resval.rstring, entity.layer()))
                return false;
            break;
        case 62:
            if (entity.colorIndex() != rb->resval.rint)
                return false;
            break;
        default:
            supported = false;
            return false;
        }
    }
    return true;
}

std::vector<ZcDbObjectId> layoutEntities(ZcDbDatabase& db) {
    std::vector<ZcDbObjectId> ids;
    auto* table = ZcDbAccess::objectAs<ZcDbBlockTable>(db.blockTableId());
    if (!table)
        return ids;
    // Model space first, then the paper spaces.
    std::vector<ZcDbObjectId> spaces{db.modelSpaceId()};
    for (ZcDbObjectId id : table->recordIds()) {
        auto* record = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(id);
        if (record && record->isLayout() && id != db.modelSpaceId())
            spaces.push_back(id);
    }
    for (ZcDbObjectId space : spaces)
        if (auto* record = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(space))
            for (ZcDbObjectId id : record->entityIds())
                if (!id.isErased())
                    ids.push_back(id);
    return ids;
}

std::vector<SelectedEntity> plain(const std::vector<ZcDbObjectId>& ids, int method = 0) {
    std::vector<SelectedEntity> out;
    for (ZcDbObjectId id : ids)
        out.push_back({id, method, std::nullopt});
    return out;
}

ZcGePoint3d toPoint(const void* p) {
    const auto* v = static_cast<const zds_real*>(p);
    return ZcGePoint3d(v[0], v[1], v[2]);
}

} // namespace

int zcedSSGet(const wchar_t* str, const void* pt1, const void* pt2, const resbuf* filter,
              zds_name ss) {
    HostSession* s = HostSession::current();
    if (!s || !ss)
        return RTERROR;
    ss[0] = ss[1] = 0;
    std::wstring mode = gantrel::editor::upperName(str ? str : L"");
    if (!mode.empty() && mode[0] == L'_')
        mode.erase(0, 1);
    ZcDbDatabase& db = *s->database();
    std::vector<SelectedEntity> chosen;
    if (mode == L"X") {
        chosen = plain(layoutEntities(db));
    } else if (mode == L"I") {
        chosen = plain(s->impliedSelection());
    } else if (mode == L"L") {
        if (ZcDbObjectId id = s->lastEntity(); !id.isNull())
            chosen = plain({id});
    } else if (mode == L"W" || mode == L"C") {
        if (!pt1 || !pt2)
            return RTERROR;
        chosen = plain(gantrel::editor::selectInRectangle(db.currentSpaceId(), toPoint(pt1),
                                                          toPoint(pt2), mode == L"C"),
                       mode == L"C" ? 3 : 2);
    } else if (mode.empty() || mode == L":S") {
        int status = s->ask(L"\nSelect objects: ", [&](const std::string& text) -> Verdict {
            std::string why = s->resolveSelection(text, chosen);
            return why.empty() ? Verdict{} : Verdict::refuse(why);
        });
        if (status != RTNORM)
            return status;
    } else {
        return RTERROR;
    }
    if (filter) {
        bool supported = true;
        std::erase_if(chosen, [&](const SelectedEntity& e) {
            auto* entity = ZcDbAccess::objectAs<ZcDbEntity>(e.id);
            return !entity || !passes(*entity, filter, supported);
        });
        if (!supported)
            return RTERROR;
    }
    // Nothing selected makes no set, as in the host family.
    if (chosen.empty())
        return RTERROR;
    ss[0] = s->addSelectionSet(std::move(chosen));
    ss[1] = gantrel::editor::kSelectionSetTag;
    return RTNORM;
}

int zcedSSLength(const zds_name ss, std::int32_t* len) {
    HostSession* s = HostSession::current();
    auto* set = s ? s->selectionSet(ss) : nullptr;
    if (!set || !len)
        return RTERROR;
    *len = static_cast<std::int32_t>(set->size());
    return RTNORM;
}

int zcedSSName(const zds_name ss, std::int32_t i, zds_name entres) {
    HostSession* s = HostSession::current();
    auto* set = s ? s->selectionSet(ss) : nullptr;
    if (!set || i < 0 || static_cast<std::size_t>(i) >= set->size())
        return RTERROR;
    return zcdbGetZdsName(entres, (*set)[i].id) == Zcad::eOk ? RTNORM : RTERROR;
}

int zcedSSNameX(resbuf** rbpp, const zds_name ss, std::int32_t i) {
    HostSession* s = HostSession::current();
    auto* set = s ? s->selectionSet(ss) : nullptr;
    if (!rbpp)
        return RTERROR;
    *rbpp = nullptr;
    if (!set || i < 0 || static_cast<std::size_t>(i) >= set->size())
        return RTERROR;
    const SelectedEntity& e = (*set)[i];
    zds_name name;
    if (zcdbGetZdsName(name, e.id) != Zcad::eOk)
        return RTERROR;
    // (method name marker [(0 point)])
    std::vector<resbuf*> items{zcutNewRb(RTLB),
                               gantrel::editor::newRbShort(static_cast<short>(e.method)),
                               gantrel::editor::newRbName(name), gantrel::editor::newRbShort(0)};
    if (e.pick) {
        items.push_back(zcutNewRb(RTLB));
        items.push_back(gantrel::editor::newRbShort(0));
        items.push_back(gantrel::editor::newRbPoint(RT3DPOINT, *e.pick));
        items.push_back(zcutNewRb(RTLE));
    }
    items.push_back(zcutNewRb(RTLE));
    for (std::size_t k = 0; k + 1 < items.size(); ++k)
        items[k]->rbnext = items[k + 1];
    *rbpp = items.front();
    return RTNORM;
}

int zcedSSAdd(const zds_name ename, const zds_name sname, zds_name result) {
    HostSession* s = HostSession::current();
    if (!s || !result)
        return RTERROR;
    std::vector<SelectedEntity> added;
    if (ename) {
        ZcDbObjectId id;
        if (zcdbGetObjectId(id, ename) != Zcad::eOk || !ZcDbAccess::objectAs<ZcDbEntity>(id))
            return RTERROR;
        added.push_back({id, 0, std::nullopt});
    }
    if (!sname) {
        result[0] = s->addSelectionSet(std::move(added));
        result[1] = gantrel::editor::kSelectionSetTag;
        return RTNORM;
    }
    auto* set = s->selectionSet(sname);
    if (!set)
        return RTERROR;
    for (const SelectedEntity& e : added)
        if (std::none_of(set->begin(), set->end(),
                         [&](const SelectedEntity& x) { return x.id == e.id; }))
            set->push_back(e);
    result[0] = sname[0];
    result[1] = sname[1];
    return RTNORM;
}

int zcedSSDel(const zds_name ename, const zds_name ss) {
    HostSession* s = HostSession::current();
    auto* set = s ? s->selectionSet(ss) : nullptr;
    ZcDbObjectId id;
    if (!set || !ename || zcdbGetObjectId(id, ename) != Zcad::eOk)
        return RTERROR;
    return std::erase_if(*set, [&](const SelectedEntity& e) { return e.id == id; }) ? RTNORM
                                                                                    : RTERROR;
}

int zcedSSFree(const zds_name sname) {
    HostSession* s = HostSession::current();
    return s && s->freeSelectionSet(sname) ? RTNORM : RTERROR;
}

int zcedSSGetFirst(resbuf** gset, resbuf** pset) {
    HostSession* s = HostSession::current();
    if (gset)
        *gset = nullptr;
    if (pset)
        *pset = nullptr;
    if (!s)
        return RTERROR;
    if (pset && !s->impliedSelection().empty()) {
        resbuf* rb = zcutNewRb(RTPICKS);
        rb->resval.rlname[0] = s->addSelectionSet(plain(s->impliedSelection()));
        rb->resval.rlname[1] = gantrel::editor::kSelectionSetTag;
        *pset = rb;
    }
    return RTNORM;
}

int zcedSSSetFirst(const zds_name pset, const zds_name) {
    HostSession* s = HostSession::current();
    if (!s)
        return RTERROR;
    std::vector<ZcDbObjectId> ids;
    if (pset) {
        auto* set = s->selectionSet(pset);
        if (!set)
            return RTERROR;
        for (const SelectedEntity& e : *set)
            ids.push_back(e.id);
    }
    s->impliedSelection() = std::move(ids);
    return RTNORM;
}

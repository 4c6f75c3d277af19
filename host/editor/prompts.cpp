// The prompts of the editor: points, corners, numbers, texts and entity picks.
#include <algorithm>
#include <cstring>

#include "answers.h"
#include "database_impl.h"
#include "picking.h"
#include "rb_util.h"
#include "session.h"
#include "ucs.h"
#include "winhost.h"
#include "zcdbhost.h"
#include "zced.h"

using gantrel::editor::HostSession;
using gantrel::editor::Verdict;

namespace {

// Asks with the restrictions and keywords of the last zcedInitGet, which serve one prompt.
int promptFor(const wchar_t* prompt, const std::function<Verdict(const std::string&)>& parse,
              bool enterIsValue = false) {
    HostSession* s = HostSession::current();
    if (!s)
        return RTERROR;
    int flags = s->initGetFlags;
    std::vector<std::wstring> keywords = std::move(s->initGetKeywords);
    s->initGetFlags = 0;
    s->initGetKeywords.clear();
    return s->ask(prompt ? prompt : L"", [&](const std::string& text) -> Verdict {
        if (text.empty() && !enterIsValue) {
            if (flags & RSG_NONULL)
                return Verdict::refuse("a value is required");
            return {RTNONE, {}};
        }
        std::wstring wide = win::Widen(text);
        for (const std::wstring& k : keywords)
            if (gantrel::editor::sameName(k, wide)) {
                s->lastKeyword = k;
                return {RTKWORD, {}};
            }
        return parse(text);
    });
}

Verdict checkNumber(double value, int flags) {
    if ((flags & RSG_NOZERO) && value == 0.0)
        return Verdict::refuse("the value must not be zero");
    if ((flags & RSG_NONEG) && value < 0.0)
        return Verdict::refuse("the value must not be negative");
    return {};
}

void copyPoint(const ZcGePoint3d& p, zds_point out) {
    out[0] = p.x;
    out[1] = p.y;
    out[2] = p.z;
}

std::string pointText(const ZcGePoint3d& p) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%g,%g", p.x, p.y);
    return buffer;
}

// An entity given by "#HANDLE": its id, or a refusal. Entities inside blocks only when nested.
Verdict entityByHandle(const std::string& text, bool nested, ZcDbObjectId& id) {
    auto hex = gantrel::editor::parseHandleToken(text);
    if (!hex)
        return Verdict::refuse("\"" + text + "\" is not a handle");
    HostSession* s = HostSession::current();
    if (s->database()->getZcDbObjectId(id, false, ZcDbHandle(win::Widen(*hex).c_str())) !=
        Zcad::eOk)
        return Verdict::refuse("no object has the handle " + *hex);
    auto* entity = ZcDbAccess::objectAs<ZcDbEntity>(id);
    if (!entity)
        return Verdict::refuse(text + " is not an entity");
    if (id.isErased())
        return Verdict::refuse(text + " was erased");
    auto* owner = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(entity->ownerId());
    if (!nested && (!owner || !owner->isLayout()))
        return Verdict::refuse(text + " does not lie in model or paper space");
    return {};
}

} // namespace

int zcedInitGet(int val, const wchar_t* kwl) {
    HostSession* s = HostSession::current();
    if (!s)
        return RTERROR;
    s->initGetFlags = val;
    s->initGetKeywords.clear();
    if (kwl) {
        for (const std::string& k : gantrel::editor::splitWords(win::Narrow(kwl)))
            s->initGetKeywords.push_back(win::Widen(k));
    }
    return RTNORM;
}

int zcedGetInput(wchar_t* str, std::size_t bufLen) {
    HostSession* s = HostSession::current();
    if (!s || !str || bufLen <= s->lastKeyword.size())
        return RTERROR;
    std::wcscpy(str, s->lastKeyword.c_str());
    return RTNORM;
}

namespace {

// A point prompt; with a base point the host draws its rubber band from there while it asks.
int askPoint(const zds_point base, bool rectangle, const wchar_t* prompt, zds_point result) {
    HostSession* s = HostSession::current();
    if (!s)
        return RTERROR;
    if (base)
        s->rubberBand =
            gantrel::editor::RubberBand{ZcGePoint3d(base[0], base[1], base[2]), rectangle};
    else
        s->rubberBand.reset();
    ZcGePoint3d point;
    int status = promptFor(prompt, [&](const std::string& text) -> Verdict {
        std::optional<ZcGePoint3d> p;
        if (!text.empty() && text[0] == '@') {
            // "@dx,dy" from the rubber band's base point, else from the last point; a bare "@"
            // is that point itself.
            std::string offset = gantrel::editor::trimBlanks(text.substr(1));
            p = offset.empty() ? ZcGePoint3d::kOrigin : gantrel::editor::parsePoint(offset);
            if (!p)
                return Verdict::refuse("\"" + text +
                                       "\" is not a relative point (@dx,dy or @dx,dy,dz)");
            auto last = s->variables().value(L"LASTPOINT", s->database());
            const ZcGePoint3d* from = s->rubberBand ? &s->rubberBand->base : nullptr;
            if (!from && last)
                from = std::get_if<ZcGePoint3d>(&*last);
            if (from)
                *p = ZcGePoint3d(from->x + p->x, from->y + p->y, from->z + p->z);
        } else {
            p = gantrel::editor::parsePoint(text);
        }
        if (!p)
            return Verdict::refuse("\"" + text + "\" is not a point (x,y or x,y,z)");
        point = *p;
        return {};
    });
    s->rubberBand.reset();
    if (status == RTNORM) {
        s->variables().setComputed(L"LASTPOINT", point);
        copyPoint(point, result);
    }
    return status;
}

} // namespace

int zcedGetPoint(const zds_point pt, const wchar_t* prompt, zds_point result) {
    return askPoint(pt, false, prompt, result);
}

int zcedGetCorner(const zds_point pt, const wchar_t* prompt, zds_point result) {
    if (!pt)
        return RTERROR;
    return askPoint(pt, true, prompt, result);
}

int zcedGetInt(const wchar_t* prompt, int* result) {
    HostSession* s = HostSession::current();
    int flags = s ? s->initGetFlags : 0;
    int value = 0;
    int status = promptFor(prompt, [&](const std::string& text) -> Verdict {
        auto v = gantrel::editor::parseShort(text);
        if (!v)
            return Verdict::refuse("\"" + text + "\" is not an integer between -32768 and 32767");
        value = *v;
        return checkNumber(value, flags);
    });
    if (status == RTNORM && result)
        *result = value;
    return status;
}

int zcedGetReal(const wchar_t* prompt, zds_real* result) {
    HostSession* s = HostSession::current();
    int flags = s ? s->initGetFlags : 0;
    double value = 0.0;
    int status = promptFor(prompt, [&](const std::string& text) -> Verdict {
        auto v = gantrel::editor::parseReal(text);
        if (!v)
            return Verdict::refuse("\"" + text + "\" is not a number");
        value = *v;
        return checkNumber(value, flags);
    });
    if (status == RTNORM && result)
        *result = value;
    return status;
}

int zcedGetString(int cronly, const wchar_t* prompt, wchar_t* result, std::size_t bufLen) {
    if (!result || bufLen == 0)
        return RTERROR;
    std::wstring value;
    int status = promptFor(
        prompt,
        [&](const std::string& text) -> Verdict {
            // Without cronly a blank ends the text, as the space bar does at the command line.
            std::string taken = cronly ? text : text.substr(0, text.find_first_of(" \t"));
            value = win::Widen(taken);
            if (value.size() >= bufLen)
                return Verdict::refuse("the text is longer than " + std::to_string(bufLen - 1) +
                                       " characters");
            return {};
        },
        true);
    if (status == RTNORM)
        std::wcscpy(result, value.c_str());
    return status;
}

namespace {

// One entity pick (plain or nested) from "#HANDLE" or "x,y".
int pickPrompt(const wchar_t* prompt, bool nested, gantrel::editor::PickHit& hit,
               ZcGePoint3d& point) {
    HostSession* s = HostSession::current();
    if (!s)
        return RTERROR;
    return promptFor(prompt, [&](const std::string& text) -> Verdict {
        if (!text.empty() && text[0] == '#') {
            ZcDbObjectId id;
            Verdict v = entityByHandle(text, nested, id);
            if (v.refusal.empty()) {
                hit = {};
                hit.id = id;
                point = gantrel::editor::representativePoint(*ZcDbAccess::objectAs<ZcDbEntity>(id));
            }
            return v;
        }
        auto p = gantrel::editor::parsePoint(text);
        if (!p)
            return Verdict::refuse("\"" + text + "\" is neither #HANDLE nor a point x,y");
        point = *p;
        // The point is typed in user coordinates; the drawing is searched in world ones.
        const ZcGePoint3d world =
            gantrel::editor::userSystem(s->variables(), s->database()).toWorld(*p);
        ZcDbObjectId space = s->database()->currentSpaceId();
        auto found = nested ? gantrel::editor::pickNested(space, world, s->pickAperture())
                            : gantrel::editor::pickEntity(space, world, s->pickAperture());
        if (!found) {
            s->transcript().message("Nothing found at " + pointText(*p) + ".");
            return {RTERROR, {}};
        }
        hit = *found;
        return {};
    });
}

} // namespace

int zcedEntSel(const wchar_t* str, zds_name entres, zds_point ptres) {
    gantrel::editor::PickHit hit;
    ZcGePoint3d point;
    int status = pickPrompt(str ? str : L"\nSelect object: ", false, hit, point);
    if (status != RTNORM)
        return status;
    if (zcdbGetZdsName(entres, hit.id) != Zcad::eOk)
        return RTERROR;
    copyPoint(point, ptres);
    return RTNORM;
}

int zcedNEntSelP(const wchar_t* str, zds_name entres, zds_point ptres, int pickflag,
                 zds_matrix xformres, resbuf** refstkres) {
    HostSession* s = HostSession::current();
    if (!s)
        return RTERROR;
    if (refstkres)
        *refstkres = nullptr;
    gantrel::editor::PickHit hit;
    ZcGePoint3d point;
    if (pickflag) {
        point = ZcGePoint3d(ptres[0], ptres[1], ptres[2]);
        auto found =
            gantrel::editor::pickNested(s->database()->currentSpaceId(), point, s->pickAperture());
        if (!found)
            return RTERROR;
        hit = *found;
    } else {
        int status = pickPrompt(str ? str : L"\nSelect object: ", true, hit, point);
        if (status != RTNORM)
            return status;
    }
    if (zcdbGetZdsName(entres, hit.id) != Zcad::eOk)
        return RTERROR;
    copyPoint(point, ptres);
    if (xformres)
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                xformres[r][c] = hit.xform.entry[r][c];
    if (refstkres) {
        resbuf** tail = refstkres;
        for (ZcDbObjectId container : hit.containers) {
            zds_name name;
            if (zcdbGetZdsName(name, container) != Zcad::eOk)
                continue;
            *tail = gantrel::editor::newRbName(name);
            tail = &(*tail)->rbnext;
        }
    }
    return RTNORM;
}

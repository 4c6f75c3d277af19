// Owner of one host result-buffer chain, built by appending elements at its tail.
#pragma once

#include <vector>

#include "zcdb.h"

namespace gantrel {

class ResBuf {
public:
    ResBuf() = default;
    ResBuf(const ResBuf&) = delete;
    ResBuf& operator=(const ResBuf&) = delete;

    // An RTPICKS element holding a new selection set of every id that converts to an entity
    // name (the others are skipped); nothing when the set cannot be created.
    virtual void AddSelection(std::vector<ZcDbObjectId> ids);
    // RTENAME with the entity name of the id.
    virtual void AddEntity(ZcDbObjectId id);
    // RTPOINT (5002) with all three coordinates.
    virtual void AddPoint(const ZcGePoint3d& point);
    // RTSTR with a copy of the text.
    virtual void AddString(const wchar_t* text);
    virtual void AddReal(double value);
    // RTSHORT; the value is stored as 16 bits.
    virtual void AddShort(int value);
    // An element of the given type holding a copy of the text.
    virtual void AddTyped(int type, const wchar_t* text);
    // Releases the whole chain once.
    virtual ~ResBuf();
    virtual void BeginOr() { AddTyped(-4, L"<OR"); }
    virtual void EndOr() { AddTyped(-4, L"OR>"); }
    virtual void BeginNot() { AddTyped(-4, L"<NOT"); }
    virtual void EndNot() { AddTyped(-4, L"NOT>"); }
    virtual void BeginAnd() { AddTyped(-4, L"<AND"); }
    virtual void EndAnd() { AddTyped(-4, L"AND>"); }

    resbuf* Head() const { return m_head; }
    resbuf* Tail() const { return m_tail; }

private:
    void Append(resbuf* element);
    resbuf* m_head = nullptr;
    resbuf* m_tail = nullptr;
};

} // namespace gantrel

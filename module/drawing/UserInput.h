// Prompts, selections, system variables and quiet host commands: thin layers over the host's
// editor calls that add prompt formatting, retry loops, defaults and restored variables.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "zcdball.h"

namespace gantrel {

// One system variable by name.
class ZWVariable {
public:
    explicit ZWVariable(std::wstring name) : m_name(std::move(name)) {}
    virtual ~ZWVariable() = default;
    // The 16-bit value; 0 when the host does not answer RTNORM.
    int GetInt() const;
    // The real value; 0 when the host does not answer RTNORM.
    double GetReal() const;
    // Sets an RTSHORT value; true when the host answers RTNORM.
    bool SetInt(int value) const;

private:
    std::wstring m_name;
};

// Appends the ids of the list whose objects are not erased, open for read and are of the
// class or derived from it.
class FilterByType {
public:
    explicit FilterByType(std::vector<ZcDbObjectId> ids) : m_ids(std::move(ids)) {}
    virtual ~FilterByType() = default;
    virtual void Filter(const ZcRxClass* cls, std::vector<ZcDbObjectId>& out) const;

private:
    std::vector<ZcDbObjectId> m_ids;
};

// One selection request. While it lives, "PICKSTYLE" is 0 (picking an entity never selects its
// whole group); its earlier value comes back when the selector is destroyed.
class EntitySelector {
public:
    enum Mode {
        All = 1,
        Implied = 2,
        Crossing = 3,
        Single = 4,
        Interactive = 5,
        Last = 6,
        Window = 7
    };
    explicit EntitySelector(int mode);
    EntitySelector(const EntitySelector&) = delete;
    EntitySelector& operator=(const EntitySelector&) = delete;
    virtual ~EntitySelector();

    // 180 when the user cancelled; otherwise 0, with the selected ids (empty when the host gave
    // no set).
    int Select();
    const std::vector<ZcDbObjectId>& Ids() const { return m_ids; }
    // The point of the first element's pick, zero when it was not picked.
    ZcGePoint3d PickPoint() const { return {m_pick[0], m_pick[1], m_pick[2]}; }
    int SavedPickStyle() const { return m_savedPickStyle; }
    // The host's mode string of a mode code; null for interactive selection.
    static const wchar_t* ModeString(int mode);

private:
    void Collect(const zds_name set);
    std::vector<ZcDbObjectId> m_ids;
    int m_mode;
    double m_pick[3] = {0.0, 0.0, 0.0};
    const void* m_corner1 = nullptr;
    const void* m_corner2 = nullptr;
    const resbuf* m_filter = nullptr;
    int m_savedPickStyle = 0;
};

constexpr int kSelectionCancelled = 180;

// One entity-pick prompt.
class ZWUserInput {
public:
    explicit ZWUserInput(std::wstring prompt) : m_prompt(std::move(prompt)) {}
    virtual std::wstring GetPrompt() const { return L"\n" + m_prompt; }
    virtual ~ZWUserInput() = default;

    // RTENAME (5006) with the picked id stored, or the host's answer (RTCAN for Esc). Callers
    // repeat it until it gives RTENAME and stop on RTCAN.
    int PickEntity();
    // Asks "<prompt>:<default>" (no leading break); Enter gives the default and RTNORM.
    int GetInt(int& value, int defaultValue);

    int Status() const { return m_status; }
    ZcDbObjectId Picked() const { return m_picked; }
    ZcGePoint3d PickPoint() const { return {m_pick[0], m_pick[1], m_pick[2]}; }
    const std::wstring& Prompt() const { return m_prompt; }

private:
    int m_status = RTNIL;
    std::wstring m_prompt;
    double m_pick[3] = {0.0, 0.0, 0.0};
    ZcDbObjectId m_picked;
};

// Ordinary interactive selection; empty after a cancel.
std::vector<ZcDbObjectId> SelectEntities();
// The implied (pre-picked) selection.
std::vector<ZcDbObjectId> SelectImplied();
// As SelectEntities; the host's own selection prompt is shown, not the given one.
std::vector<ZcDbObjectId> SelectIds(const std::wstring& prompt);
// Asks until an entity of one of the given kinds (or a kind derived from one) is picked; the
// null id after Esc. Enter, misses and picks of other entities ask again.
ZcDbObjectId PickEntityOfKind(const std::wstring& prompt,
                              std::initializer_list<const ZcRxClass*> kinds);
// Asks until a lightweight or 2-D polyline is picked; the null id after Esc.
ZcDbObjectId PickPolyline(const std::wstring& prompt);
// Asks "\n<prompt>: " for a point (relative to a base point given in world coordinates); any
// answer but a point gives RTERROR. The point is in user coordinates, or world ones with
// toWorld.
int GetPointFromUser(ZcGePoint3d& point, const std::wstring& prompt,
                     const ZcGePoint3d* base = nullptr, bool toWorld = true);
// As GetPointFromUser, for the opposite corner of a rectangle from the base point.
int GetCornerFromUser(ZcGePoint3d& point, const std::wstring& prompt,
                      const ZcGePoint3d* base = nullptr, bool toWorld = true);
ZcGePoint3d WorldToUser(const ZcGePoint3d& point);
ZcGePoint3d UserToWorld(const ZcGePoint3d& point);
bool SetIntVariable(const std::wstring& name, int value);
double GetRealVariable(const std::wstring& name);
// Runs a host command with "cmdecho" at 0, restoring it afterwards; the host's answer.
int RunQuietly(const std::wstring& command);

} // namespace gantrel

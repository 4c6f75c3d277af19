// The command stack.
#include "command_stack.h"

#include <cwctype>

ZCRX_DEFINE_MEMBERS(ZcEdCommand, ZcRxObject, nullptr)
ZCRX_DEFINE_MEMBERS(ZcEdCommandStack, ZcRxObject, nullptr)

namespace gantrel::editor {

std::wstring upperName(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return text;
}

bool sameName(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && upperName(a) == upperName(b);
}

CommandStack::Group* CommandStack::findGroup(const wchar_t* name) {
    for (Group& g : m_groups)
        if (sameName(g.name, name))
            return &g;
    return nullptr;
}

Zcad::ErrorStatus CommandStack::addCommand(const wchar_t* cmdGroupName,
                                           const wchar_t* cmdGlobalName,
                                           const wchar_t* cmdLocalName, int commandFlags,
                                           ZcRxFunctionPtr functionAddr, ZcEdUIContext*, int fcode,
                                           void*, ZcEdCommand** cmdPtrRet) {
    if (cmdPtrRet)
        *cmdPtrRet = nullptr;
    if (!cmdGroupName || !*cmdGroupName || !cmdGlobalName || !*cmdGlobalName || !functionAddr)
        return Zcad::eInvalidInput;
    std::wstring local = cmdLocalName && *cmdLocalName ? cmdLocalName : cmdGlobalName;
    Group* group = findGroup(cmdGroupName);
    if (!group) {
        m_groups.push_back(Group{cmdGroupName, {}});
        group = &m_groups.back();
    }
    for (const auto& c : group->commands)
        if (sameName(c->globalName(), cmdGlobalName) || sameName(c->localName(), local))
            return Zcad::eDuplicateKey;
    group->commands.push_back(std::make_unique<RegisteredCommand>(
        group->name, cmdGlobalName, local, commandFlags, functionAddr, fcode));
    if (cmdPtrRet)
        *cmdPtrRet = group->commands.back().get();
    return Zcad::eOk;
}

Zcad::ErrorStatus CommandStack::removeCmd(const wchar_t* cmdGroupName,
                                          const wchar_t* cmdGlobalName) {
    if (!cmdGroupName || !cmdGlobalName)
        return Zcad::eInvalidInput;
    Group* group = findGroup(cmdGroupName);
    if (!group)
        return Zcad::eKeyNotFound;
    auto removed = std::erase_if(
        group->commands, [&](const auto& c) { return sameName(c->globalName(), cmdGlobalName); });
    return removed ? Zcad::eOk : Zcad::eKeyNotFound;
}

Zcad::ErrorStatus CommandStack::removeGroup(const wchar_t* groupName) {
    if (!groupName)
        return Zcad::eInvalidInput;
    auto removed =
        std::erase_if(m_groups, [&](const Group& g) { return sameName(g.name, groupName); });
    return removed ? Zcad::eOk : Zcad::eKeyNotFound;
}

std::vector<const ZcEdCommand*> CommandStack::commandsInOrder() const {
    std::vector<const ZcEdCommand*> commands;
    for (const Group& g : m_groups)
        for (const auto& c : g.commands)
            commands.push_back(c.get());
    return commands;
}

ZcEdCommand* CommandStack::lookupCmd(const wchar_t* cmdName, bool globalFlag) {
    if (!cmdName)
        return nullptr;
    for (auto g = m_groups.rbegin(); g != m_groups.rend(); ++g)
        for (const auto& c : g->commands)
            if (sameName(globalFlag ? c->globalName() : c->localName(), cmdName))
                return c.get();
    return nullptr;
}

ZcEdCommand* CommandStack::lookupGlobalCmd(const wchar_t* cmdName) {
    return lookupCmd(cmdName, true);
}

ZcEdCommand* CommandStack::lookupLocalCmd(const wchar_t* cmdName) {
    return lookupCmd(cmdName, false);
}

ZcEdCommand* CommandStack::findTyped(const std::wstring& typed) {
    std::wstring name = typed;
    bool globalOnly = false;
    while (!name.empty() && (name[0] == L'_' || name[0] == L'.')) {
        globalOnly = globalOnly || name[0] == L'_';
        name.erase(0, 1);
    }
    if (name.empty())
        return nullptr;
    if (globalOnly)
        return lookupGlobalCmd(name.c_str());
    if (ZcEdCommand* c = lookupLocalCmd(name.c_str()))
        return c;
    return lookupGlobalCmd(name.c_str());
}

std::vector<std::wstring> CommandStack::groupNames() const {
    std::vector<std::wstring> names;
    for (auto g = m_groups.rbegin(); g != m_groups.rend(); ++g)
        names.push_back(g->name);
    return names;
}

std::size_t CommandStack::commandCount() const {
    std::size_t n = 0;
    for (const Group& g : m_groups)
        n += g.commands.size();
    return n;
}

} // namespace gantrel::editor

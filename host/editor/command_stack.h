// The host's command stack: commands in groups, found by global or local name in any case.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "zcrxapp.h"

namespace gantrel::editor {

class RegisteredCommand : public ZcEdCommand {
public:
    RegisteredCommand(std::wstring group, std::wstring global, std::wstring local, int flags,
                      ZcRxFunctionPtr function, int code)
        : m_group(std::move(group)), m_global(std::move(global)), m_local(std::move(local)),
          m_flags(flags), m_function(function), m_code(code) {}
    const wchar_t* globalName() const override { return m_global.c_str(); }
    const wchar_t* localName() const override { return m_local.c_str(); }
    const wchar_t* groupName() const override { return m_group.c_str(); }
    int commandFlags() const override { return m_flags; }
    ZcRxFunctionPtr functionAddr() const override { return m_function; }
    int functionCode() const override { return m_code; }

private:
    std::wstring m_group, m_global, m_local;
    int m_flags;
    ZcRxFunctionPtr m_function;
    int m_code;
};

class CommandStack : public ZcEdCommandStack {
public:
    Zcad::ErrorStatus addCommand(const wchar_t* cmdGroupName, const wchar_t* cmdGlobalName,
                                 const wchar_t* cmdLocalName, int commandFlags,
                                 ZcRxFunctionPtr functionAddr, ZcEdUIContext* UIContext = nullptr,
                                 int fcode = -1, void* hResourceHandle = nullptr,
                                 ZcEdCommand** cmdPtrRet = nullptr) override;
    Zcad::ErrorStatus removeCmd(const wchar_t* cmdGroupName, const wchar_t* cmdGlobalName) override;
    Zcad::ErrorStatus removeGroup(const wchar_t* groupName) override;
    ZcEdCommand* lookupGlobalCmd(const wchar_t* cmdName) override;
    ZcEdCommand* lookupLocalCmd(const wchar_t* cmdName) override;
    ZcEdCommand* lookupCmd(const wchar_t* cmdName, bool globalFlag) override;

    // A typed name: "_NAME" is a global name, otherwise local names are tried, then global
    // ones; a leading "." is ignored.
    ZcEdCommand* findTyped(const std::wstring& typed);
    // Group names, most recent first.
    std::vector<std::wstring> groupNames() const;
    std::size_t commandCount() const;
    // Every command, groups in the order they were added and commands in the order they were
    // added to their group.
    std::vector<const ZcEdCommand*> commandsInOrder() const;
    // Removes every command whose function satisfies pred (commands of an unloaded module) and
    // returns their global names.
    template <typename Pred> std::vector<std::wstring> removeIf(Pred pred) {
        std::vector<std::wstring> removed;
        for (Group& g : m_groups)
            for (const auto& c : g.commands)
                if (pred(c->functionAddr()))
                    removed.push_back(c->globalName());
        for (Group& g : m_groups)
            std::erase_if(g.commands, [&](const auto& c) { return pred(c->functionAddr()); });
        std::erase_if(m_groups, [](const Group& g) { return g.commands.empty(); });
        return removed;
    }

private:
    struct Group {
        std::wstring name;
        std::vector<std::unique_ptr<RegisteredCommand>> commands;
    };
    Group* findGroup(const wchar_t* name);
    // Groups in the order they were added; searched from the back.
    std::vector<Group> m_groups;
};

// Case-insensitive comparison of names (command, group and variable names).
bool sameName(const std::wstring& a, const std::wstring& b);
std::wstring upperName(std::wstring text);

} // namespace gantrel::editor

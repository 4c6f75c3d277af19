#include "frame/Commands.h"

#include "frame/HelpMap.h"
#include "frame/Registry.h"

#include "zcadstatus.h"
#include "zced.h"

namespace gantrel {

namespace {

// The status a Tallimo or Plaxen command ends with when its help cannot be bound.
constexpr int kHelpNotBound = 20077;

} // namespace

CommandHelp::CommandHelp(std::wstring helpFile, std::wstring topic, std::wstring commandName)
    : m_helpFile(std::move(helpFile)), m_topic(std::move(topic)),
      m_commandName(std::move(commandName)) {}

void CommandHelp::Register() {
    const std::wstring function = L"C:" + m_commandName;
    zcedSetFunHelp(function.c_str(), m_helpFile.c_str(), m_topic.c_str(), 0);
}

std::wstring GantrelHelpFactory::GetTopic(const std::wstring& name) {
    return LookUpHelpTopic(ToolsHelpMap(), name);
}

std::unique_ptr<CommandHelp> GantrelHelpFactory::CreateHelp(const std::wstring& name) {
    return std::make_unique<CommandHelp>(GetOrvendelDirectory() + L"\\" + L"help.chm",
                                         GetTopic(name), name);
}

KorvantCommand::KorvantCommand(TextProvider* texts, CommandHelp* help, std::wstring name)
    : m_texts(texts), m_help(help), m_name(std::move(name)) {}

std::wstring KorvantCommand::GetName() {
    return m_name;
}

std::wstring KorvantCommand::GetHelpTopic() {
    return GetName();
}

int KorvantCommand::Start() {
    if (m_help != nullptr) {
        m_help->Register();
    }
    return 0;
}

int KorvantCommand::QueryFlag() {
    return 1;
}

int Gantrel_cmd::Start() {
    return RegisterHelp();
}

int Gantrel_cmd::RegisterHelp() {
    const std::wstring topic = GetHelpTopic();
    const std::wstring file = GetHelpFile();
    const std::wstring function = L"C:" + GetGlobalName();
    const int answer = zcedSetFunHelp(function.c_str(), file.c_str(), topic.c_str(), 0);
    return answer == RTNORM ? 0 : kHelpNotBound;
}

std::wstring Gantrel_cmd::GetHelpTopic() {
    return GetLocalName();
}

std::wstring Gantrel_cmd::GetHelpFile() {
    return GetOrvendelDirectory() + L"\\" + L"Gantrel.chm";
}

std::wstring Gantrel_cmd::GetProductName() {
    return L"Orvendel";
}

} // namespace gantrel

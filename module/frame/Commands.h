// The command base classes: KorvantCommand for the drawing tools, Gantrel_cmd with its two
// families Tallimo_cmd and Plaxen_cmd, and the F1 help bound to a running command.
#pragma once

#include <memory>
#include <string>

namespace gantrel {

class TextProvider;

// Help that can be bound to a command.
class IHelp {
public:
    virtual ~IHelp() = default;
    virtual void Register() = 0;
};

// F1 help of one drawing-tool command: a topic of a help file, bound to "C:" + the name.
class CommandHelp : public IHelp {
public:
    CommandHelp(std::wstring helpFile, std::wstring topic, std::wstring commandName);
    // Asks the host to open the topic when F1 is pressed during the command; the host's answer
    // is not examined.
    void Register() override;

    const std::wstring& HelpFile() const { return m_helpFile; }
    const std::wstring& Topic() const { return m_topic; }

private:
    std::wstring m_helpFile;
    std::wstring m_topic;
    std::wstring m_commandName;
};

// Makes the help objects of the drawing-tool commands from the drawing tools' help map.
class GantrelHelpFactory {
public:
    virtual ~GantrelHelpFactory() = default;
    // The map's topic of a command name (reported and empty when absent).
    virtual std::wstring GetTopic(const std::wstring& name);
    // Help file "help.chm" in the suite folder, at the map's topic for the name.
    std::unique_ptr<CommandHelp> CreateHelp(const std::wstring& name);
};

// Base of the drawing-tool commands: texts through the shared provider, optional F1 help.
class KorvantCommand {
public:
    KorvantCommand(TextProvider* texts, CommandHelp* help, std::wstring name);
    virtual ~KorvantCommand() = default;

    virtual std::wstring GetName();
    virtual std::wstring GetHelpTopic();
    // Binds the F1 help when there is one; a run routine returns at once when this is not 0.
    virtual int Start();
    virtual int QueryFlag();

protected:
    TextProvider* m_texts;
    CommandHelp* m_help;
    std::wstring m_name;
};

// Root of the Tallimo and Plaxen commands: each names itself, and Start binds its F1 help.
class Gantrel_cmd {
public:
    virtual ~Gantrel_cmd() = default;

    // Returns RegisterHelp: 0, or 20077 when the host refused the help binding.
    virtual int Start();
    virtual int RegisterHelp();
    virtual std::wstring GetGlobalName() = 0;
    virtual std::wstring GetLocalName() = 0;
    virtual std::wstring GetHelpTopic();
    // "Gantrel.chm" in the suite folder.
    virtual std::wstring GetHelpFile();
    virtual std::wstring GetProductName();
};

class Tallimo_cmd : public Gantrel_cmd {};

class Plaxen_cmd : public Gantrel_cmd {};

} // namespace gantrel

// Help pages for dialogs, shown in the system's HTML Help viewer.
#pragma once

#include <string>

namespace gantrel {

class HelpProvider {
public:
    explicit HelpProvider(std::wstring topic) : topic_(std::move(topic)) {}
    virtual ~HelpProvider() = default;

    virtual std::wstring GetHelpFile() { return {}; }
    virtual std::wstring GetTopic() { return topic_; }
    virtual void ShowHelp() = 0;

protected:
    std::wstring topic_;
};

// Opens the page topic + ".htm" of GetHelpFile in the HTML Help viewer.
class HelpForDialog : public HelpProvider {
public:
    using HelpProvider::HelpProvider;
    std::wstring GetTopic() override { return topic_ + L".htm"; }
    void ShowHelp() override;
    virtual std::wstring GetHelpTopicArgument() { return GetTopic(); }
};

// Nesting dialogs: the help file "Orvendel.chm" in the suite folder.
class PlaxenHelpForDialog : public HelpForDialog {
public:
    using HelpForDialog::HelpForDialog;
    std::wstring GetHelpFile() override;
};

// Opens a topic of a help file in the HTML Help viewer (HH_DISPLAY_TOPIC, no owner). The viewer
// function is looked up once; when it cannot be found, help calls do nothing.
void ShowHtmlHelpTopic(const std::wstring& file, const std::wstring& topic);

} // namespace gantrel

// The host's status-bar progress meter under a label.
#pragma once

#include <string>

namespace gantrel {

class ZWProgressBar {
public:
    explicit ZWProgressBar(std::wstring label = L"") : m_label(std::move(label)) {}
    ZWProgressBar(const ZWProgressBar&) = delete;
    ZWProgressBar& operator=(const ZWProgressBar&) = delete;
    // Restores the status bar.
    ~ZWProgressBar();

    const std::wstring& Label() const { return m_label; }
    // Shows the meter with the label and the range 0 to maximum; the host's answer.
    int Start(int maximum);
    // Moves the meter to a position within the range; the host's answer.
    int SetPosition(int position);
    // Restores the host status bar. An exception raised by the host there is caught and
    // "error catched" is printed.
    void Finish();

private:
    std::wstring m_label;
};

} // namespace gantrel

// The host's side of the Windows stand-ins: which registry file backs the registry, who answers
// message boxes and file dialogs, and what was shown in HTML Help or started through the shell.
// The module never includes this header; the gantrel program, the editor and tests do.
#pragma once

#include "win_types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win {

// --- Registry file ------------------------------------------------------------------------------

struct RegistryLoadResult {
    bool ok = false;                   // the file was read and every line understood
    std::vector<std::string> messages; // "FILE:LINE: what is wrong", one per refused line
};

// Replaces the whole registry with the contents of a ".reg" file. Lines that cannot be understood
// are reported and skipped; everything else is kept. A file that cannot be read leaves the
// registry empty and says why.
RegistryLoadResult LoadRegistryFile(const std::string& path);
// The same from text already in memory; `name` is used in the messages.
RegistryLoadResult LoadRegistryText(const std::string& text, const std::string& name);
// Empties the registry.
void ClearRegistry();
// The registry file the host uses: `option` when given, else $GANTREL_REGISTRY, else
// share/gantrel/registry.reg next to the program's installation (beside its bin folder).
std::string ChooseRegistryFile(const std::string& option);

// --- Paths --------------------------------------------------------------------------------------

// A path as the module writes it, turned into a file-system path: UTF-8, "\" becomes "/", and a
// run of separators becomes one.
std::string NativePath(const std::wstring& path);
// UTF-8 <-> wide text at the edges of the process (files, terminal). Invalid UTF-8 bytes become
// U+FFFD rather than being dropped.
std::wstring Widen(const std::string& utf8);
std::string Narrow(std::wstring_view wide);
// Appends one code point as UTF-8; surrogates and values above U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t code);

// --- Answers from the user ----------------------------------------------------------------------

struct MessageBoxRequest {
    std::wstring caption; // "Error" when the caller gave none, as the platform shows it
    std::wstring text;
    UINT type = 0;            // MB_* flags as passed
    std::vector<int> buttons; // ID* values in the order shown
    int defaultButton = IDOK; // what Enter (or a script) chooses
    // A question of a dialog the script answers (the save dialog's overwrite prompt): the
    // script's next line names the button, where other boxes take their default from a script.
    bool answeredByScript = false;
};

struct FileFilter {
    std::wstring description;
    std::wstring pattern; // one or more patterns separated by ";"
};

struct FileDialogRequest {
    bool save = false;
    std::wstring title; // "Open" or "Save As" when the caller gave none
    std::vector<FileFilter> filters;
    int filterIndex = 0; // 0-based index into filters
    std::wstring defaultExtension;
    std::wstring initialName;
    std::wstring initialDirectory;
    DWORD flags = 0; // OFN_* flags as passed
};

struct HelpRequest {
    std::wstring file;
    UINT command = 0;
    std::wstring topic; // the topic text for HH_DISPLAY_TOPIC, else empty
};

// The input source behind every platform call that asks the user something. The editor
// implements it over its script, terminal or test queue; the transcript is its business.
class Answerer {
public:
    virtual ~Answerer() = default;
    // Returns one of request.buttons.
    virtual int AnswerMessageBox(const MessageBoxRequest& request) = 0;
    // Returns the file name the user typed, or nothing when the dialog was cancelled. The
    // dialog applies the default extension and the existence checks and may ask again.
    virtual std::optional<std::wstring> AnswerFileDialog(const FileDialogRequest& request) = 0;
    // Shows that HTML Help was opened.
    virtual void ShowHelp(const HelpRequest& request) = 0;
};

// The answerer used when none is set: it prints each box (caption and text) and help call to
// stdout, answers message boxes with their default button and cancels file dialogs.
Answerer& DefaultAnswerer();
// Sets the answerer for the whole process (nullptr restores the default). The caller keeps
// ownership and must keep it alive until it is replaced. Calls into the answerer are serialised.
void SetAnswerer(Answerer* answerer);

// The buttons of a message box type and the one it answers with by default.
std::vector<int> MessageBoxButtons(UINT type);
int MessageBoxDefaultButton(UINT type);
// The label of an ID* answer as the box shows it ("OK", "Cancel", "Yes", ...).
std::wstring ButtonName(int button);
// Turns a dialog framework's filter ("Text (*.txt)|*.txt||") into the platform's list of
// pairs separated and ended by L'\0' with an extra L'\0' at the end.
std::wstring PipeFilterToPairs(const std::wstring& filter);

// --- Records for tests and the shell ------------------------------------------------------------

std::vector<HelpRequest> HelpCalls();
void ClearHelpCalls();

struct ShellStart {
    std::string program; // the resolved file that was started
    std::vector<std::string> arguments;
    std::string directory;
    int pid = 0;
};
std::vector<ShellStart> ShellStarts();
void ClearShellStarts();
// Waits up to `milliseconds` for a program started by ShellExecute to end; its exit status, or
// nothing when it is still running or unknown.
std::optional<int> WaitForShellStart(int pid, DWORD milliseconds);

} // namespace win

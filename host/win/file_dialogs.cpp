// The common open and save dialogs, answered by the current answerer. The dialog applies what
// the platform's dialog applies to a typed name: the default extension, the existence checks
// and the overwrite prompt, asking again after each refusal.
#include "win_internal.h"
#include "winhost.h"
#include "winstandin.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

thread_local DWORD t_dialogError = 0;

// A script or test that keeps giving refused names is cancelled after this many tries.
constexpr int kMaxAttempts = 100;

enum class Kind { Missing, File, Folder };

Kind KindOf(const std::wstring& path) {
    struct stat info {};
    if (::stat(win::NativePath(path).c_str(), &info) != 0) {
        return Kind::Missing;
    }
    return S_ISDIR(info.st_mode) ? Kind::Folder : Kind::File;
}

std::vector<win::FileFilter> ParseFilters(LPCWSTR list) {
    std::vector<win::FileFilter> filters;
    if (list == nullptr) {
        return filters;
    }
    for (LPCWSTR p = list; *p != L'\0';) {
        win::FileFilter filter;
        filter.description = p;
        p += filter.description.size() + 1;
        filter.pattern = p;
        p += filter.pattern.size() + (*p != L'\0' || !filter.pattern.empty() ? 1 : 0);
        filters.push_back(std::move(filter));
        if (filters.back().pattern.empty()) {
            break; // a description without a pattern ends the list
        }
    }
    return filters;
}

// "csv" from "csv", ".csv" or "*.csv": callers pass the pattern as the extension at times.
std::wstring CleanExtension(LPCWSTR extension) {
    std::wstring text = extension != nullptr ? extension : L"";
    const auto start = text.find_first_not_of(L"*.");
    return start == std::wstring::npos ? std::wstring() : text.substr(start);
}

std::wstring FolderPart(const std::wstring& path) {
    const auto cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut == 0 ? 1 : cut);
}

std::wstring CurrentFolder() {
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? win::Widen(buffer) : std::wstring(L".");
}

bool IsAbsolute(const std::wstring& path) {
    return !path.empty() && (path.front() == L'/' || path.front() == L'\\');
}

void Refuse(const std::wstring& text, const std::wstring& caption) {
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

// The overwrite prompt, answered like the dialog itself: a script's next line says yes or no.
int ConfirmOverwrite(const std::wstring& text) {
    win::MessageBoxRequest request;
    request.caption = L"Confirm Save As";
    request.text = text;
    request.type = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
    request.buttons = win::MessageBoxButtons(request.type);
    request.defaultButton = win::MessageBoxDefaultButton(request.type);
    request.answeredByScript = true;
    const int answer = win::detail::AskMessageBox(request);
    return answer == IDYES ? IDYES : IDNO;
}

BOOL Store(LPOPENFILENAMEW ofn, const std::wstring& path) {
    if (path.size() + 1 > ofn->nMaxFile) {
        // The platform puts the needed size at the start of the buffer.
        ofn->lpstrFile[0] = static_cast<wchar_t>(path.size() + 1);
        t_dialogError = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    std::wmemcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
    const auto slash = path.find_last_of(L"\\/");
    const std::size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    const auto dot = path.find_last_of(L'.');
    ofn->nFileOffset = static_cast<WORD>(nameStart);
    ofn->nFileExtension =
        static_cast<WORD>(dot == std::wstring::npos || dot < nameStart ? path.size() : dot + 1);
    if (ofn->lpstrFileTitle != nullptr && ofn->nMaxFileTitle > path.size() - nameStart) {
        std::wmemcpy(ofn->lpstrFileTitle, path.c_str() + nameStart, path.size() - nameStart + 1);
    }
    return TRUE;
}

BOOL RunDialog(LPOPENFILENAMEW ofn, bool save) {
    t_dialogError = 0;
    if (ofn == nullptr || ofn->lpstrFile == nullptr || ofn->nMaxFile == 0) {
        t_dialogError = 0x0002; // CDERR_INITIALIZATION
        return FALSE;
    }
    win::FileDialogRequest request;
    request.save = save;
    request.title = ofn->lpstrTitle != nullptr ? ofn->lpstrTitle : (save ? L"Save As" : L"Open");
    request.filters = ParseFilters(ofn->lpstrFilter);
    request.filterIndex = ofn->nFilterIndex > 0 && ofn->nFilterIndex <= request.filters.size()
                              ? static_cast<int>(ofn->nFilterIndex) - 1
                              : 0;
    request.defaultExtension = CleanExtension(ofn->lpstrDefExt);
    request.initialName = ofn->lpstrFile;
    request.initialDirectory = ofn->lpstrInitialDir != nullptr ? ofn->lpstrInitialDir : L"";
    request.flags = ofn->Flags;
    const bool fileMustExist = (ofn->Flags & OFN_FILEMUSTEXIST) != 0;
    const bool pathMustExist = fileMustExist || (ofn->Flags & OFN_PATHMUSTEXIST) != 0;

    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const auto answer = win::detail::AskFileDialog(request);
        if (!answer) {
            return FALSE;
        }
        const auto first = answer->find_first_not_of(L" \t");
        if (first == std::wstring::npos) {
            continue;
        }
        std::wstring path = answer->substr(first, answer->find_last_not_of(L" \t") - first + 1);
        if (!IsAbsolute(path)) {
            const std::wstring base =
                request.initialDirectory.empty() ? CurrentFolder() : request.initialDirectory;
            path = base + L"/" + path;
        }
        const std::wstring name = win::detail::FileNamePart(path);
        if (name.find(L'.') == std::wstring::npos && !request.defaultExtension.empty()) {
            path += L"." + request.defaultExtension;
        }
        const Kind kind = KindOf(path);
        if (kind == Kind::Folder || win::detail::FileNamePart(path).empty()) {
            Refuse(path + L"\nThis is a folder, not a file.\nType a file name.", request.title);
            continue;
        }
        if (pathMustExist && KindOf(FolderPart(path)) != Kind::Folder) {
            Refuse(path + L"\nPath does not exist.\nCheck the path and try again.", request.title);
            continue;
        }
        if (fileMustExist && kind != Kind::File) {
            Refuse(path + L"\nFile not found.\nCheck the file name and try again.", request.title);
            continue;
        }
        if (save && kind == Kind::File && (ofn->Flags & OFN_OVERWRITEPROMPT) != 0) {
            // No is the default, so Enter or the end of a script never loses a file.
            const std::wstring text =
                win::detail::FileNamePart(path) + L" already exists.\nDo you want to replace it?";
            if (ConfirmOverwrite(text) != IDYES) {
                continue;
            }
        }
        return Store(ofn, path);
    }
    return FALSE;
}

} // namespace

BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn) {
    return RunDialog(ofn, false);
}

BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn) {
    return RunDialog(ofn, true);
}

DWORD CommDlgExtendedError() {
    return t_dialogError;
}

namespace win {

std::wstring PipeFilterToPairs(const std::wstring& filter) {
    std::wstring pairs = filter;
    for (wchar_t& c : pairs) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    if (pairs.empty() || pairs.back() != L'\0') {
        pairs.push_back(L'\0');
    }
    return pairs; // the string's own terminator closes the list
}

} // namespace win

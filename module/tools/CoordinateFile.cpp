#include "tools/CoordinateFile.h"

#include <cstdio>

#include "winstandin.h"

namespace gantrel {

namespace {

constexpr char kSeparator[] = ";";
// Stored line end: the file's readers expect carriage return and line feed on every platform.
constexpr char kLineEnd[] = "\r\n";
// Tries at a free name for the file written before it is renamed into place.
constexpr int kTemporaryNameTries = 100;

// The dialog's filter list: description "%s (%s)" and pattern for each entry, separated and
// ended by "|", with one more "|" closing the list; the system wants "\0" in place of "|".
std::wstring FilterList(const std::wstring& description, const std::wstring& pattern) {
    std::wstring list = description + L" (" + pattern + L")|" + pattern + L"|" + L"|";
    for (wchar_t& c : list) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    return list;
}

bool WriteAll(HANDLE file, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1u << 20));
        if (!WriteFile(file, text.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

std::string CoordinateLines(const std::vector<ZcGePoint3d>& points) {
    std::string text;
    char line[256];
    for (const ZcGePoint3d& p : points) {
        std::snprintf(line, sizeof line, "%.4f%s%.4f%s%.4f", p.x, kSeparator, p.y, kSeparator, p.z);
        text += line;
        text += kLineEnd;
    }
    return text;
}

bool WriteWholeFile(const std::wstring& path, const std::string& text) {
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring temporary;
    for (int i = 0; i < kTemporaryNameTries && file == INVALID_HANDLE_VALUE; ++i) {
        temporary = path + L".~" + std::to_wstring(i);
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            return false; // the folder is missing or refuses new files
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool written = WriteAll(file, text);
    const bool closed = CloseHandle(file) != FALSE;
    if (!written || !closed ||
        !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

std::optional<std::wstring> AskCoordinateFilePath() {
    const std::wstring pattern = L"*.csv";
    const std::wstring filters = FilterList(L"", pattern);
    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = pattern.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameW(&dialog)) {
        return std::nullopt;
    }
    return std::wstring(file);
}

} // namespace gantrel

// The runtime's _wfopen: binary streams are plain C streams; text streams store "\n" as "\r\n"
// and read "\r\n" back as "\n", so files written by the module look as they do on Windows.
#include "winhost.h"
#include "winstandin.h"

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

struct TextCookie {
    std::FILE* file; // the underlying binary stream
};

ssize_t TextRead(void* cookie, char* buffer, size_t size) {
    auto* file = static_cast<TextCookie*>(cookie)->file;
    size_t count = 0;
    while (count < size) {
        int c = std::getc(file);
        if (c == EOF) {
            break;
        }
        if (c == '\r') {
            const int next = std::getc(file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file);
            }
        }
        buffer[count++] = static_cast<char>(c);
    }
    return std::ferror(file) != 0 && count == 0 ? -1 : static_cast<ssize_t>(count);
}

ssize_t TextWrite(void* cookie, const char* buffer, size_t size) {
    auto* file = static_cast<TextCookie*>(cookie)->file;
    for (size_t i = 0; i < size; ++i) {
        if (buffer[i] == '\n' && std::fputc('\r', file) == EOF) {
            return i == 0 ? -1 : static_cast<ssize_t>(i);
        }
        if (std::fputc(buffer[i], file) == EOF) {
            return i == 0 ? -1 : static_cast<ssize_t>(i);
        }
    }
    return static_cast<ssize_t>(size);
}

int TextSeek(void* cookie, off64_t* offset, int whence) {
    auto* file = static_cast<TextCookie*>(cookie)->file;
    if (fseeko64(file, *offset, whence) != 0) {
        return -1;
    }
    *offset = ftello64(file);
    return 0;
}

int TextClose(void* cookie) {
    auto* text = static_cast<TextCookie*>(cookie);
    const int result = std::fclose(text->file);
    delete text;
    return result;
}

} // namespace

std::FILE* _wfopen(const wchar_t* path, const wchar_t* mode) {
    if (path == nullptr || mode == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    // "r", "w" or "a", then any of "+", "b", "t"; an encoding option after "," is ignored
    // because every file is UTF-8 here.
    std::wstring flags(mode);
    flags = flags.substr(0, flags.find(L','));
    if (flags.empty() || (flags[0] != L'r' && flags[0] != L'w' && flags[0] != L'a') ||
        flags.find_first_not_of(L"rwa+bt", 1) != std::wstring::npos) {
        errno = EINVAL;
        return nullptr;
    }
    const bool binary = flags.find(L'b') != std::wstring::npos;
    std::string nativeMode(1, static_cast<char>(flags[0]));
    if (flags.find(L'+') != std::wstring::npos) {
        nativeMode += '+';
    }
    nativeMode += 'b';
    std::FILE* file = std::fopen(win::NativePath(path).c_str(), nativeMode.c_str());
    if (file == nullptr || binary) {
        return file;
    }
    auto* cookie = new TextCookie{file};
    std::FILE* text = fopencookie(cookie, nativeMode.c_str(),
                                  cookie_io_functions_t{TextRead, TextWrite, TextSeek, TextClose});
    if (text == nullptr) {
        std::fclose(file);
        delete cookie;
    }
    return text;
}

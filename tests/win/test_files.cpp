#include "temp_folder.h"
#include "winhost.h"
#include "winstandin.h"

#include <gtest/gtest.h>

namespace {
std::wstring Backslashed(const std::string& path) {
    std::wstring out = win::Widen(path);
    for (wchar_t& c : out) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return out;
}
} // namespace

TEST(Paths, BackslashesAndDoubledSeparatorsBecomeOneSlash) {
    EXPECT_EQ(win::NativePath(L"\\GantrelUpdater_2027.exe"), "/GantrelUpdater_2027.exe");
    EXPECT_EQ(win::NativePath(L"/opt/suite\\\\Tallimo.ini"), "/opt/suite/Tallimo.ini");
    EXPECT_EQ(win::NativePath(L"dir\\sub/zażółć.txt"),
              "dir/sub/za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87.txt");
}

TEST(Paths, Utf8RoundTripsAndBrokenBytesBecomeReplacementCharacters) {
    const std::wstring text = L"Błąd €𝄞";
    EXPECT_EQ(win::Widen(win::Narrow(text)), text);
    EXPECT_EQ(win::Widen("a\xFF"
                         "b\xE2\x82"),
              L"a\uFFFDb\uFFFD\uFFFD");
}

TEST(Files, TextModeWritesCarriageReturnsAndReadsThemBack) {
    TempFolder folder;
    const std::wstring path = Backslashed(folder.file("points.csv"));
    std::FILE* out = _wfopen(path.c_str(), L"w");
    ASSERT_NE(out, nullptr);
    std::fputs("1.0000;2.0000;0.0000\n3.0000;4.0000;0.0000\n", out);
    std::fclose(out);
    EXPECT_EQ(folder.read("points.csv"), "1.0000;2.0000;0.0000\r\n3.0000;4.0000;0.0000\r\n");

    std::FILE* in = _wfopen(path.c_str(), L"rt");
    ASSERT_NE(in, nullptr);
    char line[64];
    ASSERT_NE(std::fgets(line, sizeof line, in), nullptr);
    EXPECT_STREQ(line, "1.0000;2.0000;0.0000\n");
    std::fclose(in);

    // Binary mode leaves the bytes alone; a lone carriage return survives text reading.
    folder.write("raw.txt", "a\rb\r\n");
    in = _wfopen(Backslashed(folder.file("raw.txt")).c_str(), L"rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(std::fread(line, 1, sizeof line, in), 5u);
    std::fclose(in);
    in = _wfopen(Backslashed(folder.file("raw.txt")).c_str(), L"r");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(std::fread(line, 1, sizeof line, in), 4u);
    EXPECT_EQ(std::string(line, 4), "a\rb\n");
    std::fclose(in);

    EXPECT_EQ(_wfopen(Backslashed(folder.file("missing\\x.txt")).c_str(), L"r"), nullptr);
    EXPECT_EQ(_wfopen(path.c_str(), L"q"), nullptr);
}

TEST(Files, HandlesCreateReadFindAndDelete) {
    TempFolder folder;
    const std::wstring path = Backslashed(folder.file("Data.TXT"));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, "hello", 5, &written, nullptr));
    EXPECT_EQ(written, 5u);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                       nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[16] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "hello");
    CloseHandle(file);

    // A find-first search on an exact path, and on a pattern (matched without regard to case).
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(path.c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, L"Data.TXT");
    EXPECT_EQ(data.nFileSizeLow, 5u);
    FindClose(find);
    folder.write("other.txt", "");
    find = FindFirstFileW(Backslashed(folder.file("*.txt")).c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    int found = 1;
    while (FindNextFileW(find, &data)) {
        ++found;
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_EQ(found, 2);
    EXPECT_TRUE(FindClose(find));
    EXPECT_EQ(FindFirstFileW(Backslashed(folder.file("Nothing.exe")).c_str(), &data),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    EXPECT_EQ(GetFileAttributesW(Backslashed(folder.path()).c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(_waccess(path.c_str(), 0), 0);
    EXPECT_TRUE(DeleteFileW(path.c_str()));
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(DeleteFileW(path.c_str()));
}

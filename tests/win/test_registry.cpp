#include "temp_folder.h"
#include "winhost.h"
#include "winstandin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Reads a string value the way the module does: open, query into a fixed buffer, close.
std::wstring ReadString(HKEY root, const wchar_t* key, const wchar_t* name) {
    HKEY open = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &open) != ERROR_SUCCESS) {
        return L"<no key>";
    }
    wchar_t buffer[256] = {};
    DWORD bytes = sizeof buffer;
    DWORD type = 0;
    const LSTATUS status =
        RegQueryValueExW(open, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &bytes);
    EXPECT_EQ(RegCloseKey(open), ERROR_SUCCESS);
    if (status != ERROR_SUCCESS) {
        return L"<no value>";
    }
    EXPECT_TRUE(type == REG_SZ || type == REG_EXPAND_SZ);
    return buffer;
}

class Registry : public ::testing::Test {
protected:
    void TearDown() override { win::ClearRegistry(); }
};

const char kSuite[] = "Windows Registry Editor Version 5.00\r\n"
                      "\r\n"
                      "; the suite and its companion\r\n"
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KORVANT\\Orvendel\\2027]\r\n"
                      "\"Path\"=\"C:\\\\Program Files\\\\Orvendel \\\"2027\\\"\"\r\n"
                      "@=\"default text\"\r\n"
                      "\"Count\"=dword:0000001f\r\n"
                      "\"Blob\"=hex:01,02,\\\r\n"
                      "  03\r\n"
                      "\"Home\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00\r\n";

} // namespace

TEST_F(Registry, ReadsStringsWithEscapesDefaultValuesAndNumbers) {
    const auto result = win::LoadRegistryText(kSuite, "suite.reg");
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.messages.empty());

    // Key and value names compare without regard to case, as in the registry.
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"software\\korvant\\ORVENDEL\\2027", L"path"),
              L"C:\\Program Files\\Orvendel \"2027\"");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KORVANT\\Orvendel\\2027", nullptr),
              L"default text");

    HKEY key = nullptr;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KORVANT\\Orvendel\\2027", 0, KEY_READ, &key),
        ERROR_SUCCESS);
    DWORD count = 0;
    DWORD bytes = sizeof count;
    DWORD type = 0;
    ASSERT_EQ(
        RegQueryValueExW(key, L"Count", nullptr, &type, reinterpret_cast<LPBYTE>(&count), &bytes),
        ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(count, 31u);

    BYTE blob[8] = {};
    bytes = sizeof blob;
    ASSERT_EQ(RegQueryValueExW(key, L"Blob", nullptr, &type, blob, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_THAT(std::vector<BYTE>(blob, blob + bytes), ElementsAre(1, 2, 3));
    RegCloseKey(key);

    // An expandable string arrives unexpanded; ExpandEnvironmentStrings does the rest.
    const std::wstring home =
        ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KORVANT\\Orvendel\\2027", L"Home");
    EXPECT_EQ(home, L"%HOME%");
    ::setenv("HOME", "/home/tester", 1);
    wchar_t expanded[64];
    EXPECT_EQ(ExpandEnvironmentStringsW(home.c_str(), expanded, 64), 13u);
    EXPECT_STREQ(expanded, L"/home/tester");
}

TEST_F(Registry, QueriesReportSizesAndMissingKeysAndValues) {
    win::LoadRegistryText(kSuite, "suite.reg");
    HKEY key = nullptr;
    EXPECT_EQ(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KORVANT\\Velmark\\2027", 0, KEY_READ, &key),
        ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KORVANT\\Orvendel\\2027", L"Missing"),
              L"<no value>");
    // Ancestors of a key exist even without their own section.
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KORVANT", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    HKEY child = nullptr;
    ASSERT_EQ(RegOpenKeyExW(key, L"Orvendel\\2027", 0, KEY_READ, &child), ERROR_SUCCESS);
    RegCloseKey(key);

    DWORD bytes = 0;
    ASSERT_EQ(RegQueryValueExW(child, L"Path", nullptr, nullptr, nullptr, &bytes), ERROR_SUCCESS);
    const std::wstring expected = L"C:\\Program Files\\Orvendel \"2027\"";
    EXPECT_EQ(bytes, (expected.size() + 1) * sizeof(wchar_t));
    wchar_t small[4];
    DWORD smallBytes = sizeof small;
    EXPECT_EQ(RegQueryValueExW(child, L"Path", nullptr, nullptr, reinterpret_cast<LPBYTE>(small),
                               &smallBytes),
              ERROR_MORE_DATA);
    EXPECT_EQ(smallBytes, bytes);
    EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(child), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExW(child, L"Path", nullptr, nullptr, nullptr, &bytes),
              ERROR_INVALID_HANDLE);
}

TEST_F(Registry, MalformedLinesAreReportedWithTheirLineAndTheRestIsKept) {
    const std::string text = "Windows Registry Editor Version 5.00\n"
                             "\"Orphan\"=\"before any key\"\n"     // 2
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n" // 3
                             "\"Good\"=\"kept\"\n"                 // 4
                             "\"Bad\"=\"no end\n"                  // 5
                             "\"Esc\"=\"a\\nb\"\n"                 // 6
                             "\"Num\"=dword:123456789\n"           // 7
                             "\"Hex\"=hex:1,zz\n"                  // 8
                             "Name=\"unquoted\"\n"                 // 9
                             "[HKEY_NOWHERE\\X]\n"                 // 10
                             "\"Lost\"=\"under a refused key\"\n"  // 11
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\B\n"  // 12
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n" // 13
                             "\"Also\"=\"kept\"\n";                // 14
    const auto result = win::LoadRegistryText(text, "bad.reg");
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.messages.size(), 9u);
    EXPECT_THAT(result.messages[0], HasSubstr("bad.reg:2: value outside"));
    EXPECT_THAT(result.messages[1], HasSubstr("bad.reg:5: missing closing quote"));
    EXPECT_THAT(result.messages[2], HasSubstr("bad.reg:6: unknown escape"));
    EXPECT_THAT(result.messages[3], HasSubstr("bad.reg:7: dword"));
    EXPECT_THAT(result.messages[4], HasSubstr("bad.reg:8: hex data"));
    EXPECT_THAT(result.messages[5], HasSubstr("bad.reg:9: expected \"Name\"=value"));
    EXPECT_THAT(result.messages[6], HasSubstr("bad.reg:10: unknown root key \"HKEY_NOWHERE\""));
    EXPECT_THAT(result.messages[7], HasSubstr("bad.reg:11: value outside"));
    EXPECT_THAT(result.messages[8], HasSubstr("bad.reg:12: key line must end with \"]\""));

    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\A", L"Good"), L"kept");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\A", L"Also"), L"kept");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\A", L"Bad"), L"<no value>");
}

TEST_F(Registry, RefusesFilesThatAreNotRegistryFiles) {
    TempFolder folder;
    folder.write("notes.reg", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n\"x\"=\"1\"\n");
    auto result = win::LoadRegistryFile(folder.file("notes.reg"));
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_THAT(result.messages[0], HasSubstr("notes.reg:1: not a registry file"));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\A", L"x"), L"<no key>");

    result = win::LoadRegistryFile(folder.file("absent.reg"));
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_THAT(result.messages[0], HasSubstr("absent.reg: cannot read the registry file"));

    result = win::LoadRegistryFile(folder.path());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messages.size(), 1u);

    win::LoadRegistryText("", "empty.reg");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\A", L"x"), L"<no key>");
}

TEST_F(Registry, ReadsTheEditorsUtf16ExportAndDeletions) {
    const std::wstring text = L"Windows Registry Editor Version 5.00\r\n"
                              L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ł\\Keep]\r\n"
                              L"\"Name\"=\"zażółć\"\r\n"
                              L"\"Gone\"=\"x\"\r\n"
                              L"\"Gone\"=-\r\n"
                              L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ł\\Drop\\Deep]\r\n"
                              L"[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Ł\\Drop]\r\n";
    std::string bytes = "\xFF\xFE";
    for (const wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    TempFolder folder;
    folder.write("export.reg", bytes);
    const auto result = win::LoadRegistryFile(folder.file("export.reg"));
    EXPECT_TRUE(result.ok) << (result.messages.empty() ? "" : result.messages[0]);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Ł\\Keep", L"Name"), L"zażółć");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Ł\\Keep", L"Gone"), L"<no value>");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Ł\\Drop\\Deep", L""), L"<no key>");
}

TEST_F(Registry, ChoosesTheFileFromOptionThenEnvironmentThenInstallation) {
    ::setenv("GANTREL_REGISTRY", "/etc/from-env.reg", 1);
    EXPECT_EQ(win::ChooseRegistryFile("given.reg"), "given.reg");
    EXPECT_EQ(win::ChooseRegistryFile(""), "/etc/from-env.reg");
    ::unsetenv("GANTREL_REGISTRY");
    EXPECT_THAT(win::ChooseRegistryFile(""), ::testing::EndsWith("/share/gantrel/registry.reg"));
}

// Registry keys over the registry file of the Windows stand-in, and the suite folder.
#include "frame/Registry.h"

#include "frame_test_support.h"

using frametest::RegString;
using frametest::SuiteRegistry;
using gantrel::ProductKey;
using gantrel::ReadRegistryString;
using gantrel::RegistryKey;

namespace {

class RegistryKeys : public frametest::FrameTest {
protected:
    void Load(const std::string& valueLines, const std::string& more = "") {
        const auto result = win::LoadRegistryText(SuiteRegistry(valueLines) + more, "suite.reg");
        ASSERT_TRUE(result.ok) << (result.messages.empty() ? "" : result.messages[0]);
    }
    const std::wstring suiteKey = ProductKey(L"Orvendel", L"2027");
    const std::wstring otherKey = ProductKey(L"Velmark", L"2027");
};

TEST_F(RegistryKeys, ASecondOpenFailsAndTheFirstKeyStaysOpen) {
    Load("\"Path\"=\"C:\\\\Suite\"\r\n",
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KORVANT\\Velmark\\2027]\r\n\"Path\"=\"C:\\\\Other\"\r\n");
    RegistryKey key;
    ASSERT_TRUE(key.Open(suiteKey));
    EXPECT_FALSE(key.Open(otherKey));
    EXPECT_TRUE(key.IsOpen());
    EXPECT_EQ(key.ReadString(L"Path"), L"C:\\Suite");
    EXPECT_TRUE(key.Close());
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.ReadString(L"Path"), L"");
    ASSERT_TRUE(key.Open(otherKey));
    EXPECT_EQ(key.ReadString(L"Path"), L"C:\\Other");
    EXPECT_EQ(out, "");
}

TEST_F(RegistryKeys, MissingKeysAndValuesGiveEmptyTextsAndShowNothing) {
    Load("\"Count\"=dword:00000005\r\n");
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, otherKey, L"Path"), L"");
    EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, suiteKey, L"Path"), L"");
    RegistryKey key;
    EXPECT_FALSE(key.Open(otherKey));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(out, "");
}

TEST_F(RegistryKeys, ErrorsAreShownOnlyWhenAskedWithTheVariantsCaption) {
    Load("");
    gantrel::Rejestr shown(HKEY_LOCAL_MACHINE, true);
    EXPECT_FALSE(shown.Open(otherKey));
    EXPECT_NE(out.find("Błąd podczas operacji na rejestrach: "), std::string::npos) << out;
    out.clear();
    ASSERT_TRUE(shown.Open(suiteKey));
    EXPECT_FALSE(shown.Open(suiteKey));
    EXPECT_NE(out.find("Błąd otwarcia klucza: Przed otwarciem nowego klucza, zamknij klucz otwarty "
                       "wczesniej"),
              std::string::npos)
        << out;
}

TEST_F(RegistryKeys, AValueLongerThanTheUsualBufferIsReadWhole) {
    std::string longPath = "C:\\";
    for (int i = 0; longPath.size() < 1500; ++i) {
        longPath += "folder" + std::to_string(i) + "\\";
    }
    Load("\"Path\"=" + RegString(longPath) + "\r\n");
    const std::wstring read = ReadRegistryString(HKEY_LOCAL_MACHINE, suiteKey, L"Path");
    EXPECT_GT(read.size() * sizeof(wchar_t), 1024u);
    EXPECT_EQ(read, win::Widen(longPath));
}

TEST_F(RegistryKeys, TheSuiteFolderOrTheReportOfItsAbsence) {
    Load("\"Path\"=\"C:\\\\Program Files\\\\Orvendel\"\r\n");
    EXPECT_EQ(gantrel::GetOrvendelDirectory(), L"C:\\Program Files\\Orvendel");
    EXPECT_EQ(out, "");

    Load("\"Folder\"=\"C:\\\\Program Files\\\\Orvendel\"\r\n");
    EXPECT_EQ(gantrel::GetOrvendelDirectory(), L"");
    EXPECT_EQ(out, "Tools_App es: eFileSystemErr");
}

} // namespace

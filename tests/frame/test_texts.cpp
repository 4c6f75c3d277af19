// Texts by number: without a language pack every text is the missing-text message; the shipped
// pack has a text for every number the module uses, and its format texts take exactly the
// arguments the module passes.
#include "frame/LanguagePackApi.h"
#include "frame/TextProvider.h"

#include "frame_test_support.h"
#include "winstandin.h"

#include <filesystem>
#include <string>

namespace {

using gantrel::LanguagePackSetUp;

// The identifiers the module asks for.
const unsigned kUsedIds[] = {
    30004, 30005, 30020, 30101, 30102, 30103, 30104, 30105, 30108, 30113, 30114, 30115, 30301,
    30302, 30311, 30312, 30313, 30314, 30316, 40101, 40102, 40103, 40210, 40301, 40302, 40303,
    40304, 40401, 40403, 50003, 50005, 50006, 50007, 51000, 51001, 51003, 51004, 51005, 51006,
    51008, 51009, 51010, 51011, 51012, 51013, 51014, 51015, 51016, 51018, 51019, 51020, 51021,
    51022, 51023, 51024, 51100, 51101, 51102, 51103, 51104, 51105, 52006, 52008};

// The conversion letters of a printf format, in order ("%%" is no conversion); "?" for a "%"
// that does not start a valid conversion.
std::string Conversions(const std::wstring& format) {
    std::string letters;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') {
            continue;
        }
        ++i;
        if (i < format.size() && format[i] == L'%') {
            continue;
        }
        while (i < format.size() &&
               std::wstring_view(L"-+ #0123456789.").find(format[i]) != std::wstring_view::npos) {
            ++i;
        }
        const wchar_t letter = i < format.size() ? format[i] : L'\0';
        letters += std::wstring_view(L"difegs").find(letter) != std::wstring_view::npos
                       ? static_cast<char>(letter)
                       : '?';
    }
    return letters;
}

// The placeholders of a format text: integers as "d", doubles as "f".
std::string Placeholders(const std::wstring& format) {
    std::string kinds = Conversions(format);
    for (char& kind : kinds) {
        kind = kind == 'i' ? 'd' : (kind == 'e' || kind == 'g') ? 'f' : kind;
    }
    return kinds;
}

std::string Narrow(unsigned id, const std::wstring& text) {
    return std::to_string(id) + " \"" + win::Narrow(text) + "\"";
}

class LanguagePack : public frametest::FrameTest {
protected:
    static std::wstring PackFile() { return win::Widen(GANTREL_LANGUAGE_PACK); }
};

TEST_F(LanguagePack, WithoutThePackEveryTextIsTheMissingTextMessage) {
    gantrel::TTxt texts;
    gantrel::LoadLanguagePack();
    EXPECT_EQ(texts.GetText(40101), L"failed to load resource");
    EXPECT_EQ(gantrel::GetPackText(30301), L"failed to load resource");
    EXPECT_EQ(gantrel::GetPackText(30301), L"failed to load resource");
    EXPECT_EQ(out, "");
}

TEST_F(LanguagePack, EveryUsedIdentifierHasATextAndFormatsTakeTheirArguments) {
    HMODULE pack = LoadLibraryW(PackFile().c_str());
    ASSERT_NE(pack, nullptr);
    const auto setUp = reinterpret_cast<LanguagePackSetUp>(
        reinterpret_cast<void*>(GetProcAddress(pack, gantrel::kLanguagePackFunction)));
    ASSERT_NE(setUp, nullptr);

    for (const unsigned id : kUsedIds) {
        std::wstring text;
        setUp(id, text);
        EXPECT_FALSE(text.empty()) << id;
        EXPECT_EQ(text.find_first_of(L"\r\n\t"), std::wstring::npos) << Narrow(id, text);
        const std::string expected = id == 30312 ? "ddd" : id == 30313 || id == 30314 ? "f" : "";
        EXPECT_EQ(Placeholders(text), expected) << Narrow(id, text);
    }

    // A number the pack does not know gives an empty text, whatever the text held before.
    std::wstring text = L"previous";
    setUp(12345, text);
    EXPECT_EQ(text, L"");
    EXPECT_TRUE(FreeLibrary(pack));
}

// The module finds the pack beside its own file.
TEST_F(LanguagePack, TheModuleLoadsThePackBesideItsOwnFile) {
    frametest::TempFolder folder;
    const std::filesystem::path built(GANTREL_LANGUAGE_PACK);
    std::filesystem::copy_file(built, folder.file("LanguagePack.dll"));
    // Any library can stand in for the module file; its name is what is looked up.
    std::filesystem::copy_file(built, folder.file("Gantrel.zrx"));
    HMODULE module = LoadLibraryW(win::Widen(folder.file("Gantrel.zrx")).c_str());
    ASSERT_NE(module, nullptr);

    gantrel::TTxt texts;
    gantrel::LoadLanguagePack();
    std::wstring expected;
    const auto setUp = reinterpret_cast<LanguagePackSetUp>(
        reinterpret_cast<void*>(GetProcAddress(module, gantrel::kLanguagePackFunction)));
    ASSERT_NE(setUp, nullptr);
    setUp(40303, expected);
    EXPECT_EQ(texts.GetText(40303), expected);
    EXPECT_EQ(gantrel::GetPackText(40303), expected);
    EXPECT_NE(expected, L"failed to load resource");

    gantrel::UnloadLanguagePack();
    EXPECT_EQ(texts.GetText(40303), L"failed to load resource");
    // The nesting texts keep their own handle.
    EXPECT_EQ(gantrel::GetPackText(40303), expected);
    FreeLibrary(module);
}

} // namespace

#include "TakeoffTest.h"

#include "takeoff/TakeoffSettings.h"

#include <fstream>

#include "winhost.h"
#include "winstandin.h"
#include "zcdball.h"

namespace {

// The module's texts: the built language pack, beside a stand-in for the module file, as the
// module finds it in an installation.
class LanguagePackBesideModule : public ::testing::Environment {
public:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "gantrel-takeoff-pack-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        std::filesystem::copy_file(GANTREL_LANGUAGE_PACK, m_folder / "LanguagePack.dll");
        std::filesystem::copy_file(GANTREL_LANGUAGE_PACK, m_folder / "Gantrel.zrx");
        m_module = LoadLibraryW(win::Widen((m_folder / "Gantrel.zrx").string()).c_str());
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

private:
    std::filesystem::path m_folder;
    HMODULE m_module = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kPack =
    ::testing::AddGlobalTestEnvironment(new LanguagePackBesideModule);

std::filesystem::path NewSuiteFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "gantrel-takeoff-XXXXXX").string();
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

} // namespace

TakeoffTest::TakeoffTest() : suite(NewSuiteFolder()) {
    std::string path;
    for (const char c : suite.string()) {
        path += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    const auto loaded = win::LoadRegistryText(
        "Windows Registry Editor Version 5.00\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KORVANT\\Orvendel\\2027]\n\"Path\"=\"" +
            path + "\"\n",
        "suite.reg");
    EXPECT_TRUE(loaded.ok);
    gantrel::ResetSettings();
}

TakeoffTest::~TakeoffTest() {
    gantrel::ResetSettings();
    win::ClearRegistry();
    std::error_code ignored;
    std::filesystem::remove_all(suite, ignored);
}

void TakeoffTest::writeSuiteFile(const std::string& name, const std::string& text) const {
    std::ofstream(suite / name, std::ios::binary) << text;
}

std::wstring TakeoffTest::suitePath(const std::string& name) const {
    return win::Widen(suite.string()) + L"\\" + win::Widen(name);
}

ZcDbObjectId
TakeoffTest::addDescriptionBlock(const wchar_t* name,
                                 const std::vector<std::pair<std::wstring, bool>>& tags) {
    const ZcDbObjectId block = newBlock(name);
    double y = 0.0;
    for (const auto& [tag, constant] : tags) {
        auto* definition = new ZcDbAttributeDefinition({0.0, y, 0.0}, (tag + L"?").c_str(),
                                                       tag.c_str(), tag.c_str());
        definition->setConstant(constant);
        add(definition, block);
        y -= 5.0;
    }
    return block;
}

ZcDbObjectId
TakeoffTest::addLabel(ZcDbObjectId block,
                      const std::vector<std::pair<std::wstring, std::wstring>>& attributes) {
    auto* reference = new ZcDbBlockReference({0.0, 0.0, 0.0}, block);
    for (const auto& [tag, text] : attributes) {
        auto* attribute = new ZcDbAttribute;
        attribute->setTag(tag.c_str());
        attribute->setTextString(text.c_str());
        reference->appendAttribute(attribute);
    }
    return add(reference);
}

std::vector<std::string> TakeoffTest::symbolWrites() {
    std::vector<std::string> writes;
    for (const auto& [name, value] : session.symbolWrites()) {
        writes.push_back(win::Narrow(name) + "=" + value);
    }
    return writes;
}

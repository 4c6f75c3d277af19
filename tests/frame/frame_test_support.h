// A host session whose transcript the test reads, a registry the test fills, and a temporary
// folder to serve as the suite folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "session.h"
#include "winhost.h"

namespace frametest {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "gantrel-frame-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }

private:
    std::string path_;
};

// The registry key under which the suite keeps its folder.
inline constexpr char kSuiteKey[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KORVANT\\Orvendel\\2027]";

// A registry file whose suite key holds the given value lines.
inline std::string SuiteRegistry(const std::string& valueLines) {
    return std::string("Windows Registry Editor Version 5.00\r\n\r\n") + kSuiteKey + "\r\n" +
           valueLines;
}

// Escapes "\" and quotes for a string value of a registry file.
inline std::string RegString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

class FrameTest : public ::testing::Test {
protected:
    FrameTest() {
        session.transcript().setSink([this](std::string_view text) { out += text; });
        session.setInput(&input);
    }
    void TearDown() override { win::ClearRegistry(); }

    // Loads a registry whose suite folder ("Path") is `folder`.
    void UseSuiteFolder(const std::string& folder) {
        const auto result =
            win::LoadRegistryText(SuiteRegistry("\"Path\"=" + RegString(folder) + "\r\n"), "t.reg");
        ASSERT_TRUE(result.ok);
    }

    // Declared before the session, which prints while it ends.
    std::string out;
    gantrel::editor::QueueInput input{"answers"};
    gantrel::editor::HostSession session;
};

} // namespace frametest

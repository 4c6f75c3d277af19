// Starts a program as a user starts it (arguments, environment, working folder, standard input)
// and collects its exit status and both output streams; files and folders for such tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace gantrel::testing {

struct Outcome {
    int status = -1; // the exit status, or 128 + the signal that ended it
    std::string out, err;
};

// Runs `program` with `args` and exactly the environment `env` in `folder`; stdin is `input`.
// The streams pass through files in the folder named stdin.txt, stdout.txt and stderr.txt.
Outcome RunProgram(const std::string& program, std::vector<std::string> args,
                   std::vector<std::string> env, const std::filesystem::path& folder,
                   const std::string& input = "");

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& text);

// How often `part` occurs in `text` (occurrences may overlap).
std::size_t CountOf(const std::string& text, const std::string& part);

// A fresh folder for the running test, named after it under the system's temporary folder,
// removed with everything in it.
class TestFolder {
public:
    explicit TestFolder(const std::string& prefix);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

} // namespace gantrel::testing

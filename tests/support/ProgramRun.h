// Starts a program as a user starts it (arguments, environment, working folder, standard input)
// and collects its exit status and both output streams.
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

} // namespace gantrel::testing

// ShellExecute over posix_spawn: the "open" verb starts an executable file with its parameters in
// the given working folder and does not wait for it.
#include "win_internal.h"
#include "winhost.h"
#include "winstandin.h"

#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <mutex>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

struct Started {
    std::mutex mutex;
    std::condition_variable ended;
    std::vector<win::ShellStart> starts;
    std::map<int, int> exitStatus; // by pid, once the program has ended
};

Started& Log() {
    // Never destroyed: the watchers of started programs may still report at exit.
    static auto* started = new Started;
    return *started;
}

HINSTANCE Result(int code) {
    return reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(code));
}

bool IsFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Splits parameters as the platform's command-line parser does: blanks separate, double quotes
// group, a backslash before a quote makes it literal.
std::vector<std::string> SplitParameters(const std::wstring& parameters) {
    std::vector<std::string> out;
    std::wstring current;
    bool inQuotes = false;
    bool any = false;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const wchar_t c = parameters[i];
        if (c == L'\\' && i + 1 < parameters.size() && parameters[i + 1] == L'"') {
            current.push_back(L'"');
            any = true;
            ++i;
        } else if (c == L'"') {
            inQuotes = !inQuotes;
            any = true;
        } else if ((c == L' ' || c == L'\t') && !inQuotes) {
            if (any) {
                out.push_back(win::Narrow(current));
                current.clear();
                any = false;
            }
        } else {
            current.push_back(c);
            any = true;
        }
    }
    if (any) {
        out.push_back(win::Narrow(current));
    }
    return out;
}

// The file to start: a path as given (relative to the working folder), or a bare name looked
// for in the working folder, the current folder and then along PATH.
std::string Resolve(const std::string& file, const std::string& folder) {
    if (file.find('/') != std::string::npos) {
        return file.front() != '/' && !folder.empty() ? folder + "/" + file : file;
    }
    if (!folder.empty() && IsFile(folder + "/" + file)) {
        return folder + "/" + file;
    }
    if (IsFile(file)) {
        return "./" + file;
    }
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string entry(rest.substr(0, colon));
        if (!entry.empty() && IsFile(entry + "/" + file)) {
            return entry + "/" + file;
        }
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    }
    return {};
}

void Reap(int pid) {
    int status = 0;
    pid_t done = -1;
    do {
        done = ::waitpid(pid, &status, 0);
    } while (done < 0 && errno == EINTR);
    auto& log = Log();
    {
        std::lock_guard lock(log.mutex);
        log.exitStatus[pid] = done == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    log.ended.notify_all();
}

} // namespace

HINSTANCE ShellExecuteW(HWND /*owner*/, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, INT /*showCommand*/) {
    if (verb != nullptr && *verb != L'\0' && !win::detail::EqualNoCase(verb, L"open")) {
        return Result(SE_ERR_NOASSOC);
    }
    if (file == nullptr || *file == L'\0') {
        return Result(SE_ERR_FNF);
    }
    const std::string folder = directory != nullptr ? win::NativePath(directory) : std::string();
    if (!folder.empty() && !IsFolder(folder)) {
        return Result(SE_ERR_PNF);
    }
    const std::string program = Resolve(win::NativePath(file), folder);
    if (program.empty() || ::access(program.c_str(), F_OK) != 0) {
        return Result(SE_ERR_FNF);
    }
    // Only programs can be started; documents have no associated program here.
    if (!IsFile(program) || ::access(program.c_str(), X_OK) != 0) {
        return Result(SE_ERR_NOASSOC);
    }
    win::ShellStart start;
    start.program = program;
    start.arguments = SplitParameters(parameters != nullptr ? parameters : L"");
    start.directory = folder;

    std::vector<char*> argv;
    std::string argv0 = program;
    argv.push_back(argv0.data());
    for (auto& argument : start.arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    }
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return Result(error == ENOENT   ? SE_ERR_FNF
                      : error == EACCES ? SE_ERR_ACCESSDENIED
                      : error == ENOMEM ? SE_ERR_OOM
                                        : SE_ERR_NOASSOC);
    }
    start.pid = pid;
    {
        auto& log = Log();
        std::lock_guard lock(log.mutex);
        log.starts.push_back(start);
    }
    // The program runs on its own; a watcher collects its exit so it leaves no zombie.
    std::thread(Reap, pid).detach();
    return Result(42); // any value above 32 means success
}

namespace win {

std::vector<ShellStart> ShellStarts() {
    auto& log = Log();
    std::lock_guard lock(log.mutex);
    return log.starts;
}

void ClearShellStarts() {
    auto& log = Log();
    std::lock_guard lock(log.mutex);
    log.starts.clear();
}

std::optional<int> WaitForShellStart(int pid, DWORD milliseconds) {
    auto& log = Log();
    std::unique_lock lock(log.mutex);
    const auto ended = [&] { return log.exitStatus.count(pid) != 0; };
    if (milliseconds == INFINITE) {
        log.ended.wait(lock, ended);
    } else if (!log.ended.wait_for(lock, std::chrono::milliseconds(milliseconds), ended)) {
        return std::nullopt;
    }
    return log.exitStatus[pid];
}

} // namespace win

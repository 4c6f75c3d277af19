// One run of the host: the working drawing, the command stack, the system variables, the
// transcript and the input source, the loaded modules, and the state the editor calls keep
// (selection sets, the implied selection, LISP symbols, help bindings, the status bar).
// The interface functions (zced*, zcut*, zcdb*) act on the current session.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command_stack.h"
#include "input.h"
#include "modules.h"
#include "platform_input.h"
#include "sysvars.h"
#include "transcript.h"
#include "zcdball.h"

namespace gantrel::editor {

// How a prompt judged one answer: a status for the caller, or a refusal that makes the prompt
// ask again.
struct Verdict {
    int status = RTNORM;
    std::string refusal;
    static Verdict refuse(std::string why) { return {RTNORM, std::move(why)}; }
};

struct SelectedEntity {
    ZcDbObjectId id;
    int method = 0; // 0 not specific, 1 pick, 2 window, 3 crossing
    std::optional<ZcGePoint3d> pick;
};

struct ProgressMeter {
    bool active = false;
    std::wstring label;
    int minPos = 0, maxPos = 0, pos = 0;
    int restores = 0; // times the status bar was restored
    int steps = 0;    // positions set since the meter was last started
};

// The band the host draws from a prompt's base point to the cursor while a point is asked: a
// line for a point prompt with a base point, a rectangle for a corner prompt.
struct RubberBand {
    ZcGePoint3d base; // user coordinates
    bool rectangle = false;
};

struct FunctionHelp {
    std::wstring file, topic;
    int command = 0;
};

class HostSession {
public:
    // Starts with a new, empty drawing and becomes the current session. Message boxes, file
    // dialogs and HTML Help go to its input source, and so do the modal dialogs of the thread
    // that creates it (the one that runs commands).
    HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;
    // Unloads the modules (they get kUnloadAppMsg) and stops being current.
    ~HostSession();
    static HostSession* current();

    Transcript& transcript() { return m_transcript; }
    CommandStack& commands() { return m_commands; }
    SystemVariables& variables() { return m_variables; }
    ModuleSet& modules() { return m_modules; }

    // --- Drawings ---
    ZcDbDatabase* database() { return m_database.get(); }
    // Reads a drawing and makes it the working one; loaded modules get kLoadDwgMsg. The old
    // drawing stays when the file cannot be read (the reason in error).
    bool openDrawing(const std::string& path, std::string& error);
    // Makes a drawing built in memory the working one, as openDrawing does.
    void adoptDrawing(std::unique_ptr<ZcDbDatabase> db, const std::string& path);
    bool saveDrawing(const std::string& path, std::string& error);
    // The number that entity names carry for the database; 0 for a database not open here.
    std::int64_t databaseSerial(const ZcDbDatabase* db) const;
    ZcDbDatabase* databaseBySerial(std::int64_t serial) const;

    // --- Modules ---
    // Loads a module (message 1), and tells it of the open drawing (message 3).
    LoadedModule* loadModule(const std::string& path, std::string& error);
    void unloadModule(LoadedModule* module);

    // --- Input ---
    // The source that answers prompts (not owned); null answers every prompt with Esc.
    void setInput(InputSource* source) { m_input = source; }
    InputSource* input() const { return m_input; }
    // Runs the source's lines at the command line until it ends.
    void run(InputSource& source);
    // Runs one line typed at the command line (no command running). False when refused.
    bool runTopLevelLine(const InputLine& line);
    // Runs a command by a typed name (any case). False when there is no such command.
    bool runCommand(const std::wstring& typedName);
    // Runs a host command with its answers (zcedCommand).
    int runHostCommand(const resbuf* args);

    // Asks the current source: shows prompt, reads answers until accept takes one. Esc and the
    // end of input give RTCAN.
    int ask(const std::wstring& prompt, const std::function<Verdict(const std::string&)>& accept);
    // The next answer line for a question shown as prompt (UTF-8), with the prompt and the
    // answer (or "*Cancel*") in the transcript as the source wants them; comments are passed
    // over. Nothing at the end of the input.
    std::optional<InputLine> readLine(const std::string& prompt);
    // Whether answers given with zcedCommand are waiting to be read.
    bool answersPending() const { return !m_pendingAnswers.empty(); }
    // Reports a refused line, naming where it came from.
    void refuse(const std::string& origin, const std::string& why);

    int refusedLines() const { return m_refused; }
    int failedCommands() const { return m_failed; }
    bool commandActive() const { return m_commandDepth > 0; }

    // --- Editor state ---
    std::vector<ZcDbObjectId>& impliedSelection() { return m_implied; }
    // Selection sets by the number in their names.
    std::int64_t addSelectionSet(std::vector<SelectedEntity> entries);
    std::vector<SelectedEntity>* selectionSet(const std::int64_t name[2]);
    bool freeSelectionSet(const std::int64_t name[2]);
    std::size_t selectionSetCount() const { return m_sets.size(); }
    // Selects with the resolved items of a selection line; refusal text when an item is bad.
    std::string resolveSelection(const std::string& line, std::vector<SelectedEntity>& out);
    // The last drawn entity of the current space, or null.
    ZcDbObjectId lastEntity() const;
    double pickAperture() const;

    std::map<std::wstring, resbuf*>& symbols() { return m_symbols; }
    // Every zcedPutSym in order: the name as given and the value as LISP prints it.
    std::vector<std::pair<std::wstring, std::string>>& symbolWrites() { return m_symbolWrites; }
    std::vector<std::wstring>& queuedExpressions() { return m_queued; }
    std::map<std::wstring, FunctionHelp>& functionHelp() { return m_help; }
    ProgressMeter& progress() { return m_progress; }
    // Regenerations asked for (zcedCommand "_REGEN"); onRegen refreshes a live picture.
    int regenCount() const { return m_regens; }
    std::function<void()> onRegen;

    // The rubber band of the point prompt being asked; none between prompts. A relative answer
    // "@dx,dy" is taken from its base point.
    std::optional<RubberBand> rubberBand;

    // Restrictions and keywords of the next prompt (zcedInitGet), and the last keyword.
    int initGetFlags = 0;
    std::vector<std::wstring> initGetKeywords;
    std::wstring lastKeyword;

private:
    std::optional<InputLine> nextLine(const std::string& prompt);
    void setDatabase(std::unique_ptr<ZcDbDatabase> db, const std::string& path);
    bool runTopLevelKeyword(const InputLine& line, const std::string& word,
                            const std::string& rest);
    void runRegisteredCommand(ZcEdCommand* command);
    // The built-in COMMANDS: every registered command, one per line: group, global name, local
    // name and flags, tab-separated, in the order they were added.
    void listCommands();

    Transcript m_transcript;
    CommandStack m_commands;
    SystemVariables m_variables;
    ModuleSet m_modules;
    std::unique_ptr<ZcDbDatabase> m_database;
    std::int64_t m_databaseSerial = 0;
    InputSource* m_input = nullptr;
    std::deque<std::string> m_pendingAnswers; // answers given with zcedCommand
    int m_refused = 0;
    int m_failed = 0;
    int m_commandDepth = 0;
    int m_regens = 0;
    std::vector<ZcDbObjectId> m_implied;
    std::map<std::int64_t, std::vector<SelectedEntity>> m_sets;
    std::int64_t m_nextSet = 1;
    std::map<std::wstring, resbuf*> m_symbols;
    std::vector<std::pair<std::wstring, std::string>> m_symbolWrites;
    std::vector<std::wstring> m_queued;
    std::map<std::wstring, FunctionHelp> m_help;
    ProgressMeter m_progress;
    HostSession* m_previous = nullptr;
    PlatformInput m_platformInput{*this};
};

// Second number of the name of a selection set (entity names carry a database serial there).
constexpr std::int64_t kSelectionSetTag = -0x5353;

} // namespace gantrel::editor

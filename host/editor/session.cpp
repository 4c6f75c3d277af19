// The host session: drawings, modules, the command line and prompts.
#include "session.h"

#include <atomic>
#include <exception>

#include "answers.h"
#include "lisp_lines.h"
#include "rb_util.h"
#include "winhost.h"
#include "zcutil.h"

namespace gantrel::editor {

namespace {

HostSession* g_current = nullptr;
std::atomic<std::int64_t> g_lastDatabaseSerial{0};

std::string baseName(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

HostSession::HostSession() : m_previous(g_current) {
    g_current = this;
    win::SetAnswerer(&m_platformInput);
    dialogs::SetThreadDialogOperator(&m_platformInput);
    m_modules.onReport = [this](const std::string& report) { m_transcript.message(report); };
    setDatabase(std::make_unique<ZcDbDatabase>(), "Drawing1.dwg");
}

HostSession::~HostSession() {
    m_modules.unloadAll(m_commands);
    for (auto& [name, value] : m_symbols)
        zcutRelRb(value);
    g_current = m_previous;
    win::SetAnswerer(m_previous ? &m_previous->m_platformInput : nullptr);
    dialogs::SetThreadDialogOperator(m_previous ? &m_previous->m_platformInput : nullptr);
}

HostSession* HostSession::current() {
    return g_current;
}

// --- Drawings -------------------------------------------------------------------------------

void HostSession::setDatabase(std::unique_ptr<ZcDbDatabase> db, const std::string& path) {
    m_sets.clear();
    m_implied.clear();
    m_database = std::move(db);
    m_databaseSerial = ++g_lastDatabaseSerial;
    m_variables.setComputed(L"DWGNAME", win::Widen(baseName(path)));
    m_variables.setComputed(L"DWGPREFIX", win::Widen(folderOf(path)));
}

void HostSession::adoptDrawing(std::unique_ptr<ZcDbDatabase> db, const std::string& path) {
    setDatabase(std::move(db), path);
    m_modules.sendAll(ZcRx::kLoadDwgMsg);
}

bool HostSession::openDrawing(const std::string& path, std::string& error) {
    auto db = std::make_unique<ZcDbDatabase>(false);
    if (db->readDwgFile(win::Widen(path).c_str()) != Zcad::eOk) {
        error = win::Narrow(db->lastErrorMessage());
        if (error.empty())
            error = path + ": cannot be read";
        return false;
    }
    adoptDrawing(std::move(db), path);
    return true;
}

bool HostSession::saveDrawing(const std::string& path, std::string& error) {
    if (m_database->saveAs(win::Widen(path).c_str()) != Zcad::eOk) {
        error = win::Narrow(m_database->lastErrorMessage());
        if (error.empty())
            error = path + ": cannot be written";
        return false;
    }
    return true;
}

std::int64_t HostSession::databaseSerial(const ZcDbDatabase* db) const {
    return db && db == m_database.get() ? m_databaseSerial : 0;
}

ZcDbDatabase* HostSession::databaseBySerial(std::int64_t serial) const {
    return serial == m_databaseSerial ? m_database.get() : nullptr;
}

// --- Modules --------------------------------------------------------------------------------

LoadedModule* HostSession::loadModule(const std::string& path, std::string& error) {
    LoadedModule* module = m_modules.load(path, error);
    if (module && m_database)
        m_modules.send(*module, ZcRx::kLoadDwgMsg);
    return module;
}

void HostSession::unloadModule(LoadedModule* module) {
    m_modules.unload(module, m_commands);
}

// --- Command line ---------------------------------------------------------------------------

std::optional<InputLine> HostSession::nextLine(const std::string& prompt) {
    if (!m_pendingAnswers.empty()) {
        InputLine line;
        line.text = m_pendingAnswers.front();
        line.origin = "command";
        m_pendingAnswers.pop_front();
        return line;
    }
    if (!m_input)
        return std::nullopt;
    while (true) {
        std::optional<InputLine> line = m_input->next(prompt);
        // A comment is no answer: it is passed over wherever it stands.
        if (line && !line->cancel && !line->text.empty() && line->text[0] == ';')
            continue;
        return line;
    }
}

void HostSession::refuse(const std::string& origin, const std::string& why) {
    ++m_refused;
    m_transcript.message(origin.empty() ? why : origin + ": " + why);
}

std::optional<InputLine> HostSession::readLine(const std::string& prompt) {
    const bool echoes = !m_input || m_input->echoes() || !m_pendingAnswers.empty();
    std::optional<InputLine> line = nextLine(prompt);
    if (echoes)
        m_transcript.write(prompt);
    if (!line || line->cancel) {
        // Esc, or a script that ended while something still asks.
        m_transcript.echo("*Cancel*");
    } else if (echoes) {
        m_transcript.echo(line->text);
    }
    return line;
}

int HostSession::ask(const std::wstring& prompt,
                     const std::function<Verdict(const std::string&)>& accept) {
    const std::string shown = win::Narrow(prompt);
    while (true) {
        std::optional<InputLine> line = readLine(shown);
        if (!line || line->cancel)
            return RTCAN;
        std::vector<std::string> words = splitWords(line->text);
        if (!words.empty() && upperAscii(words[0]) == "DLG") {
            refuse(line->origin, "no dialog is open");
            continue;
        }
        Verdict verdict = accept(line->text);
        if (!verdict.refusal.empty()) {
            refuse(line->origin, verdict.refusal);
            continue;
        }
        return verdict.status;
    }
}

void HostSession::run(InputSource& source) {
    InputSource* previous = m_input;
    m_input = &source;
    while (true) {
        std::string prompt = m_transcript.atLineStart() ? "Command: " : "\nCommand: ";
        std::optional<InputLine> line = source.next(prompt);
        if (!line)
            break;
        if (line->text.empty() || line->text[0] == ';')
            continue;
        if (source.echoes()) {
            m_transcript.write(prompt);
            m_transcript.echo(line->text);
        }
        runTopLevelLine(*line);
    }
    m_input = previous;
}

bool HostSession::runTopLevelLine(const InputLine& line) {
    if (line.cancel || line.text.empty())
        return true;
    std::string text = line.text;
    if (isLispLine(text)) {
        std::string why = runLispLine(*this, text);
        if (!why.empty())
            refuse(line.origin, why);
        return why.empty();
    }
    std::size_t blank = text.find_first_of(" \t");
    std::string word = text.substr(0, blank);
    std::string rest = blank == std::string::npos ? std::string() : trimBlanks(text.substr(blank));
    std::string upper = upperAscii(word);
    if (upper == "SELECT" || upper == "SETVAR" || upper == "SAVE" || upper == "OPEN" ||
        upper == "DLG")
        return runTopLevelKeyword(line, upper, rest);
    if (blank != std::string::npos) {
        refuse(line.origin, "unknown command \"" + text + "\"");
        return false;
    }
    if (!runCommand(win::Widen(word))) {
        refuse(line.origin, "unknown command \"" + word + "\"");
        return false;
    }
    return true;
}

bool HostSession::runTopLevelKeyword(const InputLine& line, const std::string& word,
                                     const std::string& rest) {
    if (word == "DLG") {
        refuse(line.origin, "no dialog is open");
        return false;
    }
    if (word == "SELECT") {
        std::vector<SelectedEntity> chosen;
        std::string why = resolveSelection(rest, chosen);
        if (!why.empty()) {
            refuse(line.origin, why);
            return false;
        }
        m_implied.clear();
        for (const SelectedEntity& e : chosen)
            m_implied.push_back(e.id);
        return true;
    }
    if (word == "SETVAR") {
        std::vector<std::string> parts = splitWords(rest);
        if (parts.size() < 2) {
            refuse(line.origin, "setvar needs a name and a value: setvar NAME VALUE");
            return false;
        }
        std::string value = trimBlanks(rest.substr(rest.find(parts[0]) + parts[0].size()));
        std::string why;
        if (m_variables.setFromText(win::Widen(parts[0]), m_database.get(), value, why) != RTNORM) {
            refuse(line.origin, why);
            return false;
        }
        return true;
    }
    if (rest.empty()) {
        refuse(line.origin, upperAscii(word) == "SAVE" ? "save needs a file: save PATH"
                                                       : "open needs a file: open PATH");
        return false;
    }
    std::string error;
    bool ok = word == "SAVE" ? saveDrawing(rest, error) : openDrawing(rest, error);
    if (!ok)
        refuse(line.origin, error);
    return ok;
}

bool HostSession::runCommand(const std::wstring& typedName) {
    ZcEdCommand* command = m_commands.findTyped(typedName);
    if (!command) {
        std::wstring name = upperName(typedName);
        while (!name.empty() && (name[0] == L'_' || name[0] == L'.'))
            name.erase(0, 1);
        if (name == L"COMMANDS") {
            listCommands();
            return true;
        }
        if (name == L"REGEN" || name == L"REGENALL") {
            ++m_regens;
            if (onRegen)
                onRegen();
            return true;
        }
        return false;
    }
    runRegisteredCommand(command);
    return true;
}

void HostSession::listCommands() {
    for (const ZcEdCommand* command : m_commands.commandsInOrder())
        zcutPrintf(L"\n%s\t%s\t%s\t%d", command->groupName(), command->globalName(),
                   command->localName(), command->commandFlags());
    zcutPrintf(L"\n");
}

void HostSession::runRegisteredCommand(ZcEdCommand* command) {
    std::wstring name = command->globalName();
    ZcRxFunctionPtr function = command->functionAddr();
    ++m_commandDepth;
    m_variables.setComputed(L"CMDACTIVE", std::int16_t{1});
    try {
        function();
    } catch (const std::exception& e) {
        ++m_failed;
        m_transcript.message("Command " + win::Narrow(name) + " failed: " + e.what());
    } catch (...) {
        ++m_failed;
        m_transcript.message("Command " + win::Narrow(name) + " failed");
    }
    if (--m_commandDepth == 0) {
        m_variables.setComputed(L"CMDACTIVE", std::int16_t{0});
        // The pre-picked selection serves one command.
        m_implied.clear();
        initGetFlags = 0;
        initGetKeywords.clear();
    }
}

int HostSession::runHostCommand(const resbuf* args) {
    if (!args)
        return RTNORM;
    if (args->restype != RTSTR || !args->resval.rstring)
        return RTERROR;
    std::wstring name = args->resval.rstring;
    if (name.empty())
        return RTNORM; // Enter: nothing to run
    std::deque<std::string> answers;
    for (const resbuf* rb = args->rbnext; rb; rb = rb->rbnext) {
        std::string text;
        if (!answerText(rb, text))
            return RTERROR;
        answers.push_back(std::move(text));
    }
    if (m_variables.integer(L"CMDECHO", m_database.get()) != 0)
        m_transcript.message("Command: " + win::Narrow(name));
    std::deque<std::string> saved = std::move(m_pendingAnswers);
    m_pendingAnswers = std::move(answers);
    bool known = runCommand(name);
    m_pendingAnswers = std::move(saved);
    if (!known) {
        m_transcript.message("Unknown command \"" + win::Narrow(name) + "\".");
        return RTERROR;
    }
    return RTNORM;
}

} // namespace gantrel::editor

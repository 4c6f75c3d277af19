// The gantrel program: the host stand-in driven from the command line. Each subcommand lives
// in its own file; this one only parses and dispatches.
#include <CLI/CLI.hpp>

#include "exit_status.h"
#include "nest_command.h"
#include "render_command.h"
#include "run_command.h"
#include "shell_command.h"

int main(int argc, char** argv) {
    using namespace gantrel::app;
    CLI::App program{"Gantrel: nesting and drawing tools on DXF drawings.", "gantrel"};
    program.set_version_flag("--version", std::string("gantrel ") + GANTREL_VERSION);
    program.require_subcommand(1);
    const NestCommand nest(program);
    const RunCommand run(program);
    const ShellCommand shell(program);
    const RenderCommand render(program);
    try {
        program.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and version print on stdout and succeed; errors print on stderr.
        return program.exit(e) == 0 ? kExitDone : kExitBadCommandLine;
    }
    for (const Subcommand* command :
         std::initializer_list<const Subcommand*>{&nest, &run, &shell, &render})
        if (command->chosen())
            return command->run();
    return kExitBadCommandLine;
}

// One subcommand of the gantrel program: its place on the command line and its run.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace gantrel::app {

class Subcommand {
public:
    virtual ~Subcommand() = default;
    Subcommand(const Subcommand&) = delete;
    Subcommand& operator=(const Subcommand&) = delete;

    bool chosen() const { return m_command->parsed(); }
    // Does the work; returns the exit status.
    virtual int run() const = 0;

protected:
    Subcommand(CLI::App& program, const std::string& name, const std::string& description)
        : m_command(program.add_subcommand(name, description)) {}

    CLI::App* m_command;
};

} // namespace gantrel::app

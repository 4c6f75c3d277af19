// "T_PtExport": picked points written to a semicolon-separated coordinate file.
#pragma once

#include <string>

#include "frame/Commands.h"

namespace gantrel {

class ExportCoordinates_cmd : public KorvantCommand {
public:
    using KorvantCommand::KorvantCommand;
    void Run();
    // The file last written or tried; empty before the first.
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

} // namespace gantrel

// The nesting run of the nesting command: sheet and parts read from the drawing, messages on the
// host's command line.
#pragma once

#include "nesting/dwg/DwgParser.h"
#include "nesting/run/Nest.h"

namespace gantrel {

class NestDWG : public Nest {
public:
    using Nest::Nest;

    // Prints the text on the command line as it is.
    void Message(const std::wstring& text) override;

    // Reads the object's outline with the settings' arc precision; it becomes the sheet when it
    // has points, otherwise the sheet stays empty. The object is remembered either way.
    virtual void LoadSheet(ZcDbObjectId sheet);
    // Reads every part object in order, each into its pieces with their working copies.
    virtual void LoadParts(const NestEntities& parts);

    ZcDbObjectId SheetId() const { return m_sheetId; }

private:
    ZcDbObjectId m_sheetId;
};

} // namespace gantrel

// Handlers of the Gantrel drawing tools: each binds its command's F1 help, builds the command
// object with the shared texts and runs it.
#pragma once

namespace gantrel {

void ArrowsCommand();
void SumSubLengthsCommand();
void ExportCoordinatesCommand();
void GridCommand();
void QuickBlockCommand();
void AddToBlockCommand();
void RemoveFromBlockCommand();
void AttManagerCommand();

} // namespace gantrel

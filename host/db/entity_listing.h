// Where entity listings are printed: the command line once the editor is up, stdout before.
#pragma once

#include <string>

namespace gantrel::db {

// Receives the text of one listing line, with its leading line break.
using ListingPrinter = void (*)(const std::wstring& text);

// Sets the printer used by ZcDbEntity::list; null restores the default (UTF-8 on stdout).
void setListingPrinter(ListingPrinter printer);

} // namespace gantrel::db

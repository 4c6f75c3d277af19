// The value lists offered for the attributes of the description blocks: stored in the drawing
// under the attribute's tag, gathered for the editor from the store, the drawing's references
// and "Tallimo.cfg".
#pragma once

#include <string>
#include <vector>

#include "zcdball.h"

namespace gantrel {

// The list with later exact (case-sensitive) repeats dropped, in order.
std::vector<std::wstring> WithoutRepeats(std::vector<std::wstring> values);

// Whether the list holds the value without regard to case.
bool HoldsNoCase(const std::vector<std::wstring>& values, const std::wstring& value);

// The list stored under the tag (as stored, repeats included).
std::vector<std::wstring> ReadValueList(ZcDbDatabase* db, const std::wstring& tag);

// Joins the stored list and the new values (stored first), drops repeats and writes the list
// back whole; nothing is written when there are no new values. 0 or the host's status, which
// is also printed; a failed write leaves the stored list as it was.
int AddValues(ZcDbDatabase* db, const std::wstring& tag, const std::vector<std::wstring>& values);

// Removes the first stored value equal to `value` without regard to case from the stored list
// (repeats dropped) and writes it back; nothing is written when none matches. 0 or the host's
// status, which is also printed.
int RemoveValue(ZcDbDatabase* db, const std::wstring& tag, const std::wstring& value);

// The non-empty values the tag has in the references of a block, in reference order, exact
// repeats dropped: the reference's attribute whose tag equals `tag` without regard to case,
// or, when the reference has none, the text of the block's constant definition of that tag.
std::vector<std::wstring> ReferenceValues(ZcDbObjectId block, const std::wstring& tag);

// The editor's list for a tag: the stored values, then the values in the drawing, then the
// lines of "Tallimo.cfg", each skipped when the list already holds it without regard to case.
std::vector<std::wstring> GatherValueList(const std::vector<std::wstring>& stored,
                                          const std::vector<std::wstring>& inDrawing,
                                          const std::vector<std::wstring>& fromCfg);

// GatherValueList over the working drawing's store, the block's references and the suite's
// "Tallimo.cfg" block of the tag.
std::vector<std::wstring> GatherTagValues(ZcDbDatabase* db, ZcDbObjectId block,
                                          const std::wstring& tag);

} // namespace gantrel

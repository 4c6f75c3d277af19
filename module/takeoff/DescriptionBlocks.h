// The description blocks the settings name: each description section's "Template" reduced to a
// block name and looked up in the drawing, and the attribute tags of such a block.
#pragma once

#include "frame/Ini.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "zcdball.h"

namespace gantrel {

struct DescriptionBlock {
    ZcDbObjectId id;
    std::wstring name;
    std::wstring section; // the description section whose template names it
};

// The tags of a block's attribute definitions in the block's order; constant ones only with
// `withConstant`.
std::vector<std::wstring> AttributeTags(ZcDbObjectId block, bool withConstant);

// The blocks of the three description templates, in the order areal, linear, count; a template
// whose block is not in the drawing is left out.
std::vector<DescriptionBlock> DescriptionBlocks(ZcDbDatabase* db, const INI& settings);

// Adds to the drawing's store, for each description block and each of its attribute tags
// (constant ones included, in block order), the values `valuesOf` gives for them; then sets
// the companion program's value-list symbols to nil.
void SaveValueLists(ZcDbDatabase* db, const INI& settings,
                    const std::function<std::vector<std::wstring>(const DescriptionBlock&,
                                                                  const std::wstring&)>& valuesOf);

// The tags of the block a template path names (constant ones included, in block order). A
// block of that name in the drawing is used as it is; otherwise it is loaded from the file the
// path resolves to (ResolveTemplateFile). Nothing, with a message on the command line, when no
// file is there or the load fails; nothing, silently, for an empty path.
std::optional<std::vector<std::wstring>> TemplateTags(const std::wstring& templatePath);

} // namespace gantrel

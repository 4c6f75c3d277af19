#include "nesting/settings/NestSettings.h"

namespace gantrel {

namespace {
// Constant-initialised, so it holds the defaults before any code of the module runs.
NestSettings g_moduleSettings;
} // namespace

NestSettings& ModuleNestSettings() {
    return g_moduleSettings;
}

} // namespace gantrel

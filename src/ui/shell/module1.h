#pragma once

#include "core/common/result.h"

namespace zondari {

class AppContext;

// Reads "zondari.ini" of the program folder into the program-wide values;
// the defaults when there is no such file.
void readSettings(AppContext& ctx);

// Rewrites "zondari.ini" in the program folder from the program-wide values,
// through a temporary file of its own that then takes its name
// (files::replaceFile). A failure shows the runtime error report and leaves
// the old file as it was.
Status saveSettings(AppContext& ctx);

} // namespace zondari

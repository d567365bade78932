// When the program was built: written by the build into a unit of its own each time the
// program is linked anew, so the about box never shows the date of some earlier compile.
#pragma once

namespace vorn {

// In the compiler's __DATE__ / __TIME__ forms ("Dec  8 2026", "14:05:09"), local time.
const char *programBuildDate();
const char *programBuildTime();

}  // namespace vorn

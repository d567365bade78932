# Writes the build stamp unit (-DOUT=file). Run by the build whenever the program's code
# changed; honours SOURCE_DATE_EPOCH so a package build is reproducible.
string(TIMESTAMP year "%Y")
string(TIMESTAMP month "%m")
string(TIMESTAMP day "%d")
string(TIMESTAMP clock "%H:%M:%S")
# Month names spelled here, not by the build machine's locale.
set(names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
math(EXPR index "${month} - 1")
list(GET names ${index} monthName)
# The compiler's form pads a one-digit day with a space.
string(REGEX REPLACE "^0" " " day "${day}")
set(content "// Written by the build; changes with every build of the program.
#include \"about/BuildStamp.h\"

const char *vorn::programBuildDate() { return \"${monthName} ${day} ${year}\"; }
const char *vorn::programBuildTime() { return \"${clock}\"; }
")
file(WRITE "${OUT}" "${content}")

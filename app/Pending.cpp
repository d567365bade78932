// Handlers whose subsystems are still being built; each subsystem replaces its entries.
#include "Hlav.h"

// [edit]
// [/edit]

// [link]
// [/link]

// [files]
// [/files]

// [lang]
// [/lang]

// [print]
// [/print]

// Live values from the unit's monitor replies and the map cell / servo point in use; also
// brings in the rest of the link state the main window holds (session, identification).
#pragma once

#include "link/Identification.h"
#include "link/LiveCell.h"
#include "link/Session.h"

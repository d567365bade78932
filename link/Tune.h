// The active-cell search (link/ActiveCell.h) together with the rest of the live link state.
#pragma once

#include "link/ActiveCell.h"
#include "link/LiveValues.h"

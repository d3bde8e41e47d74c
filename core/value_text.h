#pragma once

// Numbers and moments as the program reads and writes them.
#include "core/clock_text.h"
#include "core/number_text.h"

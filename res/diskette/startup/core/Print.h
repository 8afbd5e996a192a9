// Text output on the start-up program's console: just enough formatting for its report.
#ifndef VFLASH_STARTUP_CORE_PRINT_H
#define VFLASH_STARTUP_CORE_PRINT_H

#include <stdint.h>

#include "Hardware.h"

namespace out {

void Text(hw::Console& c, const char* s);
void Line(hw::Console& c, const char* s);  // s, then a new line
void Hex8(hw::Console& c, uint8_t v);      // two upper-case digits, as in "41h"
void Decimal(hw::Console& c, uint32_t v);

}  // namespace out

#endif

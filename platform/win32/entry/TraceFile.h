// Writes the simulated PC's call record as text, one call a line, so that a test outside the
// process (a shell script under Wine) can grep it:
//   ExitWindowsEx code=0x2 arg1=0x0 arg2=0x0 handle=0x0 result=1 bytes=0 thread=0 device="" text=""
// The text and device fields are quoted with \\, \" , \n, \r and \t escaped, so every call
// stays on one line.
#ifndef VFLASH_PLATFORM_WIN32_ENTRY_TRACEFILE_H
#define VFLASH_PLATFORM_WIN32_ENTRY_TRACEFILE_H

#include <string>
#include <vector>

#include "platform/sim/Trace.h"

std::string FormatCall(const sim::Call& call);
bool WriteTraceFile(const char* path, const std::vector<sim::Call>& calls);

#endif

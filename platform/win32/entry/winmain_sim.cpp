// The entry point of the simulated Windows test build: the real window system, the
// simulated PC. A test under Wine chooses the PC (env VFLASH_SCENARIO, a scenario file) and
// reads back what the program asked of it (env VFLASH_TRACE, written when the program ends),
// since nothing else outside the process can see a simulated restart request.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fw/WinApp.h"
#include "platform/sim/SimPc.h"
#include "platform/win32.h"
#include "platform/win32/entry/TraceFile.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    sim::Scenario scenario;
    if (const char* path = std::getenv("VFLASH_SCENARIO")) {
        std::string error;
        if (!sim::LoadScenarioFile(path, &scenario, &error)) {
            std::fprintf(stderr, "VFLASH_SCENARIO %s: %s\n", path, error.c_str());
            return 2;
        }
    }
    sim::Reset(scenario);

    int result = AfxWinMain();

    if (const char* path = std::getenv("VFLASH_TRACE")) {
        if (!WriteTraceFile(path, sim::Calls())) {
            std::fprintf(stderr, "VFLASH_TRACE %s: cannot write\n", path);
            return 3;
        }
    }
    return result;
}

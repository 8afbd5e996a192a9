// The host program: the real program's code on the simulated PC, in a terminal.
//   vflash [SCENARIO]   (default: res/scenarios/default.scn)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fw/WinApp.h"
#include "platform/host/Console.h"
#include "platform/sim/SimPc.h"

int main(int argc, char** argv)
{
    std::string path = argc > 1 ? argv[1] : "res/scenarios/default.scn";
    sim::Scenario scenario;
    std::string error;
    if (!sim::LoadScenarioFile(path, &scenario, &error)) {
        std::fprintf(stderr, "vflash: %s: %s\n", path.c_str(), error.c_str());
        return 2;
    }
    sim::Reset(scenario);
    std::printf("Simulated PC: %s\n", path.c_str());
    host::InstallConsole();

    int code = AfxWinMain();

    sim::FlushDiskette();
    if (sim::RestartRequests() > 0)
        std::printf("\n[simulated PC] restart requested (ExitWindowsEx flags 0x%X)\n",
                    sim::LastRestartFlags());
    std::fflush(stdout);
    // The input reader may still wait on the terminal; it has nothing left to do.
    std::_Exit(code);
}

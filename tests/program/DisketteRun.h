// What the diskette tests share: a PC that needs the update, ways to shape what the volume
// in A: answers while the worker runs, and readings of the trace that such a run leaves.
#ifndef VFLASH_TESTS_PROGRAM_DISKETTERUN_H
#define VFLASH_TESTS_PROGRAM_DISKETTERUN_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Harness.h"

class CFlashDlg;

namespace test {

// The base scenario with drive 0 needing the update, so that the program starts its worker.
sim::Scenario UpdateScenario();

// The diskette image as the program's resources carry it.
std::vector<std::uint8_t> ImageBytes();

// How many OK/Cancel prompts a scripted user answers before cancelling: a worker that keeps
// asking has gone wrong, and cancelling ends its run where answering would never.
const int kPromptLimit = 20;

// A user who goes along with everything: OK to every box, up to kPromptLimit prompts.
std::function<int(const host::MessageBoxInfo&)> AnswerOk();

// The prompts of the worker, by index, and its restart notice.
extern const char* const kPrompts[4];
extern const char kRebootNotice[];

// Whether `call` was answered by the simulated PC (the calls sim::FailCall counts).
bool IsPcCall(const sim::Call& call);

// How one opening of the volume in A: is to turn out. The call that makes it so is failed
// through sim::FailCall: the geometry query (no diskette), the lock (another program holds
// the volume), or the first format request (the diskette takes no format).
enum class Volume { Ready, NoDiskette, Locked, FormatFault };

// For RunProgram's `armed`: an OnCall hook that gives the successive openings of A: the
// outcomes listed (Ready once the list is used up) and then calls `also`, if given, with
// every call the hook sees. `also` runs on the thread making the call and must make no
// pc:: call itself.
std::function<void()> ArmVolumes(std::vector<Volume> outcomes,
                                 std::function<void(const sim::Call&)> also = nullptr);

// One word per opening of A: in the trace, in order: "P+" a preparation that found a
// usable diskette, "P-" one that did not, "W+" a complete write, "W-" a write that stopped,
// "O-" an opening that failed.
std::vector<std::string> VolumeOps(const std::vector<sim::Call>& calls);

// Whether one volume handle wrote all 80 cylinders of the 1.44 MB format in full.
bool DisketteWritten(const std::vector<sim::Call>& calls);

// Handles on A: still open now: the PC's open handles less the token and the physical
// drives that the program keeps open on purpose (read from `calls`, the run's trace).
int OpenVolumeHandles(const std::vector<sim::Call>& calls);

// Runs `body` on a thread of its own, as the worker would run the diskette writer, while
// the main dialog of a program with nothing to update is up and is g_pActiveDlg. The
// dialog ends once `body` returns. `body` may reset the simulated PC (the program makes no
// pc:: call meanwhile).
void WithActiveDialog(const std::function<void(CFlashDlg* dlg)>& body);

}  // namespace test

#endif

// The terminal front end of the host program: shows what a user of the real program would
// see (the dialog's text when it appears, the progress bar as it moves, every message box)
// and takes the user's answers from standard input.
#ifndef VFLASH_PLATFORM_HOST_CONSOLE_H
#define VFLASH_PLATFORM_HOST_CONSOLE_H

namespace host {

// Installs the front end. At the end of input a message box is answered as its close box
// would (Cancel, or OK where there is no Cancel) and an idle dialog is closed as Esc would
// close it, so a run without input goes through by itself.
void InstallConsole();

}  // namespace host

#endif

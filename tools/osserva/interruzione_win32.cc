// Windows: the console's control handler runs on a thread of its own. Ctrl-C
// and Ctrl-Break set the flag and return; for a console being closed (and
// logging off, shutting down) the system ends the process once the handler
// returns, and gives it about five seconds, so the handler waits until the
// watch has ended cleanly first.
#include <windows.h>

#include <atomic>

#include "osserva/interruzione.h"

namespace {

std::atomic<bool> chiesta{false};
HANDLE conclusa = nullptr;  // an event, set once the watch has ended

BOOL WINAPI al_controllo(DWORD tipo) {
  switch (tipo) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      chiesta = true;
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      chiesta = true;
      if (conclusa) WaitForSingleObject(conclusa, 4500);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void intercetta_interruzione() {
  conclusa = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(al_controllo, TRUE);
}

bool interruzione_chiesta() { return chiesta; }

void fine_conclusa() {
  if (conclusa) SetEvent(conclusa);
}

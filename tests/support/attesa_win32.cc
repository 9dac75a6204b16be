// Shows the package program's wait window and keeps it on the screen for a
// number of seconds (the first argument, 10 when missing), so that it can be
// looked at or captured. Like the package program, it paints the window once
// and answers no messages while it waits.
#include <cwchar>

#include "platform/win32/piattaforma_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR riga, int) {
  int secondi = 10;
  if (riga && *riga) secondi = static_cast<int>(std::wcstol(riga, nullptr, 10));
  piattaforma_win32 sistema;
  sistema.mostra_attesa();
  if (!sistema.finestra_attesa()) return 2;
  Sleep(static_cast<DWORD>(secondi) * 1000);
  return 0;
}

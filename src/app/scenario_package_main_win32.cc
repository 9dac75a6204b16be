// The package program on Windows: a GUI program with no console, which builds
// its one embedded scenario in the folder that holds the .exe.
#include "driver/form1.h"
#include "sources/scenario_incorporato.h"
#include "platform/win32/piattaforma_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  piattaforma_win32 sistema;
  return esegui_pacchetto(sistema, scenario_incorporato());
}

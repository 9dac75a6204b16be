// The package program on Windows: a GUI program with no console, which builds
// in the folder that holds the .exe the scenario appended to it or, when
// none is, its one embedded scenario.
#include "driver/programma.h"
#include "sources/scenario_incorporato.h"
#include "platform/win32/piattaforma_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  piattaforma_win32 sistema;
  return esegui_programma(sistema, scenario_incorporato());
}

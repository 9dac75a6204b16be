// The package program: builds in its own folder the scenario appended to it
// or, when none is, its one embedded scenario.
#include "driver/programma.h"
#include "sources/scenario_incorporato.h"
#include "platform/posix/piattaforma_posix.h"

int main() {
  piattaforma_posix sistema;
  return esegui_programma(sistema, scenario_incorporato());
}

// The package program: builds its one embedded scenario in its own folder.
#include "driver/form1.h"
#include "sources/scenario_incorporato.h"
#include "platform/posix/piattaforma_posix.h"

int main() {
  piattaforma_posix sistema;
  return esegui_pacchetto(sistema, scenario_incorporato());
}

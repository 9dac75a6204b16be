// The start-up: the scenario's two names, the wait window, the five writers,
// the build; and the package program's whole run around it.
#include "driver/form1.h"
#include "sources/testi_incorporati.h"

void Form1::avvio() {
  nome_scenario = nome_scenario_incorporato();
  numero_treno = numero_treno_incorporato();
  sistema.mostra_attesa();
  dati_linea();
  dati_treno();
  dati_note();
  dati_rallentamenti();
  dati_scheda();
  int32_t j = 1;
  memorizza_percorso(j);
}

int esegui_pacchetto(piattaforma& sistema) {
  Form1 form(sistema);
  try {
    form.avvio();
  } catch (const fine_programma& fine) {
    return fine.stato;
  }
  return 0;
}

#include "driver/form1.h"

void Form1::avvio() {
  nome_scenario = "Borvale PF_Borvale PR";
  numero_treno = "31758";
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

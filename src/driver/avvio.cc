// The start-up: the scenario's two names, the wait window, the five writers,
// the build; and the package program's whole run around it.
#include "driver/form1.h"

esito_build Form1::avvio(const scenario& s) {
  testi = s;
  nome_scenario = s.nome_scenario;
  numero_treno = s.numero_treno;
  sistema.mostra_attesa();
  dati_linea();
  dati_treno();
  dati_note();
  dati_rallentamenti();
  dati_scheda();
  int32_t j = 1;
  return memorizza_percorso(j);
}

int esegui_pacchetto(piattaforma& sistema, const scenario& s) {
  // A scenario the writers cannot hold is refused before anything is shown or
  // written.
  if (auto p = problema_scenario(s)) {
    sistema.messaggio("Scenario non valido: " + *p);
    return uscita_errore;
  }
  Form1 form(sistema);
  try {
    form.riporta_build(form.avvio(s));
  } catch (const fine_programma& fine) {
    return fine.stato;
  }
  return uscita_riuscita;
}

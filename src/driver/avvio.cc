// The start-up: the scenario's two names, the look for an author's texts
// under the sources' names, the wait window, the five writers, the build; and
// the package program's whole run around it.
#include "driver/form1.h"

esito_build Form1::avvio(const scenario& s) {
  testi = s;
  nome_scenario = s.nome_scenario;
  numero_treno = s.numero_treno;
  // An author's texts under the sources' names are never overwritten: the
  // run ends before anything is shown or written.
  if (auto p = sorgente_altrui()) messaggio_e_fine(*p);
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

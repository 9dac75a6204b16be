// The choice of the scenario to run: the payload in the program's own file,
// read through the seam (headers, trailer and payload only), or the
// compiled-in one.
#include "driver/programma.h"

#include "carico/lettura_carico.h"
#include "driver/form1.h"
#include "platform/testo_percorso.h"

namespace {

// A message that the program cannot read its own file, in UTF-8 as every
// message.
std::string illeggibile(const std::filesystem::path& programma, const std::string& motivo) {
  return "Impossibile leggere il programma stesso (" + tra_virgolette(programma) + "): " + motivo;
}

}  // namespace

int esegui_programma(piattaforma& sistema, const scenario& incorporato) {
  const std::filesystem::path programma = sistema.programma_in_esecuzione();
  file_della_piattaforma file(sistema, programma);
  if (esito e = file.apri(); !e) {
    sistema.messaggio(illeggibile(programma, e.motivo));
    return uscita_errore;
  }
  const programma_letto letto = leggi_programma(file);
  switch (letto.st) {
    case programma_letto::stato::senza_carico:
      return esegui_pacchetto(sistema, incorporato);
    case programma_letto::stato::con_carico:
      return esegui_pacchetto(sistema, *letto.s);
    case programma_letto::stato::illeggibile:
      sistema.messaggio(illeggibile(programma, letto.problema));
      return uscita_errore;
    case programma_letto::stato::danneggiato:
    case programma_letto::stato::non_programma:
      break;
  }
  sistema.messaggio("Pacchetto danneggiato: " + letto.problema);
  return uscita_errore;
}

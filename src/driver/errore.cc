// The package program's messages: the error message of `errore`, the report
// of a build, and the end of the program after a message.
#include "driver/messaggio_errore.h"
#include "driver/form1.h"

void Form1::errore(const std::string& a) { messaggio_e_fine(" Errore n. " + a); }

void Form1::riporta_build(const esito_build& e) {
  if (e.timbro_fallito != 0) errore(std::to_string(e.timbro_fallito));
  if (e.codice_errore != 0) messaggio_e_fine(testo_errore_build(e));
  // The reader records an error whenever it stops short of the grid; this
  // only guards against a reader that did not.
  if (!e.griglia_dimensionata) messaggio_e_fine("Lunghezza del percorso mancante: nessun file binario scritto");
}

void Form1::messaggio_e_fine(const std::string& testo) {
  sistema.messaggio(testo);
  throw fine_programma{uscita_errore};
}

// Creating a file of the program folder afresh, and where it lies.
#include <string>

#include "driver/form1.h"
#include "driver/scrittura_intera.h"
#include "platform/testo_percorso.h"

std::filesystem::path Form1::percorso_file(std::string_view nome) const {
  return sistema.cartella_programma() / sistema.nome_file(nome);
}

void Form1::scrivi_file_nuovo(std::string_view nome, std::string_view contenuto) {
  if (auto g = scrivi_per_intero(sistema, percorso_file(nome), contenuto))
    messaggio_e_fine("Impossibile " + g->azione + " il file " + tra_virgolette(g->percorso) + ": " + g->motivo);
}

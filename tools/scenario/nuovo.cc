// The starter scenario written as a folder.
#include "nuovo.h"

#include "cartella_su_disco.h"

int comando_new(piattaforma& sistema, const std::filesystem::path& cartella, codifica_testo codifica,
                std::ostream& errori) {
  const scrittura_cartella s = scrivi_cartella(sistema, cartella, scenario_iniziale(), codifica);
  if (s.stato != 0) errori << s.messaggio << '\n';
  return s.stato;
}

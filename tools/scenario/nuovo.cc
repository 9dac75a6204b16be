// The starter scenario written as a folder.
#include "nuovo.h"

#include <chrono>

#include "cartella_su_disco.h"
#include "platform/testo_percorso.h"
#include "riepilogo.h"

int comando_new(piattaforma& sistema, const std::filesystem::path& cartella, codifica_testo codifica,
                std::ostream& errori, std::ostream* riepilogo) {
  const auto inizio = std::chrono::steady_clock::now();
  const scrittura_cartella s = scrivi_cartella(sistema, cartella, scenario_iniziale(), codifica);
  if (s.stato != 0) {
    errori << s.messaggio << '\n';
    return s.stato;
  }
  if (riepilogo)
    *riepilogo << riga_riepilogo("new", "7 file scritti in " + tra_virgolette(cartella) + " (" +
                                            (codifica == codifica_testo::utf8 ? "UTF-8" : "Windows-1252") + ")",
                                 false, 0, 0, std::chrono::steady_clock::now() - inizio)
               << std::endl;
  return s.stato;
}

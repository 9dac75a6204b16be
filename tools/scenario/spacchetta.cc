// The payload of a program read back and written out as a folder.
#include "spacchetta.h"

#include <chrono>

#include "carico/lettura_carico.h"
#include "cartella_su_disco.h"
#include "driver/stati_uscita.h"
#include "platform/testo_percorso.h"
#include "riepilogo.h"

int comando_unpack(piattaforma& sistema, const std::filesystem::path& programma, const std::filesystem::path& cartella,
                   codifica_testo codifica, std::ostream& errori, std::ostream* riepilogo) {
  const auto inizio = std::chrono::steady_clock::now();
  const std::string nome = tra_virgolette(programma);
  auto fine = [&](int stato, const std::string& riga) {
    errori << riga << '\n';
    return stato;
  };
  file_della_piattaforma file(sistema, programma);
  if (esito e = file.apri(); !e) return fine(uscita_uso_errato, "impossibile leggere " + nome + ": " + e.motivo);
  const programma_letto letto = leggi_programma(file);
  switch (letto.st) {
    case programma_letto::stato::con_carico:
      break;
    case programma_letto::stato::senza_carico:
      return fine(uscita_errore, nome + " non porta uno scenario: è un programma come è stato compilato, non uno fatto "
                                        "da scenario pack");
    case programma_letto::stato::danneggiato:
      return fine(uscita_errore, nome + ": pacchetto danneggiato: " + letto.problema);
    case programma_letto::stato::non_programma:
      return fine(uscita_errore, nome + " non è un programma fatto da scenario pack: " + letto.problema);
    case programma_letto::stato::illeggibile:
      return fine(uscita_uso_errato, letto.problema);
  }
  const scrittura_cartella s = scrivi_cartella(sistema, cartella, *letto.s, codifica);
  if (s.stato != uscita_riuscita) return fine(s.stato, s.messaggio);
  if (riepilogo)
    *riepilogo << riga_riepilogo("unpack", "7 file scritti in " + tra_virgolette(cartella) + " (" +
                                               (codifica == codifica_testo::utf8 ? "UTF-8" : "Windows-1252") + ")",
                                 false, 0, 0, std::chrono::steady_clock::now() - inizio)
               << std::endl;
  return uscita_riuscita;
}

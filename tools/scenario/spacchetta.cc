// The payload of a program read back and written out as a folder.
#include "spacchetta.h"

#include "carico/lettura_carico.h"
#include "cartella_su_disco.h"
#include "driver/stati_uscita.h"
#include "platform/testo_percorso.h"

int comando_unpack(piattaforma& sistema, const std::filesystem::path& programma, const std::filesystem::path& cartella,
                   codifica_testo codifica, std::ostream& errori) {
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
  return uscita_riuscita;
}

// The look at the program folder before a run writes anything: the names of
// the two source texts must hold nothing of anyone else's.
#include "driver/form1.h"
#include "platform/testo_percorso.h"
#include "sources/elenco_righe.h"

std::optional<std::string> Form1::sorgente_altrui() {
  for (const auto& [nome, righe] :
       {std::pair{nome_sorgente_linea(), &testi.linea}, std::pair{nome_sorgente_treno(), &testi.treno}}) {
    const std::filesystem::path p = percorso_file(nome);
    if (!sistema.esiste(p)) continue;
    // A link to nothing holds no text: the run replaces the link alone.
    stato_di_file stato;
    if (sistema.e_collegamento(p) && !sistema.stato_file(p, stato)) continue;
    std::string presente;
    if (esito e = sistema.leggi(p, presente); !e)
      return "Impossibile leggere il file " + tra_virgolette(p) +
             ", che il programma scriverebbe e poi cancellerebbe: " + e.motivo + ". Nulla è stato scritto.";
    // What a run cut short left behind: the very text, taken over.
    if (presente == testo_da_elenco(riempi_elenco(*righe))) continue;
    return "Nella cartella c'è già il file " + tra_virgolette(p) +
           ", con un testo diverso da quello che il programma vi scriverebbe e poi cancellerebbe. Nulla è stato "
           "scritto: sposta o rinomina quel file e avvia di nuovo il programma.";
  }
  return std::nullopt;
}

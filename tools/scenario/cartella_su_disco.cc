// The seven files of a scenario folder read and written through the seam.
#include "cartella_su_disco.h"

#include <array>

#include "driver/scrittura_intera.h"
#include "driver/stati_uscita.h"
#include "model/windows1252.h"
#include "sources/cartella_scenario.h"
#include "platform/testo_percorso.h"

namespace fs = std::filesystem;

namespace {

// An error of the folder as a whole, or of a file that cannot be had, with
// the words alone or at the file `file` (as shown).
lettura_cartella rifiutata(std::string testo, std::string file = {}) {
  lettura_cartella r;
  r.stato = uscita_uso_errato;
  diagnostica& d = r.diagnostiche.emplace_back();
  d.livello = gravita::errore;
  d.codice = codice_avviso::cartella_non_valida;
  if (!file.empty()) {
    d.dove.sorgente = sorgente_build::cartella;
    d.dove.file = std::move(file);
  }
  d.testo = std::move(testo);
  return r;
}

}  // namespace

lettura_cartella leggi_cartella(piattaforma& sistema, const fs::path& cartella, codifica_testo codifica) {
  if (!sistema.e_cartella(cartella))
    return rifiutata("la cartella dello scenario " + tra_virgolette(cartella) + " non c'è");
  std::array<std::string, 7> byte;
  for (size_t i = 0; i < byte.size(); ++i) {
    const fs::path p = cartella / file_cartella_scenario[i];
    if (!sistema.esiste(p))
      return rifiutata("manca; una cartella di scenario contiene linea.txt, treno.txt, note.txt, "
                       "rallentamenti.txt, scheda_treno.txt, nome_scenario.txt e numero_treno.txt",
                       testo_percorso(p));
    // What a link points to may be anywhere, and would go into a program
    // handed out without a word.
    if (sistema.e_collegamento(p))
      return rifiutata("è un collegamento simbolico; una cartella di scenario contiene file ordinari (metti al suo "
                       "posto una copia del file)",
                       testo_percorso(p));
    if (esito e = sistema.leggi(p, byte[i]); !e)
      return rifiutata("impossibile leggere " + tra_virgolette(p) + ": " + e.motivo);
  }
  cartella_letta letta = leggi_cartella_scenario(byte, codifica);
  lettura_cartella r;
  r.stato = letta.s ? uscita_riuscita : uscita_uso_errato;
  r.s = std::move(letta.s);
  r.codifiche = letta.codifiche;
  r.sorgenti = {testo_percorso(cartella / file_cartella_scenario[2]), testo_percorso(cartella / file_cartella_scenario[3])};
  r.diagnostiche = std::move(letta.diagnostiche);
  // Each file named with its folder, as the author finds it.
  for (diagnostica& d : r.diagnostiche)
    if (d.dove.sorgente == sorgente_build::cartella) d.dove.file = testo_percorso(cartella / percorso_da_testo(d.dove.file));
  return r;
}

scrittura_cartella scrivi_cartella(piattaforma& sistema, const fs::path& cartella, const scenario& s,
                                   codifica_testo codifica) {
  if (sistema.esiste(cartella) && !sistema.e_cartella(cartella))
    return {uscita_uso_errato, tra_virgolette(cartella) + " non è una cartella"};
  for (std::string_view f : file_cartella_scenario) {
    if (sistema.esiste(cartella / f))
      return {uscita_uso_errato, "la cartella " + tra_virgolette(cartella) + " contiene già " + std::string(f) +
                                     ": nulla è stato scritto (scegli una cartella nuova o vuota)"};
  }
  // The highest folder this write makes, which goes with everything in it
  // when a write fails; none when the folder is there already.
  fs::path prima_creata;
  if (!sistema.esiste(cartella)) {
    prima_creata = cartella.lexically_normal();
    for (fs::path su = prima_creata.parent_path(); !su.empty() && su != prima_creata && !sistema.esiste(su);
         su = su.parent_path())
      prima_creata = su;
    if (esito e = sistema.crea_cartella(cartella); !e) {
      if (sistema.e_cartella(prima_creata)) (void)sistema.rimuovi_cartella(prima_creata);  // at best
      return {uscita_errore_file, "impossibile creare la cartella " + tra_virgolette(cartella) + ": " + e.motivo};
    }
  }
  std::array<std::string, 7> contenuti = file_cartella(s);
  if (codifica == codifica_testo::utf8)
    for (std::string& c : contenuti) c = da_cp1252_a_utf8(c);
  for (size_t i = 0; i < contenuti.size(); ++i) {
    if (auto g = scrivi_per_intero(sistema, cartella / file_cartella_scenario[i], contenuti[i])) {
      // A folder whole or not at all: what this write made goes, so that a
      // second try finds the place as the first did.
      bool tolto = true;
      if (!prima_creata.empty())
        tolto = bool(sistema.rimuovi_cartella(prima_creata));
      else
        for (size_t j = 0; j < i; ++j) tolto = bool(sistema.rimuovi(cartella / file_cartella_scenario[j])) && tolto;
      return {uscita_errore_file, "impossibile " + g->azione + " il file " + tra_virgolette(g->percorso) + ": " +
                                      g->motivo + (tolto ? "; nulla è stato lasciato"
                                                         : "; non è stato possibile togliere tutto ciò che era stato "
                                                           "scritto in " + tra_virgolette(cartella))};
    }
  }
  return {};
}

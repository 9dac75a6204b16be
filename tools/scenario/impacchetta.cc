// `scenario pack` in its steps: the folder read, the stubs read, the build in
// memory, the programs written.
#include "impacchetta.h"

#include <chrono>
#include <vector>

#include "carico/carico.h"
#include "cartella_su_disco.h"
#include "costruzione.h"
#include "driver/scrittura_intera.h"
#include "driver/stati_uscita.h"
#include "model/windows1252.h"
#include "programmi_base.h"
#include "riepilogo.h"
#include "sources/cartella_scenario.h"
#include "platform/testo_percorso.h"

namespace fs = std::filesystem;

namespace {

struct uscita_pack {
  destinazione d;
  fs::path percorso;
  std::string base;  // the stub as linked
};

// Builds the folder read as `scenario build DIR` does, in memory; the report
// names the folder's own files.
rapporto_build costruisci_cartella(piattaforma& sistema, const lettura_cartella& letta, bool avvisi_come_errori) {
  rapporto_build r;
  r.sorgenti = letta.sorgenti;
  try {
    riporta_compilazione(r, compila(sistema, sorgenti_da_cartella(*letta.s, letta.diagnostiche)).esito,
                         avvisi_come_errori);
  } catch (const std::exception& e) {
    r.stato = uscita_errore_file;
    r.righe.push_back(std::string("errore interno della costruzione: ") + e.what());
  }
  return r;
}

}  // namespace

int comando_pack(piattaforma& sistema, const richiesta_pack& q, std::ostream& errori, std::ostream* riepilogo) {
  const auto inizio = std::chrono::steady_clock::now();
  auto fine = [&](int stato, const std::string& riga) {
    errori << riga << '\n';
    return stato;
  };

  lettura_cartella letta = leggi_cartella(sistema, q.cartella, q.codifica);
  if (!letta.s) {
    rapporto_build r;
    r.sorgenti = letta.sorgenti;
    r.esito.diagnostiche = std::move(letta.diagnostiche);
    scrivi_rapporto(r, false, errori);
    return letta.stato;
  }
  const scenario& s = *letta.s;

  // The programs to write, and the stub of each.
  const std::string nome_programma = s.nome_scenario + "_" + s.numero_treno;
  std::vector<uscita_pack> uscite;
  const bool entrambi = !q.windows && !q.linux_;
  if (entrambi || q.windows)
    uscite.push_back({destinazione::per_windows, q.windows.value_or(sistema.nome_file(nome_programma + ".exe")), {}});
  if (entrambi || q.linux_)
    uscite.push_back({destinazione::per_linux, q.linux_.value_or(sistema.nome_file(nome_programma)), {}});
  for (const uscita_pack& u : uscite) {
    if (sistema.e_cartella(u.percorso))
      return fine(uscita_uso_errato, "il programma " + tra_virgolette(u.percorso) + " sarebbe una cartella");
    for (std::string_view f : file_cartella_scenario) {
      if (sistema.stesso_file(u.percorso, q.cartella / f))
        return fine(uscita_uso_errato,
                    "il programma " + tra_virgolette(u.percorso) + " prenderebbe il posto di un file dello scenario");
    }
  }
  for (uscita_pack& u : uscite) {
    programma_base b = leggi_programma_base(sistema, u.d);
    if (!b.byte) {
      // Asked for both: the other one alone may still be had.
      const char* const solo = u.d == destinazione::per_linux ? "Windows, con --windows FILE.exe"
                                                               : "Linux, con --linux FILE";
      const std::string altro = entrambi ? std::string("; o scrivi solo quello per ") + solo : std::string();
      return fine(uscita_errore_file, b.messaggio + altro);
    }
    u.base = std::move(*b.byte);
  }

  const rapporto_build r = costruisci_cartella(sistema, letta, q.avvisi_come_errori);
  scrivi_rapporto(r, false, errori);
  if (r.stato != uscita_riuscita && r.stato != uscita_errore) return r.stato;
  // What a player would get wrong, named one by one: each warning whose code
  // says that something written is lost or distorted in the program.
  std::vector<const diagnostica*> persi;
  for (const diagnostica& d : r.esito.diagnostiche)
    if (perde_contenuto(d)) persi.push_back(&d);
  if (r.stato == uscita_errore && !r.esito.riuscito()) {
    if (!q.forza)
      return fine(uscita_errore,
                  "nessun programma scritto: chi lo avviasse vedrebbe solo l'errore (--force impacchetta comunque)");
    errori << "impacchettato comunque (--force): chi avvia il programma vedrà l'errore\n";
  } else if (r.stato == uscita_errore) {
    // Only warnings, taken as errors (--werror): the build's line counts them.
    if (!q.forza) return fine(uscita_errore, "nessun programma scritto (--force impacchetta comunque)");
    errori << "impacchettato comunque (--force)\n";
  } else if (!persi.empty()) {
    errori << righe_contenuto_perso(persi, r.sorgenti);
    if (!q.forza)
      return fine(uscita_errore, "nessun programma scritto: il programma non sarebbe lo scenario scritto "
                                 "(correggi i sorgenti, o --force impacchetta comunque)");
    errori << "impacchettato comunque (--force): qualcosa di scritto manca nel programma\n";
  }

  const std::string carico = carico_con_coda(s);
  std::string scritti;
  for (const uscita_pack& u : uscite) {
    if (auto g = scrivi_per_intero(sistema, u.percorso, u.base + carico, u.d == destinazione::per_linux))
      return fine(uscita_errore_file,
                  "impossibile " + g->azione + " il file " + tra_virgolette(g->percorso) + ": " + g->motivo);
    scritti += (scritti.empty() ? "" : " e ") + tra_virgolette(u.percorso);
  }
  if (riepilogo)
    *riepilogo << riga_riepilogo("pack", "scritto " + scritti, true,
                                 r.esito.quanti_avvisi() + r.esito.avvisi_omessi, persi.size(),
                                 std::chrono::steady_clock::now() - inizio)
               << std::endl;
  return uscita_riuscita;
}

// `scenario pack` in its steps: the folder read, the stubs read, the build in
// memory, the programs written.
#include "impacchetta.h"

#include <vector>

#include "carico/carico.h"
#include "cartella_su_disco.h"
#include "costruzione.h"
#include "driver/scrittura_intera.h"
#include "driver/stati_uscita.h"
#include "model/windows1252.h"
#include "programmi_base.h"
#include "sources/cartella_scenario.h"
#include "platform/testo_percorso.h"

namespace fs = std::filesystem;

namespace {

struct uscita_pack {
  destinazione d;
  fs::path percorso;
  std::string base;  // the stub as linked
};

// Builds `s` as `scenario build` does, in memory; the report names the
// folder's own sources.
rapporto_build costruisci_cartella(piattaforma& sistema, const scenario& s, const fs::path& cartella,
                                   bool avvisi_come_errori) {
  const std::array<std::string, 7> file = file_cartella(s);
  sorgenti_build b;
  b.nome_scenario = s.nome_scenario;
  b.numero_treno = s.numero_treno;
  b.linea = file[2];
  b.treno = file[3];
  rapporto_build r;
  r.sorgenti = {testo_percorso(cartella / testi_scenario[0].file), testo_percorso(cartella / testi_scenario[1].file)};
  try {
    riporta_compilazione(r, compila(sistema, b).esito, avvisi_come_errori);
  } catch (const std::exception& e) {
    r.stato = uscita_errore_file;
    r.righe.push_back(std::string("errore interno della costruzione: ") + e.what());
  }
  return r;
}

}  // namespace

int comando_pack(piattaforma& sistema, const richiesta_pack& q, std::ostream& errori) {
  auto fine = [&](int stato, const std::string& riga) {
    errori << riga << '\n';
    return stato;
  };

  lettura_cartella letta = leggi_cartella(sistema, q.cartella, q.codifica);
  if (!letta.s) return fine(letta.stato, letta.messaggio);
  for (const std::string& a : letta.avvisi) errori << a << '\n';
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

  const rapporto_build r = costruisci_cartella(sistema, s, q.cartella, q.avvisi_come_errori);
  scrivi_rapporto(r, false, errori);
  if (r.stato != uscita_riuscita && r.stato != uscita_errore) return r.stato;
  if (r.stato == uscita_errore && !r.esito.riuscito()) {
    if (!q.forza)
      return fine(uscita_errore,
                  "nessun programma scritto: chi lo avviasse vedrebbe solo l'errore (--force impacchetta comunque)");
    errori << "impacchettato comunque (--force): chi avvia il programma vedrà l'errore\n";
  } else if (r.stato == uscita_errore || (q.avvisi_come_errori && !letta.avvisi.empty())) {
    // Only warnings, taken as errors (--werror): the build counts its own.
    if (const size_t n = letta.avvisi.size(); r.stato != uscita_errore)
      errori << n << (n == 1 ? " avviso, trattato come errore" : " avvisi, trattati come errori") << " (--werror)\n";
    if (!q.forza) return fine(uscita_errore, "nessun programma scritto (--force impacchetta comunque)");
    errori << "impacchettato comunque (--force)\n";
  }

  const std::string carico = carico_con_coda(s);
  for (const uscita_pack& u : uscite) {
    if (auto g = scrivi_per_intero(sistema, u.percorso, u.base + carico, u.d == destinazione::per_linux))
      return fine(uscita_errore_file,
                  "impossibile " + g->azione + " il file " + tra_virgolette(g->percorso) + ": " + g->motivo);
  }
  return uscita_riuscita;
}

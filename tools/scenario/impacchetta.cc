// `scenario pack` in its steps: the folder read, the stubs read, the private
// build, the programs written.
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

// The private folder of the build, inside the folder of the first program.
constexpr std::string_view prefisso_lavoro = ".scenario-pack-";


struct uscita_pack {
  destinazione d;
  fs::path percorso;
  std::string base;  // the stub as linked
};

// Builds `s` as `scenario build` does, in a private folder inside `dentro`
// that goes afterwards; the report names the folder's own sources.
rapporto_build costruisci_privatamente(piattaforma& sistema, const fs::path& dentro, const scenario& s,
                                       const fs::path& cartella, bool avvisi_come_errori) {
  rapporto_build r;
  fs::path lavoro;
  if (esito e = sistema.crea_cartella_temporanea(dentro, prefisso_lavoro, lavoro); !e) {
    r.stato = uscita_errore_file;
    r.righe.push_back("impossibile creare una cartella di lavoro in " + tra_virgolette(dentro) + ": " + e.motivo);
    return r;
  }
  const std::array<std::string, 7> file = file_cartella(s);
  richiesta_build q;
  q.nome = da_cp1252_a_utf8(s.nome_scenario);
  q.numero = da_cp1252_a_utf8(s.numero_treno);
  q.linea = lavoro / testi_scenario[0].file;
  q.treno = lavoro / testi_scenario[1].file;
  q.uscita = lavoro;
  q.codifica = codifica_testo::windows1252;
  q.avvisi_come_errori = avvisi_come_errori;
  std::optional<guasto_scrittura> g = scrivi_per_intero(sistema, *q.linea, file[2]);
  if (!g) g = scrivi_per_intero(sistema, *q.treno, file[3]);
  if (g) {
    r.stato = uscita_errore_file;
    r.righe.push_back("impossibile scrivere il file " + tra_virgolette(g->percorso) + ": " + g->motivo);
  } else {
    r = costruisci(sistema, q);
    // The build names its copies of the sources; the author knows the
    // folder's files.
    auto nomina_cartella = [&](std::string& riga) {
      for (const fs::path& copia : {*q.linea, *q.treno}) {
        if (riga.starts_with(testo_percorso(copia) + ":"))
          riga = testo_percorso(cartella / copia.filename()) + riga.substr(testo_percorso(copia).size());
      }
    };
    for (avviso_riportato& a : r.avvisi) nomina_cartella(a.riga);
    for (std::string& riga : r.righe) nomina_cartella(riga);
  }
  if (esito e = sistema.rimuovi_cartella(lavoro); !e) {
    r.stato = std::max(r.stato, uscita_errore_file);
    r.righe.push_back("impossibile rimuovere la cartella di lavoro " + tra_virgolette(lavoro) + ": " + e.motivo);
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

  fs::path dentro = uscite.front().percorso.parent_path();
  if (dentro.empty()) dentro = ".";
  const rapporto_build r = costruisci_privatamente(sistema, dentro, s, q.cartella, q.avvisi_come_errori);
  for (const avviso_riportato& a : r.avvisi) errori << a.riga << '\n';
  for (const std::string& riga : r.righe) errori << riga << '\n';
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

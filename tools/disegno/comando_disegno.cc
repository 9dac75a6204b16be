// The draw command: names checked, the three files read and decoded, their
// sizes checked against each other, the drawing built in memory and written
// through a temporary file.
#include "disegno/comando_disegno.h"

#include <cstdint>
#include <memory>
#include <vector>

#include "disegno/disegno.h"
#include "disegno/scena.h"
#include "driver/nomi_file.h"
#include "driver/scrittura_intera.h"
#include "driver/stati_uscita.h"
#include "ispeziona/decodifica.h"

namespace fs = std::filesystem;

namespace {

constexpr int riuscito = uscita_riuscita, file_non_valido = uscita_errore, uso_errato = uscita_uso_errato,
              scrittura_fallita = uscita_errore_file;

std::string tra_virgolette(const fs::path& p) { return "\"" + p.string() + "\""; }

// Why the option's value cannot be a scenario's name, or nothing.
std::optional<std::string> problema_opzione(const char* opzione, const std::string& valore) {
  if (auto p = problema_nome(valore)) return std::string(opzione) + " \"" + valore + "\" " + *p;
  return std::nullopt;
}

// One binary file: read whole and decoded, or the message saying why not.
struct lettura {
  bool presente = false;
  std::string dati;
  std::string errore;
};

lettura leggi_file(piattaforma& sistema, const fs::path& p, const char* descrizione) {
  lettura l;
  if (!sistema.esiste(p)) {
    l.errore = "manca il file " + tra_virgolette(p) + " (" + descrizione + "): i file binari vengono da scenario build";
    return l;
  }
  l.presente = true;
  if (esito e = sistema.leggi(p, l.dati); !e) l.errore = "impossibile leggere " + tra_virgolette(p) + ": " + e.motivo;
  return l;
}

std::string non_valido(const fs::path& p, const char* descrizione, const errore_formato& e) {
  return tra_virgolette(p) + " non è un file valido (" + descrizione + "): offset " + std::to_string(e.offset) + ": " +
         e.motivo;
}

}  // namespace

int comando_draw(piattaforma& sistema, const richiesta_disegno& q, std::ostream& errori) {
  if (auto p = problema_opzione("--name", q.nome)) {
    errori << *p << '\n';
    return uso_errato;
  }
  if (auto p = problema_opzione("--number", q.numero)) {
    errori << *p << '\n';
    return uso_errato;
  }
  const nomi_file nomi = nomi_dei_file(q.nome, q.numero);
  const fs::path file_linea = q.cartella / nomi.file_linea;
  const fs::path file_sim = q.cartella / nomi.file_sim;
  const fs::path file_dat = q.cartella / nomi.file_dat;
  const fs::path uscita = q.uscita.value_or(q.cartella / (q.nome + "_" + q.numero + ".svg"));
  for (const fs::path& f : {file_linea, file_sim, file_dat})
    if (sistema.stesso_file(uscita, f)) {
      errori << "il disegno " << tra_virgolette(uscita) << " prenderebbe il posto del file binario "
             << tra_virgolette(f) << '\n';
      return uso_errato;
    }

  const char* const descrizione_sim = "voci di testata";
  const char* const descrizione_dat = "griglia del percorso";
  const char* const descrizione_linea = "file della linea";
  lettura sim = leggi_file(sistema, file_sim, descrizione_sim);
  if (!sim.errore.empty()) {
    errori << sim.errore << '\n';
    return file_non_valido;
  }
  lettura dat = leggi_file(sistema, file_dat, descrizione_dat);
  if (!dat.errore.empty()) {
    errori << dat.errore << '\n';
    return file_non_valido;
  }
  lettura linea = leggi_file(sistema, file_linea, descrizione_linea);
  if (linea.presente && !linea.errore.empty()) {
    errori << linea.errore << '\n';
    return file_non_valido;
  }

  tabella_testata testata;
  std::vector<cella> percorso;
  std::optional<tabella_tracciato> tracciato;
  try {
    testata = decodifica_testata(sim.dati);
  } catch (const errore_formato& e) {
    errori << non_valido(file_sim, descrizione_sim, e) << '\n';
    return file_non_valido;
  }
  try {
    percorso = decodifica_percorso(dat.dati);
  } catch (const errore_formato& e) {
    errori << non_valido(file_dat, descrizione_dat, e) << '\n';
    return file_non_valido;
  }
  if (linea.presente) {
    try {
      tracciato = decodifica_tracciato(linea.dati);
    } catch (const errore_formato& e) {
      errori << non_valido(file_linea, descrizione_linea, e) << '\n';
      return file_non_valido;
    }
    linea.dati = std::string();
  }

  // The three files must come from one build.
  const tabella_tracciato* linea_letta = tracciato ? &*tracciato : nullptr;
  if (auto d = controlla_costruzione(percorso, testata, linea_letta)) {
    if (d->quale == discordanza::file::griglia)
      errori << tra_virgolette(file_dat) << " ha " << d->trovato << " celle, ma il percorso di " << d->lunghezza
             << " m di " << tra_virgolette(file_sim) << " ne vuole " << d->atteso;
    else
      errori << tra_virgolette(file_linea) << " ha i punti dei metri 0-" << d->trovato << ", ma il percorso di "
             << d->lunghezza << " m di " << tra_virgolette(file_sim) << " ne vuole 0-" << d->atteso;
    errori << ": i file non vengono dalla stessa costruzione\n";
    return file_non_valido;
  }
  if (!tracciato)
    errori << "manca il file della linea " << tra_virgolette(file_linea)
           << " (una costruzione con --no-line-file?): disegno solo il profilo, senza la mappa\n";

  const scena s = leggi_scena(percorso, testata);
  const std::string svg = disegna_svg(s, linea_letta);
  if (auto g = scrivi_per_intero(sistema, uscita, svg)) {
    errori << "impossibile scrivere il file " << tra_virgolette(uscita) << ": " << g->motivo << '\n';
    return scrittura_fallita;
  }
  // The warnings the files show; scenario build names each at its line.
  if (const size_t n = oltre_la_fine(s); n > 0)
    errori << tra_virgolette(uscita) << ": attenzione: " << n
           << (n == 1 ? " elemento oltre la fine del percorso" : " elementi oltre la fine del percorso") << " di "
           << metri(s.lunghezza) << ", segnat" << (n == 1 ? "o" : "i") << " nel disegno nel colore degli avvisi\n";
  return riuscito;
}

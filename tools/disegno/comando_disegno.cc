// The draw command: names checked, the three files read and decoded, their
// sizes checked against each other, the drawing built in memory, and then
// written through a temporary file.
#include "disegno/comando_disegno.h"

#include <cstdint>
#include <memory>
#include <vector>

#include "disegno/disegno.h"
#include "disegno/punti_piani.h"
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

disegno_build disegna_build(piattaforma& sistema, const richiesta_disegno& q) {
  disegno_build d;
  auto fine = [&d](int stato, std::string riga) {
    d.stato = stato;
    d.righe.push_back(std::move(riga));
    return std::move(d);
  };
  if (auto p = problema_opzione("--name", q.nome)) return fine(uso_errato, *p);
  if (auto p = problema_opzione("--number", q.numero)) return fine(uso_errato, *p);
  const nomi_file nomi = nomi_dei_file(q.nome, q.numero);
  const fs::path file_linea = q.cartella / nomi.file_linea;
  const fs::path file_sim = q.cartella / nomi.file_sim;
  const fs::path file_dat = q.cartella / nomi.file_dat;
  d.uscita = q.uscita.value_or(q.cartella / (q.nome + "_" + q.numero + ".svg"));
  for (const fs::path& f : {file_linea, file_sim, file_dat})
    if (sistema.stesso_file(d.uscita, f))
      return fine(uso_errato, "il disegno " + tra_virgolette(d.uscita) + " prenderebbe il posto del file binario " +
                                  tra_virgolette(f));

  const char* const descrizione_sim = "voci di testata";
  const char* const descrizione_dat = "griglia del percorso";
  const char* const descrizione_linea = "file della linea";
  lettura sim = leggi_file(sistema, file_sim, descrizione_sim);
  if (!sim.errore.empty()) return fine(file_non_valido, sim.errore);
  lettura dat = leggi_file(sistema, file_dat, descrizione_dat);
  if (!dat.errore.empty()) return fine(file_non_valido, dat.errore);
  lettura linea = leggi_file(sistema, file_linea, descrizione_linea);
  if (linea.presente && !linea.errore.empty()) return fine(file_non_valido, linea.errore);

  tabella_testata testata;
  std::vector<cella> percorso;
  std::optional<int32_t> ultimo_metro;  // of the line file, when there is one
  try {
    testata = decodifica_testata(sim.dati);
  } catch (const errore_formato& e) {
    return fine(file_non_valido, non_valido(file_sim, descrizione_sim, e));
  }
  try {
    percorso = decodifica_percorso(dat.dati);
  } catch (const errore_formato& e) {
    return fine(file_non_valido, non_valido(file_dat, descrizione_dat, e));
  }
  if (linea.presente) {
    try {
      ultimo_metro = controlla_tracciato(linea.dati);
    } catch (const errore_formato& e) {
      return fine(file_non_valido, non_valido(file_linea, descrizione_linea, e));
    }
  }

  // The three files must come from one build.
  if (auto c = controlla_costruzione(percorso, testata, ultimo_metro)) {
    std::string riga;
    if (c->quale == discordanza::file::griglia)
      riga = tra_virgolette(file_dat) + " ha " + std::to_string(c->trovato) + " celle, ma il percorso di " +
             std::to_string(c->lunghezza) + " m di " + tra_virgolette(file_sim) + " ne vuole " +
             std::to_string(c->atteso);
    else
      riga = tra_virgolette(file_linea) + " ha i punti dei metri 0-" + std::to_string(c->trovato) +
             ", ma il percorso di " + std::to_string(c->lunghezza) + " m di " + tra_virgolette(file_sim) +
             " ne vuole 0-" + std::to_string(c->atteso);
    return fine(file_non_valido, riga + ": i file non vengono dalla stessa costruzione");
  }
  std::optional<punti_piani> piani;
  if (ultimo_metro) {
    piani = punti_da_immagine(linea.dati, *ultimo_metro);
    linea.dati = std::string();
  } else {
    d.righe.push_back("manca il file della linea " + tra_virgolette(file_linea) +
                      " (una costruzione con --no-line-file?): disegno solo il profilo, senza la mappa");
  }

  const scena s = leggi_scena(percorso, testata);
  d.conteggi = {s.lunghezza,          s.stazioni.size(),      s.segnali.size(), s.cartelli.size(),
                s.indicatori.size(), s.rallentamenti.size(), s.montagne.size()};
  d.svg = disegna_svg(s, piani ? &*piani : nullptr);
  return d;
}

int comando_draw(piattaforma& sistema, const richiesta_disegno& q, std::ostream& errori) {
  const disegno_build d = disegna_build(sistema, q);
  for (const std::string& riga : d.righe) errori << riga << '\n';
  if (d.stato != riuscito) return d.stato;
  if (auto g = scrivi_per_intero(sistema, d.uscita, d.svg)) {
    errori << "impossibile scrivere il file " << tra_virgolette(d.uscita) << ": " << g->motivo << '\n';
    return scrittura_fallita;
  }
  return riuscito;
}

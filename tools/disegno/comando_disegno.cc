// The draw command: names checked, the three files read and decoded, their
// sizes checked against each other (ispeziona/stessa_costruzione.h), the
// drawing built in memory, and then written through a temporary file.
#include "disegno/comando_disegno.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <vector>

#include "disegno/disegno.h"
#include "disegno/punti_piani.h"
#include "disegno/scena.h"
#include "model/nomi_file.h"
#include "driver/scrittura_intera.h"
#include "driver/stati_uscita.h"
#include "ispeziona/decodifica.h"
#include "ispeziona/stessa_costruzione.h"
#include "platform/testo_percorso.h"

namespace fs = std::filesystem;

namespace {

constexpr int riuscito = uscita_riuscita, file_non_valido = uscita_errore, uso_errato = uscita_uso_errato,
              scrittura_fallita = uscita_errore_file;


// Why the option's value cannot be a scenario's name, or nothing.
std::optional<std::string> problema_opzione(const char* opzione, const std::string& valore) {
  if (auto p = problema_nome_utf8(valore)) return std::string(opzione) + " \"" + valore + "\" " + *p;
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
  const esito e = sistema.leggi(p, l.dati);
  l.presente = !e.mancante;
  if (e.mancante)
    l.errore = "manca il file " + tra_virgolette(p) + " (" + descrizione + "): i file binari vengono da scenario build";
  else if (!e)
    l.errore = "impossibile leggere " + tra_virgolette(p) + ": " + e.motivo;
  return l;
}

std::string non_valido(const fs::path& p, const char* descrizione, const errore_formato& e) {
  return tra_virgolette(p) + " non è un file valido (" + descrizione + "): offset " + std::to_string(e.offset) + ": " +
         e.motivo;
}

// The three files of a request, named as its messages name them, and the
// drawing's path; or why the request is bad use.
struct file_richiesta {
  std::optional<std::string> problema;
  fs::path linea, sim, dat, disegno;
};

file_richiesta file_di(const richiesta_disegno& q) {
  file_richiesta f;
  if (auto p = problema_opzione("--name", q.nome)) f.problema = p;
  else if (auto p = problema_opzione("--number", q.numero)) f.problema = p;
  if (f.problema) return f;
  const nomi_file nomi = nomi_dei_file(q.nome, q.numero);
  f.linea = q.cartella / percorso_da_testo(nomi.file_linea);
  f.sim = q.cartella / percorso_da_testo(nomi.file_sim);
  f.dat = q.cartella / percorso_da_testo(nomi.file_dat);
  f.disegno = percorso_disegno(q);
  return f;
}

constexpr const char* descrizione_sim = "voci di testata";
constexpr const char* descrizione_dat = "griglia del percorso";
constexpr const char* descrizione_linea = "file della linea";

// The bytes of the three files decoded, checked against each other and
// drawn into `d`; the line's points go into `piani`.
void disegna_byte(disegno_build& d, const file_richiesta& f, const immagini_build& b, punti_piani& piani) {
  auto fine = [&d](std::string riga) {
    d.stato = file_non_valido;
    d.righe.push_back(std::move(riga));
  };
  tabella_testata testata;
  std::vector<cella> percorso;
  std::optional<int32_t> ultimo_metro;  // of the line file, when there is one
  try {
    testata = decodifica_testata(b.sim);
  } catch (const errore_formato& e) {
    return fine(non_valido(f.sim, descrizione_sim, e));
  }
  try {
    percorso = decodifica_percorso(b.dat);
  } catch (const errore_formato& e) {
    return fine(non_valido(f.dat, descrizione_dat, e));
  }
  if (b.linea) {
    try {
      ultimo_metro = controlla_tracciato(*b.linea);
    } catch (const errore_formato& e) {
      return fine(non_valido(f.linea, descrizione_linea, e));
    }
  }

  // The three files must fit each other to be drawn together; the first
  // that does not is said. The stamps do not change the drawing.
  std::optional<linea_controllata> linea;
  if (ultimo_metro) linea = linea_controllata{*b.linea, *ultimo_metro};
  const std::vector<diagnostica> misure =
      controlla_misure({testo_percorso(f.sim), testo_percorso(f.dat), testo_percorso(f.linea)}, testata, percorso, linea);
  if (!misure.empty()) return fine("\"" + misure.front().dove.file + "\" " + misure.front().testo);
  if (ultimo_metro)
    punti_da_immagine(*b.linea, *ultimo_metro, piani);
  else
    d.righe.push_back("manca il file della linea " + tra_virgolette(f.linea) +
                      " (una costruzione con --no-line-file?): disegno solo il profilo, senza la mappa");

  const scena s = leggi_scena(percorso, testata);
  d.conteggi = {s.lunghezza,          s.stazioni.size(),      s.segnali.size(),      s.cartelli.size(),
                s.indicatori.size(), s.rallentamenti.size(), s.montagne.size(), oltre_la_fine(s)};
  d.svg = disegna_svg(s, ultimo_metro ? &piani : nullptr);
}

}  // namespace

fs::path percorso_disegno(const richiesta_disegno& q) {
  return q.file_disegno.value_or(q.cartella / percorso_da_testo(q.nome + "_" + q.numero + ".svg"));
}

disegno_build disegna_build(piattaforma& sistema, const richiesta_disegno& q) {
  disegno_build d;
  auto fine = [&d](int stato, std::string riga) {
    d.stato = stato;
    d.righe.push_back(std::move(riga));
    return std::move(d);
  };
  const file_richiesta f = file_di(q);
  if (f.problema) return fine(uso_errato, *f.problema);
  d.file_disegno = f.disegno;
  for (const fs::path& p : {f.linea, f.sim, f.dat})
    if (sistema.stesso_file(d.file_disegno, p))
      return fine(uso_errato, "il disegno " + tra_virgolette(d.file_disegno) + " prenderebbe il posto del file binario " +
                                  tra_virgolette(p));
  // An SVG under another name would open as nothing, or as something else.
  std::string estensione = testo_percorso(d.file_disegno.extension());
  std::transform(estensione.begin(), estensione.end(), estensione.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (estensione != ".svg")
    return fine(uso_errato, "il disegno " + tra_virgolette(d.file_disegno) + " è un SVG: il nome finisce con .svg");

  lettura sim = leggi_file(sistema, f.sim, descrizione_sim);
  if (!sim.errore.empty()) return fine(file_non_valido, sim.errore);
  lettura dat = leggi_file(sistema, f.dat, descrizione_dat);
  if (!dat.errore.empty()) return fine(file_non_valido, dat.errore);
  lettura linea = leggi_file(sistema, f.linea, descrizione_linea);
  if (linea.presente && !linea.errore.empty()) return fine(file_non_valido, linea.errore);

  punti_piani piani;
  disegna_byte(d, f, {sim.dati, dat.dati, linea.presente ? std::optional<std::string_view>(linea.dati) : std::nullopt},
               piani);
  return d;
}

disegno_build disegna_immagini(const richiesta_disegno& q, const immagini_build& immagini, punti_piani& piani) {
  disegno_build d;
  const file_richiesta f = file_di(q);
  if (f.problema) {
    d.stato = uso_errato;
    d.righe.push_back(*f.problema);
    return d;
  }
  d.file_disegno = f.disegno;
  disegna_byte(d, f, immagini, piani);
  return d;
}

int comando_draw(piattaforma& sistema, const richiesta_disegno& q, std::ostream& errori) {
  const disegno_build d = disegna_build(sistema, q);
  for (const std::string& riga : d.righe) errori << riga << '\n';
  if (d.stato != riuscito) return d.stato;
  if (auto g = scrivi_per_intero(sistema, d.file_disegno, d.svg)) {
    errori << "impossibile scrivere il file " << tra_virgolette(d.file_disegno) << ": " << g->motivo << '\n';
    return scrittura_fallita;
  }
  // The warnings the files show; scenario build names each at its line.
  const conteggi_scena& c = d.conteggi;
  if (const size_t n = c.oltre_la_fine; n > 0)
    errori << tra_virgolette(d.file_disegno) << ": attenzione: " << n
           << (n == 1 ? " elemento oltre la fine del percorso" : " elementi oltre la fine del percorso") << " di "
           << metri(c.lunghezza) << ", segnat" << (n == 1 ? "o" : "i") << " nel disegno nel colore degli avvisi\n";
  return riuscito;
}

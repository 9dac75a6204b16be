// The build command in its steps: the request checked and the sources read
// and converted, the output folder made ready, the compile in memory, each
// binary file written whole, and the report.
#include "costruzione.h"

#include <chrono>
#include <tuple>

#include "diagnosi/riga_gnu.h"
#include "cartella_su_disco.h"
#include "diagnostiche_autore.h"
#include "model/nomi_file.h"
#include "driver/scrittura_intera.h"
#include "luogo_sorgente.h"
#include "model/windows1252.h"
#include "riepilogo.h"
#include "platform/testo_percorso.h"
#include "sources/cartella_scenario.h"

namespace fs = std::filesystem;

namespace {

// Why the option's value cannot be a scenario's name, or nothing.
std::optional<std::string> problema_opzione(const char* opzione, const std::string& valore) {
  if (auto p = problema_nome_utf8(valore)) return std::string(opzione) + " \"" + valore + "\" " + *p;
  return std::nullopt;
}

// Each step returns false when the command ends there, the report filled.
struct passi {
  piattaforma& sistema;
  const richiesta_build& q;
  rapporto_build& r;
  fs::path linea, treno;  // the author's sources, as given
  // The output folder's names of the binary files, in the order the build
  // makes them.
  std::vector<std::string> binari;

  bool fine(int stato, std::string riga) {
    r.stato = stato;
    r.righe.push_back(std::move(riga));
    return false;
  }

  // The names of the binary files, in the order the build makes them.
  void nomi_binari() {
    const nomi_file nomi = nomi_dei_file(r.nome, r.numero);
    if (!q.senza_linea) binari.push_back(nomi.file_linea);
    binari.push_back(nomi.file_sim);
    binari.push_back(nomi.file_dat);
  }

  // The folder read and checked, as `pack` reads it, into `s`.
  bool prepara_cartella(sorgenti_build& s) {
    lettura_cartella letta = leggi_cartella(sistema, *q.cartella, q.codifica);
    r.sorgenti = letta.sorgenti;
    if (!letta.s) {
      // A folder that breaks a rule: no build; its error is the report.
      r.esito.diagnostiche = std::move(letta.diagnostiche);
      r.stato = letta.stato;
      return false;
    }
    s = sorgenti_da_cartella(*letta.s, letta.diagnostiche);
    s.crea_linea = !q.senza_linea;
    r.nome = da_cp1252_a_utf8(letta.s->nome_scenario);
    r.numero = da_cp1252_a_utf8(letta.s->numero_treno);
    r.codifica_linea = letta.codifiche[2];
    r.codifica_treno = letta.codifiche[3];
    linea = *q.cartella / file_cartella_scenario[2];
    treno = *q.cartella / file_cartella_scenario[3];
    nomi_binari();
    return true;
  }

  // The names, the sources read and converted into `s`.
  bool prepara(sorgenti_build& s) {
    if (q.cartella) return prepara_cartella(s);
    if (auto e = problema_nomi(q)) return fine(uscita_uso_errato, *e);
    // The names inside the build in Windows-1252, as the build itself holds
    // them; in the output folder as given.
    s.nome_scenario = da_utf8_a_cp1252(q.nome);
    s.numero_treno = da_utf8_a_cp1252(q.numero);
    s.crea_linea = !q.senza_linea;
    r.nome = q.nome;
    r.numero = q.numero;
    nomi_binari();
    std::tie(linea, treno) = sorgenti_di(q);
    r.sorgenti = {testo_percorso(linea), testo_percorso(treno)};

    for (auto [percorso, quale, testo, codifica, sorgente] :
         {std::tuple{&linea, "della linea", &s.linea, &r.codifica_linea, sorgente_build::linea},
          std::tuple{&treno, "del treno", &s.treno, &r.codifica_treno, sorgente_build::treno}}) {
      std::string byte;
      if (esito e = sistema.leggi(*percorso, byte); !e)
        return fine(uscita_uso_errato, std::string("impossibile leggere il sorgente ") + quale + " \"" +
                                           testo_percorso(*percorso) + "\": " + e.motivo);
      sorgente_pronta p = prepara_sorgente(byte, q.codifica, sorgente);
      s.diagnostiche.insert(s.diagnostiche.end(), p.diagnostiche.begin(), p.diagnostiche.end());
      if (!p.testo) {
        // A character that cannot be held: no build; the place is the
        // report.
        r.esito.diagnostiche = std::move(s.diagnostiche);
        r.stato = uscita_uso_errato;
        return false;
      }
      *testo = std::move(*p.testo);
      *codifica = p.codifica;
    }
    return true;
  }

  // The output folder: a folder, no binary file in a source's place, and
  // made when missing.
  bool prepara_destinazione() {
    const fs::path& destinazione = q.cartella_destinazione;
    if (sistema.esiste(destinazione) && !sistema.e_cartella(destinazione))
      return fine(uscita_uso_errato, "la cartella di uscita " + tra_virgolette(destinazione) + " non è una cartella");
    for (const std::string& b : binari) {
      const fs::path file = destinazione / percorso_da_testo(b);
      if (sistema.stesso_file(file, linea) || sistema.stesso_file(file, treno))
        return fine(uscita_uso_errato,
                    "il file binario " + tra_virgolette(file) + " prenderebbe il posto di un sorgente");
    }
    if (!sistema.esiste(destinazione)) {
      if (esito e = sistema.crea_cartella(destinazione); !e)
        return fine(uscita_errore_file,
                    "impossibile creare la cartella di uscita " + tra_virgolette(destinazione) + ": " + e.motivo);
    }
    return true;
  }

  // The binary files the compile made, each written whole into the output
  // folder in the build's order; the first that fails stops the rest.
  void scrivi(const compilazione& c) {
    const std::vector<std::string_view> immagini = c.immagini();
    for (size_t i = 0; i < immagini.size() && i < binari.size(); ++i) {
      const fs::path a = q.cartella_destinazione / percorso_da_testo(binari[i]);
      if (auto g = scrivi_per_intero(sistema, a, immagini[i])) {
        r.stato = uscita_errore_file;
        r.righe.push_back("impossibile " + g->azione + " il file " + tra_virgolette(a) + ": " + g->motivo);
        break;
      }
      r.file.push_back(binari[i]);
    }
  }
};

}  // namespace

std::pair<fs::path, fs::path> sorgenti_di(const richiesta_build& q) {
  const nomi_file nomi = nomi_dei_file(q.nome, q.numero);
  return {q.linea.value_or(percorso_da_testo(nomi.sorgente_linea)),
          q.treno.value_or(percorso_da_testo(nomi.sorgente_treno))};
}

std::vector<fs::path> file_letti(const richiesta_build& q) {
  if (q.cartella) {
    std::vector<fs::path> f;
    for (std::string_view nome : file_cartella_scenario) f.push_back(*q.cartella / nome);
    return f;
  }
  const auto [linea, treno] = sorgenti_di(q);
  return {linea, treno};
}

sorgenti_build sorgenti_da_cartella(const scenario& s, const std::vector<diagnostica>& avvisi) {
  const std::array<std::string, 7> file = file_cartella(s);
  sorgenti_build b;
  b.nome_scenario = s.nome_scenario;
  b.numero_treno = s.numero_treno;
  b.linea = file[2];
  b.treno = file[3];
  for (const diagnostica& d : avvisi)
    if (d.livello != gravita::errore) b.diagnostiche.push_back(d);
  return b;
}

std::string righe_contenuto_perso(const std::vector<const diagnostica*>& persi, const nomi_sorgenti& nomi) {
  const size_t n = persi.size();
  std::string t = std::to_string(n) + (n == 1 ? " avviso dice" : " avvisi dicono") +
                  " che qualcosa di scritto va perso o cambia nei file:\n";
  for (const diagnostica* d : persi) {
    const std::string& file = nomi.di(d->dove);
    t += "  " + (file.empty() ? std::string() : prefisso_luogo(file, d->dove.riga, d->dove.colonna)) + "[" +
         codice_di(*d) + "]\n";
  }
  return t;
}

std::optional<std::string> problema_nomi(const richiesta_build& q) {
  if (q.cartella) return std::nullopt;
  if (auto e = problema_opzione("--name", q.nome)) return e;
  if (auto e = problema_opzione("--number", q.numero)) return e;
  if (auto e = problema_lunghezza(q.nome, q.numero)) return "--name e --number: " + *e;
  return std::nullopt;
}

rapporto_build costruisci(piattaforma& sistema, const richiesta_build& q, compilazione* compilato) {
  rapporto_build r;
  passi passo{sistema, q, r, {}, {}, {}};
  sorgenti_build s;
  if (!passo.prepara(s) || !passo.prepara_destinazione()) return r;

  compilazione c;
  try {
    c = compila(sistema, s);
  } catch (const std::exception& e) {
    // The build meets any fault of its sources as an error of its own; this
    // is a fault of the build itself, or memory run out.
    r.stato = uscita_errore_file;
    r.righe.push_back(std::string("errore interno della costruzione: ") + e.what());
    return r;
  }
  riporta_compilazione(r, c.esito, q.avvisi_come_errori);
  passo.scrivi(c);
  if (!r.esito.griglia_dimensionata)
    r.righe.push_back("nessun file binario scritto: la lunghezza del percorso non ha dimensionato la griglia");
  else if (r.esito.timbro_fallito != 0)
    r.righe.push_back("nessun file binario scritto");
  if (compilato) *compilato = std::move(c);
  return r;
}

void riporta_compilazione(rapporto_build& r, esito_build e, bool avvisi_come_errori) {
  r.esito = std::move(e);
  if (!r.esito.riuscito()) r.stato = std::max(r.stato, uscita_errore);
  const size_t n = r.esito.quanti_avvisi() + r.esito.avvisi_omessi;
  if (avvisi_come_errori && n > 0) {
    r.righe.push_back(std::to_string(n) + (n == 1 ? " avviso, trattato come errore" : " avvisi, trattati come errori") +
                      " (--werror)");
    r.stato = std::max(r.stato, uscita_errore);
  }
}

void scrivi_rapporto(const rapporto_build& r, bool mostra_riga, std::ostream& errori) {
  for (const diagnostica& d : r.esito.diagnostiche) {
    errori << riga_gnu(d, r.sorgenti.di(d.dove)) << '\n';
    if (mostra_riga && d.dove.riga > 0 && d.dove.colonna > 0) errori << riga_con_segno(d.citata, d.dove.colonna);
    // The other places it is about, each as a note of its own that editors
    // jump to as well.
    for (const luogo_correlato& c : d.correlati) {
      const std::string& file = r.sorgenti.di(c.dove);
      errori << (file.empty() ? std::string() : prefisso_luogo(file, c.dove.riga, c.dove.colonna)) << "nota: "
             << c.testo << '\n';
    }
  }
  for (const std::string& riga : r.righe) errori << riga << '\n';
}

nlohmann::json json_rapporto(const rapporto_build& r) {
  using json = nlohmann::json;
  const esito_build& e = r.esito;
  const diagnostica* errore = e.errore();
  // The first error's words: the build error's, else the failed stamp check's.
  const diagnostica* primo = errore;
  for (const diagnostica& d : e.diagnostiche)
    if (!primo && d.livello == gravita::errore) primo = &d;
  const std::string* sorgente = errore && errore->dove.sorgente != sorgente_build::nessuna ? &r.sorgenti.di(errore->dove) : nullptr;

  json j;
  j["codice_errore"] = e.codice_errore;
  j["posizione_errore"] = e.posizione.value_or(0);
  j["grid_sized"] = e.griglia_dimensionata;
  j["errore"] = e.timbro_fallito != 0 ? json(std::to_string(e.timbro_fallito)) : json(nullptr);
  j["files"] = r.file;
  j["text"] = primo ? json(primo->testo) : json(nullptr);
  j["source"] = sorgente ? json(*sorgente) : json(nullptr);
  j["source_line"] = sorgente && errore->dove.riga > 0 ? json(errore->dove.riga) : json(nullptr);
  j["source_column"] =
      sorgente && errore->dove.riga > 0 && errore->dove.colonna > 0 ? json(errore->dove.colonna) : json(nullptr);
  if (r.codifica_linea && r.codifica_treno)
    j["encodings"] = {{"line", nome_codifica(*r.codifica_linea)}, {"train", nome_codifica(*r.codifica_treno)}};
  j["warnings"] = json::array();
  j["diagnostics"] = json::array();
  for (const diagnostica& d : e.diagnostiche) {
    if (d.livello == gravita::avviso) j["warnings"].push_back(json_avviso(d, r.sorgenti.di(d.dove)));
    j["diagnostics"].push_back(json_diagnostica(d, r.sorgenti));
  }
  j["messages"] = r.righe;
  j["status"] = r.stato;
  return j;
}

int comando_build(piattaforma& sistema, const richiesta_build& richiesta, bool json, bool mostra_riga,
                  std::ostream& stampa, std::ostream& errori, std::ostream* riepilogo) {
  const auto inizio = std::chrono::steady_clock::now();
  const rapporto_build r = costruisci(sistema, richiesta);
  scrivi_rapporto(r, mostra_riga && !json, errori);
  // Bad use means no build ran: there is nothing to report as its outcome.
  // The object goes on one line, for tools that read the output line by line.
  if (json && r.stato != uscita_uso_errato)
    stampa << json_rapporto(r).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  if (riepilogo && r.stato == uscita_riuscita)
    *riepilogo << riga_riepilogo("build",
                                 "\"" + r.nome + "\" " + r.numero + ", " + std::to_string(r.file.size()) +
                                     " file binari scritti in " + tra_virgolette(richiesta.cartella_destinazione),
                                 true, r.esito.quanti_avvisi() + r.esito.avvisi_omessi,
                                 quanti_persi(r.esito.diagnostiche), std::chrono::steady_clock::now() - inizio)
               << std::endl;
  return r.stato;
}

// The build command in its steps: the request checked and the sources read,
// the output folder made ready, the build run in a private working folder,
// its binary files moved out, and the outcome turned into the report.
#include "costruzione.h"

#include <tuple>

#include "avvisi_autore.h"
#include "driver/errori_build.h"
#include "driver/form1.h"
#include "driver/scrittura_intera.h"
#include "luogo_sorgente.h"
#include "model/windows1252.h"
#include "piattaforma_strumento.h"
#include "sorgente_autore.h"
#include "platform/testo_percorso.h"

namespace fs = std::filesystem;

namespace {

// The working folder's name, inside the output folder, before its unique end.
constexpr std::string_view prefisso_lavoro = ".scenario-build-";

// The line and column of an error, where the build knows them.
std::optional<int32_t> riga_nota(const esito_build& e) { return e.riga > 0 ? std::optional(e.riga) : std::nullopt; }
std::optional<int32_t> colonna_nota(const esito_build& e) {
  return e.riga > 0 && e.colonna > 0 ? std::optional(e.colonna) : std::nullopt;
}

// Why the option's value cannot be a scenario's name, or nothing.
std::optional<std::string> problema_opzione(const char* opzione, const std::string& valore) {
  if (auto p = problema_nome_utf8(valore)) return std::string(opzione) + " \"" + valore + "\" " + *p;
  return std::nullopt;
}

// One binary file: its name inside the build (Windows-1252) and in the
// output folder (as given).
struct file_binario {
  std::string nome_build;
  std::string nome_uscita;
};

// What the build of a request works with once the request has been checked.
struct preparazione {
  fs::path linea, treno;  // the author's sources, as given
  std::string testo_linea, testo_treno;  // Windows-1252, as the build reads them
  std::string nome, numero;          // the two names as the build holds them, Windows-1252
  std::vector<file_binario> binari;  // in the order the build writes them
  // The warnings of reading the sources, before the build's own.
  std::vector<avviso_build> avvisi;
};

// Each step returns false when the command ends there, the report filled.
struct passi {
  piattaforma& sistema;
  const richiesta_build& q;
  rapporto_build& r;

  bool fine(int stato, std::string riga) {
    r.stato = stato;
    r.righe.push_back(std::move(riga));
    return false;
  }

  // The names, the sources read, and what the build will write.
  bool prepara(preparazione& p) {
    if (auto e = problema_nomi(q)) return fine(uscita_uso_errato, *e);

    // The names in the output folder as given, those inside the build in
    // Windows-1252, as the build itself holds them.
    p.nome = da_utf8_a_cp1252(q.nome);
    p.numero = da_utf8_a_cp1252(q.numero);
    const nomi_file nomi_uscita = nomi_dei_file(q.nome, q.numero);
    const nomi_file nomi_build = nomi_dei_file(p.nome, p.numero);
    std::tie(p.linea, p.treno) = sorgenti_di(q);
    r.file_linea = testo_percorso(p.linea);
    r.file_treno = testo_percorso(p.treno);
    if (!q.senza_linea) p.binari.push_back({nomi_build.file_linea, nomi_uscita.file_linea});
    p.binari.push_back({nomi_build.file_sim, nomi_uscita.file_sim});
    p.binari.push_back({nomi_build.file_dat, nomi_uscita.file_dat});

    // Each source read and converted to Windows-1252 as its encoding says.
    for (auto [percorso, quale, testo, codifica, s] :
         {std::tuple{&p.linea, "della linea", &p.testo_linea, &r.codifica_linea, sorgente_build::linea},
          std::tuple{&p.treno, "del treno", &p.testo_treno, &r.codifica_treno, sorgente_build::treno}}) {
      lettura_sorgente l = leggi_sorgente_autore(sistema, *percorso, quale, q.codifica);
      if (!l.sorgente) {
        r.citata = std::move(l.citata);
        return fine(uscita_uso_errato, std::move(l.messaggio));
      }
      *testo = std::move(l.sorgente->testo);
      *codifica = l.sorgente->codifica;
      if (const auto& m = l.sorgente->misto)
        p.avvisi.push_back(
            {s, m->riga, m->colonna, codice_avviso::codifica_mista, testo_codifica_mista(m->carattere)});
    }
    return true;
  }

  // The output folder: a folder, no binary file in a source's place, and
  // made when missing.
  bool prepara_uscita(const preparazione& p) {
    const fs::path& uscita = q.uscita;
    if (sistema.esiste(uscita) && !sistema.e_cartella(uscita))
      return fine(uscita_uso_errato, "la cartella di uscita " + tra_virgolette(uscita) + " non è una cartella");
    for (const file_binario& b : p.binari) {
      const fs::path destinazione = uscita / percorso_da_testo(b.nome_uscita);
      if (sistema.stesso_file(destinazione, p.linea) || sistema.stesso_file(destinazione, p.treno))
        return fine(uscita_uso_errato,
                    "il file binario " + tra_virgolette(destinazione) + " prenderebbe il posto di un sorgente");
    }
    if (!sistema.esiste(uscita)) {
      if (esito e = sistema.crea_cartella(uscita); !e)
        return fine(uscita_errore_file,
                    "impossibile creare la cartella di uscita " + tra_virgolette(uscita) + ": " + e.motivo);
    }
    return true;
  }

  // The build in the working folder `lavoro`, on copies of the sources under
  // the names the build expects, and its binary files moved out.
  void costruisci_in(const fs::path& lavoro, const preparazione& p) {
    piattaforma_strumento sistema_build(sistema, lavoro);
    Form1 form(sistema_build);
    form.nome_scenario = p.nome;
    form.numero_treno = p.numero;
    for (const auto& [nome, testo] : {std::pair{form.nome_sorgente_linea(), &p.testo_linea},
                                      std::pair{form.nome_sorgente_treno(), &p.testo_treno}}) {
      if (auto g = scrivi_per_intero(sistema, form.percorso_file(nome), *testo)) {
        fine(uscita_errore_file, "impossibile copiare il sorgente nella cartella di lavoro " +
                                     tra_virgolette(lavoro) + ": " + g->motivo);
        return;
      }
    }

    // The build returns its outcome; it ends early only when a file
    // operation fails, and the platform has recorded which.
    int32_t j = q.senza_linea ? 0 : 1;
    std::string interno;
    bool finita = false;
    try {
      r.esito = form.memorizza_percorso(j);
      finita = true;
    } catch (const fine_programma&) {
      r.esito = form.esito_della_build();
      if (!sistema_build.primo_guasto) interno = "la costruzione si è fermata senza un guasto di file";
    } catch (const std::exception& e) {
      r.esito = form.esito_della_build();
      interno = e.what();
    }
    riporta_esito(p, interno);
    if (sistema_build.primo_guasto) riporta_guasto(form, p, *sistema_build.primo_guasto);
    sposta_binari(form, p);
    if (finita && q.col_modello) q.col_modello(form);
  }

  // The source line of a message at (riga, colonna) of source `s`, named
  // `file`; nothing when the place is not known.
  static std::optional<citazione> citata(const preparazione& p, const std::string& file, sorgente_build s,
                                         int32_t riga, int32_t colonna) {
    const std::string* testo = s == sorgente_build::linea   ? &p.testo_linea
                               : s == sorgente_build::treno ? &p.testo_treno
                                                            : nullptr;
    if (!testo || riga <= 0 || colonna <= 0) return std::nullopt;
    return citazione{file, riga, colonna, riga_mostrabile(da_cp1252_a_utf8(riga_del_testo(*testo, riga)))};
  }

  // The build's warnings, error and stamp check in words, as the author
  // reads them.
  void riporta_esito(const preparazione& p, const std::string& interno) {
    // The sources' own warnings join the build's, by source and place.
    std::vector<avviso_build>& avvisi = r.esito.avvisi;
    avvisi.insert(avvisi.begin(), p.avvisi.begin(), p.avvisi.end());
    ordina_avvisi(avvisi);
    const esito_build& e = r.esito;
    for (const avviso_build& a : e.avvisi)
      r.avvisi.push_back({riga_avviso(a, r.file_linea, r.file_treno),
                          citata(p, file_dell_avviso(a, r.file_linea, r.file_treno), a.sorgente, a.riga, a.colonna)});
    // An error names the build's copy of a source, which stands for the
    // author's file.
    if (e.sorgente == sorgente_build::linea) r.sorgente = testo_percorso(p.linea);
    if (e.sorgente == sorgente_build::treno) r.sorgente = testo_percorso(p.treno);
    if (e.codice_errore != 0) {
      std::string prefisso;
      if (r.sorgente) prefisso = prefisso_luogo(*r.sorgente, riga_nota(e), colonna_nota(e));
      riga_errore(prefisso, e.codice_errore, e.posizione, e.dettaglio);
      // The line the error is about, with a caret under its column.
      if (r.sorgente && colonna_nota(e)) r.citata = citata(p, *r.sorgente, e.sorgente, e.riga, e.colonna);
    }
    if (e.timbro_fallito != 0) riga_errore("", e.timbro_fallito, std::nullopt, e.dettaglio_timbro);
    if (!interno.empty()) {
      r.stato = uscita_errore_file;
      r.righe.push_back("errore interno della costruzione: " + interno);
    }
    if (!e.riuscito()) r.stato = std::max(r.stato, uscita_errore);
    if (q.avvisi_come_errori && !e.avvisi.empty()) {
      const size_t n = e.avvisi.size();
      r.righe.push_back(std::to_string(n) + (n == 1 ? " avviso, trattato come errore" : " avvisi, trattati come errori") +
                        " (--werror)");
      r.stato = std::max(r.stato, uscita_errore);
    }
  }

  // The error's line of the report; the first one's words, without the
  // place, also stand in the JSON object.
  void riga_errore(const std::string& prefisso, int32_t codice, std::optional<int32_t> posizione,
                   const std::string& dettaglio) {
    const descrizione_errore* d = cerca_errore(codice);
    std::string testo = "Errore n. " + std::to_string(codice);
    if (posizione) testo += " a " + std::to_string(*posizione) + " m";
    testo += ": ";
    testo += d ? std::string(d->significato) : "errore sconosciuto";
    if (!dettaglio.empty()) testo += " (" + dettaglio + ")";
    r.righe.push_back(prefisso + testo);
    if (!r.testo_errore) r.testo_errore = testo;
  }

  // A failed write of the build, naming the file as the author knows it: its
  // place in the output folder.
  void riporta_guasto(const Form1& form, const preparazione& p, const guasto_scrittura& g) {
    fs::path mostrato = g.percorso;
    for (const file_binario& b : p.binari) {
      const fs::path nella_build = form.percorso_file(b.nome_build);
      if (g.percorso == nella_build || g.percorso == percorso_temporaneo(nella_build))
        mostrato = q.uscita / percorso_da_testo(b.nome_uscita);
    }
    r.stato = uscita_errore_file;
    r.righe.push_back("impossibile " + g.azione + " il file " + tra_virgolette(mostrato) + ": " + g.motivo);
  }

  // Each binary file the build wrote, out of the working folder into the
  // output folder, in the build's order; the first that cannot go stops it.
  void sposta_binari(const Form1& form, const preparazione& p) {
    for (const file_binario& b : p.binari) {
      const fs::path da = form.percorso_file(b.nome_build);
      if (!sistema.esiste(da)) continue;
      const fs::path a = q.uscita / percorso_da_testo(b.nome_uscita);
      if (esito e = sistema.rinomina(da, a); !e) {
        r.stato = uscita_errore_file;
        r.righe.push_back("impossibile scrivere il file " + tra_virgolette(a) + ": " + e.motivo);
        break;
      }
      r.file.push_back(b.nome_uscita);
    }
    if (!r.esito.griglia_dimensionata)
      r.righe.push_back("nessun file binario scritto: la lunghezza del percorso non ha dimensionato la griglia");
    else if (r.esito.timbro_fallito != 0)
      r.righe.push_back("nessun file binario scritto");
  }
};

}  // namespace

std::pair<fs::path, fs::path> sorgenti_di(const richiesta_build& q) {
  const nomi_file nomi = nomi_dei_file(q.nome, q.numero);
  return {q.linea.value_or(percorso_da_testo(nomi.sorgente_linea)),
          q.treno.value_or(percorso_da_testo(nomi.sorgente_treno))};
}

std::optional<std::string> problema_nomi(const richiesta_build& q) {
  if (auto e = problema_opzione("--name", q.nome)) return e;
  if (auto e = problema_opzione("--number", q.numero)) return e;
  if (auto e = problema_lunghezza(q.nome, q.numero)) return "--name e --number: " + *e;
  return std::nullopt;
}

rapporto_build costruisci(piattaforma& sistema, const richiesta_build& q) {
  rapporto_build r;
  passi passo{sistema, q, r};
  preparazione p;
  if (!passo.prepara(p) || !passo.prepara_uscita(p)) return r;

  fs::path lavoro;
  if (esito e = sistema.crea_cartella_temporanea(q.uscita, prefisso_lavoro, lavoro); !e) {
    passo.fine(uscita_errore_file,
               "impossibile creare una cartella di lavoro in " + tra_virgolette(q.uscita) + ": " + e.motivo);
    return r;
  }
  passo.costruisci_in(lavoro, p);
  // The working folder goes whatever happened in it.
  if (esito e = sistema.rimuovi_cartella(lavoro); !e) {
    r.stato = uscita_errore_file;
    r.righe.push_back("impossibile rimuovere la cartella di lavoro " + tra_virgolette(lavoro) + ": " + e.motivo);
  }
  return r;
}

nlohmann::json json_rapporto(const rapporto_build& r) {
  nlohmann::json j;
  const esito_build& e = r.esito;
  j["codice_errore"] = e.codice_errore;
  j["posizione_errore"] = e.posizione.value_or(0);
  j["grid_sized"] = e.griglia_dimensionata;
  j["errore"] = e.timbro_fallito != 0 ? nlohmann::json(std::to_string(e.timbro_fallito)) : nlohmann::json(nullptr);
  j["files"] = r.file;
  j["text"] = r.testo_errore ? nlohmann::json(*r.testo_errore) : nlohmann::json(nullptr);
  j["source"] = r.sorgente ? nlohmann::json(*r.sorgente) : nlohmann::json(nullptr);
  j["source_line"] = r.sorgente && riga_nota(e) ? nlohmann::json(e.riga) : nlohmann::json(nullptr);
  j["source_column"] = r.sorgente && colonna_nota(e) ? nlohmann::json(e.colonna) : nlohmann::json(nullptr);
  if (r.codifica_linea && r.codifica_treno)
    j["encodings"] = {{"line", nome_codifica(*r.codifica_linea)}, {"train", nome_codifica(*r.codifica_treno)}};
  j["warnings"] = nlohmann::json::array();
  for (const avviso_build& a : e.avvisi) j["warnings"].push_back(json_avviso(a, r.file_linea, r.file_treno));
  return j;
}

int comando_build(piattaforma& sistema, const richiesta_build& richiesta, bool json, bool mostra_riga,
                  std::ostream& uscita, std::ostream& errori) {
  rapporto_build r = costruisci(sistema, richiesta);
  for (const avviso_riportato& a : r.avvisi) {
    errori << a.riga << '\n';
    if (mostra_riga && !json && a.citata) errori << riga_con_segno(*a.citata);
  }
  for (size_t i = 0; i < r.righe.size(); ++i) {
    errori << r.righe[i] << '\n';
    if (i == 0 && mostra_riga && !json && r.citata) errori << riga_con_segno(*r.citata);
  }
  // Bad use means no build ran: there is nothing to report as its outcome.
  // The object goes on one line, for tools that read the output line by line.
  if (json && r.stato != uscita_uso_errato)
    uscita << json_rapporto(r).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  return r.stato;
}

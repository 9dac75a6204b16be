// The build command: checks of the request, the private working folder, the
// run of the core, the move of its binary files, and the report.
#include "costruzione.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>

#include "driver/errori_build.h"
#include "driver/form1.h"
#include "model/windows1252.h"
#include "piattaforma_strumento.h"
#include "platform/piattaforma_posix.h"

namespace fs = std::filesystem;

namespace {

std::string tra_virgolette(const fs::path& p) { return "\"" + p.string() + "\""; }

// Why the option's value cannot be a scenario's name, or nothing.
std::optional<std::string> problema_opzione(const char* opzione, const std::string& valore) {
  if (auto p = problema_nome(valore)) return std::string(opzione) + " \"" + valore + "\" " + *p;
  return std::nullopt;
}

// Removes the working folder and all it holds when the build is over.
class cartella_lavoro {
 public:
  // Creates a new, private folder inside `dentro`; empty path on failure,
  // with the system's reason in `motivo`.
  static fs::path crea(const fs::path& dentro, std::string& motivo) {
    std::string modello = (dentro / ".scenario-build-XXXXXX").string();
    if (::mkdtemp(modello.data()) == nullptr) {
      motivo = std::strerror(errno);
      return {};
    }
    return modello;
  }
  explicit cartella_lavoro(fs::path p) : percorso_(std::move(p)) {}
  ~cartella_lavoro() {
    std::error_code ec;
    fs::remove_all(percorso_, ec);
  }
  cartella_lavoro(const cartella_lavoro&) = delete;
  cartella_lavoro& operator=(const cartella_lavoro&) = delete;
  const fs::path& percorso() const { return percorso_; }

 private:
  fs::path percorso_;
};

// Writes `contenuto` as a new file through the platform; the reason on failure.
esito scrivi_copia(piattaforma& sistema, const fs::path& p, const std::string& contenuto) {
  std::unique_ptr<file_in_scrittura> f;
  if (esito e = sistema.crea(p, f); !e) return e;
  if (esito e = f->scrivi(contenuto); !e) return e;
  return f->chiudi();
}

bool stesso_file(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::exists(a, ec) && fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

// One binary file: its name inside the build (Windows-1252) and in the
// output folder (as given).
struct file_binario {
  std::string nome_build;
  std::string nome_uscita;
};

void aggiungi_errore_build(rapporto_build& r, const std::string& prefisso, int32_t codice,
                           std::optional<int32_t> posizione, const std::string& dettaglio) {
  const descrizione_errore* d = cerca_errore(codice);
  std::string riga = prefisso + "Errore n. " + std::to_string(codice);
  if (posizione) riga += " a " + std::to_string(*posizione) + " m";
  riga += ": ";
  riga += d ? std::string(d->significato) : "errore sconosciuto";
  if (!dettaglio.empty()) riga += " (" + dettaglio + ")";
  r.righe.push_back(riga);
}

}  // namespace

rapporto_build costruisci(const richiesta_build& q) {
  rapporto_build r;
  auto uso_errato = [&](std::string riga) {
    r.stato = uscita_uso_errato;
    r.righe.push_back(std::move(riga));
    return r;
  };
  auto errore_file = [&](std::string riga) {
    r.stato = uscita_errore_file;
    r.righe.push_back(std::move(riga));
    return r;
  };

  // --- the request ------------------------------------------------------------
  if (auto p = problema_opzione("--name", q.nome)) return uso_errato(*p);
  if (auto p = problema_opzione("--number", q.numero)) return uso_errato(*p);
  if (auto p = problema_lunghezza(q.nome, q.numero)) return uso_errato("--name e --number: " + *p);

  // The names in the output folder as given, those inside the build in
  // Windows-1252, as the build itself holds them.
  const nomi_file nomi_uscita = nomi_dei_file(q.nome, q.numero);
  const nomi_file nomi_build = nomi_dei_file(da_utf8_a_cp1252(q.nome), da_utf8_a_cp1252(q.numero));
  const fs::path linea = q.linea.value_or(fs::path(nomi_uscita.sorgente_linea));
  const fs::path treno = q.treno.value_or(fs::path(nomi_uscita.sorgente_treno));
  const fs::path& uscita = q.uscita;

  piattaforma_posix lettore(fs::current_path());
  std::string testo_linea, testo_treno;
  if (esito e = lettore.leggi(linea, testo_linea); !e)
    return uso_errato("impossibile leggere il sorgente della linea " + tra_virgolette(linea) + ": " + e.motivo);
  if (esito e = lettore.leggi(treno, testo_treno); !e)
    return uso_errato("impossibile leggere il sorgente del treno " + tra_virgolette(treno) + ": " + e.motivo);

  std::vector<file_binario> binari;
  if (!q.senza_linea) binari.push_back({nomi_build.file_linea, nomi_uscita.file_linea});
  binari.push_back({nomi_build.file_sim, nomi_uscita.file_sim});
  binari.push_back({nomi_build.file_dat, nomi_uscita.file_dat});

  std::error_code ec;
  if (fs::exists(uscita, ec) && !fs::is_directory(uscita, ec))
    return uso_errato("la cartella di uscita " + tra_virgolette(uscita) + " non è una cartella");
  for (const file_binario& b : binari) {
    if (stesso_file(uscita / b.nome_uscita, linea) || stesso_file(uscita / b.nome_uscita, treno))
      return uso_errato("il file binario " + tra_virgolette(uscita / b.nome_uscita) +
                        " prenderebbe il posto di un sorgente");
  }

  // --- the working folder -----------------------------------------------------
  if (!fs::exists(uscita, ec)) {
    fs::create_directories(uscita, ec);
    if (ec) return errore_file("impossibile creare la cartella di uscita " + tra_virgolette(uscita) + ": " + ec.message());
  }
  std::string motivo;
  fs::path percorso_lavoro = cartella_lavoro::crea(uscita, motivo);
  if (percorso_lavoro.empty())
    return errore_file("impossibile creare una cartella di lavoro in " + tra_virgolette(uscita) + ": " + motivo);
  cartella_lavoro lavoro(percorso_lavoro);

  piattaforma_posix interna(lavoro.percorso());
  piattaforma_strumento sistema(interna);
  Form1 form(sistema);
  form.nome_scenario = da_utf8_a_cp1252(q.nome);
  form.numero_treno = da_utf8_a_cp1252(q.numero);

  for (const auto& [nome, contenuto] :
       {std::pair{form.nome_sorgente_linea(), &testo_linea}, std::pair{form.nome_sorgente_treno(), &testo_treno}}) {
    if (esito e = scrivi_copia(interna, form.percorso_file(nome), *contenuto); !e)
      return errore_file("impossibile copiare il sorgente nella cartella di lavoro " +
                         tra_virgolette(lavoro.percorso()) + ": " + e.motivo);
  }

  // --- the build --------------------------------------------------------------
  // The build returns its outcome; it ends early only when a file operation
  // fails, and the platform has recorded which.
  int32_t j = q.senza_linea ? 0 : 1;
  std::string interno;
  try {
    r.esito = form.memorizza_percorso(j);
  } catch (const fine_programma&) {
    r.esito = form.esito_della_build();
    if (!sistema.primo_guasto) interno = "la costruzione si è fermata senza un guasto di file";
  } catch (const std::exception& e) {
    r.esito = form.esito_della_build();
    interno = e.what();
  }

  // An error names the build's copy of a source, which stands for the
  // author's file.
  const esito_build& e = r.esito;
  if (e.sorgente == sorgente_build::linea) r.sorgente = linea.string();
  if (e.sorgente == sorgente_build::treno) r.sorgente = treno.string();
  if (e.codice_errore != 0) {
    std::string prefisso;
    if (r.sorgente) prefisso = *r.sorgente + (e.riga > 0 ? ":" + std::to_string(e.riga) : "") + ": ";
    aggiungi_errore_build(r, prefisso, e.codice_errore, e.posizione, e.dettaglio);
  }
  if (e.timbro_fallito != 0) aggiungi_errore_build(r, "", e.timbro_fallito, std::nullopt, "");
  if (!interno.empty()) {
    r.stato = uscita_errore_file;
    r.righe.push_back("errore interno della costruzione: " + interno);
  }
  if (!e.riuscito()) r.stato = std::max(r.stato, uscita_errore);

  if (sistema.primo_guasto) {
    // Name the file as the author knows it: its place in the output folder.
    const auto& g = *sistema.primo_guasto;
    std::string nome = g.percorso.filename().string();
    if (nome.ends_with(fine_temporanea)) nome.resize(nome.size() - fine_temporanea.size());
    fs::path mostrato = g.percorso;
    for (const file_binario& b : binari)
      if (sistema.nome_file(b.nome_build).string() == nome) mostrato = uscita / b.nome_uscita;
    r.stato = uscita_errore_file;
    r.righe.push_back("impossibile " + g.azione + " il file " + tra_virgolette(mostrato) + ": " + g.motivo);
  }

  // --- the binary files into the output folder --------------------------------
  for (const file_binario& b : binari) {
    const fs::path da = form.percorso_file(b.nome_build);
    if (!interna.esiste(da)) continue;
    const fs::path a = uscita / b.nome_uscita;
    if (esito e = interna.rinomina(da, a); !e) {
      r.stato = uscita_errore_file;
      r.righe.push_back("impossibile scrivere il file " + tra_virgolette(a) + ": " + e.motivo);
      break;
    }
    r.file.push_back(b.nome_uscita);
  }
  if (!e.griglia_dimensionata)
    r.righe.push_back("nessun file binario scritto: la lunghezza del percorso non ha dimensionato la griglia");
  else if (e.timbro_fallito != 0)
    r.righe.push_back("nessun file binario scritto");
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
  j["source"] = r.sorgente ? nlohmann::json(*r.sorgente) : nlohmann::json(nullptr);
  j["source_line"] = r.sorgente && e.riga > 0 ? nlohmann::json(e.riga) : nlohmann::json(nullptr);
  return j;
}

int comando_build(const richiesta_build& richiesta, bool json, std::ostream& uscita, std::ostream& errori) {
  rapporto_build r = costruisci(richiesta);
  for (const std::string& riga : r.righe) errori << riga << '\n';
  // Bad use means no build ran: there is nothing to report as its outcome.
  // The object goes on one line, for tools that read the output line by line.
  if (json && r.stato != uscita_uso_errato)
    uscita << json_rapporto(r).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  return r.stato;
}

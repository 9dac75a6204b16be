// The build command: checks of the request, the private working folder, the
// run of the core, the move of its binary files, and the report.
#include "costruzione.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>

#include "driver/form1.h"
#include "errori_build.h"
#include "luogo_sorgente.h"
#include "model/windows1252.h"
#include "piattaforma_strumento.h"
#include "platform/piattaforma_posix.h"
#include "sorgente_autore.h"

namespace fs = std::filesystem;

namespace {

// The longest file name most file systems take; the build's longest name is
// a binary file's with its temporary ending.
constexpr size_t nome_file_massimo = 255;
constexpr std::string_view fine_temporanea = ".parziale";

std::string tra_virgolette(const fs::path& p) { return "\"" + p.string() + "\""; }

// Why `testo` cannot be part of a file name of the output folder, or nothing.
std::optional<std::string> problema_nome(std::string_view testo, const char* opzione) {
  const std::string chi = std::string(opzione) + " \"" + std::string(testo) + "\"";
  if (testo.empty()) return std::string(opzione) + " è vuoto";
  if (testo.find('/') != std::string_view::npos || testo.find('\\') != std::string_view::npos)
    return chi + " contiene un separatore di cartelle: i file finirebbero fuori dalla cartella di uscita";
  if (testo.find("..") != std::string_view::npos) return chi + " contiene \"..\"";
  for (char c : testo)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return chi + " contiene un carattere di controllo";
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

void aggiungi_errore_build(rapporto_build& r, const std::string& prefisso, int32_t codice, int32_t posizione,
                           const std::string& dettaglio) {
  const descrizione_errore* d = cerca_errore(codice);
  std::string riga = prefisso + "Errore n. " + std::to_string(codice);
  if (d && d->ha_posizione) riga += " a " + std::to_string(posizione) + " m";
  riga += ": ";
  riga += d ? std::string(d->significato) : "errore sconosciuto";
  if (!dettaglio.empty()) riga += " (" + dettaglio + ")";
  r.righe.push_back(riga);
}

}  // namespace

rapporto_build costruisci(const richiesta_build& q) {
  rapporto_build r;
  auto uso_errato = [&](std::string riga, std::string estratto = {}) {
    r.stato = uscita_uso_errato;
    r.righe.push_back(std::move(riga));
    r.estratto = std::move(estratto);
    return r;
  };
  auto errore_file = [&](std::string riga) {
    r.stato = uscita_errore_file;
    r.righe.push_back(std::move(riga));
    return r;
  };

  // --- the request ------------------------------------------------------------
  if (auto p = problema_nome(q.nome, "--name")) return uso_errato(*p);
  if (auto p = problema_nome(q.numero, "--number")) return uso_errato(*p);
  if (q.nome.size() + 1 + q.numero.size() + std::string_view(".sim").size() + fine_temporanea.size() >
      nome_file_massimo)
    return uso_errato("--name e --number insieme danno nomi di file troppo lunghi");

  const fs::path linea = q.linea.value_or(fs::path(q.nome + "_linea.txt"));
  const fs::path treno = q.treno.value_or(fs::path(q.nome + "_" + q.numero + "-.txt"));
  const fs::path& uscita = q.uscita;

  piattaforma_posix lettore(fs::current_path());
  lettura_sorgente sorgente_linea = leggi_sorgente_autore(lettore, linea, "della linea", q.codifica);
  if (!sorgente_linea.sorgente) return uso_errato(sorgente_linea.messaggio, sorgente_linea.estratto);
  lettura_sorgente sorgente_treno = leggi_sorgente_autore(lettore, treno, "del treno", q.codifica);
  if (!sorgente_treno.sorgente) return uso_errato(sorgente_treno.messaggio, sorgente_treno.estratto);
  const std::string& testo_linea = sorgente_linea.sorgente->testo;
  const std::string& testo_treno = sorgente_treno.sorgente->testo;
  r.codifica_linea = sorgente_linea.sorgente->codifica;
  r.codifica_treno = sorgente_treno.sorgente->codifica;

  std::vector<file_binario> binari;
  {
    // Names inside the build, as the build itself forms them.
    Form1 nomi(lettore);
    nomi.nome_scenario = da_utf8_a_cp1252(q.nome);
    nomi.numero_treno = da_utf8_a_cp1252(q.numero);
    if (!q.senza_linea) binari.push_back({nomi.nome_file_linea(), q.nome + "_linea.dat"});
    binari.push_back({nomi.nome_file_sim(), q.nome + "_" + q.numero + ".sim"});
    binari.push_back({nomi.nome_file_dat(), q.nome + "_" + q.numero + ".dat"});
  }

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
  int32_t j = q.senza_linea ? 0 : 1;
  bool finito_con_messaggio = false;
  std::string interno;
  try {
    form.memorizza_percorso(j);
  } catch (const fine_programma&) {
    finito_con_messaggio = true;
  } catch (const std::exception& e) {
    interno = e.what();
  }

  r.codice_errore = form.codice_errore;
  r.posizione_errore = form.posizione_errore;
  r.griglia_dimensionata = form.griglia_dimensionata();
  if (form.codice_errore != 0 && !form.sorgente_errore.empty() &&
      !(form.codice_errore >= 11 && form.codice_errore <= 13)) {
    // The finishing pass has no source line; the other errors name the build's
    // copy of a source, which stands for the author's file.
    const std::string* testo = nullptr;
    if (form.sorgente_errore == form.nome_sorgente_linea()) {
      r.sorgente = linea.string();
      testo = &testo_linea;
    } else if (form.sorgente_errore == form.nome_sorgente_treno()) {
      r.sorgente = treno.string();
      testo = &testo_treno;
    } else {
      r.sorgente = da_cp1252_a_utf8(form.sorgente_errore);
    }
    if (form.riga_sorgente_errore > 0) {
      r.riga_sorgente = form.riga_sorgente_errore;
      if (form.colonna_sorgente_errore > 0) r.colonna_sorgente = form.colonna_sorgente_errore;
    }
    if (testo && r.colonna_sorgente)
      r.estratto = riga_con_segno(da_cp1252_a_utf8(riga_del_testo(*testo, *r.riga_sorgente)), *r.colonna_sorgente);
  }

  // What the build says when it ends on a message: a stamp check, a recorded
  // error, or a failed file operation.
  const std::string messaggio = sistema.messaggi.empty() ? std::string() : sistema.messaggi.back();
  if (finito_con_messaggio && !sistema.primo_guasto) {
    for (const char* timbro : {"1250", "1251"})
      if (messaggio == " Errore n. " + std::string(timbro)) r.errore = timbro;
  }

  if (r.codice_errore != 0) {
    std::string prefisso;
    if (r.sorgente) prefisso = prefisso_luogo(*r.sorgente, r.riga_sorgente, r.colonna_sorgente);
    aggiungi_errore_build(r, prefisso, r.codice_errore, r.posizione_errore, form.dettaglio_errore);
  }
  if (r.errore) aggiungi_errore_build(r, "", std::stoi(*r.errore), 0, "");
  if (finito_con_messaggio && !r.errore && r.codice_errore == 0 && !sistema.primo_guasto) {
    // A message of the build that is none of the above.
    size_t inizio = messaggio.find_first_not_of(' ');
    r.righe.push_back(inizio == std::string::npos ? messaggio : messaggio.substr(inizio));
  }
  if (!interno.empty()) {
    r.stato = uscita_errore_file;
    r.righe.push_back("errore interno della costruzione: " + interno);
  }
  if (finito_con_messaggio || !interno.empty() || r.codice_errore != 0) r.stato = std::max(r.stato, uscita_errore);

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
  if (!r.griglia_dimensionata && r.stato != uscita_riuscita)
    r.righe.push_back("nessun file binario scritto: la lunghezza del percorso non ha dimensionato la griglia");
  else if (r.errore)
    r.righe.push_back("nessun file binario scritto");
  return r;
}

nlohmann::json json_rapporto(const rapporto_build& r) {
  nlohmann::json j;
  j["codice_errore"] = r.codice_errore;
  j["posizione_errore"] = r.posizione_errore;
  j["grid_sized"] = r.griglia_dimensionata;
  j["errore"] = r.errore ? nlohmann::json(*r.errore) : nlohmann::json(nullptr);
  j["files"] = r.file;
  j["source"] = r.sorgente ? nlohmann::json(*r.sorgente) : nlohmann::json(nullptr);
  j["source_line"] = r.riga_sorgente ? nlohmann::json(*r.riga_sorgente) : nlohmann::json(nullptr);
  j["source_column"] = r.colonna_sorgente ? nlohmann::json(*r.colonna_sorgente) : nlohmann::json(nullptr);
  if (r.codifica_linea && r.codifica_treno)
    j["encodings"] = {{"line", nome_codifica(*r.codifica_linea)}, {"train", nome_codifica(*r.codifica_treno)}};
  return j;
}

int comando_build(const richiesta_build& richiesta, bool json, bool mostra_riga, std::ostream& uscita,
                  std::ostream& errori) {
  rapporto_build r = costruisci(richiesta);
  for (size_t i = 0; i < r.righe.size(); ++i) {
    errori << r.righe[i] << '\n';
    if (i == 0 && mostra_riga && !json) errori << r.estratto;
  }
  // Bad use means no build ran: there is nothing to report as its outcome.
  // The object goes on one line, for tools that read the output line by line.
  if (json && r.stato != uscita_uso_errato)
    uscita << json_rapporto(r).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  return r.stato;
}

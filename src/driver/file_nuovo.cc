#include <string>

#include "driver/form1.h"

namespace {

std::string testo_percorso(const std::filesystem::path& p) {
  std::u8string u = p.u8string();
  return std::string(u.begin(), u.end());
}

}  // namespace

std::filesystem::path Form1::percorso_file(std::string_view nome) const {
  return sistema.cartella_programma() / sistema.nome_file(nome);
}

void Form1::scrivi_file_nuovo(std::string_view nome, std::string_view contenuto) {
  const std::filesystem::path finale = percorso_file(nome);
  const std::filesystem::path parziale = percorso_file(std::string(nome) + ".parziale");
  auto fallisci = [&](const char* azione, const std::filesystem::path& p, const esito& e) {
    messaggio_e_fine(std::string("Impossibile ") + azione + " il file \"" + testo_percorso(p) + "\": " + e.motivo);
  };

  // A file of the same name must be one we may write over.
  if (sistema.esiste(finale)) {
    if (esito e = sistema.apri_e_chiudi(finale); !e) fallisci("aprire", finale, e);
  }

  std::unique_ptr<file_in_scrittura> file;
  if (esito e = sistema.crea(parziale, file); !e) fallisci("creare", parziale, e);
  esito e = file->scrivi(contenuto);
  const char* azione = "scrivere";
  if (e) {
    e = file->chiudi();
    azione = "chiudere";
  }
  file.reset();
  if (e) {
    e = sistema.rinomina(parziale, finale);
    azione = "sostituire";
    if (e) return;
    // The temporary file goes; the failure names the final file.
    sistema.rimuovi(parziale);
    fallisci(azione, finale, e);
  }
  sistema.rimuovi(parziale);
  fallisci(azione, parziale, e);
}

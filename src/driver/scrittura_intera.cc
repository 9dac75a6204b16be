// A file written whole through a temporary file renamed over its name.
#include "driver/scrittura_intera.h"

#include <memory>

#include "model/nomi_file.h"

std::filesystem::path percorso_temporaneo(const std::filesystem::path& finale, int n) {
  std::filesystem::path p = finale;
  if (n == 0) {
    p += fine_temporanea;
    return p;
  }
  // ".parz" and four digits: as long as ".parziale", so that every name the
  // length check of the scenario's names lets through still fits.
  std::string coda = std::to_string(n);
  coda.insert(0, 4 - coda.size(), '0');
  p += ".parz" + coda;
  return p;
}

bool e_temporaneo_di(const std::filesystem::path& p, const std::filesystem::path& finale) {
  for (int n = 0; n < nomi_temporanei; ++n)
    if (p == percorso_temporaneo(finale, n)) return true;
  return false;
}

std::optional<guasto_scrittura> scrivi_per_intero(piattaforma& sistema, const std::filesystem::path& finale,
                                                  std::string_view contenuto, bool eseguibile) {
  // A file of the same name must be one we may write over. A link is not
  // opened: the rename replaces the link itself.
  if (sistema.esiste(finale) && !sistema.e_collegamento(finale)) {
    if (esito e = sistema.apri_e_chiudi(finale); !e) return guasto_scrittura{"aprire", finale, e.motivo};
  }

  // A new temporary file, under the first name that nothing holds (a
  // leftover of a run cut short, or a link someone planted).
  std::unique_ptr<file_in_scrittura> file;
  std::filesystem::path parziale;
  for (int n = 0;; ++n) {
    parziale = percorso_temporaneo(finale, n);
    esito e = sistema.crea(parziale, file);
    if (e) break;
    if (!e.nome_occupato || n + 1 == nomi_temporanei) return guasto_scrittura{"creare", parziale, e.motivo};
  }
  esito e = file->scrivi(contenuto);
  const char* azione = "scrivere";
  if (e) {
    e = file->chiudi();
    azione = "chiudere";
  }
  file.reset();
  if (e && eseguibile) {
    e = sistema.rendi_eseguibile(parziale);
    azione = "rendere eseguibile";
  }
  if (e) {
    e = sistema.rinomina(parziale, finale);
    if (e) return std::nullopt;
    // The temporary file goes (at best: the failure to report is the
    // first); the failure names the final file.
    (void)sistema.rimuovi(parziale);
    return guasto_scrittura{"sostituire", finale, e.motivo};
  }
  (void)sistema.rimuovi(parziale);
  return guasto_scrittura{azione, parziale, e.motivo};
}

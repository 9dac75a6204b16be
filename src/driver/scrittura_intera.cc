// A file written whole through a temporary file renamed over its name.
#include "driver/scrittura_intera.h"

#include <memory>

#include "driver/nomi_file.h"

std::filesystem::path percorso_temporaneo(const std::filesystem::path& finale) {
  std::filesystem::path p = finale;
  p += fine_temporanea;
  return p;
}

std::optional<guasto_scrittura> scrivi_per_intero(piattaforma& sistema, const std::filesystem::path& finale,
                                                  std::string_view contenuto, bool eseguibile) {
  const std::filesystem::path parziale = percorso_temporaneo(finale);

  // A file of the same name must be one we may write over.
  if (sistema.esiste(finale)) {
    if (esito e = sistema.apri_e_chiudi(finale); !e) return guasto_scrittura{"aprire", finale, e.motivo};
  }

  std::unique_ptr<file_in_scrittura> file;
  if (esito e = sistema.crea(parziale, file); !e) return guasto_scrittura{"creare", parziale, e.motivo};
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
    // The temporary file goes; the failure names the final file.
    sistema.rimuovi(parziale);
    return guasto_scrittura{"sostituire", finale, e.motivo};
  }
  sistema.rimuovi(parziale);
  return guasto_scrittura{azione, parziale, e.motivo};
}

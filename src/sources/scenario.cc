// What a scenario must be for the package run to take it.
#include "sources/scenario.h"

#include "model/nomi_file.h"
#include "model/testo_mostrabile.h"
#include "model/windows1252.h"
#include "sources/elenco_righe.h"

std::optional<difetto_scenario> difetto_dello_scenario(const scenario& s) {
  size_t parte = 0;
  for (const auto& [quale, nome] : {std::pair{"il nome dello scenario", &s.nome_scenario},
                                    std::pair{"il numero del treno", &s.numero_treno}}) {
    if (auto p = problema_nome(*nome))
      return difetto_scenario{parte, 0,
                              std::string(quale) + " \"" + testo_mostrabile(da_cp1252_a_utf8(*nome)) + "\" " + *p};
    ++parte;
  }
  if (auto p = problema_lunghezza(s.nome_scenario, s.numero_treno)) return difetto_scenario{0, 0, *p};
  for (const testo_scenario& t : testi_scenario) {
    const std::vector<std::string>& righe = s.*t.membro;
    const std::string quale(t.nome);
    // The first line a list has no room for.
    if (righe.size() >= posti_elenco)
      return difetto_scenario{parte, static_cast<int32_t>(posti_elenco),
                              quale + " ha " + std::to_string(righe.size()) + " righe, al massimo " +
                                  std::to_string(posti_elenco - 1)};
    for (size_t i = 0; i < righe.size(); ++i) {
      const std::string dove = quale + ", riga " + std::to_string(i + 1) + ": ";
      if (righe[i] == fine_del_file)
        return difetto_scenario{parte, static_cast<int32_t>(i + 1),
                                dove + "la riga \"" + std::string(fine_del_file) +
                                    "\" chiude l'elenco e non può essere una riga del testo"};
      // A writer ends each line with CR LF itself: a line end inside a line
      // would make two lines of one, and a file that reads back otherwise.
      if (righe[i].find_first_of("\r\n") != std::string::npos)
        return difetto_scenario{parte, static_cast<int32_t>(i + 1),
                                dove + "un ritorno a capo (CR) o un a capo (LF) dentro la riga; ogni riga finisce "
                                       "con CR LF o con LF"};
    }
    ++parte;
  }
  return std::nullopt;
}

std::optional<std::string> problema_scenario(const scenario& s) {
  if (auto d = difetto_dello_scenario(s)) return d->testo;
  return std::nullopt;
}

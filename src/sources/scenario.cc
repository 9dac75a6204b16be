// What a scenario must be for the package run to take it.
#include "sources/scenario.h"

#include "driver/nomi_file.h"
#include "model/windows1252.h"
#include "sources/elenco_righe.h"

std::optional<std::string> problema_scenario(const scenario& s) {
  for (const auto& [quale, nome] : {std::pair{"il nome dello scenario", &s.nome_scenario},
                                    std::pair{"il numero del treno", &s.numero_treno}}) {
    if (auto p = problema_nome(*nome)) return std::string(quale) + " \"" + da_cp1252_a_utf8(*nome) + "\" " + *p;
  }
  if (auto p = problema_lunghezza(s.nome_scenario, s.numero_treno)) return *p;
  for (const auto& [quale, righe] :
       {std::pair{"il sorgente della linea", &s.linea}, std::pair{"il sorgente del treno", &s.treno},
        std::pair{"le note", &s.note}, std::pair{"il modulo dei rallentamenti", &s.rallentamenti},
        std::pair{"la scheda del treno", &s.scheda}}) {
    if (righe->size() >= posti_elenco)
      return std::string(quale) + " ha " + std::to_string(righe->size()) + " righe, al massimo " +
             std::to_string(posti_elenco - 1);
    for (size_t i = 0; i < righe->size(); ++i)
      if ((*righe)[i] == fine_del_file)
        return std::string(quale) + ", riga " + std::to_string(i + 1) + ": la riga \"" + std::string(fine_del_file) +
               "\" chiude l'elenco e non può essere una riga del testo";
  }
  return std::nullopt;
}

// `scenario inspect`: one of the three binary files decoded into a readable
// table or a JSON object. The route grid shows every cell with its kind name,
// values and layers, runs of identical cells without a feature folded into one
// row; the header file shows the 87 records with their roles; the line file
// shows metre, x and y, sampled unless every metre is asked for.
#pragma once

#include <filesystem>
#include <ostream>
#include <string_view>

#include <nlohmann/json.hpp>

#include "model/cella.h"
#include "model/tracciato.h"
#include "model/voce.h"
#include "platform/piattaforma.h"

struct richiesta_ispezione {
  std::filesystem::path file;
  bool json = false;
  bool tutti = false;   // every metre of the line file
  int32_t passo = 100;  // otherwise a metre every `passo`, with the first and last few
};

int comando_inspect(piattaforma& sistema, const richiesta_ispezione& richiesta, std::ostream& stampa,
                    std::ostream& errori);

// The content of each file, as text and as JSON.
void testo_percorso(const std::vector<cella>& percorso, std::ostream& o);
nlohmann::json json_percorso(const std::vector<cella>& percorso);
void testo_testata(const tabella_testata& testata, std::ostream& o);
nlohmann::json json_testata(const tabella_testata& testata);
void testo_tracciato(const tabella_tracciato& tracciato, bool tutti, int32_t passo, std::ostream& o);
nlohmann::json json_tracciato(const tabella_tracciato& tracciato, bool tutti, int32_t passo);

// The build's warnings as the author tools report them: a line each in the
// form editors jump to, "FILE:LINE:COLUMN: attenzione: TEXT [CODE]", and an
// object each for --json. Any command that runs a build reports its warnings
// through here, from the build's outcome (esito_build::avvisi) and the names
// of the two sources as the author gave them.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "reader/avvisi.h"

// The file a warning names: `linea` or `treno`, by its source.
const std::string& file_dell_avviso(const avviso_build& a, const std::string& linea, const std::string& treno);

// "FILE:LINE:COLUMN: attenzione: TEXT [CODE]", what is unknown left out, no
// line end.
std::string riga_avviso(const avviso_build& a, const std::string& linea, const std::string& treno);

// {"source", "line", "column", "code", "text"}; line and column null when
// unknown.
nlohmann::json json_avviso(const avviso_build& a, const std::string& linea, const std::string& treno);

// The diagnostics of a build as JSON, for every command that reports one
// (`build --json`, the watch page): one object each, in one schema, which
// docs/sorgenti.md documents. The GNU line is diagnosi/riga_gnu.h's.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "diagnosi/diagnostica.h"

// {"severity", "code", "file", "line", "column", "end_line", "end_column",
// "byte", "metres", "text", "message", "quote", "fix", "related"}: what is
// unknown is null; `nomi` name the files the places are in.
nlohmann::json json_diagnostica(const diagnostica& d, const nomi_sorgenti& nomi);

// {"source", "line", "column", "code", "text"}: a warning as the "warnings"
// of `build --json` have given it from the start.
nlohmann::json json_avviso(const diagnostica& d, const std::string& file);

// The scenario a package program carries: its two names and its five fixed
// texts, line by line, as Windows-1252 bytes (the two source texts and the
// three documents for the person who drives it). The core declares them only;
// each package program links the definitions generated at build time from one
// scenario folder (cmake/scenario_package.cmake), so it carries exactly one.
#pragma once

#include <string_view>
#include <vector>

std::string_view nome_scenario_incorporato();
std::string_view numero_treno_incorporato();

const std::vector<std::string_view>& testo_linea();
const std::vector<std::string_view>& testo_treno();
const std::vector<std::string_view>& testo_note();
const std::vector<std::string_view>& testo_rallentamenti();
const std::vector<std::string_view>& testo_scheda();

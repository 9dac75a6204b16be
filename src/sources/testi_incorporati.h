// The five fixed texts the package program carries, line by line, as
// Windows-1252 bytes: the two source texts of the scenario and the three
// documents for the person who drives it.
#pragma once

#include <string_view>
#include <vector>

const std::vector<std::string_view>& testo_linea();
const std::vector<std::string_view>& testo_treno();
const std::vector<std::string_view>& testo_note();
const std::vector<std::string_view>& testo_rallentamenti();
const std::vector<std::string_view>& testo_scheda();

// A writer's list of lines: room for 1001 entries, the text's lines from entry
// 0 on, closed by the end marker, which is never written.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view fine_del_file = "riferimento fine del file";
inline constexpr size_t posti_elenco = 1001;

using elenco_righe = std::array<std::string, posti_elenco>;

// Fills a list with `righe` and the end marker.
// REQUIRES: at most 1000 lines, none equal to the end marker.
elenco_righe riempi_elenco(const std::vector<std::string>& righe);

// The text file's bytes: every entry before the first end marker, each
// followed by CR LF.
std::string testo_da_elenco(const elenco_righe& elenco);

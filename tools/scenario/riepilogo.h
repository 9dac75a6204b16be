// The one line a command that writes files says on success, on standard
// error (`--quiet` leaves it out): what it wrote, where, how many warnings
// the build gave and how many of them lose something written, and how long
// it took. For an author who runs the tool by hand and wants to see that it
// did something.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "diagnosi/diagnostica.h"

// "scenario COMANDO: SCRITTO; N avvisi (M perdono qualcosa di scritto); T ms".
// The warnings only when `con_avvisi` (the commands that build).
std::string riga_riepilogo(std::string_view comando, std::string_view scritto, bool con_avvisi, size_t avvisi,
                           size_t persi, std::chrono::steady_clock::duration tempo);

// How many of `d` are warnings, and how many of those lose content.
size_t quanti_avvisi(const std::vector<diagnostica>& d);
size_t quanti_persi(const std::vector<diagnostica>& d);

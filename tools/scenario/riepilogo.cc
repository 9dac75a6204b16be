#include "riepilogo.h"

#include <algorithm>

std::string riga_riepilogo(std::string_view comando, std::string_view scritto, bool con_avvisi, size_t avvisi,
                           size_t persi, std::chrono::steady_clock::duration tempo) {
  std::string t = "scenario " + std::string(comando) + ": " + std::string(scritto);
  if (con_avvisi) {
    t += "; " + (avvisi == 0 ? std::string("nessun avviso")
                             : std::to_string(avvisi) + (avvisi == 1 ? " avviso" : " avvisi"));
    if (persi > 0)
      t += persi == avvisi && persi == 1 ? ", che perde qualcosa di scritto"
           : persi == avvisi            ? ", e tutti perdono qualcosa di scritto"
                                        : " (" + std::to_string(persi) +
                                              (persi == 1 ? " perde" : " perdono") + " qualcosa di scritto)";
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(tempo).count();
  return t + "; " + std::to_string(ms) + " ms";
}

size_t quanti_avvisi(const std::vector<diagnostica>& d) {
  return static_cast<size_t>(
      std::count_if(d.begin(), d.end(), [](const diagnostica& x) { return x.livello == gravita::avviso; }));
}

size_t quanti_persi(const std::vector<diagnostica>& d) {
  return static_cast<size_t>(std::count_if(d.begin(), d.end(), perde_contenuto));
}

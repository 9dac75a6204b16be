#include "finish/esito_build.h"

#include <algorithm>
#include <iterator>

const diagnostica* esito_build::errore() const {
  if (codice_errore == 0) return nullptr;
  auto it = std::find_if(diagnostiche.begin(), diagnostiche.end(),
                         [&](const diagnostica& d) { return d.livello == gravita::errore && d.errore == codice_errore; });
  return it != diagnostiche.end() ? &*it : nullptr;
}

std::vector<diagnostica> esito_build::avvisi() const {
  std::vector<diagnostica> a;
  std::copy_if(diagnostiche.begin(), diagnostiche.end(), std::back_inserter(a),
               [](const diagnostica& d) { return d.livello == gravita::avviso; });
  return a;
}

size_t esito_build::quanti_avvisi() const {
  return static_cast<size_t>(std::count_if(diagnostiche.begin(), diagnostiche.end(),
                                           [](const diagnostica& d) { return d.livello == gravita::avviso; }));
}

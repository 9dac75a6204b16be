#include "model/descrizione_cella.h"

#include "model/windows1252.h"

std::string elemento_della_cella(const cella& c, const tabella_testata& testata) {
  switch (c.tipo) {
    case segnale: return "un segnale";
    case fine_rallentamento: return "la fine di un rallentamento";
    case inizio_rallentamento: return "l'inizio di un rallentamento";
    case avviso_rallentamento: return "l'avviso di un rallentamento";
    case preavviso_rallentamento: return "il preavviso di un rallentamento";
    case indicatore_v_max: return "un indicatore di velocità";
    case stazione: {
      const auto voce_stazione = static_cast<size_t>(static_cast<uint16_t>(c.dato1));
      if (voce_stazione == 0 || voce_stazione >= testata.size()) return "la fermata di una stazione";
      return "la fermata della stazione " + campo_citato(testata[voce_stazione].nome);
    }
    case abbattimento:
    case abbattimento_nullo: return "un abbattimento";
    case cartello: {
      const auto voce_testo = static_cast<size_t>(static_cast<uint16_t>(c.dato1));
      return "il cartello " + campo_citato(voce_testo < testata.size() ? testata[voce_testo].nome : "");
    }
    default: return "un elemento di tipo " + std::to_string(c.tipo);
  }
}

std::string di_elemento(std::string_view elemento) {
  for (auto [articolo, di] : {std::pair<std::string_view, std::string_view>{"il ", "del "}, {"la ", "della "},
                              {"l'", "dell'"}, {"un", "di un"}})
    if (elemento.starts_with(articolo)) return std::string(di) + std::string(elemento.substr(articolo.size()));
  return "di " + std::string(elemento);
}

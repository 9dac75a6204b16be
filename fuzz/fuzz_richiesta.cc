// The watch's server judging a request's head on any bytes: given at once
// or in pieces cut where the input says, the judgement is the same; it never
// takes more bytes than it was given nor serves a head beyond its limits;
// an error has its known status; a head it serves, judged again, is served
// as it is.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "osserva/testa_richiesta.h"

namespace {

const std::string chiave = "0123456789abcdef0123456789abcdef";
constexpr int porta = 8080;

bool uguali(const giudizio_testa& a, const giudizio_testa& b) {
  return a.stato == b.stato && a.parole == b.parole && a.head == b.head && a.testa == b.testa &&
         a.chiudi == b.chiudi && a.consumati == b.consumati;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  if (n < 1) return 0;
  // The first byte sets the size of the pieces; the rest is the request.
  const size_t pezzo = 1 + dati[0] % 64;
  const std::string_view richiesta(reinterpret_cast<const char*>(dati + 1), n - 1);

  const giudizio_testa intera = lettore_testa(porta, chiave).esamina(richiesta);
  lettore_testa l(porta, chiave);
  giudizio_testa a_pezzi;
  for (size_t fino = 0; a_pezzi.stato == 0 && fino < richiesta.size();) {
    fino = std::min(richiesta.size(), fino + pezzo);
    a_pezzi = l.esamina(richiesta.substr(0, fino));
  }
  if (!richiesta.empty() && !uguali(intera, a_pezzi)) std::abort();

  switch (intera.stato) {
    case 0:
      if (richiesta.size() >= testa_massima) std::abort();
      break;
    case 200: {
      if (intera.consumati == 0 || intera.consumati > richiesta.size() || intera.consumati > testa_massima)
        std::abort();
      const giudizio_testa di_nuovo = lettore_testa(porta, chiave).esamina(intera.testa);
      if (di_nuovo.stato != 200 || di_nuovo.testa != intera.testa || di_nuovo.consumati != intera.testa.size() ||
          di_nuovo.head != intera.head)
        std::abort();
      break;
    }
    case 400:
    case 403:
    case 405:
    case 414:
    case 431: {
      const std::string r = risposta_errore(intera);
      if (!r.starts_with("HTTP/1.1 " + std::to_string(intera.stato) + " ")) std::abort();
      break;
    }
    default:
      std::abort();
  }
  return 0;
}

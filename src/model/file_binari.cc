// The grid's and the header's byte images, each record field by field along
// its list through the little-endian cursor; each image is sized exactly
// before it is built, and each record's encoded size is checked as it is
// written.
#include "model/file_binari.h"

#include <cassert>

#include "model/cursore.h"

namespace {

template <class T>
void metti_campo(cursore_scrittura& s, const T& v) {
  if constexpr (std::is_same_v<T, std::string>)
    s.stringa(v);
  else
    s.numero(v);
}

}  // namespace

std::string immagine_percorso(const std::vector<cella>& percorso) {
  std::string b(byte_per_cella * percorso.size(), '\0');
  cursore_scrittura s(b.data());
  for (const cella& c : percorso) {
    [[maybe_unused]] const char* inizio = s.posizione();
    campi_cella([&](std::string_view, auto membro) { metti_campo(s, c.*membro); });
    assert(static_cast<size_t>(s.posizione() - inizio) == byte_per_cella);
  }
  assert(s.posizione() == b.data() + b.size());
  return b;
}

std::string immagine_testata(const tabella_testata& testata) {
  size_t totale = 0;
  for (const voce& v : testata) totale += byte_per_voce_senza_nome + v.nome.size();
  std::string b(totale, '\0');
  cursore_scrittura s(b.data());
  for (const voce& v : testata) {
    [[maybe_unused]] const char* inizio = s.posizione();
    campi_voce([&](std::string_view, auto membro) { metti_campo(s, v.*membro); });
    assert(static_cast<size_t>(s.posizione() - inizio) == byte_per_voce_senza_nome + v.nome.size());
  }
  assert(s.posizione() == b.data() + b.size());
  return b;
}

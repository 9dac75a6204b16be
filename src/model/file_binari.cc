// The three byte images, field by field through the little-endian helpers.
// Each image is sized exactly before it is built, so even the largest line
// file (about 20 MB) is filled in one pass without reallocation; each record's
// encoded size is checked as it is written.
#include "model/file_binari.h"

#include <cassert>

#include "model/codifica.h"

namespace {

// Type code and value bytes of one coordinate element.
size_t byte_di_elemento(tipo_elemento t) {
  switch (t) {
    case tipo_elemento::intero:
      return 2 + 2;
    case tipo_elemento::doppio:
      return 2 + 8;
    case tipo_elemento::vuoto:
      break;
  }
  return 2;
}

}  // namespace

std::string immagine_percorso(const std::vector<cella>& percorso) {
  std::string b;
  b.reserve(byte_per_cella * percorso.size());
  for (const cella& c : percorso) {
    [[maybe_unused]] size_t inizio = b.size();
    metti_byte(b, c.tipo);
    metti_integer(b, c.dato1);
    metti_integer(b, c.dato2);
    metti_integer(b, c.dato3);
    metti_integer(b, c.dato4);
    metti_byte(b, c.tempo);
    metti_byte(b, c.avvicinamento);
    metti_byte(b, c.montagna);
    metti_byte(b, c.velocita);
    metti_byte(b, c.pendenza);
    metti_byte(b, c.aderenza);
    assert(b.size() - inizio == byte_per_cella);
  }
  return b;
}

std::string immagine_testata(const tabella_testata& testata) {
  size_t totale = 0;
  for (const voce& v : testata) totale += byte_per_voce_senza_nome + v.nome.size();
  std::string b;
  b.reserve(totale);
  for (const voce& v : testata) {
    [[maybe_unused]] size_t inizio = b.size();
    metti_byte(b, v.tipo);
    metti_long(b, v.primo);
    metti_long(b, v.secondo);
    metti_long(b, v.terzo);
    metti_byte(b, v.marca);
    metti_stringa(b, v.nome);
    metti_integer(b, v.intero1);
    metti_integer(b, v.intero2);
    metti_integer(b, v.intero3);
    metti_integer(b, v.intero4);
    metti_integer(b, v.intero5);
    metti_byte(b, v.opzione1);
    metti_byte(b, v.opzione2);
    metti_byte(b, v.opzione3);
    metti_byte(b, v.opzione4);
    metti_long(b, v.orario);
    assert(b.size() - inizio == byte_per_voce_senza_nome + v.nome.size());
  }
  assert(b.size() == totale);
  return b;
}

std::string immagine_tracciato(const tabella_tracciato& tracciato) {
  size_t n = tracciato.elementi();
  size_t totale = 0;
  for (size_t i = 0; i < n; ++i) totale += byte_di_elemento(tracciato.tipo_in(i));
  // Some 20 MB for the longest line: sized once, then filled through a cursor.
  std::string b(totale, '\0');
  char* p = b.data();
  for (size_t i = 0; i < n; ++i) {
    tipo_elemento t = tracciato.tipo_in(i);
    [[maybe_unused]] const char* inizio = p;
    p = poni_integer(p, static_cast<int16_t>(t));
    // An integer element was stored from an int16_t, so the double holds it
    // exactly and the conversion back is in range.
    if (t == tipo_elemento::intero) p = poni_integer(p, static_cast<int16_t>(tracciato.valore_in(i)));
    if (t == tipo_elemento::doppio) p = poni_doppio(p, tracciato.valore_in(i));
    assert(static_cast<size_t>(p - inizio) == byte_di_elemento(t));
  }
  assert(p == b.data() + b.size());
  return b;
}

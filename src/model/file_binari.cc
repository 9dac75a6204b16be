// The grid's and the header's byte images, field by field through the
// little-endian helpers; each image is sized exactly before it is built, and
// each record's encoded size is checked as it is written.
#include "model/file_binari.h"

#include <cassert>

#include "model/codifica.h"

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

// The byte images of the three binary files the simulator loads. Each is a
// plain dump of one structure of the model: no header, no count, packed,
// little-endian. They fill a buffer; writing it to disk is the build's job.
//
// A record's layout is its field list (model/cella.h, model/voce.h): each
// number takes the bytes of its type, a text a 2-byte length and its bytes.
// The sizes and offsets below are worked out from the lists.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "model/cella.h"
#include "model/voce.h"

// The bytes a field takes whatever the record holds: a number its own, a text
// its 2-byte length (its own bytes come on top).
template <class R, class T>
constexpr size_t byte_fissi(T R::*) {
  if constexpr (std::is_same_v<T, std::string>) {
    return 2;
  } else {
    static_assert(std::is_integral_v<T>, "a record's field is a whole number or a text");
    return sizeof(T);
  }
}

// Where field `cercato` starts in a cell, or in a record whose `nome` has
// `lunghezza_nome` bytes: the bytes of the fields before it in the list.
template <class M>
constexpr size_t posizione_nella_cella(M cella::*cercato) {
  size_t n = 0;
  bool trovato = false;
  campi_cella([&](std::string_view, auto membro) {
    if constexpr (std::is_same_v<decltype(membro), M cella::*>) trovato = trovato || membro == cercato;
    if (!trovato) n += byte_fissi(membro);
  });
  return n;
}
template <class M>
constexpr size_t posizione_nella_voce(M voce::*cercato, size_t lunghezza_nome) {
  size_t n = 0;
  bool trovato = false;
  campi_voce([&](std::string_view, auto membro) {
    if constexpr (std::is_same_v<decltype(membro), M voce::*>) trovato = trovato || membro == cercato;
    if (trovato) return;
    n += byte_fissi(membro);
    if constexpr (std::is_same_v<decltype(membro), std::string voce::*>) n += lunghezza_nome;
  });
  return n;
}

// 15 bytes a cell; 34 a record with its name's bytes on top, 16 of them
// before the name and 18 after it.
inline constexpr size_t byte_per_cella = [] {
  size_t n = 0;
  campi_cella([&](std::string_view, auto membro) { n += byte_fissi(membro); });
  return n;
}();
inline constexpr size_t byte_per_voce_senza_nome = [] {
  size_t n = 0;
  campi_voce([&](std::string_view, auto membro) { n += byte_fissi(membro); });
  return n;
}();
inline constexpr size_t byte_prima_del_nome = posizione_nella_voce(&voce::nome, 0) + byte_fissi(&voce::nome);
inline constexpr size_t byte_dopo_il_nome = byte_per_voce_senza_nome - byte_prima_del_nome;
static_assert(byte_per_cella == 15 && byte_per_voce_senza_nome == 34 && byte_prima_del_nome == 16,
              "the field lists no longer give the files' record sizes");

// Where field `membro` of record r starts in the `.sim` image of `testata`.
// REQUIRES: 0 <= r < numero_voci.
template <class M>
size_t posizione_in_testata(const tabella_testata& testata, int r, M voce::*membro) {
  size_t n = 0;
  for (int i = 0; i < r; ++i) n += byte_per_voce_senza_nome + testata[static_cast<size_t>(i)].nome.size();
  return n + posizione_nella_voce(membro, testata[static_cast<size_t>(r)].nome.size());
}

// `.dat`: cells 0..N, 15 bytes each.
std::string immagine_percorso(const std::vector<cella>& percorso);
// `.sim`: records 0..86, 34 + length of `nome` bytes each.
std::string immagine_testata(const tabella_testata& testata);
// `_linea.dat` is the coordinate table's own bytes: tabella_tracciato::immagine().

// One cell of the route grid `percorso`: 50 m of line. `tipo` and dato1..dato4
// hold the one point feature a cell can carry; the last five bytes are layers
// that every cell has whatever its kind. The list of its fields, in the order
// of the file, is what the encoder, the decoders, inspect and equality walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct cella {
  uint8_t tipo = 0;
  int16_t dato1 = 0;
  int16_t dato2 = 0;
  int16_t dato3 = 0;
  int16_t dato4 = 0;
  uint8_t tempo = 0;
  uint8_t avvicinamento = 0;
  uint8_t montagna = 0;
  uint8_t velocita = 0;
  uint8_t pendenza = 0;
  uint8_t aderenza = 0;
};

// Calls f(name, member pointer) for each field of a cell, in file order; a
// field takes the bytes of its type.
template <class F>
constexpr void campi_cella(F&& f) {
  f(std::string_view("tipo"), &cella::tipo);
  f(std::string_view("dato1"), &cella::dato1);
  f(std::string_view("dato2"), &cella::dato2);
  f(std::string_view("dato3"), &cella::dato3);
  f(std::string_view("dato4"), &cella::dato4);
  f(std::string_view("tempo"), &cella::tempo);
  f(std::string_view("avvicinamento"), &cella::avvicinamento);
  f(std::string_view("montagna"), &cella::montagna);
  f(std::string_view("velocita"), &cella::velocita);
  f(std::string_view("pendenza"), &cella::pendenza);
  f(std::string_view("aderenza"), &cella::aderenza);
}
// The list names every member: the binding stops compiling when cella
// gains or loses one, the count when the list misses one.
inline void cella_ha_undici_membri(const cella& x) {
  [[maybe_unused]] const auto& [a, b, c, d, e, f, g, h, i, j, k] = x;
}
static_assert([] {
  size_t n = 0;
  campi_cella([&](std::string_view, auto) { ++n; });
  return n == 11;
}());

// Equal in every field of the list.
constexpr bool operator==(const cella& a, const cella& b) {
  bool uguali = true;
  campi_cella([&](std::string_view, auto membro) { uguali = uguali && a.*membro == b.*membro; });
  return uguali;
}

// Kind codes of `tipo`, and below them their names. Values 7, 8 and 9 are
// never written.
inline constexpr uint8_t libero = 0;
inline constexpr uint8_t segnale = 1;
inline constexpr uint8_t fine_rallentamento = 2;
inline constexpr uint8_t inizio_rallentamento = 3;
inline constexpr uint8_t avviso_rallentamento = 4;
inline constexpr uint8_t preavviso_rallentamento = 5;
inline constexpr uint8_t indicatore_v_max = 6;
inline constexpr uint8_t stazione = 10;
inline constexpr uint8_t segno_montagna = 11;
inline constexpr uint8_t abbattimento = 12;
inline constexpr uint8_t abbattimento_nullo = 13;
inline constexpr uint8_t cartello = 14;

// Every kind a cell can have, with the name tools show it by.
struct tipo_cella {
  uint8_t codice;
  std::string_view nome;
};
inline constexpr tipo_cella tipi_cella[] = {
    {libero, "libero"},
    {segnale, "segnale"},
    {fine_rallentamento, "fine_rallentamento"},
    {inizio_rallentamento, "inizio_rallentamento"},
    {avviso_rallentamento, "avviso_rallentamento"},
    {preavviso_rallentamento, "preavviso_rallentamento"},
    {indicatore_v_max, "indicatore_v_max"},
    {stazione, "stazione"},
    {segno_montagna, "segno_montagna"},
    {abbattimento, "abbattimento"},
    {abbattimento_nullo, "abbattimento_nullo"},
    {cartello, "cartello"},
};

// The name of a kind ("segnale", ...); empty for a value never written.
constexpr std::string_view nome_tipo_cella(uint8_t tipo) {
  for (const tipo_cella& t : tipi_cella)
    if (t.codice == tipo) return t.nome;
  return {};
}

// A cell is free when it holds nothing or only a weak mountain mark, which any
// point feature may replace.
inline bool cella_libera(const cella& c) { return c.tipo == libero || c.tipo == segno_montagna; }

// Stores into a 16-bit or 8-bit field keep the low bits of the result.
inline int16_t basso16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }
inline uint8_t basso8(int64_t v) { return static_cast<uint8_t>(v); }

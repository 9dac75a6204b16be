// The coordinate table, which is held as the line file's bytes: every way of
// filling it gives the same image as encoding its elements one by one, and
// every element reads back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "model/cursore.h"
#include "model/tracciato.h"
#include "support/esadecimale.h"
#include "support/memoria_contata.h"

namespace {

struct elemento {
  tipo_elemento tipo = tipo_elemento::vuoto;
  double valore = 0;
};
using coordinata = std::vector<elemento>;  // metres 0..T

// The file's bytes encoded element by element, the plain way.
std::string codifica_attesa(const coordinata& x, const coordinata& y) {
  std::string b;
  for (const coordinata* c : {&x, &y})
    for (const elemento& e : *c) {
      in_coda(b, 2).integer(static_cast<int16_t>(e.tipo));
      if (e.tipo == tipo_elemento::intero) in_coda(b, 2).integer(static_cast<int16_t>(e.valore));
      if (e.tipo == tipo_elemento::doppio) in_coda(b, 8).doppio(e.valore);
    }
  return b;
}

void metti(tabella_tracciato& t, int32_t m, int k, const elemento& e) {
  if (e.tipo == tipo_elemento::intero) t.metti_intero(m, k, static_cast<int16_t>(e.valore));
  if (e.tipo == tipo_elemento::doppio) t.metti_doppio(m, k, e.valore);
}

// The reader's order: x and y of each metre in turn.
void metro_per_metro(tabella_tracciato& t, const coordinata& x, const coordinata& y) {
  for (size_t m = 0; m < x.size(); ++m) {
    metti(t, static_cast<int32_t>(m), 0, x[m]);
    metti(t, static_cast<int32_t>(m), 1, y[m]);
  }
}

// The file's order, as a decoder fills it: all x, then all y.
void coordinata_per_coordinata(tabella_tracciato& t, const coordinata& x, const coordinata& y) {
  for (size_t m = 0; m < x.size(); ++m) metti(t, static_cast<int32_t>(m), 0, x[m]);
  for (size_t m = 0; m < y.size(); ++m) metti(t, static_cast<int32_t>(m), 1, y[m]);
}

const elemento vuoto{};
elemento intero(int16_t v) { return {tipo_elemento::intero, static_cast<double>(v)}; }
elemento doppio(double v) { return {tipo_elemento::doppio, v}; }

// A line as the reader completes it: the origin heading along +y, doubles
// up to T - 2, the last two metres Empty.
std::pair<coordinata, coordinata> linea_usuale(int32_t t) {
  coordinata x(static_cast<size_t>(t) + 1), y(static_cast<size_t>(t) + 1);
  for (int32_t m = 0; m <= t; ++m) {
    auto i = static_cast<size_t>(m);
    if (m <= 1) {
      x[i] = intero(0);
      y[i] = intero(static_cast<int16_t>(m));
    } else if (m <= t - 2) {
      x[i] = doppio(0.25 * m);
      y[i] = doppio(-1.0 * m);
    }
  }
  return {x, y};
}

struct caso {
  const char* nome;
  std::function<std::pair<coordinata, coordinata>()> elementi;
};

const caso casi[] = {
    {"linea usuale", [] { return linea_usuale(40); }},
    // A curve that runs to the table's end leaves no Empty metre: x takes
    // more bytes than a usual line's and runs into where y started.
    {"curva fino all'ultimo metro",
     [] {
       auto [x, y] = linea_usuale(40);
       x[39] = x[40] = doppio(1.5);
       y[39] = y[40] = doppio(-2.5);
       return std::pair{x, y};
     }},
    {"x lunga, y corta",
     [] {
       auto [x, y] = linea_usuale(40);
       x[39] = x[40] = doppio(1.5);
       for (size_t m = 10; m < y.size(); ++m) y[m] = vuoto;
       return std::pair{x, y};
     }},
    {"tutto vuoto", [] { return std::pair{coordinata(9), coordinata(9)}; }},
    {"tutti doppi", [] { return std::pair{coordinata(9, doppio(3)), coordinata(9, doppio(-3))}; }},
    {"tipi alternati",
     [] {
       coordinata x(12), y(12);
       for (size_t m = 0; m < x.size(); ++m) {
         x[m] = m % 3 == 0 ? intero(-32768) : m % 3 == 1 ? doppio(-0.0) : vuoto;
         y[m] = m % 2 == 0 ? doppio(1.0 / 3.0) : intero(32767);
       }
       return std::pair{x, y};
     }},
    {"un metro solo", [] { return std::pair{coordinata{intero(7)}, coordinata{vuoto}}; }},
};

TEST(Tracciato, LImmagineEQuellaDegliElementiUnoAUno) {
  using riempitore = void (*)(tabella_tracciato&, const coordinata&, const coordinata&);
  for (const caso& c : casi) {
    for (riempitore riempi : {riempitore{metro_per_metro}, riempitore{coordinata_per_coordinata}}) {
      SCOPED_TRACE(c.nome);
      const auto [x, y] = c.elementi();
      tabella_tracciato t;
      t.crea(static_cast<int32_t>(x.size()) - 1);
      riempi(t, x, y);
      ASSERT_EQ(esadecimale(t.immagine()), esadecimale(codifica_attesa(x, y)));
      // Completing twice changes nothing.
      EXPECT_EQ(esadecimale(t.immagine()), esadecimale(codifica_attesa(x, y)));
      for (size_t m = 0; m < x.size(); ++m) {
        for (int k = 0; k < 2; ++k) {
          const elemento& e = (k == 0 ? x : y)[m];
          auto mm = static_cast<int32_t>(m);
          ASSERT_EQ(t.tipo(mm, k), e.tipo) << m << " " << k;
          ASSERT_EQ(t.valore(mm, k), e.valore) << m << " " << k;
          ASSERT_EQ(std::signbit(t.valore(mm, k)), std::signbit(e.valore)) << m << " " << k;
        }
      }
    }
  }
}

TEST(Tracciato, IMetriSaltatiRestanoVuoti) {
  tabella_tracciato t;
  EXPECT_FALSE(t.esiste());
  EXPECT_EQ(t.ultimo_metro(), -1);
  EXPECT_EQ(t.elementi(), 0u);
  EXPECT_EQ(t.immagine(), "");

  t.crea(3);
  ASSERT_EQ(t.elementi(), 8u);
  t.metti_intero(1, 1, 1);
  t.metti_doppio(3, 0, 2.5);
  // Before completion too, what was never put reads as Empty.
  EXPECT_EQ(t.tipo(1, 0), tipo_elemento::vuoto);
  EXPECT_EQ(t.tipo(3, 1), tipo_elemento::vuoto);
  EXPECT_EQ(t.valore(3, 0), 2.5);
  EXPECT_EQ(esadecimale(t.immagine()),
            "00 00 00 00 00 00 05 00 00 00 00 00 00 00 04 40 "
            "00 00 02 00 01 00 00 00 00 00");

  // Re-creating loses everything the table held.
  t.crea(1);
  EXPECT_EQ(t.elementi(), 4u);
  EXPECT_EQ(esadecimale(t.immagine()), "00 00 00 00 00 00 00 00");
}

TEST(Tracciato, UnaCopiaProsegueDaSola) {
  const auto [x, y] = casi[1].elementi();  // x outgrows y's usual start
  memoria_contata memoria;
  tabella_tracciato t;
  t.crea(static_cast<int32_t>(x.size()) - 1, memoria);
  for (int32_t m = 0; m <= 38; ++m) {
    metti(t, m, 0, x[static_cast<size_t>(m)]);
    metti(t, m, 1, y[static_cast<size_t>(m)]);
  }
  tabella_tracciato copia = t;
  tabella_tracciato assegnata;
  assegnata = t;
  t.metti_doppio(40, 0, 99);  // only in the original
  for (tabella_tracciato* c : {&copia, &assegnata}) {
    for (int32_t m = 39; m <= 40; ++m) {
      metti(*c, m, 0, x[static_cast<size_t>(m)]);
      metti(*c, m, 1, y[static_cast<size_t>(m)]);
    }
    EXPECT_EQ(esadecimale(c->immagine()), esadecimale(codifica_attesa(x, y)));
  }
  EXPECT_EQ(t.valore(40, 0), 99);
  // A table moved from is absent, not a view of the bytes that moved on.
  tabella_tracciato spostata = std::move(copia);
  EXPECT_FALSE(copia.esiste());  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(copia.immagine(), "");
  EXPECT_THROW(copia.metti_doppio(0, 0, 1), std::logic_error);
  copia = std::move(spostata);
  EXPECT_FALSE(spostata.esiste());  // NOLINT(bugprone-use-after-move)
  // Copies take their bytes from where the original's came from.
  EXPECT_EQ(memoria.allocazioni, 3);
  t = tabella_tracciato{};
  copia = tabella_tracciato{};
  assegnata = tabella_tracciato{};
  EXPECT_EQ(memoria.restituzioni, 3);
  EXPECT_EQ(memoria.byte_in_uso, 0u);
}

TEST(Tracciato, UnUsoFuoriOrdineERifiutato) {
  struct uso {
    const char* nome;
    void (*fai)(tabella_tracciato&);
  };
  const uso usi[] = {
      {"stesso metro due volte", [](tabella_tracciato& t) { t.metti_doppio(2, 0, 1); }},
      {"metro precedente", [](tabella_tracciato& t) { t.metti_intero(1, 0, 1); }},
      {"oltre l'ultimo metro", [](tabella_tracciato& t) { t.metti_doppio(6, 1, 1); }},
      {"metro negativo", [](tabella_tracciato& t) { t.metti_doppio(-1, 1, 1); }},
      {"terza coordinata", [](tabella_tracciato& t) { t.metti_doppio(3, 2, 1); }},
      {"dopo il completamento",
       [](tabella_tracciato& t) {
         (void)t.immagine();
         t.metti_doppio(4, 1, 1);
       }},
  };
  for (const uso& u : usi) {
    SCOPED_TRACE(u.nome);
    tabella_tracciato t;
    t.crea(5);
    t.metti_doppio(2, 0, 9);
    EXPECT_THROW(u.fai(t), std::logic_error);
  }
  tabella_tracciato assente;
  EXPECT_THROW(assente.metti_intero(0, 0, 0), std::logic_error);
  EXPECT_THROW(assente.crea(-1), std::logic_error);

  tabella_tracciato t;
  t.crea(5);
  EXPECT_THROW((void)t.tipo(6, 0), std::out_of_range);
  EXPECT_THROW((void)t.valore(0, 2), std::out_of_range);
  EXPECT_THROW((void)assente.tipo(0, 0), std::out_of_range);
}

}  // namespace

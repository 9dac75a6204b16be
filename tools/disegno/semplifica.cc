// Douglas-Peucker over an explicit stack, and the column envelope of a step
// profile.
#include "disegno/semplifica.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Distance of p from the segment a-b (from a when the segment is a point).
double distanza(const punto& p, const punto& a, const punto& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double l2 = dx * dx + dy * dy;
  double t = 0;
  if (l2 > 0) t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Adds a corner, merging it into the last one when both lie on one level.
void aggiungi(std::vector<punto>& contorno, punto p) {
  const size_t n = contorno.size();
  if (n >= 2 && contorno[n - 1].y == p.y && contorno[n - 2].y == p.y) {
    contorno[n - 1].x = p.x;
    return;
  }
  if (n >= 1 && contorno[n - 1].x == p.x && contorno[n - 1].y == p.y) return;
  contorno.push_back(p);
}

}  // namespace

std::vector<punto> semplifica_linea(std::span<const punto> ingresso, double tolleranza) {
  std::vector<punto> punti;
  punti.reserve(ingresso.size());
  for (const punto& p : ingresso)
    if (punti.empty() || punti.back().x != p.x || punti.back().y != p.y) punti.push_back(p);
  if (punti.size() <= 2) return punti;

  std::vector<char> tenuto(punti.size(), 0);
  tenuto.front() = tenuto.back() = 1;
  std::vector<std::pair<size_t, size_t>> da_fare = {{0, punti.size() - 1}};
  while (!da_fare.empty()) {
    auto [a, b] = da_fare.back();
    da_fare.pop_back();
    double massima = -1;
    size_t lontano = a;
    for (size_t i = a + 1; i < b; ++i) {
      double d = distanza(punti[i], punti[a], punti[b]);
      if (d > massima) {
        massima = d;
        lontano = i;
      }
    }
    if (massima > tolleranza) {
      tenuto[lontano] = 1;
      da_fare.emplace_back(a, lontano);
      da_fare.emplace_back(lontano, b);
    }
  }
  std::vector<punto> risultato;
  for (size_t i = 0; i < punti.size(); ++i)
    if (tenuto[i]) risultato.push_back(punti[i]);
  return risultato;
}

std::vector<punto> profilo_a_gradini(std::span<const double> valori, double celle_per_colonna) {
  std::vector<punto> contorno;
  if (valori.empty()) return contorno;
  if (celle_per_colonna <= 1) {
    for (size_t i = 0; i < valori.size(); ++i) {
      aggiungi(contorno, {static_cast<double>(i), valori[i]});
      aggiungi(contorno, {static_cast<double>(i + 1), valori[i]});
    }
    return contorno;
  }
  // Column c holds the cells whose start lies in [c, c + 1) columns.
  for (size_t i = 0; i < valori.size();) {
    const auto colonna = std::floor(static_cast<double>(i) / celle_per_colonna);
    size_t fine = i;
    while (fine < valori.size() && std::floor(static_cast<double>(fine) / celle_per_colonna) == colonna) ++fine;
    size_t minimo = i, massimo = i;
    for (size_t k = i; k < fine; ++k) {
      if (valori[k] < valori[minimo]) minimo = k;
      if (valori[k] > valori[massimo]) massimo = k;
    }
    const double x0 = static_cast<double>(i), x1 = static_cast<double>(fine), mezzo = (x0 + x1) / 2;
    // Level with the first value to the middle of the column, the extremes
    // there in the order they occur, then level with the last value.
    aggiungi(contorno, {x0, valori[i]});
    aggiungi(contorno, {mezzo, valori[i]});
    for (size_t k : {std::min(minimo, massimo), std::max(minimo, massimo)}) aggiungi(contorno, {mezzo, valori[k]});
    aggiungi(contorno, {mezzo, valori[fine - 1]});
    aggiungi(contorno, {x1, valori[fine - 1]});
    i = fine;
  }
  return contorno;
}

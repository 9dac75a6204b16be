// Reducing long series to what a picture can show: a polyline of up to a
// million points to the few thousand that differ by more than a fraction of a
// pixel, and a per-cell step profile to a few points per pixel column.
#pragma once

#include <span>
#include <vector>

struct punto {
  double x = 0;
  double y = 0;
};

// Douglas-Peucker: the first and last points and those in between that the
// polyline needs so that no dropped point lies farther than `tolleranza`
// from it. Consecutive equal points count as one. Iterative, so a long line
// cannot exhaust the stack.
std::vector<punto> semplifica_linea(std::span<const punto> punti, double tolleranza);

// A step function, `valori`[i] over [i, i + 1), as the corners of its
// outline (x in cells, y the value). With more than one cell a column
// (`celle_per_colonna` > 1) each column of cells keeps only its first, lowest,
// highest and last value, so the outline has at most six points a column
// however many cells there are; runs of one value take two points.
std::vector<punto> profilo_a_gradini(std::span<const double> valori, double celle_per_colonna);

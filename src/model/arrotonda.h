// The one rounding rule of the model: nearest integer, ties to the even
// integer (20.5 -> 20, 21.5 -> 22, -0.5 -> 0). std::round would send ties away
// from zero, which moves features by a cell.
#pragma once

// Returns a whole number as a double; the caller converts it to its width
// after checking the range.
double arrotonda(double x);

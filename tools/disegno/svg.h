// Small pieces for writing SVG by hand: numbers in a fixed, locale-free form,
// texts from the files (Windows-1252) made into escaped UTF-8, and a placer
// that keeps labels from covering each other.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// `v` with at most `decimali` decimals, trailing zeros and "-0" dropped.
std::string numero_svg(double v, int decimali = 1);

// Windows-1252 bytes as UTF-8 fit for a label: control characters, which
// XML does not allow or a label cannot show, become U+FFFD.
std::string testo_da_cp1252(std::string_view cp1252);

// UTF-8 text escaped for XML character data and attribute values.
std::string escape_xml(std::string_view utf8);

// Estimated width in pixels of a label of `testo` at `corpo` px.
double larghezza_testo(std::string_view utf8, double corpo, bool grassetto = false);

struct rettangolo {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool tocca(const rettangolo& r) const { return x0 < r.x1 && r.x0 < x1 && y0 < r.y1 && r.y0 < y1; }
};

// Labels placed first win: a label that would cover one already placed (or
// a reserved area) is refused.
class piazzatore {
 public:
  void riserva(const rettangolo& r) { occupati_.push_back(r); }
  // Takes `r` and returns true when it touches nothing taken yet.
  bool prova(const rettangolo& r);

 private:
  std::vector<rettangolo> occupati_;
};

// Round steps, counted words and the marks the panels share.
#include "disegno/tela.h"

#include <cmath>
#include <cstdlib>

#include "disegno/svg.h"

namespace tela {

double passo_tondo(double grezzo) {
  if (!(grezzo > 0) || !std::isfinite(grezzo)) return 1;
  const double potenza = std::pow(10.0, std::floor(std::log10(grezzo)));
  for (double f : {1.0, 2.0, 5.0})
    if (f * potenza >= grezzo) return f * potenza;
  return 10 * potenza;
}

std::string chilometri(double m) {
  std::string s = numero_svg(m / 1000.0, 3);
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

std::string plurale(size_t n, const char* uno, const char* molti) {
  return std::to_string(n) + " " + (n == 1 ? uno : molti);
}

std::string dati_percorso(const std::vector<punto>& p) {
  std::string d;
  for (size_t i = 0; i < p.size(); ++i) {
    d += i == 0 ? 'M' : 'L';
    d += numero_svg(p[i].x) + ' ' + numero_svg(p[i].y);
  }
  return d;
}

std::string suggerimento(const scena::segno& s) { return "<title>" + escape_xml(s.dettaglio) + "</title>"; }

std::string cerchio(punto q, double r, const scena::segno& s, const char* genere, const char* classe) {
  return "<circle class=\"" + std::string(classe ? classe : genere) + "\" data-segno=\"" + genere + "\" cx=\"" +
         numero_svg(q.x) + "\" cy=\"" + numero_svg(q.y) + "\" r=\"" + numero_svg(r) + "\">" + suggerimento(s) +
         "</circle>\n";
}

std::string quadrato(punto q, double r, const scena::segno& s, const char* genere) {
  return "<rect class=\"" + std::string(genere) + "\" data-segno=\"" + genere + "\" x=\"" + numero_svg(q.x - r) +
         "\" y=\"" + numero_svg(q.y - r) + "\" width=\"" + numero_svg(2 * r) + "\" height=\"" + numero_svg(2 * r) +
         "\">" + suggerimento(s) + "</rect>\n";
}

namespace {

std::string poligono(const std::vector<punto>& v, const scena::segno& s, const char* genere) {
  std::string p;
  for (const punto& q : v) p += numero_svg(q.x) + "," + numero_svg(q.y) + " ";
  p.pop_back();
  return "<polygon class=\"" + std::string(genere) + "\" data-segno=\"" + genere + "\" points=\"" + p + "\">" +
         suggerimento(s) + "</polygon>\n";
}

}  // namespace

std::string rombo(punto q, double r, const scena::segno& s, const char* genere) {
  return poligono({{q.x, q.y - r}, {q.x + r, q.y}, {q.x, q.y + r}, {q.x - r, q.y}}, s, genere);
}

std::string triangolo(punto q, double r, const scena::segno& s, const char* genere) {
  return poligono({{q.x, q.y - r}, {q.x + r, q.y + r * 0.8}, {q.x - r, q.y + r * 0.8}}, s, genere);
}

std::string titolo_avviso(const scena& s, const std::string& dettaglio) {
  return "<title>" + escape_xml(dettaglio + ": oltre la fine del percorso, " + metri(s.lunghezza)) + "</title>";
}

std::string alone(const scena& s, punto q, double r, const std::string& dettaglio) {
  return "<circle class=\"oltre-fine\" " + dati_avviso + " cx=\"" + numero_svg(q.x) + "\" cy=\"" + numero_svg(q.y) +
         "\" r=\"" + numero_svg(r) + "\">" + titolo_avviso(s, dettaglio) + "</circle>\n";
}

std::string colore_montagna(int32_t tipo) {
  static const char* const colori[] = {"#8d6e63", "#6d4c41", "#a1887f", "#5d4037", "#795548", "#4e342e"};
  return colori[static_cast<size_t>(std::abs(static_cast<int64_t>(tipo)) % 6)];
}

}  // namespace tela

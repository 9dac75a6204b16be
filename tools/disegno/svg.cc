// Number formatting, text conversion and escaping, label placing.
#include "disegno/svg.h"

#include <charconv>
#include <cmath>

#include "model/windows1252.h"

std::string numero_svg(double v, int decimali) {
  if (!std::isfinite(v)) return "0";
  char b[64];
  auto [fine, ec] = std::to_chars(b, b + sizeof b, v, std::chars_format::fixed, decimali);
  if (ec != std::errc()) return "0";
  std::string s(b, fine);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

std::string testo_da_cp1252(std::string_view cp1252) {
  std::string pulito;
  for (char c : cp1252) {
    const auto b = static_cast<unsigned char>(c);
    // C0 controls, DEL, and the C1 controls that stand for Windows-1252's
    // five undefined bytes.
    if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
      pulito += '\x01';
    else
      pulito += c;
  }
  std::string utf8 = da_cp1252_a_utf8(pulito);
  std::string risultato;
  for (char c : utf8) {
    if (c == '\x01')
      risultato += "\xEF\xBF\xBD";
    else
      risultato += c;
  }
  return risultato;
}

std::string escape_xml(std::string_view utf8) {
  std::string s;
  s.reserve(utf8.size());
  for (char c : utf8) {
    switch (c) {
      case '&': s += "&amp;"; break;
      case '<': s += "&lt;"; break;
      case '>': s += "&gt;"; break;
      case '"': s += "&quot;"; break;
      case '\'': s += "&apos;"; break;
      default: s += c;
    }
  }
  return s;
}

double larghezza_testo(std::string_view utf8, double corpo, bool grassetto) {
  // Average advances of a sans-serif face, in ems: capitals are wider than
  // small letters, blanks and stops narrower.
  double em = 0;
  for (char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if ((b & 0xC0) == 0x80) continue;
    if (c >= 'A' && c <= 'Z')
      em += c == 'I' ? 0.32 : c == 'M' || c == 'W' ? 0.88 : 0.72;
    else if (c == ' ' || c == '.' || c == ',' || c == ':' || c == '\'' || c == 'i' || c == 'l' || c == 'j')
      em += 0.32;
    else if (c >= '0' && c <= '9')
      em += 0.64;
    else
      em += 0.6;
  }
  return em * corpo * (grassetto ? 1.1 : 1.0);
}

bool piazzatore::prova(const rettangolo& r) {
  for (const rettangolo& o : occupati_)
    if (o.tocca(r)) return false;
  occupati_.push_back(r);
  return true;
}

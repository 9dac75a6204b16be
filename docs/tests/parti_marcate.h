// The parts of a Markdown document that its tests read: a fenced block or a
// table that follows a marker line "<!-- KIND: WHAT -->". The markers are
// HTML comments, so the document reads the same without them.
#pragma once

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace documento {

inline std::vector<std::string> righe(const std::string& testo) {
  std::vector<std::string> r;
  std::istringstream in(testo);
  for (std::string riga; std::getline(in, riga);) r.push_back(riga);
  return r;
}

struct parti_marcate {
  std::map<std::string, std::vector<std::vector<std::string>>> blocchi;  // by WHAT: each block's lines, in order
  std::map<std::string, std::vector<std::vector<std::string>>> tabelle;  // by WHAT: rows of cells, header left out
};

inline std::string pulisci(const std::string& s) {
  const size_t a = s.find_first_not_of(' ');
  const size_t b = s.find_last_not_of(' ');
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// Every part of `testo` marked with KIND `tipo`.
inline parti_marcate parti(const std::string& testo, const std::string& tipo) {
  const std::regex marcatore("^<!-- " + tipo + R"re(: (.+) -->$)re");
  parti_marcate p;
  const std::vector<std::string> r = righe(testo);
  for (size_t i = 0; i + 1 < r.size(); ++i) {
    std::smatch m;
    if (!std::regex_match(r[i], m, marcatore)) continue;
    const std::string cosa = m[1];
    if (r[i + 1].starts_with("```")) {
      std::vector<std::string>& b = p.blocchi[cosa].emplace_back();
      for (size_t k = i + 2; k < r.size() && !r[k].starts_with("```"); ++k) b.push_back(r[k]);
    } else if (r[i + 1].starts_with("|")) {
      auto& t = p.tabelle[cosa];
      for (size_t k = i + 3; k < r.size() && r[k].starts_with("|"); ++k) {
        std::vector<std::string> celle;
        std::string resto = r[k].substr(1);
        for (size_t q; (q = resto.find('|')) != std::string::npos; resto = resto.substr(q + 1))
          celle.push_back(pulisci(resto.substr(0, q)));
        t.push_back(celle);
      }
    }
  }
  return p;
}

}  // namespace documento

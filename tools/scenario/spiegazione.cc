#include "spiegazione.h"

#include <vector>

#include "diagnosi/codici.h"
#include "diagnosi/distanza.h"
#include "driver/stati_uscita.h"

namespace {

// A table row's cells, trimmed; a "|" inside `code` stays in its cell.
std::vector<std::string> celle(std::string_view riga) {
  std::vector<std::string> c;
  std::string cella;
  bool codice = false;
  for (size_t i = 1; i < riga.size(); ++i) {
    const char x = riga[i];
    if (x == '`') codice = !codice;
    if (x == '|' && !codice && riga[i - 1] != '\\') {
      const size_t a = cella.find_first_not_of(' ');
      c.push_back(a == std::string::npos ? std::string() : cella.substr(a, cella.find_last_not_of(' ') - a + 1));
      cella.clear();
      continue;
    }
    cella += x;
  }
  return c;
}

// A cell's words without Markdown: no backticks, no emphasis, a link's text
// without its target.
std::string parole(std::string_view c) {
  std::string t;
  bool codice = false;
  for (size_t i = 0; i < c.size(); ++i) {
    if (c[i] == '`') {
      codice = !codice;
      continue;
    }
    if (c.compare(i, 2, "\\|") == 0) continue;  // the "|" comes next
    if (!codice && c.compare(i, 2, "**") == 0) {
      ++i;
      continue;
    }
    if (!codice && c[i] == '[') {
      const size_t chiusa = c.find("](", i);
      const size_t fine = chiusa == std::string_view::npos ? chiusa : c.find(')', chiusa);
      if (fine != std::string_view::npos && c.substr(i + 1, chiusa - i - 1).find_first_of("[]") == std::string_view::npos) {
        t += parole(c.substr(i + 1, chiusa - i - 1));
        i = fine;
        continue;
      }
    }
    t += c[i];
  }
  return t;
}

bool separatore(std::string_view riga) { return riga.starts_with("|---") || riga.starts_with("| ---"); }

// The first cell that names `codice` in a row: "15" for an error, "`nome`"
// for a code.
std::optional<std::string> chiave_di(std::string_view codice) {
  std::string_view c = codice;
  if (!c.empty() && (c.front() == 'E' || c.front() == 'e')) c.remove_prefix(1);
  if (!c.empty() && c.find_first_not_of("0123456789") == std::string_view::npos) {
    const std::string n(c.substr(c.find_first_not_of('0') == std::string_view::npos ? c.size() - 1
                                                                                      : c.find_first_not_of('0')));
    return n;
  }
  if (codice.empty()) return std::nullopt;
  return "`" + std::string(codice) + "`";
}

}  // namespace

std::optional<std::string> spiegazione(std::string_view codice, std::string_view riferimento) {
  const std::optional<std::string> chiave = chiave_di(codice);
  if (!chiave) return std::nullopt;
  std::vector<std::string> intestazione;
  std::string_view precedente;
  size_t inizio = 0;
  while (inizio < riferimento.size()) {
    size_t fine = riferimento.find('\n', inizio);
    if (fine == std::string_view::npos) fine = riferimento.size();
    const std::string_view riga = riferimento.substr(inizio, fine - inizio);
    inizio = fine + 1;
    if (separatore(riga) && precedente.starts_with("|")) {
      intestazione = celle(precedente);
    } else if (riga.starts_with("|") && !intestazione.empty()) {
      const std::vector<std::string> c = celle(riga);
      // An error's row is in the table of messages, a code's in a table of
      // codes (other tables number their rows too).
      const bool tabella_giusta = chiave->front() == '`' ? intestazione[0] == "codice"
                                                         : intestazione.size() > 1 && intestazione[1] == "messaggio";
      if (tabella_giusta && !c.empty() && c[0] == *chiave) {
        std::string t = parole(c[0]) + "\n";
        for (size_t i = 1; i < c.size(); ++i)
          t += (i < intestazione.size() ? parole(intestazione[i]) : std::string("")) + ": " + parole(c[i]) + "\n";
        return t;
      }
    } else if (!riga.starts_with("|")) {
      intestazione.clear();
    }
    precedente = riga;
  }
  return std::nullopt;
}

int comando_explain(std::string_view codice, std::ostream& stampa, std::ostream& errori) {
  if (auto t = spiegazione(codice)) {
    stampa << *t;
    return uscita_riuscita;
  }
  std::string vicini;
  for (codice_avviso c : codici_avviso)
    if (distanza(codice, nome_avviso(c), 3) <= 3) vicini += " \"" + std::string(nome_avviso(c)) + "\"";
  errori << "scenario explain: \"" << codice << "\" non è il numero di un errore né il codice di un avviso";
  if (!vicini.empty()) errori << " (forse" << vicini << "?)";
  errori << "; i codici sono in sorgenti.md, in \"Gli errori\" e \"Gli avvisi\"\n";
  return uscita_uso_errato;
}

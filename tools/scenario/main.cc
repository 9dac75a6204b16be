// scenario: the author tool. Its commands (comandi.h) build a scenario's
// source texts, decode and draw the binary files, watch the sources, and pack
// scenario folders into package programs without a compiler.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "comandi.h"
#include "diagnosi/distanza.h"
#include "driver/stati_uscita.h"
#include "platform/piattaforma_di_sistema.h"
#include "riga_di_comando.h"
#include "terminale.h"

namespace {

// The name of a command's option or argument as the author types it.
std::vector<std::string> nomi_di(const CLI::Option* o) {
  std::vector<std::string> n;
  for (const std::string& l : o->get_lnames()) n.push_back("--" + l);
  for (const std::string& s : o->get_snames()) n.push_back("-" + s);
  return n;
}

// What CLI11 says (in English) in the author's words, by the kind of error;
// `comando` is the command given, if any.
std::string in_italiano(const CLI::ParseError& e, const CLI::App* comando) {
  const std::string t = e.what();
  const std::string tipo = e.get_name();
  if (tipo == "RequiredError") {
    if (comando)
      for (const CLI::Option* o : comando->get_options())
        if (o->get_required() && o->count() == 0)
          return o->get_positional() ? "manca l'argomento " + o->get_name() : "manca l'opzione " + o->get_name();
    return "manca il comando";
  }
  if (tipo == "ExtrasError") return "argomenti in più, che il comando non prende:" + t.substr(t.find(':') + 1);
  if (tipo == "ArgumentMismatch") return t.substr(0, t.find(':')) + ": manca il suo valore";
  if (tipo == "ExcludesError") {
    const size_t p = t.find(" excludes ");
    if (p != std::string::npos) return t.substr(0, p) + " e " + t.substr(p + 10) + " non vanno insieme";
  }
  if (tipo == "ConversionError") {
    const size_t p = t.find(": ");
    return (p == std::string::npos ? t : t.substr(p + 2)) + ": valore non valido";
  }
  // A check of ours (comandi.cc): "OPTION: words" in Italian already.
  return t;
}

// A parse error in words an author can act on: a command that is none, with
// the nearest one; an option the command does not have, with the nearest;
// else what is wrong; then the help of the command being given. `argv` in
// UTF-8.
std::string errore_di_uso(const CLI::App& app, int argc, char** argv, const CLI::ParseError& e) {
  std::vector<std::string> nomi;
  for (const CLI::App* c : app.get_subcommands({})) nomi.push_back(c->get_name());
  const std::string primo = argc > 1 ? argv[1] : "";
  if (!primo.empty() && primo.front() != '-' && std::find(nomi.begin(), nomi.end(), primo) == nomi.end()) {
    std::string t = "\"" + primo + "\" non è un comando";
    for (const std::string& n : nomi)
      if (distanza(primo, n, 2) <= 2) t += " (forse \"" + n + "\"?)";
    t += "; i comandi sono";
    for (const std::string& n : nomi) t += " " + n;
    return t + "\n(scenario --help per l'uso)";
  }
  const CLI::App* comando = nullptr;
  for (const CLI::App* c : app.get_subcommands()) comando = c;
  const std::string aiuto =
      comando ? "\n(scenario " + comando->get_name() + " --help per l'uso)" : "\n(scenario --help per l'uso)";

  // An option that is none of the command's, named as such before anything
  // it may have caused (a required one seen as missing).
  if (comando) {
    std::vector<std::string> note = {"--help", "-h"};
    for (const CLI::Option* o : comando->get_options())
      for (const std::string& n : nomi_di(o)) note.push_back(n);
    for (int i = 2; i < argc; ++i) {
      const std::string a = argv[i];
      if (a == "--") break;
      if (a.size() < 2 || a.front() != '-' || (a[1] >= '0' && a[1] <= '9')) continue;
      const std::string nome = a.substr(0, a.find('='));
      if (std::find(note.begin(), note.end(), nome) != note.end()) continue;
      std::string t = nome + ": opzione sconosciuta";
      std::string vicina;
      size_t migliore = 3;
      for (const std::string& n : note) {
        const size_t d = distanza(nome, n, 3);
        if (d < migliore || (d == migliore && vicina.empty() && d <= 2)) {
          migliore = d;
          vicina = n;
        }
      }
      if (!vicina.empty()) t += ", forse " + vicina + "?";
      return t + aiuto;
    }
  }
  return in_italiano(e, comando) + aiuto;
}

// CLI11's own words in the help, in Italian where it lets them be set.
void aiuto_in_italiano(CLI::App& app) {
  const auto f = app.get_formatter();
  for (const auto& [inglese, italiano] : std::initializer_list<std::pair<const char*, const char*>>{
           {"Usage", "Uso"},
           {"Positionals", "Argomenti"},
           {"OPTIONS", "OPZIONI"},
           {"SUBCOMMAND", "COMANDO"},
           {"SUBCOMMANDS", "COMANDI"},
           {"REQUIRED", "(obbligatorio)"},
           {"TEXT", "TESTO"},
           {"INT", "NUMERO"},
           {"UINT", "NUMERO"},
           {"Excludes", "Esclude"},
           {"Needs", "Richiede"},
           {"Env", "Ambiente"}})
    f->label(inglese, italiano);
  app.option_defaults()->group("Opzioni");
  app.set_help_flag("-h,--help", "Mostra questo aiuto ed esce");
}

}  // namespace

int main(int argc, char** argv) {
  prepara_terminale();
  CLI::App app{"Costruisce uno scenario dai suoi testi sorgente nei tre file binari che il simulatore carica, "
               "decodifica e disegna quei file, e impacchetta la cartella di uno scenario in programmi da "
               "distribuire.",
               "scenario"};
  aiuto_in_italiano(app);
  app.require_subcommand(1);
  app.set_version_flag("--version", "scenario " SCENARIO_VERSIONE, "Mostra la versione ed esce");

  // Every command of the table on the command line.
  std::vector<std::pair<CLI::App*, std::unique_ptr<comando>>> dati;
  for (const voce_comando& v : comandi()) {
    CLI::App* sotto = app.add_subcommand(std::string(v.nome), std::string(v.descrizione));
    sotto->group("Comandi");
    // CLI11 puts each command's help flag in a group of its own name.
    if (CLI::Option* h = sotto->get_help_ptr()) h->group("Opzioni");
    std::unique_ptr<comando> c = v.crea();
    c->opzioni(*sotto);
    dati.emplace_back(sotto, std::move(c));
  }

  argomenti_utf8 argomenti(argc, argv);
  try {
    app.parse(argomenti.argc(), argomenti.argv());
  } catch (const CLI::ParseError& e) {
    // Help goes to standard output with status 0; a parse error is bad use.
    if (e.get_exit_code() == 0) return app.exit(e);
    std::cerr << "scenario: " << errore_di_uso(app, argomenti.argc(), argomenti.argv(), e) << '\n';
    return uscita_uso_errato;
  }

  // One platform for every command; relative paths count from the working
  // folder.
  const std::unique_ptr<piattaforma> sistema = piattaforma_di_sistema(std::filesystem::current_path());
  for (auto& [sotto, c] : dati)
    if (sotto->parsed()) return c->esegui(*sistema);
  // require_subcommand(1) lets no line through without one.
  std::cerr << "scenario: nessun comando (scenario --help per l'uso)\n";
  return uscita_uso_errato;
}

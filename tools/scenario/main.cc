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

// A parse error in words an author can act on: a command that is none, with
// the nearest one, and the help of the command being given. `argv` in UTF-8.
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
  for (const CLI::App* c : app.get_subcommands())
    return std::string(e.what()) + "\n(scenario " + c->get_name() + " --help per l'uso)";
  return std::string(e.what()) + "\n(scenario --help per l'uso)";
}

}  // namespace

int main(int argc, char** argv) {
  prepara_terminale();
  CLI::App app{"Builds a scenario from its two source texts into the three binary files the simulator loads, "
               "decodes those files and draws them, and packs a scenario folder into package programs.",
               "scenario"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "scenario " SCENARIO_VERSIONE);

  // Every command of the table on the command line.
  std::vector<std::pair<CLI::App*, std::unique_ptr<comando>>> dati;
  for (const voce_comando& v : comandi()) {
    CLI::App* sotto = app.add_subcommand(std::string(v.nome), std::string(v.descrizione));
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

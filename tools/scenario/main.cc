// scenario: the author tool. `scenario build` runs the package program's build
// over any scenario's source texts and reports its errors; `scenario inspect`
// decodes any of the three binary files it writes; `scenario draw` draws
// them as a map and a profile; `scenario watch` builds and draws again on
// every save and shows the result on a page that updates itself; `scenario
// pack`, `unpack` and `new` make package programs without a compiler
// (comandi_pacchetto.h).
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "comandi_pacchetto.h"
#include "costruzione.h"
#include "disegno/comando_disegno.h"
#include "ispezione.h"
#include "osserva/comando_osserva.h"
#include "platform/piattaforma_di_sistema.h"
#include "diagnosi/distanza.h"
#include "riga_di_comando.h"
#include "terminale.h"

namespace {

// A parse error in words an author can act on: a command that is none, with
// the nearest one, and the help of the command being given.
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

  richiesta_build build;
  bool build_json = false;
  bool build_mostra_riga = false;
  std::string codifica = "auto";
  std::filesystem::path linea, treno;
  CLI::App* comando_b = app.add_subcommand(
      "build",
      "Builds NAME_linea.dat, NAME_NUMBER.sim and NAME_NUMBER.dat in the output folder. Warnings (what the "
      "build drops or bends in the sources) go to standard error as FILE:LINE:COLUMN: attenzione: ... and do not "
      "change the exit status unless --werror. Exit status: 0 no error, 1 build error (or a warning with "
      "--werror), 2 bad use (nothing written), 3 a file operation failed.");
  comando_b->add_option("--name", build.nome, "Scenario name (nome_scenario)")->required();
  comando_b->add_option("--number", build.numero, "Train number (numero_treno)")->required();
  CLI::Option* opzione_linea =
      opzione_percorso(comando_b, "--line", linea, "Line source text (default: NAME_linea.txt)");
  CLI::Option* opzione_treno =
      opzione_percorso(comando_b, "--train", treno, "Train source text (default: NAME_NUMBER-.txt)");
  opzione_percorso(comando_b, "--out", build.uscita,
                   "Output folder, created when missing (default: the current folder)");
  comando_b->add_flag("--no-line-file", build.senza_linea, "Do not build or write the line file NAME_linea.dat");
  comando_b->add_flag("--json", build_json,
                      "Print the outcome as one JSON object on standard output (not on bad use)");
  comando_b
      ->add_option("--encoding", codifica,
                   "How the sources are written: auto (UTF-8 when a text starts with the byte-order mark, or is "
                   "valid UTF-8 with at least one accented or other non-ASCII character; else Windows-1252), "
                   "utf-8, windows-1252. UTF-8 is converted to Windows-1252; a character that Windows-1252 cannot "
                   "hold is bad use, named at FILE:LINE:COLUMN (default: auto)")
      ->check(CLI::IsMember({"auto", "utf-8", "windows-1252"}));
  comando_b->add_flag("--show-line", build_mostra_riga,
                      "Show the source line of an error or a warning under its message, with a caret under the "
                      "column (done anyway when standard error is a terminal; never with --json)");
  comando_b->add_flag("--werror", build.avvisi_come_errori,
                      "Treat warnings as errors: any warning makes the exit status 1 (the files are written as "
                      "without it)");

  richiesta_ispezione ispezione;
  CLI::App* comando_i = app.add_subcommand(
      "inspect",
      "Decodes a binary file, chosen by its name: *_linea.dat (coordinates), *.sim (header records), "
      "*.dat (route grid). Exit status: 0 decoded, 1 not a valid file, 2 bad use.");
  opzione_percorso(comando_i, "FILE", ispezione.file, "The file to decode")->required();
  comando_i->add_flag("--json", ispezione.json, "Print the content as one JSON object");
  comando_i->add_flag("--all", ispezione.tutti, "Line file: every metre, not a sample");
  comando_i->add_option("--step", ispezione.passo, "Line file: show a metre every STEP (default 100)")
      ->check(CLI::PositiveNumber);

  richiesta_disegno disegno;
  std::filesystem::path disegno_uscita;
  CLI::App* comando_d = app.add_subcommand(
      "draw",
      "Draws the binary files of a build (not the sources) into one SVG: the map of the track with stations, "
      "signals, signs, speed indicators and slowdowns, and the profile of gradient, line speed, mountain sections "
      "and adhesion. Without NAME_linea.dat, the profile alone. Exit status: 0 drawn, 1 a binary file missing or "
      "not valid (nothing written), 2 bad use, 3 the SVG could not be written.");
  comando_d->add_option("--name", disegno.nome, "Scenario name (nome_scenario)")->required();
  comando_d->add_option("--number", disegno.numero, "Train number (numero_treno)")->required();
  opzione_percorso(comando_d, "--dir", disegno.cartella, "Folder of the binary files (default: the current folder)");
  CLI::Option* opzione_disegno_uscita =
      opzione_percorso(comando_d, "--out", disegno_uscita, "The SVG file (default: DIR/NAME_NUMBER.svg)");

  richiesta_osserva osserva;
  std::string codifica_w = "auto";
  bool osserva_mostra_riga = false;
  CLI::App* comando_w = app.add_subcommand(
      "watch",
      "Builds as build does, draws as draw does, and serves a page on 127.0.0.1 that shows the drawing and the "
      "outcome; builds again whenever a source is saved, and the page follows. Ctrl-C ends it. Exit status: 0 "
      "ended, 2 bad use, 3 the page could not be served.");
  comando_w->add_option("--name", osserva.build.nome, "Scenario name (nome_scenario)")->required();
  comando_w->add_option("--number", osserva.build.numero, "Train number (numero_treno)")->required();
  CLI::Option* opzione_linea_w =
      opzione_percorso(comando_w, "--line", linea, "Line source text (default: NAME_linea.txt)");
  CLI::Option* opzione_treno_w =
      opzione_percorso(comando_w, "--train", treno, "Train source text (default: NAME_NUMBER-.txt)");
  opzione_percorso(comando_w, "--out", osserva.build.uscita,
                   "Output folder, as for build (default: the current folder)");
  comando_w->add_option("--port", osserva.porta, "Port on 127.0.0.1 (default: a free one)")->check(CLI::Range(1, 65535));
  comando_w->add_option("--encoding", codifica_w, "How the sources are written, as for build (default: auto)")
      ->check(CLI::IsMember({"auto", "utf-8", "windows-1252"}));
  comando_w->add_flag("--show-line", osserva_mostra_riga,
                      "Show the source line of an error under its message (done anyway on a terminal)");

  comandi_pacchetto pacchetti(app);

  try {
    argomenti_utf8 argomenti(argc, argv);
    app.parse(argomenti.argc(), argomenti.argv());
  } catch (const CLI::ParseError& e) {
    // Help goes to standard output with status 0; a parse error is bad use.
    if (e.get_exit_code() == 0) return app.exit(e);
    std::cerr << "scenario: " << errore_di_uso(app, argc, argv, e) << '\n';
    return uscita_uso_errato;
  }

  // One platform for every command; relative paths count from the working
  // folder.
  const std::unique_ptr<piattaforma> sistema = piattaforma_di_sistema(std::filesystem::current_path());
  if (comando_b->parsed()) {
    if (opzione_linea->count() > 0) build.linea = linea;
    if (opzione_treno->count() > 0) build.treno = treno;
    build.codifica = *codifica_di_nome(codifica);
    const bool mostra_riga = build_mostra_riga || errori_su_terminale();
    return comando_build(*sistema, build, build_json, mostra_riga, std::cout, std::cerr);
  }
  if (comando_w->parsed()) {
    if (opzione_linea_w->count() > 0) osserva.build.linea = linea;
    if (opzione_treno_w->count() > 0) osserva.build.treno = treno;
    osserva.build.codifica = *codifica_di_nome(codifica_w);
    return comando_watch(*sistema, osserva, osserva_mostra_riga || errori_su_terminale(), std::cout, std::cerr);
  }
  if (std::optional<int> stato = pacchetti.esegui(*sistema)) return *stato;
  if (comando_d->parsed()) {
    if (opzione_disegno_uscita->count() > 0) disegno.uscita = disegno_uscita;
    return comando_draw(*sistema, disegno, std::cerr);
  }
  return comando_inspect(*sistema, ispezione, std::cout, std::cerr);
}

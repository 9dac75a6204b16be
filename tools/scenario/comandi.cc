// Each command's options and run: the glue between the command line and the
// command's unit (costruzione.h, ispezione.h, disegno/, osserva/, impacchetta.h,
// spacchetta.h, nuovo.h).
#include "comandi.h"

#include <iostream>

#include "costruzione.h"
#include "disegno/comando_disegno.h"
#include "impacchetta.h"
#include "ispezione.h"
#include "nuovo.h"
#include "osserva/comando_osserva.h"
#include "riga_di_comando.h"
#include "spacchetta.h"
#include "terminale.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> codifiche_lette = {"auto", "utf-8", "windows-1252"};

// The options of every command that builds a pair of source texts, into the
// request once the line is read.
class opzioni_build {
 public:
  void aggiungi(CLI::App& c) {
    c.add_option("--name", q_.nome, "Scenario name (nome_scenario)")->required();
    c.add_option("--number", q_.numero, "Train number (numero_treno)")->required();
    linea_ = opzione_percorso(&c, "--line", percorso_linea_, "Line source text (default: NAME_linea.txt)");
    treno_ = opzione_percorso(&c, "--train", percorso_treno_, "Train source text (default: NAME_NUMBER-.txt)");
    opzione_percorso(&c, "--out", q_.uscita, "Output folder, created when missing (default: the current folder)");
    c.add_option("--encoding", codifica_,
                 "How the sources are written: auto (UTF-8 when a text starts with the byte-order mark, or is "
                 "valid UTF-8 with at least one accented or other non-ASCII character; else Windows-1252), "
                 "utf-8, windows-1252. UTF-8 is converted to Windows-1252; a character that Windows-1252 cannot "
                 "hold is bad use, named at FILE:LINE:COLUMN (default: auto)")
        ->check(CLI::IsMember(codifiche_lette));
    c.add_flag("--show-line", mostra_riga_,
               "Show the source line of an error or a warning under its message, with a caret under the "
               "column (done anyway when standard error is a terminal; never with --json)");
  }

  // The request as the command line gave it.
  const richiesta_build& richiesta() {
    if (linea_->count() > 0) q_.linea = percorso_linea_;
    if (treno_->count() > 0) q_.treno = percorso_treno_;
    q_.codifica = *codifica_di_nome(codifica_);
    return q_;
  }
  bool mostra_riga() const { return mostra_riga_ || errori_su_terminale(); }
  richiesta_build& q() { return q_; }

 private:
  richiesta_build q_;
  std::string codifica_ = "auto";
  fs::path percorso_linea_, percorso_treno_;
  CLI::Option* linea_ = nullptr;
  CLI::Option* treno_ = nullptr;
  bool mostra_riga_ = false;
};

class build : public comando {
 public:
  void opzioni(CLI::App& c) override {
    o_.aggiungi(c);
    c.add_flag("--no-line-file", o_.q().senza_linea, "Do not build or write the line file NAME_linea.dat");
    c.add_flag("--json", json_, "Print the outcome as one JSON object on standard output (not on bad use)");
    c.add_flag("--werror", o_.q().avvisi_come_errori,
               "Treat warnings as errors: any warning makes the exit status 1 (the files are written as "
               "without it)");
  }
  int esegui(piattaforma& sistema) override {
    return comando_build(sistema, o_.richiesta(), json_, o_.mostra_riga(), std::cout, std::cerr);
  }

 private:
  opzioni_build o_;
  bool json_ = false;
};

class inspect : public comando {
 public:
  void opzioni(CLI::App& c) override {
    opzione_percorso(&c, "FILE", q_.file, "The file to decode")->required();
    c.add_flag("--json", q_.json, "Print the content as one JSON object");
    c.add_flag("--all", q_.tutti, "Line file: every metre, not a sample");
    c.add_option("--step", q_.passo, "Line file: show a metre every STEP (default 100)")->check(CLI::PositiveNumber);
  }
  int esegui(piattaforma& sistema) override { return comando_inspect(sistema, q_, std::cout, std::cerr); }

 private:
  richiesta_ispezione q_;
};

class draw : public comando {
 public:
  void opzioni(CLI::App& c) override {
    c.add_option("--name", q_.nome, "Scenario name (nome_scenario)")->required();
    c.add_option("--number", q_.numero, "Train number (numero_treno)")->required();
    opzione_percorso(&c, "--dir", q_.cartella, "Folder of the binary files (default: the current folder)");
    uscita_ = opzione_percorso(&c, "--out", percorso_uscita_, "The SVG file (default: DIR/NAME_NUMBER.svg)");
  }
  int esegui(piattaforma& sistema) override {
    if (uscita_->count() > 0) q_.uscita = percorso_uscita_;
    return comando_draw(sistema, q_, std::cerr);
  }

 private:
  richiesta_disegno q_;
  fs::path percorso_uscita_;
  CLI::Option* uscita_ = nullptr;
};

class watch : public comando {
 public:
  void opzioni(CLI::App& c) override {
    o_.aggiungi(c);
    c.add_option("--port", porta_, "Port on 127.0.0.1 (default: a free one)")->check(CLI::Range(1, 65535));
  }
  int esegui(piattaforma& sistema) override {
    richiesta_osserva q;
    q.build = o_.richiesta();
    q.porta = porta_;
    return comando_watch(sistema, q, o_.mostra_riga(), std::cout, std::cerr);
  }

 private:
  opzioni_build o_;
  int porta_ = 0;
};

class pack : public comando {
 public:
  void opzioni(CLI::App& c) override {
    opzione_percorso(&c, "DIR", q_.cartella, "The scenario folder")->required();
    windows_ = opzione_percorso(&c, "--windows", percorso_windows_, "Write only the Windows program, as FILE.exe");
    linux_ = opzione_percorso(&c, "--linux", percorso_linux_,
                              "Write only the Linux program, as FILE (both options: both)");
    c.add_option("--encoding", codifica_,
                 "How the folder's files are written: auto, utf-8, windows-1252, as for build (default: auto)")
        ->check(CLI::IsMember(codifiche_lette));
    c.add_flag("--werror", q_.avvisi_come_errori,
               "Treat the build's warnings as errors: any warning refuses the packing");
    c.add_flag("--force", q_.forza, "Pack even when the build records an error, and say so");
  }
  int esegui(piattaforma& sistema) override {
    if (windows_->count() > 0) q_.windows = percorso_windows_;
    if (linux_->count() > 0) q_.linux_ = percorso_linux_;
    q_.codifica = *codifica_di_nome(codifica_);
    return comando_pack(sistema, q_, std::cerr);
  }

 private:
  richiesta_pack q_;
  std::string codifica_ = "auto";
  fs::path percorso_windows_, percorso_linux_;
  CLI::Option* windows_ = nullptr;
  CLI::Option* linux_ = nullptr;
};

// --encoding of the commands that write a folder.
void opzione_scrittura(CLI::App& c, std::string& scrittura) {
  c.add_option("--encoding", scrittura,
               "How to write the seven files: windows-1252, as the program holds them and as the simulator's "
               "files are (default), or utf-8, for an editor that writes UTF-8; build and pack read both")
      ->check(CLI::IsMember({"utf-8", "windows-1252"}));
}

class unpack : public comando {
 public:
  void opzioni(CLI::App& c) override {
    opzione_percorso(&c, "PROGRAM", programma_, "The program made by pack")->required();
    opzione_percorso(&c, "DIR", cartella_, "The folder to write; it must not hold a scenario's files already")
        ->required();
    opzione_scrittura(c, scrittura_);
  }
  int esegui(piattaforma& sistema) override {
    return comando_unpack(sistema, programma_, cartella_, *codifica_di_nome(scrittura_), std::cerr);
  }

 private:
  fs::path programma_, cartella_;
  std::string scrittura_ = "windows-1252";
};

class nuovo : public comando {
 public:
  void opzioni(CLI::App& c) override {
    opzione_percorso(&c, "DIR", cartella_, "The folder to write; it must not hold a scenario's files already")
        ->required();
    opzione_scrittura(c, scrittura_);
  }
  int esegui(piattaforma& sistema) override {
    return comando_new(sistema, cartella_, *codifica_di_nome(scrittura_), std::cerr);
  }

 private:
  fs::path cartella_;
  std::string scrittura_ = "windows-1252";
};

template <class C>
std::unique_ptr<comando> crea() {
  return std::make_unique<C>();
}

}  // namespace

const std::vector<voce_comando>& comandi() {
  static const std::vector<voce_comando> tabella = {
      {"build",
       "Builds NAME_linea.dat, NAME_NUMBER.sim and NAME_NUMBER.dat in the output folder. Warnings (what the "
       "build drops or bends in the sources) go to standard error as FILE:LINE:COLUMN: attenzione: ... and do not "
       "change the exit status unless --werror. Exit status: 0 no error, 1 build error (or a warning with "
       "--werror), 2 bad use (nothing written), 3 a file operation failed.",
       crea<build>},
      {"inspect",
       "Decodes a binary file, chosen by its name: *_linea.dat (coordinates), *.sim (header records), "
       "*.dat (route grid). Exit status: 0 decoded, 1 not a valid file, 2 bad use.",
       crea<inspect>},
      {"draw",
       "Draws the binary files of a build (not the sources) into one SVG: the map of the track with stations, "
       "signals, signs, speed indicators and slowdowns, and the profile of gradient, line speed, mountain "
       "sections and adhesion. Without NAME_linea.dat, the profile alone. Exit status: 0 drawn, 1 a binary file "
       "missing or not valid (nothing written), 2 bad use, 3 the SVG could not be written.",
       crea<draw>},
      {"watch",
       "Builds as build does, draws as draw does, and serves a page on 127.0.0.1 that shows the drawing and the "
       "outcome; builds again whenever a source is saved, and the page follows. Ctrl-C ends it. Exit status: 0 "
       "ended, 2 bad use, 3 the page could not be served.",
       crea<watch>},
      {"pack",
       "Packs the scenario folder DIR (seven files, as scenarios/NAME holds them) into package programs that "
       "need no compiler: NAME_NUMBER.exe for Windows and NAME_NUMBER for Linux in the current folder, or those "
       "asked for. The scenario is built first; a build error refuses the packing. Exit status: 0 written, 1 "
       "build error or, with --werror, a warning (nothing written unless --force), 2 bad use or a folder that "
       "breaks a rule (nothing written), 3 a file operation failed or a stub is missing.",
       crea<pack>},
      {"unpack",
       "Writes the scenario folder DIR (created when missing) back out of a program made by pack, for Windows "
       "or Linux. Exit status: 0 written, 1 a program without a scenario or a damaged one, 2 bad use (nothing "
       "written), 3 a file operation failed.",
       crea<unpack>},
      {"new",
       "Writes a starter scenario folder DIR (created when missing): a small complete scenario with every kind "
       "of feature, to edit, build and pack. Exit status: 0 written, 2 bad use (nothing written), 3 a file "
       "operation failed.",
       crea<nuovo>},
  };
  return tabella;
}

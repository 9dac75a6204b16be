// The options of pack, unpack and new, and their run.
#include "comandi_pacchetto.h"

#include <iostream>

#include "nuovo.h"
#include "riga_di_comando.h"
#include "spacchetta.h"

comandi_pacchetto::comandi_pacchetto(CLI::App& app) {
  pack_ = app.add_subcommand(
      "pack",
      "Packs the scenario folder DIR (seven files, as scenarios/NAME holds them) into package programs that need "
      "no compiler: NAME_NUMBER.exe for Windows and NAME_NUMBER for Linux in the current folder, or those asked "
      "for. The scenario is built first; a build error refuses the packing. Exit status: 0 written, 1 build "
      "error or, with --werror, a warning (nothing written unless --force), 2 bad use or a folder that breaks a "
      "rule (nothing written), 3 a file operation failed or a stub is missing.");
  opzione_percorso(pack_, "DIR", pack_richiesta_.cartella, "The scenario folder")->required();
  opzione_windows_ = opzione_percorso(pack_, "--windows", windows_, "Write only the Windows program, as FILE.exe");
  opzione_linux_ =
      opzione_percorso(pack_, "--linux", linux_, "Write only the Linux program, as FILE (both options: both)");
  pack_
      ->add_option("--encoding", codifica_,
                   "How the folder's files are written: auto, utf-8, windows-1252, as for build (default: auto)")
      ->check(CLI::IsMember({"auto", "utf-8", "windows-1252"}));
  pack_->add_flag("--werror", pack_richiesta_.avvisi_come_errori,
                  "Treat the build's warnings as errors: any warning refuses the packing");
  pack_->add_flag("--force", pack_richiesta_.forza, "Pack even when the build records an error, and say so");

  unpack_ = app.add_subcommand(
      "unpack",
      "Writes the scenario folder DIR (created when missing) back out of a program made by pack, for Windows or "
      "Linux. Exit status: 0 written, 1 a program without a scenario or a damaged one, 2 bad use (nothing "
      "written), 3 a file operation failed.");
  opzione_percorso(unpack_, "PROGRAM", programma_, "The program made by pack")->required();
  opzione_percorso(unpack_, "DIR", cartella_, "The folder to write; it must not hold a scenario's files already")
      ->required();
  opzione_scrittura(unpack_);

  nuovo_ = app.add_subcommand(
      "new",
      "Writes a starter scenario folder DIR (created when missing): a small complete scenario with every kind of "
      "feature, to edit, build and pack. Exit status: 0 written, 2 bad use (nothing written), 3 a file "
      "operation failed.");
  opzione_percorso(nuovo_, "DIR", cartella_, "The folder to write; it must not hold a scenario's files already")
      ->required();
  opzione_scrittura(nuovo_);
}

void comandi_pacchetto::opzione_scrittura(CLI::App* comando) {
  comando
      ->add_option("--encoding", scrittura_,
                   "How to write the seven files: windows-1252, as the program holds them and as the simulator's "
                   "files are (default), or utf-8, for an editor that writes UTF-8; build and pack read both")
      ->check(CLI::IsMember({"utf-8", "windows-1252"}));
}

std::optional<int> comandi_pacchetto::esegui(piattaforma& sistema) {
  if (pack_->parsed()) {
    if (opzione_windows_->count() > 0) pack_richiesta_.windows = windows_;
    if (opzione_linux_->count() > 0) pack_richiesta_.linux_ = linux_;
    pack_richiesta_.codifica = *codifica_di_nome(codifica_);
    return comando_pack(sistema, pack_richiesta_, std::cerr);
  }
  const codifica_testo scrittura = *codifica_di_nome(scrittura_);
  if (unpack_->parsed()) return comando_unpack(sistema, programma_, cartella_, scrittura, std::cerr);
  if (nuovo_->parsed()) return comando_new(sistema, cartella_, scrittura, std::cerr);
  return std::nullopt;
}

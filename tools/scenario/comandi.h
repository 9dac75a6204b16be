// The tool's commands as one table: each row a name, what the command does
// (its help), and the command itself, which puts its options on its
// subcommand and runs once the command line has been read. main.cc builds the
// command line from the table and runs the one command given; a new command
// is a new row.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "platform/piattaforma.h"

class comando {
 public:
  virtual ~comando() = default;
  // Its options and arguments, onto its subcommand.
  virtual void opzioni(CLI::App& c) = 0;
  // Runs with what the command line gave; returns the exit status.
  virtual int esegui(piattaforma& sistema) = 0;
};

struct voce_comando {
  std::string_view nome;
  std::string_view descrizione;
  std::unique_ptr<comando> (*crea)();
};

// Every command, in the order the help lists them.
const std::vector<voce_comando>& comandi();

// Runs a program as a real process, for the tests that check what a program
// does as a whole: with arguments, in a given working folder, standard input
// empty, standard output and error captured, and an optional limit on the
// size of any file it writes (POSIX only; as `ulimit -f`, with SIGXFSZ left
// to end the program unless it ignores the signal itself).
#pragma once

#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

struct esito_processo {
  int stato = -1;  // exit status; -1 when it did not exit normally
  std::string stampa;  // standard output
  std::string errori;
};

// Runs `programma` (a path, or a name looked up in PATH) with `argomenti`
// in `cartella`.
esito_processo esegui_processo(const std::string& programma, const std::vector<std::string>& argomenti,
                               const std::filesystem::path& cartella, rlim_t limite_file = RLIM_INFINITY);

// Runs a copy of the package program `eseguibile` placed in `cartella`,
// started from the root folder, so that it must find its own folder by
// itself; the copy is removed afterwards.
esito_processo esegui_in_cartella(const std::filesystem::path& eseguibile, const std::filesystem::path& cartella,
                                  rlim_t limite_file = RLIM_INFINITY);

// The tool's command line in UTF-8 on every platform: its arguments, and the
// options that name files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

// The arguments of the process in UTF-8: on Windows taken from the wide
// command line (the narrow argv there is in the system's code page, which
// cannot hold every name); elsewhere argv as given.
class argomenti_utf8 {
 public:
  argomenti_utf8(int argc, char** argv);
  int argc() const { return static_cast<int>(puntatori_.size()) - 1; }
  char** argv() { return puntatori_.data(); }

 private:
  std::vector<std::string> testi_;
  std::vector<char*> puntatori_;  // into testi_, ending with nullptr
};

// An option whose value names a file or folder, turned into a path from
// UTF-8 (a plain std::filesystem::path option would take the narrow form,
// which on Windows is not UTF-8).
CLI::Option* opzione_percorso(CLI::App* comando, const std::string& nome, std::filesystem::path& percorso,
                              const std::string& descrizione);

// Runs the package program as a real process: a copy of the executable in a
// given folder, started from another working folder, with an optional limit
// on the size of the files it may write. Returns its exit status and what it
// wrote on standard error.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

struct esito_processo {
  int stato = -1;  // exit status; -1 when it did not exit normally
  std::string errori;
};

inline esito_processo esegui_in_cartella(const std::filesystem::path& eseguibile, const std::filesystem::path& cartella,
                                         rlim_t limite_file = RLIM_INFINITY) {
  const std::filesystem::path copia = cartella / eseguibile.filename();
  std::filesystem::copy_file(eseguibile, copia, std::filesystem::copy_options::overwrite_existing);
  const std::filesystem::path uscita = std::filesystem::temp_directory_path() /
                                       ("scenario-stderr-" + std::to_string(::getpid()) + ".txt");
  pid_t figlio = ::fork();
  if (figlio == 0) {
    // The program must find its folder by itself, not from the working folder.
    if (::chdir("/") != 0) ::_exit(126);
    int fd = ::open(uscita.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::dup2(fd, 2) < 0) ::_exit(126);
    if (limite_file != RLIM_INFINITY) {
      ::signal(SIGXFSZ, SIG_IGN);
      rlimit r{limite_file, limite_file};
      ::setrlimit(RLIMIT_FSIZE, &r);
    }
    ::execl(copia.c_str(), copia.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  esito_processo e;
  int stato = 0;
  ::waitpid(figlio, &stato, 0);
  if (WIFEXITED(stato)) e.stato = WEXITSTATUS(stato);
  std::ifstream in(uscita, std::ios::binary);
  e.errori.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::filesystem::remove(uscita);
  std::filesystem::remove(copia);
  return e;
}

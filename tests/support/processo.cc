#include "support/processo.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "support/cartella_temporanea.h"

esito_processo esegui_processo(const std::string& programma, const std::vector<std::string>& argomenti,
                               const std::filesystem::path& cartella, rlim_t limite_file) {
  cartella_temporanea flussi;
  const std::filesystem::path out = flussi / "stdout", err = flussi / "stderr";
  // Everything the child needs is made before the fork.
  std::vector<std::string> copia = argomenti;
  std::string eseguibile = programma;
  std::vector<char*> argv = {eseguibile.data()};
  for (std::string& a : copia) argv.push_back(a.data());
  argv.push_back(nullptr);

  pid_t figlio = ::fork();
  if (figlio == 0) {
    int fi = ::open("/dev/null", O_RDONLY);
    int fo = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int fe = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fi < 0 || fo < 0 || fe < 0 || ::dup2(fi, 0) < 0 || ::dup2(fo, 1) < 0 || ::dup2(fe, 2) < 0 ||
        ::chdir(cartella.c_str()) != 0)
      ::_exit(126);
    // SIGXFSZ as a shell leaves it, so that a program that does not ignore
    // it itself is ended by it, as it would be outside the tests.
    ::signal(SIGXFSZ, SIG_DFL);
    if (limite_file != RLIM_INFINITY) {
      rlimit r{limite_file, limite_file};
      ::setrlimit(RLIMIT_FSIZE, &r);
    }
    ::execvp(eseguibile.c_str(), argv.data());
    ::_exit(127);
  }
  int stato = 0;
  ::waitpid(figlio, &stato, 0);
  esito_processo e;
  if (WIFEXITED(stato)) e.stato = WEXITSTATUS(stato);
  e.stampa = flussi.leggi("stdout");
  e.errori = flussi.leggi("stderr");
  return e;
}

esito_processo esegui_in_cartella(const std::filesystem::path& eseguibile, const std::filesystem::path& cartella,
                                  rlim_t limite_file) {
  const std::filesystem::path copia = cartella / eseguibile.filename();
  std::filesystem::copy_file(eseguibile, copia, std::filesystem::copy_options::overwrite_existing);
  esito_processo e = esegui_processo(copia.string(), {}, "/", limite_file);
  std::filesystem::remove(copia);
  return e;
}

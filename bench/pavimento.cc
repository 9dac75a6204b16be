// The floor of a build as a whole process: what no build of the same files
// can avoid. It starts, makes three files' bytes in memory (the largest in a
// buffer mapped and touched as the build's line image is) and writes each in
// one piece into a new file, nothing else. `scenario build` is measured
// against it, process against process (README, "Speed at the largest
// scenario").
//
//   pavimento FOLDER SIZE_LINE SIZE_SIM SIZE_DAT
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "platform/posix/memoria_posix.h"

namespace {

// Writes `n` bytes from `dati` as the new file `nome`.
bool scrivi(const std::string& nome, const char* dati, size_t n) {
  const int fd = ::open(nome.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  for (size_t fatto = 0; ok && fatto < n;) {
    const ssize_t k = ::write(fd, dati + fatto, n - fatto);
    ok = k > 0;
    if (ok) fatto += static_cast<size_t>(k);
  }
  return ::close(fd) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "uso: pavimento CARTELLA BYTE_LINEA BYTE_SIM BYTE_DAT\n";
    return 2;
  }
  const std::string cartella = argv[1];
  const size_t linea = std::strtoull(argv[2], nullptr, 10);
  const size_t sim = std::strtoull(argv[3], nullptr, 10);
  const size_t dat = std::strtoull(argv[4], nullptr, 10);

  // Every byte stored once, as the build stores each of its own.
  std::pmr::memory_resource& grande = memoria_posix::istanza();
  char* immagine = static_cast<char*>(grande.allocate(linea, 64));
  for (size_t i = 0; i < linea; ++i) immagine[i] = static_cast<char>(i);
  std::string testata(sim, '\1'), griglia(dat, '\2');

  const bool ok = scrivi(cartella + "/pavimento_linea.dat", immagine, linea) &&
                  scrivi(cartella + "/pavimento.sim", testata.data(), sim) &&
                  scrivi(cartella + "/pavimento.dat", griglia.data(), dat);
  grande.deallocate(immagine, linea, 64);
  return ok ? 0 : 1;
}

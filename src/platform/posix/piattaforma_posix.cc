#include "platform/posix/piattaforma_posix.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "model/testo_mostrabile.h"
#include "model/windows1252.h"
#include "platform/posix/memoria_posix.h"
#include "platform/piattaforma_di_sistema.h"

namespace {

// The one place where an operating-system error becomes words.
esito errore_posix(int numero) { return esito::fallito(std::strerror(numero)); }

class file_posix : public file_in_scrittura {
 public:
  explicit file_posix(int fd) : fd_(fd) {}
  ~file_posix() override {
    if (fd_ >= 0) ::close(fd_);
  }
  esito scrivi(std::string_view dati) override {
    while (!dati.empty()) {
      ssize_t n = ::write(fd_, dati.data(), dati.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return errore_posix(errno);
      }
      dati.remove_prefix(static_cast<size_t>(n));
    }
    return esito::riuscito();
  }
  esito chiudi() override {
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return errore_posix(errno);
    return esito::riuscito();
  }

 private:
  int fd_;
};

}  // namespace

piattaforma_posix::piattaforma_posix(std::filesystem::path cartella) : cartella_(std::move(cartella)) {
  if (cartella_.empty()) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    cartella_ = ec ? std::filesystem::current_path() : exe.parent_path();
  }
}

std::filesystem::path piattaforma_posix::cartella_programma() { return cartella_; }

std::filesystem::path piattaforma_posix::programma_in_esecuzione() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec);
}

bool piattaforma_posix::esiste(const std::filesystem::path& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0;
}

esito piattaforma_posix::apri_e_chiudi(const std::filesystem::path& p) {
  int fd = ::open(p.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return errore_posix(errno);
  ::close(fd);
  return esito::riuscito();
}

esito piattaforma_posix::crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) {
  int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return errore_posix(errno);
  f = std::make_unique<file_posix>(fd);
  return esito::riuscito();
}

esito piattaforma_posix::rinomina(const std::filesystem::path& da, const std::filesystem::path& a) {
  if (::rename(da.c_str(), a.c_str()) != 0) return errore_posix(errno);
  return esito::riuscito();
}

esito piattaforma_posix::rimuovi(const std::filesystem::path& p) {
  if (::unlink(p.c_str()) != 0) return errore_posix(errno);
  return esito::riuscito();
}

esito piattaforma_posix::leggi(const std::filesystem::path& p, std::string& contenuto) {
  int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errore_posix(errno);
  contenuto.clear();
  struct stat st;
  if (::fstat(fd, &st) == 0 && st.st_size > 0) contenuto.reserve(static_cast<size_t>(st.st_size));
  char blocco[65536];
  for (;;) {
    ssize_t n = ::read(fd, blocco, sizeof blocco);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      int e = errno;
      ::close(fd);
      return errore_posix(e);
    }
    contenuto.append(blocco, static_cast<size_t>(n));
  }
  ::close(fd);
  return esito::riuscito();
}

esito piattaforma_posix::dimensione(const std::filesystem::path& p, uint64_t& byte) {
  struct stat st;
  if (::stat(p.c_str(), &st) != 0) return errore_posix(errno);
  if (!S_ISREG(st.st_mode)) return errore_posix(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
  byte = static_cast<uint64_t>(st.st_size);
  return esito::riuscito();
}

esito piattaforma_posix::leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti,
                                     std::string& dati) {
  int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errore_posix(errno);
  dati.assign(quanti, '\0');
  size_t letti = 0;
  while (letti < quanti) {
    ssize_t n = ::pread(fd, dati.data() + letti, quanti - letti, static_cast<off_t>(inizio + letti));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int e = n < 0 ? errno : 0;
      ::close(fd);
      dati.clear();
      if (e == 0) return esito::fallito("il file è più corto del previsto");
      return errore_posix(e);
    }
    letti += static_cast<size_t>(n);
  }
  ::close(fd);
  return esito::riuscito();
}

esito piattaforma_posix::rendi_eseguibile(const std::filesystem::path& p) {
  // Read and run for all, write for the owner, as a program installed anew.
  if (::chmod(p.c_str(), 0755) != 0) return errore_posix(errno);
  return esito::riuscito();
}

bool piattaforma_posix::e_cartella(const std::filesystem::path& p) {
  struct stat st;
  return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool piattaforma_posix::stesso_file(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  if (esiste(a) && esiste(b)) return std::filesystem::equivalent(a, b, ec);
  return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

esito piattaforma_posix::crea_cartella(const std::filesystem::path& p) {
  std::error_code ec;
  std::filesystem::create_directories(p, ec);
  if (ec) return errore_posix(ec.value());
  return esito::riuscito();
}

esito piattaforma_posix::crea_cartella_temporanea(const std::filesystem::path& dentro, std::string_view prefisso,
                                                  std::filesystem::path& creata) {
  std::string modello = (dentro / (std::string(prefisso) + "XXXXXX")).string();
  if (::mkdtemp(modello.data()) == nullptr) return errore_posix(errno);
  creata = modello;
  return esito::riuscito();
}

esito piattaforma_posix::rimuovi_cartella(const std::filesystem::path& p) {
  std::error_code ec;
  std::filesystem::remove_all(p, ec);
  if (ec) return errore_posix(ec.value());
  return esito::riuscito();
}

void piattaforma_posix::mostra_attesa() { std::fputs("Attendere\n", stderr); }

void piattaforma_posix::messaggio(const std::string& testo) {
  std::string riga = testo_mostrabile(testo) + "\n";
  std::fputs(riga.c_str(), stderr);
}

std::filesystem::path piattaforma_posix::nome_file(std::string_view nome_cp1252) {
  return std::filesystem::path(da_cp1252_a_utf8(nome_cp1252));
}

std::pmr::memory_resource& piattaforma_posix::memoria_grande() { return memoria_posix::istanza(); }

std::unique_ptr<piattaforma> piattaforma_di_sistema(std::filesystem::path cartella) {
  return std::make_unique<piattaforma_posix>(std::move(cartella));
}

#include "platform/posix/piattaforma_posix.h"

#include <fcntl.h>
#include <signal.h>
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
esito errore_posix(int numero) {
  std::string motivo = std::strerror(numero);
  // A write past the file-size limit fails as on a full disk (SIGXFSZ is
  // ignored); the words say which limit.
  if (numero == EFBIG) motivo += " (oltre la dimensione massima di un file: il limite del processo, ulimit -f, o "
                                 "quello del file system)";
  if (numero == ENOENT || numero == ENOTDIR) return esito::manca(std::move(motivo));
  return esito::fallito(std::move(motivo));
}

// Why a file that is not a plain one is not read, in words; nothing for a
// plain file.
std::optional<esito> non_ordinario(const struct stat& st) {
  if (S_ISREG(st.st_mode)) return std::nullopt;
  if (S_ISDIR(st.st_mode)) return errore_posix(EISDIR);
  const char* cosa = S_ISFIFO(st.st_mode)                           ? "una FIFO"
                     : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "un dispositivo"
                     : S_ISSOCK(st.st_mode)                        ? "un socket"
                                                                   : "un file speciale";
  return esito::fallito(std::string("non è un file ordinario ma ") + cosa);
}

// Opens a plain file for reading: without waiting on a FIFO or taking a
// terminal, and refusing anything but a plain file once open, so that what
// was checked is what is read. The size goes into `st`.
esito apri_ordinario(const std::filesystem::path& p, int& fd, struct stat& st) {
  fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errore_posix(errno);
  std::optional<esito> rifiuto;
  if (::fstat(fd, &st) != 0)
    rifiuto = errore_posix(errno);
  else
    rifiuto = non_ordinario(st);
  if (rifiuto) {
    ::close(fd);
    fd = -1;
    return *rifiuto;
  }
  return esito::riuscito();
}

esito troppo_grande(uint64_t byte) {
  return esito::fallito("il file è troppo grande: " + std::to_string(byte) + " byte, al massimo " +
                        std::to_string(massimo_lettura) + " (64 MiB)");
}

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
  // Beyond the process's file-size limit a write fails with EFBIG, as on a
  // full disk, and is reported and cleaned up; the signal would end the
  // program at once, with no message and a temporary file left behind.
  ::signal(SIGXFSZ, SIG_IGN);
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

bool piattaforma_posix::e_collegamento(const std::filesystem::path& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

esito piattaforma_posix::apri_e_chiudi(const std::filesystem::path& p) {
  int fd = ::open(p.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errore_posix(errno);
  ::close(fd);
  return esito::riuscito();
}

esito piattaforma_posix::crea(const std::filesystem::path& p, std::unique_ptr<file_in_scrittura>& f) {
  // Exclusive: never an existing file, never through a link planted under
  // the name.
  int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0 && errno == EEXIST) return esito::occupato(std::strerror(errno));
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
  int fd = -1;
  struct stat st;
  if (esito e = apri_ordinario(p, fd, st); !e) return e;
  contenuto.clear();
  if (static_cast<uint64_t>(st.st_size) > massimo_lettura) {
    ::close(fd);
    return troppo_grande(static_cast<uint64_t>(st.st_size));
  }
  if (st.st_size > 0) contenuto.reserve(static_cast<size_t>(st.st_size));
  char blocco[65536];
  for (;;) {
    ssize_t n = ::read(fd, blocco, sizeof blocco);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      int e = errno;
      ::close(fd);
      contenuto.clear();
      return errore_posix(e);
    }
    contenuto.append(blocco, static_cast<size_t>(n));
    // A file that grows while it is read is held to the same limit.
    if (contenuto.size() > massimo_lettura) {
      ::close(fd);
      contenuto.clear();
      return troppo_grande(massimo_lettura + 1);
    }
  }
  ::close(fd);
  return esito::riuscito();
}

esito piattaforma_posix::dimensione(const std::filesystem::path& p, uint64_t& byte) {
  struct stat st;
  if (::stat(p.c_str(), &st) != 0) return errore_posix(errno);
  if (auto rifiuto = non_ordinario(st)) return *rifiuto;
  byte = static_cast<uint64_t>(st.st_size);
  return esito::riuscito();
}

esito piattaforma_posix::leggi_parte(const std::filesystem::path& p, uint64_t inizio, size_t quanti,
                                     std::string& dati) {
  int fd = -1;
  struct stat st;
  if (esito e = apri_ordinario(p, fd, st); !e) return e;
  // Known short before anything is set aside for it.
  if (inizio > static_cast<uint64_t>(st.st_size) || quanti > static_cast<uint64_t>(st.st_size) - inizio) {
    ::close(fd);
    dati.clear();
    return esito::fallito("il file è più corto del previsto");
  }
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

esito piattaforma_posix::stato_file(const std::filesystem::path& p, stato_di_file& stato) {
  struct stat st;
  if (::stat(p.c_str(), &st) != 0) return errore_posix(errno);
  stato.regolare = S_ISREG(st.st_mode);
  stato.dimensione = static_cast<uint64_t>(st.st_size);
  stato.modificato = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
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
  // Made absolute first: a name with no existing folder above it stays as
  // written, so "./a" and "a" would differ.
  return std::filesystem::weakly_canonical(std::filesystem::absolute(a, ec), ec) ==
         std::filesystem::weakly_canonical(std::filesystem::absolute(b, ec), ec);
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

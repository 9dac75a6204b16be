// `scenario watch` run as a process, for its tests: started in a folder with
// its arguments, the page's port read from its first line, its event stream
// followed from a thread, and ended with SIGINT as Ctrl-C ends it. POSIX.
#pragma once

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "support/cartella_temporanea.h"

namespace osserva_prova {

using json = nlohmann::json;
using namespace std::chrono_literals;

inline std::string leggi(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class watch_in_corso {
 public:
  // Starts SCENARIO_EXE with `argomenti` (after "watch") in `cartella`.
  watch_in_corso(const std::filesystem::path& cartella, const std::vector<std::string>& argomenti) {
    const std::filesystem::path out = flussi_ / "stdout", err = flussi_ / "stderr";
    std::vector<std::string> copia = {SCENARIO_EXE, "watch"};
    copia.insert(copia.end(), argomenti.begin(), argomenti.end());
    std::vector<char*> argv;
    for (std::string& a : copia) argv.push_back(a.data());
    argv.push_back(nullptr);
#ifdef __linux__
    const pid_t genitore = ::getpid();
#endif
    pid_ = ::fork();
    if (pid_ == 0) {
#ifdef __linux__
      // A test that dies (killed by a time limit) takes its watch with it.
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);
      if (::getppid() != genitore) ::_exit(126);
#endif
      int fi = ::open("/dev/null", O_RDONLY);
      int fo = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      int fe = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fi < 0 || fo < 0 || fe < 0 || ::dup2(fi, 0) < 0 || ::dup2(fo, 1) < 0 || ::dup2(fe, 2) < 0 ||
          ::chdir(cartella.c_str()) != 0)
        ::_exit(126);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
  }
  ~watch_in_corso() {
    if (pid_ > 0 && stato_ == std::nullopt) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  watch_in_corso(const watch_in_corso&) = delete;
  watch_in_corso& operator=(const watch_in_corso&) = delete;

  std::string uscita() const { return leggi(flussi_ / "stdout"); }
  pid_t pid() const { return pid_; }
  std::string errori() const { return leggi(flussi_ / "stderr"); }

  // The page's port, from the first line; 0 when none came within `entro`
  // (the process ended, or is stuck). The key in the address is kept.
  int porta(std::chrono::milliseconds entro = 20s) {
    const auto fine = std::chrono::steady_clock::now() + entro;
    const std::string inizio = "http://127.0.0.1:";
    while (std::chrono::steady_clock::now() < fine) {
      const std::string u = uscita();
      if (size_t p = u.find(inizio); p != std::string::npos && u.find('\n', p) != std::string::npos) {
        const size_t c = u.find("/?chiave=", p);
        if (c != std::string::npos) chiave_ = u.substr(c + 9, u.find_first_of(" \n", c) - c - 9);
        return std::stoi(u.substr(p + inizio.size()));
      }
      if (finito(0ms)) return 0;
      std::this_thread::sleep_for(10ms);
    }
    return 0;
  }
  // The key of the printed address, once `porta` has read it.
  const std::string& chiave() const { return chiave_; }
  // `percorso` on this server, with the key.
  std::string con_chiave(const std::string& percorso) const { return percorso + "?chiave=" + chiave_; }

  // Whether it has ended within `entro`; its status is kept.
  bool finito(std::chrono::milliseconds entro) {
    const auto fine = std::chrono::steady_clock::now() + entro;
    for (;;) {
      if (stato_) return true;
      int s = 0;
      if (::waitpid(pid_, &s, WNOHANG) == pid_) {
        stato_ = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
        return true;
      }
      if (std::chrono::steady_clock::now() >= fine) return false;
      std::this_thread::sleep_for(5ms);
    }
  }

  // Ends it as Ctrl-C does; its exit status, or -2 when it did not end
  // within `entro`.
  int interrompi(std::chrono::milliseconds entro = 20s) {
    if (!stato_) ::kill(pid_, SIGINT);
    return finito(entro) ? *stato_ : -2;
  }

 private:
  cartella_temporanea flussi_;
  pid_t pid_ = -1;
  std::optional<int> stato_;
  std::string chiave_;
};

// The page's event stream, read from a thread: each build's outcome as it
// comes.
class flusso_eventi {
 public:
  flusso_eventi(int porta, const std::string& chiave, const httplib::Headers& intestazioni = {})
      : cliente_("127.0.0.1", porta) {
    cliente_.set_read_timeout(30, 0);
    filo_ = std::thread([this, chiave, intestazioni] {
      std::string attesa;
      auto r = cliente_.Get("/eventi?chiave=" + chiave, intestazioni, [this, &attesa](const char* dati, size_t n) {
        attesa.append(dati, n);
        for (size_t fine; (fine = attesa.find("\n\n")) != std::string::npos;) {
          const std::string evento = attesa.substr(0, fine + 1);
          attesa.erase(0, fine + 2);
          // Its type, and its data lines joined by line ends.
          std::string tipo, dati;
          bool primo = true;
          for (size_t p = 0, q; (q = evento.find('\n', p)) != std::string::npos; p = q + 1) {
            const std::string riga = evento.substr(p, q - p);
            if (riga.starts_with("event: ")) tipo = riga.substr(7);
            if (riga.starts_with("data: ")) {
              dati += (primo ? "" : "\n") + riga.substr(6);
              primo = false;
            }
          }
          std::lock_guard<std::mutex> l(mutex_);
          if (tipo == "esito") esiti_.push_back(json::parse(dati));
          if (tipo == "disegno") disegni_.push_back(dati);
          arrivo_.notify_all();
        }
        return !fermo_;
      });
      std::lock_guard<std::mutex> l(mutex_);
      chiuso_ = true;
      stato_http_ = r ? r->status : -1;
      arrivo_.notify_all();
    });
  }
  ~flusso_eventi() {
    fermo_ = true;
    cliente_.stop();
    if (filo_.joinable()) filo_.join();
  }

  // The first outcome of a build after `dopo`, waiting up to `entro`.
  std::optional<json> dopo(uint64_t dopo, std::chrono::milliseconds entro = 20s) {
    std::unique_lock<std::mutex> l(mutex_);
    std::optional<json> trovato;
    arrivo_.wait_for(l, entro, [&] {
      for (const json& e : esiti_)
        if (e["number"].get<uint64_t>() > dopo) {
          trovato = e;
          return true;
        }
      return chiuso_;
    });
    return trovato;
  }
  // Every outcome received so far.
  std::vector<json> tutti() {
    std::lock_guard<std::mutex> l(mutex_);
    return {esiti_.begin(), esiti_.end()};
  }
  // Every drawing received so far.
  std::vector<std::string> disegni() {
    std::lock_guard<std::mutex> l(mutex_);
    return disegni_;
  }
  // Whether the server has closed the stream within `entro`.
  bool chiuso(std::chrono::milliseconds entro) {
    std::unique_lock<std::mutex> l(mutex_);
    return arrivo_.wait_for(l, entro, [&] { return chiuso_; });
  }
  int stato_http() {
    std::lock_guard<std::mutex> l(mutex_);
    return stato_http_;
  }

 private:
  httplib::Client cliente_;
  std::thread filo_;
  std::mutex mutex_;
  std::condition_variable arrivo_;
  std::deque<json> esiti_;
  std::vector<std::string> disegni_;
  bool chiuso_ = false;
  int stato_http_ = 0;
  std::atomic<bool> fermo_{false};
};

// A raw connection to the page's server.
class connessione {
 public:
  explicit connessione(int porta) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(porta));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    collegata_ = fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    timeval t{30, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t);
    ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &t, sizeof t);
  }
  ~connessione() {
    if (fd_ >= 0) ::close(fd_);
  }
  connessione(const connessione&) = delete;
  bool collegata() const { return collegata_; }
  bool manda(const std::string& s) { return ::send(fd_, s.data(), s.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(s.size()); }
  // One response: its head and as much body as it says it has, or what
  // came before the server closed the connection (or 30 s passed).
  std::string ricevi() {
    std::string r;
    char b[4096];
    for (ssize_t n; (n = ::recv(fd_, b, sizeof b, 0)) > 0;) {
      r.append(b, static_cast<size_t>(n));
      const size_t testa = r.find("\r\n\r\n");
      if (testa == std::string::npos) continue;
      const size_t p = r.find("Content-Length: ");
      if (p != std::string::npos && p < testa && r.size() >= testa + 4 + std::stoul(r.substr(p + 16))) break;
    }
    return r;
  }
  // What has come so far, without waiting.
  std::string arrivato() {
    std::string r;
    char b[4096];
    for (ssize_t n; (n = ::recv(fd_, b, sizeof b, MSG_DONTWAIT)) > 0;) r.append(b, static_cast<size_t>(n));
    return r;
  }
  // Whether the server closes the connection within `entro`, anything
  // before the end read and dropped.
  bool chiusa_dal_server(std::chrono::milliseconds entro) {
    const auto fine = std::chrono::steady_clock::now() + entro;
    char b[4096];
    while (std::chrono::steady_clock::now() < fine) {
      const ssize_t n = ::recv(fd_, b, sizeof b, MSG_DONTWAIT);
      if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) return true;
      if (n < 0) std::this_thread::sleep_for(10ms);
    }
    return false;
  }

 private:
  int fd_;
  bool collegata_ = false;
};

}  // namespace osserva_prova

// POSIX sockets.
#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "osserva/rete.h"

namespace {

#ifdef MSG_NOSIGNAL
constexpr int senza_segnale = MSG_NOSIGNAL;
#else
constexpr int senza_segnale = 0;
#endif

// Not blocking, and not passed on to programs started later.
bool prepara(int p) {
  const int f = ::fcntl(p, F_GETFL);
  return f >= 0 && ::fcntl(p, F_SETFL, f | O_NONBLOCK) == 0 && ::fcntl(p, F_SETFD, FD_CLOEXEC) == 0;
}

sockaddr_in indirizzo_locale(int porta) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(porta));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

int porta_di(int p) {
  sockaddr_in a{};
  socklen_t n = sizeof a;
  if (::getsockname(p, reinterpret_cast<sockaddr*>(&a), &n) != 0) return -1;
  return ntohs(a.sin_port);
}

}  // namespace

presa apri_ascolto(int porta, int& porta_avuta, std::string& motivo) {
  const int p = ::socket(AF_INET, SOCK_STREAM, 0);
  if (p < 0) {
    motivo = std::strerror(errno);
    return presa_nulla;
  }
  // Another listener on the same port fails to start instead of sharing it;
  // a port left in TIME_WAIT by an earlier watch can be had again at once.
  int si = 1;
  ::setsockopt(p, SOL_SOCKET, SO_REUSEADDR, &si, sizeof si);
  const sockaddr_in a = indirizzo_locale(porta);
  if (::bind(p, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || ::listen(p, SOMAXCONN) != 0 || !prepara(p) ||
      (porta_avuta = porta_di(p)) <= 0) {
    motivo = std::strerror(errno);
    ::close(p);
    return presa_nulla;
  }
  return p;
}

presa accetta(presa ascolto, bool& esauste) {
  esauste = false;
  for (;;) {
    const int c = ::accept(ascolto, nullptr, nullptr);
    if (c >= 0) {
      if (!prepara(c)) {
        ::close(c);
        continue;
      }
      int si = 1;
      ::setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &si, sizeof si);
      return c;
    }
    if (errno == EINTR || errno == ECONNABORTED) continue;
    esauste = errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM;
    return presa_nulla;
  }
}

long ricevi(presa p, char* dati, size_t n) {
  for (;;) {
    const ssize_t r = ::recv(p, dati, n, 0);
    if (r >= 0) return static_cast<long>(r);
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK ? -1 : -2;
  }
}

long invia(presa p, const char* dati, size_t n) {
  for (;;) {
    const ssize_t r = ::send(p, dati, n, senza_segnale);
    if (r >= 0) return static_cast<long>(r);
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK ? -1 : -2;
  }
}

void chiudi_invio(presa p) { ::shutdown(p, SHUT_WR); }
void interrompi(presa p) { ::shutdown(p, SHUT_RDWR); }
void chiudi_presa(presa p) { ::close(p); }

bool attendi(std::vector<attesa_presa>& prese, std::chrono::milliseconds entro) {
  std::vector<pollfd> fd(prese.size());
  for (size_t i = 0; i < prese.size(); ++i) {
    fd[i].fd = prese[i].p;
    fd[i].events = static_cast<short>((prese[i].leggere ? POLLIN : 0) | (prese[i].scrivere ? POLLOUT : 0));
  }
  const int n = ::poll(fd.data(), fd.size(), static_cast<int>(entro.count()));
  if (n < 0 && errno != EINTR) return false;
  for (size_t i = 0; i < prese.size(); ++i) {
    const short r = n > 0 ? fd[i].revents : 0;
    prese[i].leggibile = (r & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0;
    prese[i].scrivibile = (r & (POLLOUT | POLLERR | POLLHUP)) != 0;
  }
  return true;
}

presa apri_sveglia(std::string& motivo) {
  const int p = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (p < 0) {
    motivo = std::strerror(errno);
    return presa_nulla;
  }
  sockaddr_in a = indirizzo_locale(0);
  int porta = -1;
  if (::bind(p, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || (porta = porta_di(p)) <= 0) {
    motivo = std::strerror(errno);
    ::close(p);
    return presa_nulla;
  }
  // Connected to itself, it takes datagrams from itself only.
  a = indirizzo_locale(porta);
  if (::connect(p, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || !prepara(p)) {
    motivo = std::strerror(errno);
    ::close(p);
    return presa_nulla;
  }
  return p;
}

void suona(presa sveglia) {
  const char c = 0;
  ::send(sveglia, &c, 1, senza_segnale);
}

void svuota(presa sveglia) {
  char b[64];
  while (::recv(sveglia, b, sizeof b, 0) > 0) {
  }
}

// Windows sockets (Winsock 2, WSAPoll).
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#endif
#include <winsock2.h>
#include <ws2tcpip.h>

#include <mutex>

#include "osserva/rete.h"

#ifndef WSA_FLAG_NO_HANDLE_INHERIT
#define WSA_FLAG_NO_HANDLE_INHERIT 0x80
#endif

namespace {

// The system's reason by its number, which says the same in any language.
std::string errore_rete() { return "errore di rete n. " + std::to_string(WSAGetLastError()); }

void avvia_rete() {
  static std::once_flag fatto;
  std::call_once(fatto, [] {
    WSADATA dati;
    WSAStartup(MAKEWORD(2, 2), &dati);
  });
}

bool non_bloccante(SOCKET p) {
  u_long si = 1;
  return ioctlsocket(p, FIONBIO, &si) == 0;
}

sockaddr_in indirizzo_locale(int porta) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<u_short>(porta));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

int porta_di(SOCKET p) {
  sockaddr_in a{};
  int n = sizeof a;
  if (getsockname(p, reinterpret_cast<sockaddr*>(&a), &n) != 0) return -1;
  return ntohs(a.sin_port);
}

long risultato(int r) {
  if (r != SOCKET_ERROR) return r;
  return WSAGetLastError() == WSAEWOULDBLOCK ? -1 : -2;
}

}  // namespace

presa apri_ascolto(int porta, int& porta_avuta, std::string& motivo) {
  avvia_rete();
  const SOCKET p = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
  if (p == INVALID_SOCKET) {
    motivo = errore_rete();
    return presa_nulla;
  }
  // No other program may listen on the same port, nor take it over.
  BOOL si = TRUE;
  setsockopt(p, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&si), sizeof si);
  const sockaddr_in a = indirizzo_locale(porta);
  if (bind(p, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || listen(p, SOMAXCONN) != 0 ||
      !non_bloccante(p) || (porta_avuta = porta_di(p)) <= 0) {
    motivo = errore_rete();
    closesocket(p);
    return presa_nulla;
  }
  return p;
}

presa accetta(presa ascolto, bool& esauste) {
  esauste = false;
  for (;;) {
    const SOCKET c = accept(ascolto, nullptr, nullptr);
    if (c != INVALID_SOCKET) {
      if (!non_bloccante(c)) {
        closesocket(c);
        continue;
      }
      BOOL si = TRUE;
      setsockopt(c, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&si), sizeof si);
      return c;
    }
    const int e = WSAGetLastError();
    if (e == WSAECONNRESET || e == WSAEINTR) continue;
    esauste = e == WSAEMFILE || e == WSAENOBUFS;
    return presa_nulla;
  }
}

long ricevi(presa p, char* dati, size_t n) {
  return risultato(recv(p, dati, static_cast<int>(n > 1 << 30 ? 1 << 30 : n), 0));
}

long invia(presa p, const char* dati, size_t n) {
  return risultato(send(p, dati, static_cast<int>(n > 1 << 30 ? 1 << 30 : n), 0));
}

void chiudi_invio(presa p) { shutdown(p, SD_SEND); }
void interrompi(presa p) { shutdown(p, SD_BOTH); }
void chiudi_presa(presa p) { closesocket(p); }

bool attendi(std::vector<attesa_presa>& prese, std::chrono::milliseconds entro) {
  std::vector<WSAPOLLFD> fd(prese.size());
  for (size_t i = 0; i < prese.size(); ++i) {
    fd[i].fd = prese[i].p;
    fd[i].events = static_cast<SHORT>((prese[i].leggere ? POLLRDNORM : 0) | (prese[i].scrivere ? POLLWRNORM : 0));
  }
  const int n = WSAPoll(fd.data(), static_cast<ULONG>(fd.size()), static_cast<INT>(entro.count()));
  if (n == SOCKET_ERROR) return false;
  for (size_t i = 0; i < prese.size(); ++i) {
    const SHORT r = n > 0 ? fd[i].revents : 0;
    prese[i].leggibile = (r & (POLLRDNORM | POLLHUP | POLLERR | POLLNVAL)) != 0;
    prese[i].scrivibile = (r & (POLLWRNORM | POLLERR | POLLHUP)) != 0;
  }
  return true;
}

presa apri_sveglia(std::string& motivo) {
  avvia_rete();
  const SOCKET p = WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
  if (p == INVALID_SOCKET) {
    motivo = errore_rete();
    return presa_nulla;
  }
  sockaddr_in a = indirizzo_locale(0);
  int porta = -1;
  if (bind(p, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || (porta = porta_di(p)) <= 0) {
    motivo = errore_rete();
    closesocket(p);
    return presa_nulla;
  }
  a = indirizzo_locale(porta);
  if (connect(p, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || !non_bloccante(p)) {
    motivo = errore_rete();
    closesocket(p);
    return presa_nulla;
  }
  return p;
}

void suona(presa sveglia) {
  const char c = 0;
  send(sveglia, &c, 1, 0);
}

void svuota(presa sveglia) {
  char b[64];
  while (recv(sveglia, b, sizeof b, 0) > 0) {
  }
}

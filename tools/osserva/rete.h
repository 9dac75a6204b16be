// The few socket calls of the watch's server: a listening socket on
// 127.0.0.1, connections that never block, one wait on many of them, and a
// way for another thread to wake that wait. One small file per platform.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
using presa = std::uintptr_t;  // SOCKET
#else
using presa = int;
#endif
constexpr presa presa_nulla = static_cast<presa>(-1);

// Listens on 127.0.0.1:`porta` (0: a free port the system picks), with the
// longest queue of connections the system allows; a port in use is refused,
// not shared. The port into `porta_avuta`; presa_nulla with the reason in
// `motivo` on failure.
presa apri_ascolto(int porta, int& porta_avuta, std::string& motivo);

// A connection waiting on `ascolto`, made not to block; presa_nulla when
// none is waiting, with `esauste` set when the process has no descriptor
// left to take it with.
presa accetta(presa ascolto, bool& esauste);

// What came, without waiting: > 0 that many bytes, 0 the other side has
// closed, -1 nothing now, -2 a failure.
long ricevi(presa p, char* dati, size_t n);
// What went, without waiting: >= 0 that many bytes, -1 none could now, -2 a
// failure.
long invia(presa p, const char* dati, size_t n);

// No more to send: the other side reads the end after what was sent.
void chiudi_invio(presa p);
// Both ways shut: a wait on it in another thread ends at once.
void interrompi(presa p);
void chiudi_presa(presa p);

struct attesa_presa {
  presa p = presa_nulla;
  bool leggere = false, scrivere = false;       // what to wait for
  bool leggibile = false, scrivibile = false;   // what came; a failure or the other side gone counts as readable
};

// Waits up to `entro` for any of `prese`. False when the wait itself failed.
bool attendi(std::vector<attesa_presa>& prese, std::chrono::milliseconds entro);

// A socket that wakes a wait: it sends to itself, on 127.0.0.1, and takes
// nothing from anyone else.
presa apri_sveglia(std::string& motivo);
void suona(presa sveglia);
void svuota(presa sveglia);

// POSIX: SIGINT, SIGTERM and SIGHUP set the flag. A second one ends the
// program at once, as without the watch, for a watch that would not stop.
#include <signal.h>

#include <initializer_list>

#include "osserva/interruzione.h"

namespace {

volatile sig_atomic_t chiesta = 0;

extern "C" void alla_interruzione(int) { chiesta = 1; }

}  // namespace

void intercetta_interruzione() {
  struct sigaction a = {};
  a.sa_handler = alla_interruzione;
  sigemptyset(&a.sa_mask);
  a.sa_flags = SA_RESETHAND | SA_RESTART;
  for (int segnale : {SIGINT, SIGTERM, SIGHUP}) sigaction(segnale, &a, nullptr);
  // A page that goes away in the middle of a write must not end the watch.
  signal(SIGPIPE, SIG_IGN);
}

bool interruzione_chiesta() { return chiesta != 0; }

void fine_conclusa() {}

// The page's server: HTTP on the loopback address only, through cpp-httplib,
// on threads of its own. `/` is the page, `/esito` the latest build's outcome
// as JSON, `/disegno.svg` the latest drawing and `/eventi` a stream of
// Server-Sent Events: for every build its outcome ("esito", the first at
// once), preceded by its drawing when it made a new one ("disegno"). Anything else
// gets its HTTP error and no request can stop the watch: an unknown path 404,
// a method other than GET or HEAD 405, a Host other than the server's own 403
// (so that a page elsewhere cannot reach it under a name of its own), a
// request line or header line too long 414 or 400, more event streams than
// the threads allow 503. Idle connections are dropped after a few seconds.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "osserva/bacheca.h"

class servitore {
 public:
  explicit servitore(const bacheca& b);
  ~servitore();  // stops it, when it runs
  servitore(const servitore&) = delete;
  servitore& operator=(const servitore&) = delete;

  // Listens on 127.0.0.1:`porta` (0: a free port the system picks) and
  // serves from a thread of its own. Returns the port, or nothing with the
  // reason in `motivo`.
  std::optional<int> avvia(int porta, std::string& motivo);
  // Stops serving and waits for its threads. REQUIRES: the board has been
  // closed, so the event streams have ended or will at once.
  void ferma();

 private:
  struct interno;
  std::unique_ptr<interno> d_;
};

// The page's server: HTTP on the loopback address only. `/` is the page,
// `/esito` the latest build's outcome as JSON, `/disegno.svg` the latest
// drawing and `/eventi` a stream of Server-Sent Events: for every build its
// outcome ("esito", the first at once), preceded by its drawing when it made
// a new one ("disegno").
//
// Every request must carry the server's key, a random one of each watch, as
// `?chiave=...`: the address the watch prints has it, and the page passes it
// on, so that another user of the machine cannot read the sources' lines.
// Requests are read by the reception (ricezione.h), which answers every
// error of a request's head itself: no key 403, a method other than GET or
// HEAD 405, a Host other than the server's own 403 (a page elsewhere cannot
// reach it under a name of its own), a request line too long 414, a header
// line too long or a head that is not HTTP 400, too many header lines or too
// many bytes of them 431, a head not whole within five seconds 408. A
// `Range` is not honoured: every answer is whole. What remains is answered
// here, with cpp-httplib's routes and writing: an unknown path 404, more
// event streams than the threads allow 503. No request can stop the watch.
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
  // serves from threads of its own. Returns the port, or nothing with the
  // reason in `motivo`.
  std::optional<int> avvia(int porta, std::string& motivo);
  // The key every request must carry: 32 hexadecimal digits, 128 random
  // bits.
  const std::string& chiave() const;
  // Stops serving and waits for its threads. REQUIRES: the board has been
  // closed, so the event streams have ended or will at once.
  void ferma();

 private:
  struct interno;
  std::unique_ptr<interno> d_;
};

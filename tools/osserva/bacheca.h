// What the page shows, handed over from the watch, which builds, to the
// server's threads, which serve it: the latest build's outcome as the page's
// JSON and the latest drawing. Builds are numbered from 1, so that a page,
// and each stream of events, can tell what is new. The threads that stream
// events wait here for the next build; closing the board ends their waits.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class bacheca {
 public:
  struct stato {
    uint64_t numero = 0;  // the build's; 0 before the first
    std::string esito;    // its outcome, one JSON object
    std::shared_ptr<const std::string> disegno;  // the latest SVG drawn; null before the first
    uint64_t numero_disegno = 0;                 // the build that drew it
    bool chiusa = false;
  };

  // The outcome of build `numero`, and its drawing; a null drawing keeps
  // the last one. REQUIRES: `numero` is beyond every build published.
  void pubblica(uint64_t numero, std::string esito, std::shared_ptr<const std::string> disegno);
  stato attuale() const;
  // Waits until a build after `dopo` is published, the board is closed or
  // `entro` has passed, and returns the state then.
  stato aspetta(uint64_t dopo, std::chrono::milliseconds entro) const;
  void chiudi();

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable cambio_;
  stato stato_;
};

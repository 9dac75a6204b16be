// The reception of the watch's server: one thread takes every connection
// and reads the heads of requests as their bytes come, from all connections
// at once and never waiting on one. A head must be whole within a few
// seconds, within its limits (testa_richiesta.h) and carry the page's key;
// only then is it handed on to the threads that answer. A client that is
// slow, says nothing, sends endless headers or lacks the key costs a socket
// and a small buffer here, never a thread, so the page's own requests are
// answered whatever strangers do. Errors are answered here, then the
// connection is read to its end for a moment and closed, so that the client
// gets the answer whole.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "osserva/rete.h"
#include "osserva/testa_richiesta.h"

// A request to answer, and its connection.
struct richiesta_pronta {
  presa p = presa_nulla;
  giudizio_testa giudizio;  // stato 200: its head for the routes, whether to close after
  std::string resto;        // what came after the head: the start of the next request
  unsigned servite = 0;     // requests answered on this connection before it
};

class ricezione {
 public:
  // How long a request's head may take to come whole, counted from the
  // connection's start or from the answer before; a connection with nothing
  // of a request by then is closed without a word, one with part of it
  // gets 408.
  static constexpr std::chrono::milliseconds scadenza_testa{5000};
  // Connections held at once while their requests come; one more drops the
  // one held longest.
  static constexpr size_t connessioni_massime = 256;

  // `consegna` is called on the reception's thread with each request to
  // answer; it must not wait.
  ricezione(presa ascolto, int porta, std::string chiave, std::function<void(richiesta_pronta)> consegna);
  ~ricezione();
  ricezione(const ricezione&) = delete;
  ricezione& operator=(const ricezione&) = delete;

  bool avvia(std::string& motivo);
  // A connection back once its request is answered: for the next request,
  // or, with `chiudere`, to be closed once the client has read the answer.
  // After `ferma`, it is closed at once.
  void restituisci(presa p, std::string resto, unsigned servite, bool chiudere);
  // Ends the thread and closes every connection it holds.
  void ferma();

 private:
  struct connessione;
  void ciclo();
  void accogli(std::chrono::steady_clock::time_point ora);
  void leggi(connessione& c, std::chrono::steady_clock::time_point ora);
  void esamina(connessione& c, std::chrono::steady_clock::time_point ora);
  void rifiuta(connessione& c, const giudizio_testa& g, std::chrono::steady_clock::time_point ora);
  void invia_resto(connessione& c);
  void congeda(connessione& c, std::chrono::steady_clock::time_point ora);

  const presa ascolto_;
  const int porta_;
  const std::string chiave_;
  const std::function<void(richiesta_pronta)> consegna_;
  presa sveglia_ = presa_nulla;
  std::thread filo_;
  std::atomic<bool> fermo_{false};
  std::vector<std::unique_ptr<connessione>> connessioni_;  // the reception thread's own
  uint64_t arrivi_ = 0;
  std::chrono::steady_clock::time_point ascolto_sospeso_{};  // no descriptor left: accept again after
  std::mutex mutex_;  // guards what follows, filled by other threads
  struct restituita {
    presa p;
    std::string resto;
    unsigned servite;
    bool chiudere;
  };
  std::vector<restituita> restituite_;
  bool chiusa_ = false;
};

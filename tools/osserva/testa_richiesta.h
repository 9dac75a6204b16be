// The head of a request to the watch's page, read as its bytes come and
// judged before any thread of the server is spent on it: the request line,
// its header lines each up to a length, up to a number of them and a size in
// all, the page's key in the query, the method, the Host. A request that
// passes becomes a short head of its own (method, target, version) for the
// routes; any other gets its HTTP error at once. No sockets here, so that the
// tests and a fuzz target can give it any bytes, split anywhere.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How much a request's head may hold.
constexpr size_t riga_richiesta_massima = 8192;  // the request line, its line end included
constexpr size_t riga_campo_massima = 8192;      // one header line
constexpr size_t campi_massimi = 100;            // header lines
constexpr size_t testa_massima = 32768;          // the whole head, up to its empty line

// What the server does with a request, as far as it can tell so far.
struct giudizio_testa {
  // 0: the head is not complete yet; 200: to serve; otherwise the HTTP error
  // to answer with, after which the connection is closed.
  int stato = 0;
  std::string parole;  // an error's words for its body
  bool head = false;   // a HEAD request: the answer has no body
  // For a request to serve: the head the routes get ("GET /esito?chiave=...
  // HTTP/1.1", no header but the empty line) and whether the connection
  // closes after the answer.
  std::string testa;
  bool chiudi = false;
  // The bytes the head took: those after it are the next request's.
  size_t consumati = 0;
};

// Reads one request's head of a connection. `esamina` is given the
// connection's bytes from the start of the request, each time more have
// come, and goes on from where it stopped: a head that comes a byte at a time
// costs no more than one that comes at once.
class lettore_testa {
 public:
  // `porta`: the server's port, which Host must name; `chiave`: the key
  // every request must carry as `?chiave=...`.
  lettore_testa(int porta, std::string chiave);

  giudizio_testa esamina(std::string_view ricevuti);
  // For the connection's next request.
  void ricomincia();
  // Whether any byte of this request has come.
  bool iniziata() const { return iniziata_; }

 private:
  // One complete line, without its line end; a decided judgement or not.
  bool riga_richiesta(std::string_view riga);
  bool riga_campo(std::string_view riga);
  bool errore(int stato, std::string parole);
  void completa(size_t consumati);

  int porta_;
  std::string chiave_;
  giudizio_testa g_;
  size_t pos_ = 0;      // where the next line starts
  size_t cercato_ = 0;  // looked through up to here for its end
  size_t campi_ = 0;   // header lines so far
  bool in_campi_ = false;
  bool iniziata_ = false;
  std::string metodo_, bersaglio_;
  bool http_1_0_ = false;
  int host_ = 0;               // Host lines seen
  bool host_ammesso_ = true;   // every Host seen names this server
  bool chiudi_ = false;        // Connection: close
};

// The words of an HTTP status this server answers with.
std::string_view parole_stato(int stato);

// The whole answer to a request refused by `g` (its status and words), for
// the connection about to close.
std::string risposta_errore(const giudizio_testa& g);

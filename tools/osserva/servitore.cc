// The routes, the guards against bad requests, and the event streams.
#include "osserva/servitore.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "osserva/pagina.h"

namespace {

// Threads that serve connections, and how many of them event streams may
// hold: the rest always serve the page, its outcome and its drawing.
constexpr size_t fili = 24;
constexpr int flussi_massimi = 12;
// An event stream with nothing to say writes a comment this often, so a
// page that has gone away frees its thread soon.
constexpr std::chrono::milliseconds battito{2000};

// Content types: with a charset the library does not compress them, which
// would only cost time on the loopback (and brotli at its default quality a
// lot of it for the drawing).
constexpr const char* tipo_html = "text/html; charset=utf-8";
constexpr const char* tipo_json = "application/json; charset=utf-8";
constexpr const char* tipo_svg = "image/svg+xml; charset=utf-8";
constexpr const char* tipo_testo = "text/plain; charset=utf-8";

// The page may run its own script and styles and talk to this server only:
// nothing is fetched from anywhere else.
constexpr const char* politica_pagina =
    "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; connect-src 'self'; "
    "img-src 'self' data:; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

// The errors this server answers with, in words.
std::string_view in_parole(int stato) {
  switch (stato) {
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Payload Too Large";
    case 414: return "URI Too Long";
    case 416: return "Range Not Satisfiable";
    case 503: return "Service Unavailable";
    default: return "Error";
  }
}

// The drawing of build `numero` as an event: a data field a line; the page
// gets the lines joined by line ends, the document as it is. (The drawing's
// texts hold no carriage return, which would end a line too.)
std::string evento_disegno(uint64_t numero, const std::string& svg) {
  std::string e = "id: " + std::to_string(numero) + "\nevent: disegno\n";
  e.reserve(svg.size() + svg.size() / 16);
  for (size_t p = 0;;) {
    const size_t q = svg.find('\n', p);
    e += "data: ";
    e.append(svg, p, q == std::string::npos ? std::string::npos : q - p);
    e += '\n';
    if (q == std::string::npos) break;
    p = q + 1;
  }
  return e + "\n";
}

}  // namespace

struct servitore::interno {
  explicit interno(const bacheca& b) : tavola(b) {}

  const bacheca& tavola;
  httplib::Server server;
  std::thread filo;
  int porta = 0;
  socket_t ascolto{};
  std::atomic<int> flussi{0};

  bool host_ammesso(const httplib::Request& req) const {
    if (!req.has_header("Host")) return true;  // HTTP/1.0, which no browser sends
    const std::string host = req.get_header_value("Host");
    const std::string p = ":" + std::to_string(porta);
    return host == "127.0.0.1" + p || host == "localhost" + p;
  }

  void eventi(httplib::Response& res) {
    if (flussi.fetch_add(1) >= flussi_massimi) {
      flussi.fetch_sub(1);
      res.status = 503;
      res.set_header("Retry-After", "2");
      res.set_content("troppe pagine aperte su questo scenario watch: chiudine qualcuna\n", tipo_testo);
      return;
    }
    // What this stream has sent: the latest build and the latest drawing.
    struct inviati {
      uint64_t esito = 0, disegno = 0;
    };
    auto visti = std::make_shared<inviati>();
    res.set_chunked_content_provider(
        "text/event-stream",
        [this, visti](size_t, httplib::DataSink& sink) {
          const bacheca::stato s = tavola.aspetta(visti->esito, battito);
          if (s.chiusa) {
            sink.done();
            return true;
          }
          std::string evento;
          if (s.numero > visti->esito) {
            // The first event says how soon to come back when the stream
            // breaks. A new drawing goes before its outcome, in the stream
            // itself: the page need not ask for it.
            if (visti->esito == 0) evento = "retry: 1000\n";
            if (s.disegno && s.numero_disegno > visti->disegno) {
              evento += evento_disegno(s.numero_disegno, *s.disegno);
              visti->disegno = s.numero_disegno;
            }
            visti->esito = s.numero;
            // The outcome is one JSON line, as a data field needs.
            evento += "id: " + std::to_string(s.numero) + "\nevent: esito\ndata: " + s.esito + "\n\n";
          } else {
            evento = ": battito\n\n";
          }
          return sink.write(evento.data(), evento.size());
        },
        [this](bool) { flussi.fetch_sub(1); });
  }
};

servitore::servitore(const bacheca& b) : d_(std::make_unique<interno>(b)) {}

servitore::~servitore() { ferma(); }

std::optional<int> servitore::avvia(int porta, std::string& motivo) {
  httplib::Server& s = d_->server;
  s.new_task_queue = [] { return new httplib::ThreadPool(fili); };
  s.set_tcp_nodelay(true);
  s.set_keep_alive_timeout(3);
  s.set_keep_alive_max_count(100);
  s.set_read_timeout(5, 0);
  s.set_write_timeout(5, 0);
  s.set_payload_max_length(4096);
  // One listener a port: another watch on a port in use fails to start
  // instead of sharing it (the library's default would let it on Linux).
  // The socket is kept to lengthen its queue once it listens.
  s.set_socket_options([this](socket_t presa) {
    d_->ascolto = presa;
    int si = 1;
#ifdef _WIN32
    setsockopt(presa, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&si), sizeof si);
#else
    setsockopt(presa, SOL_SOCKET, SO_REUSEADDR, &si, sizeof si);
#endif
  });
  s.set_default_headers({{"Cache-Control", "no-store"}, {"X-Content-Type-Options", "nosniff"}});

  s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (req.method != "GET" && req.method != "HEAD") {
      res.status = 405;
      res.set_header("Allow", "GET, HEAD");
      return httplib::Server::HandlerResponse::Handled;
    }
    if (!d_->host_ammesso(req)) {
      res.status = 403;
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  // Every error with its status in words, for whoever reads it.
  s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty())
      res.set_content(std::to_string(res.status) + " " + std::string(in_parole(res.status)) + "\n", tipo_testo);
  });

  s.Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Content-Security-Policy", politica_pagina);
    res.set_content(std::string(pagina_html), tipo_html);
  });
  s.Get("/esito", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(d_->tavola.attuale().esito, tipo_json);
  });
  s.Get("/disegno.svg", [this](const httplib::Request&, httplib::Response& res) {
    const bacheca::stato st = d_->tavola.attuale();
    if (!st.disegno) {
      res.status = 404;
      res.set_content("nessun disegno ancora: la costruzione non ha scritto i file binari\n", tipo_testo);
      return;
    }
    // Which build drew it: the page may have been told of a later one.
    res.set_header("X-Costruzione", std::to_string(st.numero_disegno));
    res.set_content(*st.disegno, tipo_svg);
  });
  s.Get("/eventi", [this](const httplib::Request&, httplib::Response& res) { d_->eventi(res); });

  if (porta == 0)
    d_->porta = s.bind_to_any_port("127.0.0.1");
  else
    d_->porta = s.bind_to_port("127.0.0.1", porta) ? porta : -1;
  if (d_->porta <= 0) {
    motivo = porta == 0 ? "nessuna porta libera su 127.0.0.1"
                        : "la porta " + std::to_string(porta) + " di 127.0.0.1 è occupata o non si può usare";
    return std::nullopt;
  }
  // The library listens with a queue of 5 connections not yet accepted: a
  // burst of more (a browser opening several at once, or many clients)
  // would have the system drop some and their clients try again a second
  // later. Listening again lengthens the queue where the system allows it
  // (Linux, the BSDs); elsewhere it changes nothing.
  ::listen(d_->ascolto, SOMAXCONN);
  d_->filo = std::thread([this] { d_->server.listen_after_bind(); });
  return d_->porta;
}

void servitore::ferma() {
  if (!d_->filo.joinable()) return;
  d_->server.stop();
  d_->filo.join();
}

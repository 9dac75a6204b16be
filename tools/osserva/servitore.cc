// The routes, the event streams, and the threads that answer the requests
// the reception hands on.
#include "osserva/servitore.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "osserva/pagina.h"
#include "osserva/rete.h"
#include "osserva/ricezione.h"
#include "osserva/testa_richiesta.h"

namespace {

// Threads that answer, and how many of them event streams may hold: the
// rest always serve the page, its outcome and its drawing.
constexpr size_t fili = 24;
constexpr int flussi_massimi = 12;
// Requests on one connection, before it is closed.
constexpr unsigned richieste_per_connessione = 100;
// How long an answer may wait for the client to take more of it.
constexpr std::chrono::milliseconds attesa_scrittura{5000};
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

std::string chiave_nuova() {
  std::random_device caso;
  std::string chiave;
  for (int i = 0; i < 4; ++i) {
    const uint32_t v = static_cast<uint32_t>(caso());
    for (int j = 28; j >= 0; j -= 4) chiave += "0123456789abcdef"[(v >> j) & 0xF];
  }
  return chiave;
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

// Sends all of it, waiting up to `attesa_scrittura` each time the client
// takes nothing.
bool invia_tutto(presa p, const char* dati, size_t n) {
  while (n > 0) {
    const long r = invia(p, dati, n);
    if (r == -2) return false;
    if (r == -1) {
      std::vector<attesa_presa> a{{p, false, true}};
      if (!attendi(a, attesa_scrittura) || !a[0].scrivibile) return false;
      continue;
    }
    dati += r;
    n -= static_cast<size_t>(r);
  }
  return true;
}

// One request for the library: its head, as the reception made it, to
// read; the answer to the connection.
class flusso_presa : public httplib::Stream {
 public:
  flusso_presa(presa p, int porta, const std::string& testa) : p_(p), porta_(porta), testa_(testa) {}

  bool is_readable() const override { return letti_ < testa_.size(); }
  bool is_writable() const override {
    std::vector<attesa_presa> a{{p_, false, true}};
    return attendi(a, attesa_scrittura) && a[0].scrivibile;
  }
  ssize_t read(char* ptr, size_t size) override {
    const size_t n = std::min(size, testa_.size() - letti_);
    std::memcpy(ptr, testa_.data() + letti_, n);
    letti_ += n;
    return static_cast<ssize_t>(n);
  }
  ssize_t write(const char* ptr, size_t size) override {
    return invia_tutto(p_, ptr, size) ? static_cast<ssize_t>(size) : -1;
  }
  // Only the loopback address is listened on.
  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    ip = "127.0.0.1";
    port = 0;
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    ip = "127.0.0.1";
    port = porta_;
  }
  socket_t socket() const override { return static_cast<socket_t>(p_); }

 private:
  presa p_;
  int porta_;
  const std::string& testa_;
  size_t letti_ = 0;
};

// The library's server, for its routes and its way of writing answers:
// the connections are the reception's, not the library's own loop's.
class rotte : public httplib::Server {
 public:
  bool rispondi(httplib::Stream& s, bool chiudi, bool& chiusa) { return process_request(s, chiudi, chiusa, nullptr); }
  // The library writes a stream of data only while it counts as listening,
  // which it reads from the socket it would listen on.
  void in_servizio(presa ascolto) { svr_sock_ = static_cast<socket_t>(ascolto); }
  void fuori_servizio() { svr_sock_ = INVALID_SOCKET; }
};

}  // namespace

struct servitore::interno {
  explicit interno(const bacheca& b) : tavola(b), chiave(chiave_nuova()) {}

  const bacheca& tavola;
  const std::string chiave;
  rotte server;
  int porta = 0;
  presa ascolto = presa_nulla;
  std::unique_ptr<ricezione> accoglienza;
  std::vector<std::thread> lavoratori;
  std::atomic<int> flussi{0};

  std::mutex mutex;  // guards what follows
  std::condition_variable arrivo;
  std::deque<richiesta_pronta> coda;
  std::set<presa> in_risposta;  // connections being answered, shut at the stop
  bool fermo = false;

  void consegna(richiesta_pronta r) {
    {
      std::lock_guard<std::mutex> l(mutex);
      if (!fermo) {
        coda.push_back(std::move(r));
        arrivo.notify_one();
        return;
      }
    }
    chiudi_presa(r.p);
  }

  void lavora() {
    for (;;) {
      richiesta_pronta r;
      {
        std::unique_lock<std::mutex> l(mutex);
        arrivo.wait(l, [&] { return fermo || !coda.empty(); });
        if (fermo) return;
        r = std::move(coda.front());
        coda.pop_front();
        in_risposta.insert(r.p);
      }
      const bool chiudi = r.giudizio.chiudi || r.servite + 1 >= richieste_per_connessione;
      bool chiusa = false, scritta = false;
      try {
        flusso_presa s(r.p, porta, r.giudizio.testa);
        scritta = server.rispondi(s, chiudi, chiusa);
      } catch (const std::exception&) {
        scritta = false;  // no memory for the answer: the connection goes
      }
      bool fermato;
      {
        std::lock_guard<std::mutex> l(mutex);
        in_risposta.erase(r.p);
        fermato = fermo;
      }
      if (!scritta || fermato) chiudi_presa(r.p);
      else accoglienza->restituisci(r.p, std::move(r.resto), r.servite + 1, chiudi || chiusa);
    }
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

  void prepara_rotte() {
    httplib::Server& s = server;
    s.set_keep_alive_timeout(3);
    s.set_keep_alive_max_count(richieste_per_connessione);
    // No answer is cut to a range: one whole answer costs the least, and
    // many ranges of the drawing would make one many times its size.
    s.set_default_headers({{"Cache-Control", "no-store"},
                           {"X-Content-Type-Options", "nosniff"},
                           {"Referrer-Policy", "no-referrer"},
                           {"Accept-Ranges", "none"}});
    // Every error with its status in words, for whoever reads it.
    s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
      if (res.body.empty())
        res.set_content(std::to_string(res.status) + " " + std::string(parole_stato(res.status)) + "\n", tipo_testo);
    });
    s.Get("/", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Content-Security-Policy", politica_pagina);
      res.set_content(std::string(pagina_html), tipo_html);
    });
    s.Get("/esito", [this](const httplib::Request&, httplib::Response& res) {
      res.set_content(tavola.attuale().esito, tipo_json);
    });
    s.Get("/disegno.svg", [this](const httplib::Request&, httplib::Response& res) {
      const bacheca::stato st = tavola.attuale();
      if (!st.disegno) {
        res.status = 404;
        res.set_content("nessun disegno ancora: la costruzione non ha scritto i file binari\n", tipo_testo);
        return;
      }
      // Which build drew it: the page may have been told of a later one.
      res.set_header("X-Costruzione", std::to_string(st.numero_disegno));
      res.set_content(*st.disegno, tipo_svg);
    });
    s.Get("/eventi", [this](const httplib::Request&, httplib::Response& res) { eventi(res); });
  }
};

servitore::servitore(const bacheca& b) : d_(std::make_unique<interno>(b)) {}

servitore::~servitore() { ferma(); }

const std::string& servitore::chiave() const { return d_->chiave; }

std::optional<int> servitore::avvia(int porta, std::string& motivo) {
  std::string ragione;
  d_->ascolto = apri_ascolto(porta, d_->porta, ragione);
  if (d_->ascolto == presa_nulla) {
    motivo = porta == 0 ? "nessuna porta libera su 127.0.0.1 (" + ragione + ")"
                        : "la porta " + std::to_string(porta) + " di 127.0.0.1 è occupata o non si può usare (" +
                              ragione + ")";
    return std::nullopt;
  }
  d_->prepara_rotte();
  d_->server.in_servizio(d_->ascolto);
  d_->accoglienza = std::make_unique<ricezione>(d_->ascolto, d_->porta, d_->chiave,
                                                [this](richiesta_pronta r) { d_->consegna(std::move(r)); });
  if (!d_->accoglienza->avvia(ragione)) {
    motivo = "impossibile ricevere le richieste (" + ragione + ")";
    d_->accoglienza.reset();
    chiudi_presa(d_->ascolto);
    d_->ascolto = presa_nulla;
    return std::nullopt;
  }
  for (size_t i = 0; i < fili; ++i) d_->lavoratori.emplace_back([this] { d_->lavora(); });
  return d_->porta;
}

void servitore::ferma() {
  if (!d_->accoglienza) return;
  // The event streams end at their next event; no new request comes in.
  d_->server.fuori_servizio();
  d_->accoglienza->ferma();
  {
    // An answer waiting on a client that does not read ends at once.
    std::lock_guard<std::mutex> l(d_->mutex);
    d_->fermo = true;
    for (presa p : d_->in_risposta) interrompi(p);
    for (const richiesta_pronta& r : d_->coda) chiudi_presa(r.p);
    d_->coda.clear();
  }
  d_->arrivo.notify_all();
  for (std::thread& t : d_->lavoratori) t.join();
  d_->lavoratori.clear();
  d_->accoglienza.reset();
  chiudi_presa(d_->ascolto);
  d_->ascolto = presa_nulla;
}

// The reception's loop: one wait on the listening socket, the wake-up and
// every connection, then what each has brought, then the deadlines.
#include "osserva/ricezione.h"

#include <algorithm>
#include <utility>

using namespace std::chrono_literals;
using orologio_rete = std::chrono::steady_clock;

namespace {

// After an error's answer, how long what the client still sends is read and
// dropped before the connection closes, and how much of it at most.
constexpr auto congedo = 2000ms;
constexpr size_t scarto_massimo = 1 << 20;
// Bytes read from one connection in one round, so none keeps the others
// waiting.
constexpr size_t lettura_per_giro = 16384;
// The longest wait, for a stop asked without a wake-up.
constexpr auto attesa_massima = 1000ms;

}  // namespace

struct ricezione::connessione {
  connessione(presa p_, int porta, const std::string& chiave, uint64_t ordine_, orologio_rete::time_point ora)
      : p(p_), lettore(porta, chiave), scadenza(ora + scadenza_testa), ordine(ordine_) {}

  presa p;
  std::string ricevuti;  // the request's bytes so far
  lettore_testa lettore;
  orologio_rete::time_point scadenza;
  uint64_t ordine;  // the order it came in, for dropping the oldest
  unsigned servite = 0;
  // Once answered with an error (or done with): what is left to send of
  // the answer, and what the client still sends is read and dropped until
  // it closes or the deadline passes.
  bool in_congedo = false;
  std::string da_inviare;
  size_t inviati = 0;
  size_t scartati = 0;
  bool chiusa = false;  // to be closed and forgotten at the end of the round
};

ricezione::ricezione(presa ascolto, int porta, std::string chiave, std::function<void(richiesta_pronta)> consegna)
    : ascolto_(ascolto), porta_(porta), chiave_(std::move(chiave)), consegna_(std::move(consegna)) {}

ricezione::~ricezione() { ferma(); }

bool ricezione::avvia(std::string& motivo) {
  sveglia_ = apri_sveglia(motivo);
  if (sveglia_ == presa_nulla) return false;
  filo_ = std::thread([this] { ciclo(); });
  return true;
}

void ricezione::restituisci(presa p, std::string resto, unsigned servite, bool chiudere) {
  {
    std::lock_guard<std::mutex> l(mutex_);
    if (!chiusa_) {
      restituite_.push_back({p, std::move(resto), servite, chiudere});
      suona(sveglia_);
      return;
    }
  }
  chiudi_presa(p);
}

void ricezione::ferma() {
  if (!filo_.joinable()) return;
  fermo_ = true;
  suona(sveglia_);
  filo_.join();
  std::vector<restituita> rimaste;
  {
    std::lock_guard<std::mutex> l(mutex_);
    chiusa_ = true;
    rimaste.swap(restituite_);
  }
  for (const restituita& r : rimaste) chiudi_presa(r.p);
  for (const auto& c : connessioni_) chiudi_presa(c->p);
  connessioni_.clear();
  chiudi_presa(sveglia_);
  sveglia_ = presa_nulla;
}

void ricezione::ciclo() {
  std::vector<attesa_presa> attese;
  std::vector<connessione*> in_attesa;  // the connection of each wait after the first `prima`
  while (!fermo_) {
    auto ora = orologio_rete::now();
    // The connections back from an answer: the next request may be here
    // already.
    std::vector<restituita> tornate;
    {
      std::lock_guard<std::mutex> l(mutex_);
      tornate.swap(restituite_);
    }
    for (restituita& r : tornate) {
      auto c = std::make_unique<connessione>(r.p, porta_, chiave_, ++arrivi_, ora);
      c->servite = r.servite;
      c->ricevuti = std::move(r.resto);
      connessioni_.push_back(std::move(c));
      if (r.chiudere) congeda(*connessioni_.back(), ora);
      else if (!connessioni_.back()->ricevuti.empty()) esamina(*connessioni_.back(), ora);
    }

    // One wait for all, until the nearest deadline.
    auto prossima = ora + attesa_massima;
    attese.clear();
    in_attesa.clear();
    attese.push_back({sveglia_, true, false});
    const bool ascolta = ora >= ascolto_sospeso_;
    if (ascolta) attese.push_back({ascolto_, true, false});
    const size_t prima = attese.size();
    for (const auto& c : connessioni_) {
      if (c->chiusa) continue;
      attese.push_back({c->p, true, c->inviati < c->da_inviare.size()});
      in_attesa.push_back(c.get());
      prossima = std::min(prossima, c->scadenza);
    }
    if (!ascolta) prossima = std::min(prossima, ascolto_sospeso_);
    const auto entro = std::chrono::ceil<std::chrono::milliseconds>(std::max(prossima - ora, orologio_rete::duration{}));
    if (!attendi(attese, entro)) std::this_thread::sleep_for(10ms);
    if (fermo_) break;
    ora = orologio_rete::now();

    if (attese[0].leggibile) svuota(sveglia_);
    if (ascolta && attese[1].leggibile) accogli(ora);
    for (size_t k = 0; k < in_attesa.size(); ++k) {
      connessione& c = *in_attesa[k];
      const attesa_presa& a = attese[prima + k];
      if (!c.chiusa && a.scrivibile && c.inviati < c.da_inviare.size()) invia_resto(c);
      if (!c.chiusa && a.leggibile) leggi(c, ora);
    }

    // The deadlines.
    for (const auto& c : connessioni_) {
      if (c->chiusa || ora < c->scadenza) continue;
      if (c->in_congedo) {
        c->chiusa = true;
      } else if (c->lettore.iniziata()) {
        giudizio_testa g;
        g.stato = 408;
        g.parole = "la richiesta non è arrivata intera in " +
                   std::to_string(std::chrono::duration_cast<std::chrono::seconds>(scadenza_testa).count()) +
                   " secondi";
        rifiuta(*c, g, ora);
      } else {
        c->chiusa = true;
      }
    }
    std::erase_if(connessioni_, [](const std::unique_ptr<connessione>& c) {
      if (c->chiusa && c->p != presa_nulla) chiudi_presa(c->p);
      return c->chiusa;
    });
  }
}

void ricezione::accogli(orologio_rete::time_point ora) {
  // A few at a time, so that a flood of connections does not starve the
  // reading of those already here.
  for (int n = 0; n < 64; ++n) {
    bool esauste = false;
    const presa p = accetta(ascolto_, esauste);
    if (p == presa_nulla) {
      // No descriptor left: the oldest connection goes, and the listening
      // socket rests a moment rather than wake the loop again at once.
      if (esauste) {
        auto vecchia = std::min_element(connessioni_.begin(), connessioni_.end(), [](const auto& a, const auto& b) {
          return a->chiusa != b->chiusa ? !a->chiusa : a->ordine < b->ordine;
        });
        if (vecchia != connessioni_.end() && !(*vecchia)->chiusa) {
          (*vecchia)->chiusa = true;
          chiudi_presa((*vecchia)->p);
          (*vecchia)->p = presa_nulla;
        }
        ascolto_sospeso_ = ora + 50ms;
      }
      return;
    }
    // Full: the connection held longest goes, which a stranger's flood
    // cannot keep from a page that sends its request as it connects.
    const size_t vive = static_cast<size_t>(
        std::count_if(connessioni_.begin(), connessioni_.end(), [](const auto& c) { return !c->chiusa; }));
    if (vive >= connessioni_massime) {
      auto vecchia = std::min_element(connessioni_.begin(), connessioni_.end(), [](const auto& a, const auto& b) {
        return a->chiusa != b->chiusa ? !a->chiusa : a->ordine < b->ordine;
      });
      (*vecchia)->chiusa = true;
    }
    connessioni_.push_back(std::make_unique<connessione>(p, porta_, chiave_, ++arrivi_, ora));
  }
}

void ricezione::leggi(connessione& c, orologio_rete::time_point ora) {
  char b[4096];
  for (size_t letti = 0; letti < lettura_per_giro && !c.chiusa;) {
    const long n = ricevi(c.p, b, sizeof b);
    if (n == -1) return;
    if (n <= 0) {
      // The other side has closed, or the connection failed.
      c.chiusa = true;
      return;
    }
    letti += static_cast<size_t>(n);
    if (c.in_congedo) {
      c.scartati += static_cast<size_t>(n);
      if (c.scartati > scarto_massimo) c.chiusa = true;
      continue;
    }
    c.ricevuti.append(b, static_cast<size_t>(n));
    esamina(c, ora);
    if (c.chiusa || c.in_congedo) return;
  }
}

void ricezione::esamina(connessione& c, orologio_rete::time_point ora) {
  const giudizio_testa g = c.lettore.esamina(c.ricevuti);
  if (g.stato == 0) return;
  if (g.stato != 200) {
    rifiuta(c, g, ora);
    return;
  }
  richiesta_pronta r;
  r.p = c.p;
  r.giudizio = g;
  r.resto = c.ricevuti.substr(g.consumati);
  r.servite = c.servite;
  // Handed on: no longer the reception's.
  c.p = presa_nulla;
  c.chiusa = true;
  consegna_(std::move(r));
}

void ricezione::rifiuta(connessione& c, const giudizio_testa& g, orologio_rete::time_point ora) {
  c.da_inviare = risposta_errore(g);
  c.inviati = 0;
  c.ricevuti.clear();
  c.ricevuti.shrink_to_fit();
  c.in_congedo = true;
  c.scadenza = ora + congedo;
  invia_resto(c);
}

void ricezione::invia_resto(connessione& c) {
  while (c.inviati < c.da_inviare.size()) {
    const long n = invia(c.p, c.da_inviare.data() + c.inviati, c.da_inviare.size() - c.inviati);
    if (n == -1) return;
    if (n < 0) {
      c.chiusa = true;
      return;
    }
    c.inviati += static_cast<size_t>(n);
  }
  // All sent: the client reads the end after it.
  chiudi_invio(c.p);
}

void ricezione::congeda(connessione& c, orologio_rete::time_point ora) {
  c.in_congedo = true;
  c.scadenza = ora + congedo;
  chiudi_invio(c.p);
}

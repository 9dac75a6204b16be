// The request line and the header lines, checked one at a time as they come.
#include "osserva/testa_richiesta.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// A character of a method or a header's name.
bool carattere_nome(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c != 0 && std::strchr("!#$%&'*+-.^_`|~", c) != nullptr);
}

bool nome_valido(std::string_view s) {
  if (s.empty()) return false;
  for (unsigned char c : s)
    if (!carattere_nome(c)) return false;
  return true;
}

char minuscola(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool uguale_senza_maiuscole(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (minuscola(a[i]) != minuscola(b[i])) return false;
  return true;
}

// The key compared in a time that does not tell how much of it was right.
bool chiave_uguale(std::string_view data, std::string_view chiave) {
  if (data.size() != chiave.size()) return false;
  unsigned char differenza = 0;
  for (size_t i = 0; i < data.size(); ++i)
    differenza |= static_cast<unsigned char>(data[i] ^ chiave[i]);
  return differenza == 0;
}

std::string_view senza_spazi(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Calls `f` with each element of a comma-separated list, blanks trimmed.
template <class F>
void per_elemento(std::string_view lista, char separatore, F f) {
  for (;;) {
    const size_t p = lista.find(separatore);
    f(lista.substr(0, p));
    if (p == std::string_view::npos) return;
    lista.remove_prefix(p + 1);
  }
}

}  // namespace

lettore_testa::lettore_testa(int porta, std::string chiave) : porta_(porta), chiave_(std::move(chiave)) {}

void lettore_testa::ricomincia() {
  lettore_testa nuovo(porta_, chiave_);
  *this = std::move(nuovo);
}

bool lettore_testa::errore(int stato, std::string parole) {
  g_.stato = stato;
  g_.parole = std::move(parole);
  return true;
}

giudizio_testa lettore_testa::esamina(std::string_view ricevuti) {
  if (g_.stato != 0) return g_;
  if (!ricevuti.empty()) iniziata_ = true;
  for (;;) {
    // The line must end within its own limit and within the head's: which
    // one it overruns first decides the error, whatever way the bytes came.
    const size_t massima = in_campi_ ? riga_campo_massima : riga_richiesta_massima;
    const size_t limite = std::min(pos_ + massima, testa_massima);
    const size_t a_capo = ricevuti.find('\n', std::max(pos_, cercato_));
    if (a_capo == std::string_view::npos ? ricevuti.size() >= limite : a_capo >= limite) {
      if (pos_ + massima > testa_massima) errore(431, "le intestazioni della richiesta sono troppo grandi");
      else if (!in_campi_) errore(414, "la riga della richiesta è troppo lunga");
      else errore(400, "una riga d'intestazione è troppo lunga");
      return g_;
    }
    if (a_capo == std::string_view::npos) {
      cercato_ = ricevuti.size();
      return g_;
    }
    std::string_view riga = ricevuti.substr(pos_, a_capo - pos_);
    if (!riga.empty() && riga.back() == '\r') riga.remove_suffix(1);
    pos_ = a_capo + 1;
    if (!in_campi_) {
      if (riga.empty()) continue;  // empty lines before a request are let pass
      if (riga_richiesta(riga)) return g_;
      in_campi_ = true;
      continue;
    }
    if (riga.empty()) {
      completa(pos_);
      return g_;
    }
    if (++campi_ > campi_massimi) {
      errore(431, "la richiesta ha troppe righe d'intestazione");
      return g_;
    }
    if (riga_campo(riga)) return g_;
  }
}

bool lettore_testa::riga_richiesta(std::string_view riga) {
  // METHOD SP TARGET SP VERSION, the target a path on this server.
  const size_t p1 = riga.find(' ');
  const size_t p2 = p1 == std::string_view::npos ? p1 : riga.find(' ', p1 + 1);
  if (p2 == std::string_view::npos || riga.find(' ', p2 + 1) != std::string_view::npos)
    return errore(400, "la riga della richiesta non è HTTP");
  const std::string_view metodo = riga.substr(0, p1), bersaglio = riga.substr(p1 + 1, p2 - p1 - 1),
                         versione = riga.substr(p2 + 1);
  if (!nome_valido(metodo) || bersaglio.empty() || bersaglio.front() != '/')
    return errore(400, "la riga della richiesta non è HTTP");
  for (unsigned char c : bersaglio)
    if (c <= ' ' || c >= 0x7F) return errore(400, "la riga della richiesta non è HTTP");
  if (versione != "HTTP/1.1" && versione != "HTTP/1.0") return errore(400, "la riga della richiesta non è HTTP/1.x");
  metodo_ = metodo;
  bersaglio_ = bersaglio;
  http_1_0_ = versione == "HTTP/1.0";
  g_.head = metodo == "HEAD";

  // The key first: whoever lacks it learns nothing more of this server.
  bool con_chiave = false;
  if (const size_t q = bersaglio.find('?'); q != std::string_view::npos)
    per_elemento(bersaglio.substr(q + 1), '&', [&](std::string_view parametro) {
      if (parametro.starts_with("chiave=") && chiave_uguale(parametro.substr(7), chiave_)) con_chiave = true;
    });
  if (!con_chiave)
    return errore(403, "manca la chiave di questa pagina: apri l'indirizzo che scenario watch ha stampato, "
                       "con il suo ?chiave=...");
  if (metodo != "GET" && metodo != "HEAD") return errore(405, "");
  return false;
}

bool lettore_testa::riga_campo(std::string_view riga) {
  // A line that continues the one before (obsolete folding) is refused, as
  // is a blank before the colon.
  const size_t due_punti = riga.find(':');
  if (due_punti == std::string_view::npos || !nome_valido(riga.substr(0, due_punti)))
    return errore(400, "una riga d'intestazione non è valida");
  const std::string_view nome = riga.substr(0, due_punti), valore = senza_spazi(riga.substr(due_punti + 1));
  for (unsigned char c : valore)
    if ((c < ' ' && c != '\t') || c == 0x7F) return errore(400, "una riga d'intestazione non è valida");

  if (uguale_senza_maiuscole(nome, "Host")) {
    if (++host_ > 1) return errore(400, "la richiesta ha più di un Host");
    const std::string p = ":" + std::to_string(porta_);
    host_ammesso_ = uguale_senza_maiuscole(valore, "127.0.0.1" + p) || uguale_senza_maiuscole(valore, "localhost" + p);
  } else if (uguale_senza_maiuscole(nome, "Connection")) {
    per_elemento(valore, ',', [&](std::string_view opzione) {
      if (uguale_senza_maiuscole(senza_spazi(opzione), "close")) chiudi_ = true;
    });
  } else if (uguale_senza_maiuscole(nome, "Content-Length")) {
    // GET and HEAD carry no data; a body would be read as the next request.
    if (valore.empty() || valore.find_first_not_of('0') != std::string_view::npos)
      return errore(400, "una richiesta GET o HEAD non porta dati");
  } else if (uguale_senza_maiuscole(nome, "Transfer-Encoding")) {
    return errore(400, "una richiesta GET o HEAD non porta dati");
  }
  return false;
}

void lettore_testa::completa(size_t consumati) {
  // A name other than this server's own: a page elsewhere that reached it
  // under a name of its own.
  if (!host_ammesso_) {
    errore(403, "l'Host deve essere 127.0.0.1:" + std::to_string(porta_) + " o localhost:" + std::to_string(porta_));
    return;
  }
  g_.stato = 200;
  g_.testa = metodo_ + " " + bersaglio_ + " HTTP/1.1\r\n\r\n";
  // An HTTP/1.0 client is not kept: it would wait for the end of the body.
  g_.chiudi = chiudi_ || http_1_0_;
  g_.consumati = consumati;
}

std::string_view parole_stato(int stato) {
  switch (stato) {
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 414: return "URI Too Long";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Error";
  }
}

std::string risposta_errore(const giudizio_testa& g) {
  std::string corpo = std::to_string(g.stato) + " " + std::string(parole_stato(g.stato)) + "\n";
  if (!g.parole.empty()) corpo += g.parole + "\n";
  std::string r = "HTTP/1.1 " + std::to_string(g.stato) + " " + std::string(parole_stato(g.stato)) + "\r\n";
  r += "Content-Type: text/plain; charset=utf-8\r\nContent-Length: " + std::to_string(corpo.size()) + "\r\n";
  r += "Cache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n";
  if (g.stato == 405) r += "Allow: GET, HEAD\r\n";
  r += "Connection: close\r\n\r\n";
  if (!g.head) r += corpo;
  return r;
}

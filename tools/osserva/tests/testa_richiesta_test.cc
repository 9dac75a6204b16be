// The heads of requests as the watch's server judges them: what is served
// and the head the routes get, and each error with its status, whether the
// bytes come at once or one at a time; the request after a head; the
// answers to errors.
#include "osserva/testa_richiesta.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

const std::string chiave = "0123456789abcdef0123456789abcdef";
constexpr int porta = 41233;
const std::string host = "Host: 127.0.0.1:41233\r\n";

giudizio_testa tutta(const std::string& richiesta) { return lettore_testa(porta, chiave).esamina(richiesta); }

// The same bytes, given a byte more each time, as a slow client sends them.
giudizio_testa a_poco_a_poco(const std::string& richiesta) {
  lettore_testa l(porta, chiave);
  giudizio_testa g;
  for (size_t n = 0; n <= richiesta.size() && g.stato == 0; ++n) g = l.esamina(std::string_view(richiesta).substr(0, n));
  return g;
}

std::string righe(size_t quante, size_t lunghezza) {
  std::string s;
  for (size_t i = 0; i < quante; ++i) s += "X-" + std::to_string(i) + ": " + std::string(lunghezza, 'v') + "\r\n";
  return s;
}

struct caso {
  const char* nome;
  std::string richiesta;
  int stato;
  std::string testa = "";  // for 200
  bool chiudi = false;
};

void PrintTo(const caso& c, std::ostream* o) { *o << c.nome; }

class testa_casi : public testing::TestWithParam<caso> {};

TEST_P(testa_casi, giudizio) {
  const caso& c = GetParam();
  for (const giudizio_testa& g : {tutta(c.richiesta), a_poco_a_poco(c.richiesta)}) {
    EXPECT_EQ(g.stato, c.stato);
    if (c.stato == 200) {
      EXPECT_EQ(g.testa, c.testa);
      EXPECT_EQ(g.chiudi, c.chiudi);
      EXPECT_EQ(g.consumati, c.richiesta.size());
    } else if (c.stato != 0) {
      EXPECT_FALSE(g.parole.empty() && c.stato != 405);
    }
  }
}

const std::string con_chiave = "/esito?chiave=" + chiave;
const std::string get = "GET " + con_chiave + " HTTP/1.1\r\n";
const std::string servita = "GET " + con_chiave + " HTTP/1.1\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    richieste, testa_casi,
    testing::Values(
        // Served: only the request line goes on, every header dropped.
        caso{"get", get + host + "Accept: */*\r\n\r\n", 200, servita},
        caso{"head", "HEAD " + con_chiave + " HTTP/1.1\r\n" + host + "\r\n", 200,
             "HEAD " + con_chiave + " HTTP/1.1\r\n\r\n"},
        caso{"chiave_tra_altri_parametri", "GET /?a=1&chiave=" + chiave + "&b=2 HTTP/1.1\r\n\r\n", 200,
             "GET /?a=1&chiave=" + chiave + "&b=2 HTTP/1.1\r\n\r\n"},
        caso{"localhost_e_maiuscole", get + "host: LocalHost:41233\r\n\r\n", 200, servita},
        caso{"senza_host", get + "\r\n", 200, servita},
        caso{"solo_a_capo_e_righe_vuote_prima", "\r\n\n" + std::string("GET ") + con_chiave + " HTTP/1.1\n" + host + "\n",
             200, servita},
        caso{"content_length_zero", get + host + "Content-Length: 0\r\n\r\n", 200, servita},
        // Never answered with ranges: many of them would make the drawing
        // many times its size.
        caso{"range_lasciato_cadere", get + host + "Range: bytes=0-,0-,0-,0-,0-\r\n\r\n", 200, servita},
        caso{"connection_close", get + host + "Connection: keep-alive, Close\r\n\r\n", 200, servita, true},
        caso{"http_1_0_si_chiude", "GET " + con_chiave + " HTTP/1.0\r\n\r\n", 200, servita, true},
        caso{"cento_righe", get + righe(100, 10) + "\r\n", 200, servita},
        caso{"non_ancora_intera", get + host, 0},
        // No key, or not this one: 403 at the request line, whatever else.
        caso{"senza_chiave", "GET /esito HTTP/1.1\r\n", 403},
        caso{"chiave_sbagliata", "GET /esito?chiave=0123456789abcdef0123456789abcdee HTTP/1.1\r\n", 403},
        caso{"chiave_piu_lunga", "GET /esito?chiave=" + chiave + "0 HTTP/1.1\r\n", 403},
        caso{"chiave_in_un_altro_nome", "GET /esito?xchiave=" + chiave + " HTTP/1.1\r\n", 403},
        caso{"chiave_vuota", "GET /esito?chiave= HTTP/1.1\r\n", 403},
        caso{"post_senza_chiave", "POST /esito HTTP/1.1\r\n", 403},
        caso{"post", "POST " + con_chiave + " HTTP/1.1\r\n", 405},
        caso{"host_altrui", get + "Host: scenario.example:41233\r\n\r\n", 403},
        caso{"host_altra_porta", get + "Host: 127.0.0.1:41234\r\n\r\n", 403},
        caso{"host_senza_porta", get + "Host: 127.0.0.1\r\n\r\n", 403},
        caso{"due_host", get + host + host + "\r\n", 400},
        // Limits: a line too long is refused before it ends.
        caso{"riga_richiesta_lunga", "GET /" + std::string(8200, 'a'), 414},
        caso{"riga_lunga", get + "X: " + std::string(9000, 'x'), 400},
        caso{"troppe_righe", get + righe(101, 10) + "\r\n", 431},
        caso{"troppi_byte", get + righe(5, 7000) + "\r\n", 431},
        caso{"righe_corte_senza_fine", get + righe(20000, 1), 431},
        // Not HTTP, or not as this server takes it.
        caso{"non_http", "\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03 not http\r\n\r\n"s, 400},
        caso{"http_2", "GET " + con_chiave + " HTTP/2.0\r\n\r\n", 400},
        caso{"forma_assoluta", "GET http://127.0.0.1:41233/esito?chiave=" + chiave + " HTTP/1.1\r\n\r\n", 400},
        caso{"due_spazi", "GET  " + con_chiave + " HTTP/1.1\r\n\r\n", 400},
        caso{"carattere_di_controllo", "GET /es\x01ito?chiave=" + chiave + " HTTP/1.1\r\n\r\n", 400},
        caso{"riga_piegata", get + host + "X-A: 1\r\n  continua\r\n\r\n", 400},
        caso{"spazio_prima_dei_due_punti", get + "Host : 127.0.0.1:41233\r\n\r\n", 400},
        caso{"senza_due_punti", get + "Host\r\n\r\n", 400},
        caso{"a_capo_nel_valore", get + "X-A: a\rb\r\n\r\n", 400},
        caso{"corpo", get + host + "Content-Length: 5\r\n\r\nabcde", 400},
        caso{"corpo_a_pezzi", get + host + "Transfer-Encoding: chunked\r\n\r\n", 400}));

TEST(testa_richiesta, la_richiesta_dopo_una_testa_e_la_prossima) {
  const std::string seconda = "HEAD /disegno.svg?chiave=" + chiave + " HTTP/1.1\r\n\r\n";
  const std::string due = get + host + "\r\n" + seconda;
  lettore_testa l(porta, chiave);
  const giudizio_testa g = l.esamina(due);
  ASSERT_EQ(g.stato, 200);
  EXPECT_EQ(g.consumati, due.size() - seconda.size());
  // Judged once: more bytes change nothing until it starts again.
  EXPECT_EQ(l.esamina(due + "x").consumati, g.consumati);
  l.ricomincia();
  EXPECT_FALSE(l.iniziata());
  const giudizio_testa h = l.esamina(std::string_view(due).substr(g.consumati));
  EXPECT_EQ(h.stato, 200);
  EXPECT_TRUE(h.head);
  EXPECT_EQ(h.testa, seconda);
}

TEST(testa_richiesta, le_risposte_agli_errori) {
  auto rifiuto = [](int stato, std::string parole, bool head) {
    giudizio_testa g;
    g.stato = stato;
    g.parole = std::move(parole);
    g.head = head;
    return g;
  };
  struct atteso {
    giudizio_testa g;
    std::string inizio;
    bool corpo;
    bool allow;
  };
  std::vector<atteso> casi = {
      {rifiuto(403, "manca la chiave", false), "HTTP/1.1 403 Forbidden\r\n", true, false},
      {rifiuto(405, "", false), "HTTP/1.1 405 Method Not Allowed\r\n", true, true},
      {rifiuto(431, "troppe", false), "HTTP/1.1 431 Request Header Fields Too Large\r\n", true, false},
      {rifiuto(408, "", true), "HTTP/1.1 408 Request Timeout\r\n", false, false},
  };
  for (const atteso& c : casi) {
    SCOPED_TRACE(c.inizio);
    const std::string r = risposta_errore(c.g);
    EXPECT_TRUE(r.starts_with(c.inizio)) << r;
    const size_t testa = r.find("\r\n\r\n");
    ASSERT_NE(testa, std::string::npos);
    EXPECT_NE(r.find("Connection: close\r\n"), std::string::npos);
    EXPECT_EQ(r.find("Allow: GET, HEAD\r\n") != std::string::npos, c.allow);
    // The length of the body a GET gets, which a HEAD is told without it.
    const std::string corpo = std::to_string(c.g.stato) + " " + std::string(parole_stato(c.g.stato)) + "\n" +
                              (c.g.parole.empty() ? "" : c.g.parole + "\n");
    EXPECT_NE(r.find("Content-Length: " + std::to_string(corpo.size()) + "\r\n"), std::string::npos) << r;
    EXPECT_EQ(r.substr(testa + 4), c.corpo ? corpo : "");
  }
}

}  // namespace

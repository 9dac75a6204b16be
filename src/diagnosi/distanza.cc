#include "diagnosi/distanza.h"

#include <algorithm>
#include <vector>

size_t distanza(std::string_view a, std::string_view b, size_t oltre) {
  const size_t n = a.size(), m = b.size();
  if ((n > m ? n - m : m - n) > oltre) return oltre + 1;
  // Three rows of the table of the optimal string alignment distance.
  std::vector<size_t> prima(m + 1), sopra(m + 1), riga(m + 1);
  for (size_t j = 0; j <= m; ++j) sopra[j] = j;
  for (size_t i = 1; i <= n; ++i) {
    riga[0] = i;
    size_t minimo = riga[0];
    for (size_t j = 1; j <= m; ++j) {
      const size_t costo = a[i - 1] == b[j - 1] ? 0 : 1;
      riga[j] = std::min({sopra[j] + 1, riga[j - 1] + 1, sopra[j - 1] + costo});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) riga[j] = std::min(riga[j], prima[j - 2] + 1);
      minimo = std::min(minimo, riga[j]);
    }
    if (minimo > oltre) return oltre + 1;
    std::swap(prima, sopra);
    std::swap(sopra, riga);
  }
  return std::min(sopra[m], oltre + 1);
}

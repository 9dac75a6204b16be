// One pass over each coordinate's stream of elements, and the check of what
// can be drawn.
#include "disegno/punti_piani.h"

#include <limits>
#include <optional>

#include "model/cursore.h"

namespace {

constexpr double mancante = std::numeric_limits<double>::quiet_NaN();

// The build's points lie within the route's length of the origin; a value
// far beyond is damage, not track.
constexpr double lontano = 1e8;

bool disegnabile(double v) { return std::isfinite(v) && std::abs(v) <= lontano; }

// Reads the elements of one coordinate in turn; NaN for an Empty one, or
// for one cut short.
class lettore_elementi {
 public:
  explicit lettore_elementi(std::string_view b) : l_(b) {}
  double prossimo() {
    if (!l_.bastano(2)) return mancante;
    const std::optional<tipo_elemento> tipo = tipo_da_codice(l_.parola());
    if (tipo == tipo_elemento::intero && l_.bastano(2)) return l_.integer();
    if (tipo == tipo_elemento::doppio && l_.bastano(8)) return l_.doppio();
    return mancante;
  }

 private:
  cursore_lettura l_;
};

}  // namespace

void punti_da_immagine(std::string_view immagine, int32_t ultimo_metro, punti_piani& p) {
  p.resize(static_cast<size_t>(ultimo_metro) + 1);
  lettore_elementi l(immagine);
  for (punto& q : p) q.x = l.prossimo();
  for (punto& q : p) {
    q.y = l.prossimo();
    if (!disegnabile(q.x) || !disegnabile(q.y)) q = {mancante, mancante};
  }
}

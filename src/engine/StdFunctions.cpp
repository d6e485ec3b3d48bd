// The standard functions of the catalogue, computed from their arguments and the generator's
// state.
#include "engine/Generator.h"

namespace gs {

// FIXME: the standard functions are computed here; until then every call gives the empty
// text, as an id without an implementation does.
QString CallStandardFunction(TGenerator&, quint16, const TArgList&) {
  return {};
}

} // namespace gs

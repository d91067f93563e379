// Members 1 to 20 of the pattern family, each as its per-call, per-row and per-point
// formulas and its finishing chain.
#include "generator/patterns/Family.h"

namespace Rosacle {

void Pattern1()
{
    WorkA = Sin(Phase1 + Phase3);
    WorkB = Cos(Phase3) - Sin(Phase1 + Phase2);
    const int32_t n = RowCount;
    using Finish = Chain<Fold, CutAt<25>, CubeAbove<232>, Clamp>;
    RunRows<Finish>(
        [n](int r) { WorkT[0] = (static_cast<Extended>(r) / n) * 2; },
        [n](int r, int i, int m) {
            const Extended t = WorkT[0];
            const Extended v = PointV(i, m);
            WorkU[0] = Abs(1 - v * t) - (static_cast<Extended>(r) / n) * WorkA;
            const Extended u = WorkU[0];
            Channels c;
            c.R = Round(Abs(u * u - t * t) * 255);
            c.G = Round(Abs(t + u + WorkB) * 255);
            c.B = Round(Sqrt(static_cast<Extended>(c.R * c.R + c.G * c.G)) / 1.41L);
            return c;
        });
}

void Pattern2() {}
void Pattern3() {}
void Pattern4() {}
void Pattern5() {}
void Pattern6() {}
void Pattern7() {}
void Pattern8() {}
void Pattern9() {}
void Pattern10() {}
void Pattern11() {}
void Pattern12() {}
void Pattern13() {}
void Pattern14() {}
void Pattern15() {}
void Pattern16() {}
void Pattern17() {}
void Pattern18() {}
void Pattern19() {}
void Pattern20() {}

} // namespace Rosacle

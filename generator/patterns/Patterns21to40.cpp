// Members 21 to 40 of the pattern family, each as its per-call, per-row and per-point
// formulas and its finishing chain.
#include "generator/patterns/Family.h"

namespace Rosacle {

namespace {

// The phases under the letters of the members' formulas.
const Extended& p1 = Phase1;
const Extended& p2 = Phase2;
const Extended& p3 = Phase3;
Extended Squared(Extended y) { return y * y; }

// A member names the working values by the letters of its formulas, bound to the set of the
// thread that runs it; one that names a working value writes it, so members 7, 16 and 18 see
// the d left here.

// A channel value as an angle: c x (pi/2) / 255.
Extended QuarterTurn(int32_t c) { return static_cast<Extended>(c) * HalfPi / 255; }

Extended SinQuarterTurn(int32_t c) { return Sin(QuarterTurn(c)); }
Extended CosQuarterTurn(int32_t c) { return Cos(QuarterTurn(c)); }
using SinOfQuarterTurn = ChannelTable<SinQuarterTurn>;
using CosOfQuarterTurn = ChannelTable<CosQuarterTurn>;

void NoRowValues(int) {}

// ---- Terms of members 26, 27, 29, 30, 32 and 38 that depend on the row and point alone:
// laid once per layout into the point tables, computed with the same functions otherwise.

// Member 26's u, and member 27's.
Extended U26(int i, int m)
{
    const Extended v = PointV(i, m);
    return (1 - v) * (1 - v) - Abs(Cos(FourPi * i / m) / 2 + 2);
}
Extended U27(int i, int m) { return Pi - Abs(HalfTurnSine(i, m)) * TwoPi; }

// Member 29's cos(u) x t x x.
Extended Red29(Extended t, int i, int m)
{
    const Extended u = Abs(1 - PointV(i, m)) * 2;
    const Extended x = Abs(u + t);
    return Cos(u) * t * x;
}

// Members 21 and 23: the shape tables shifted by the phases.
void ShapePlusPhases()
{
    using Finish = Chain<AbsRG, Fold, LowSquareAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(NoRowValues, [](int r, int i, int) {
        const Extended sa = PointShapeA[r][i], sb = PointShapeB[r][i], sc = PointShapeC[r][i];
        const int32_t R = Round((sa + p1) * 255);
        const int32_t G = Round((sb + p2) * 255);
        const int32_t B = Round((sc + p3) * 255);
        return Channels{R, G, B};
    });
}

// Members 24 and 25: each table value plus a blend of the other two; they differ in the
// divisor of the second.
void ShapeBlend(Extended divisor)
{
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(NoRowValues, [divisor](int r, int i, int) {
        const Extended sa = PointShapeA[r][i], sb = PointShapeB[r][i], sc = PointShapeC[r][i];
        const int32_t R = Round(Abs(Abs(sa) + (sc / 3 + sb / divisor + p1)) * 255);
        const int32_t G = Round(Abs(Abs(sb) + (sa / 3 + sc / divisor + p2)) * 255);
        const int32_t B = Round(Abs(Abs(sc) + (sb / 3 + sa / divisor + p3)) * 255);
        return Channels{R, G, B};
    });
}

} // namespace

void LayPointTerms21to40(int32_t k, int r)
{
    const int32_t m = RowLastPoint(r);
    Extended* a = PointShapeA[r];
    Extended* b = PointShapeB[r];
    const Extended t = RowWave(r);
    for (int i = 0; i <= m; ++i) {
        switch (k) {
        case 26: a[i] = U26(i, m); break;
        case 27:
            a[i] = U27(i, m);
            b[i] = Sin(a[i]);
            break;
        case 29: a[i] = Red29(t, i, m); break;
        case 30:
        case 38: a[i] = HalfTurnSine(i, m); break;
        case 32: a[i] = TurnSine(i, m); break;
        default: return;
        }
    }
}

void Pattern21() { ShapePlusPhases(); }

void Pattern22()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    const int32_t n = RowCount;
    const int32_t H = SurfaceHeight;
    using Finish = Chain<AbsRG, Fold, CutAt<50>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = Abs(A1(r, n));
            b = Abs(B1(r, n));
        },
        [&](int r, int i, int m) {
            const Extended v = PointV(i, m);
            u = Abs((1 - v) * (1 - v) * a);
            t = Abs(Abs(1 - static_cast<Extended>(2 * r) / H) * b);
            x = 1 / (Abs(u - t) + 1.5L);
            const Extended z = v + r * 0.5L / n + 1;
            const int32_t R = Round((0.2L + u) / z * 255);
            const int32_t G = Round((0.2L + t) / z * 255);
            const int32_t B = Round(Abs((0.2L + x) / (Abs(Share(R) + Share(G)) + 0.1L)) * 255);
            return Channels{R, G, B};
        });
}

// The same formulas as 21; the tables laid for 23 make the difference.
void Pattern23() { ShapePlusPhases(); }

void Pattern24() { ShapeBlend(2); }

void Pattern25() { ShapeBlend(5); }

void Pattern26()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    const int32_t n = RowCount;
    const int32_t H = SurfaceHeight;
    const bool terms = PointTermsPattern == 26;
    using Finish = Chain<Fold, CutAt<25>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = (Sin(EightPi * r / n) / 2 + 0.5L) * Sin(Sin(p1 + 5) * r / n + p2);
            b = Cos(p1) + Cos(Sin(p1 + 8) * r / n + p1);
            t = (1 - static_cast<Extended>(2 * r) / H) + p1 / 10;
        },
        [&](int r, int i, int m) {
            u = terms ? PointShapeA[r][i] : U26(i, m);
            x = Ln(t * t * u * u + 0.1L);
            const int32_t R = Round(Abs(u / (Abs(t + x) + 0.1L) * 5 + a) * 255);
            const int32_t G = Round(Abs(t / (Abs(u + x) + 0.1L) * 5 + b) * 255);
            const int32_t B =
                Round(Abs(Sqrt(Squared(Share(G)) + Squared(Share(R)) + 0.05L) * 0.7L) * 255);
            return Channels{R, G, B};
        });
}

void Pattern27()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    const int32_t n = RowCount;
    const bool terms = PointTermsPattern == 27;
    using Finish = Chain<CutAt<0>, Fold, RootAtOrBelow<15>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = A2(r, n);
            b = B2(r, n);
            t = RowWave(r);
        },
        [&](int r, int i, int m) {
            u = terms ? PointShapeA[r][i] : U27(i, m);
            x = (t * t + u * u + 0.001L) * 0.1L;
            const int32_t R = Round(((terms ? PointShapeB[r][i] : Sin(u)) * t * x + a) * 255);
            const int32_t G = Round((CosOfQuarterTurn::Of(R) * (1 - t) * x + b) * 255);
            const int32_t B = Round(Ln(Squared(Share(G)) * Squared(Share(R)) + 0.001L) * 255);
            return Channels{R, G, B};
        });
}

void Pattern28()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    const int32_t n = RowCount;
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = A2(r, n);
            b = B2(r, n);
            t = Sin(5 - static_cast<Extended>(10 * r) / n);
        },
        [&](int, int i, int m) {
            u = Abs(0.5L - static_cast<Extended>(i) / m) * (p1 / 6 + 1);
            x = Ln(t * t + u * u + 0.001L);
            const int32_t R = Round(((1 - u) * t * x + a) * 255);
            const int32_t G = Round((Share(R) * (1 - t) * (x + 1) + b) * 255);
            const int32_t B =
                Round(Abs(Ln(Squared(Share(G)) + Squared(Share(R)) + 0.001L) * 0.5L) * 255);
            return Channels{R, G, B};
        });
}

void Pattern29()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    const bool terms = PointTermsPattern == 29;
    const int32_t n = RowCount;
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = A2(r, n);
            b = B2(r, n);
            t = RowWave(r);
        },
        [&](int r, int i, int m) {
            const Extended v = PointV(i, m);
            u = Abs(1 - v) * 2;
            x = Abs(u + t);
            const int32_t R = Round(((terms ? PointShapeA[r][i] : Red29(t, i, m)) + a) * 255);
            const Extended sinR = SinOfQuarterTurn::Of(R);
            const int32_t G = Round((sinR * (1 - t) * (1 - x) + b) * 255);
            const int32_t B = Round(Abs(CosOfQuarterTurn::Of(G) + sinR) * 255);
            return Channels{R, G, B};
        });
}

void Pattern30()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &d = w.D, &t = w.T[0], &u = w.U[0];
    d = 0;
    const bool terms = PointTermsPattern == 30;
    const int32_t n = RowCount;
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = Sin(p1) + Sin(TwoPi * r / n + p2);
            b = Cos(p1) + Cos(TwoPi * r / n + p2);
            t = Sin(Pi - TwoPi * r / n) + a;
        },
        [&](int r, int i, int m) {
            u = Sin(Pi - Abs(terms ? PointShapeA[r][i] : HalfTurnSine(i, m)) * Pi + b);
            const int32_t R = Round((u - t) * 255);
            const int32_t G = Round(((1 - u) - (1 - t) + b) * 255);
            const int32_t B = Round((Squared(Share(G)) + Squared(Share(R))) * 0.2L * 255);
            return Channels{R, G, B};
        });
}

void Pattern31()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &d = w.D, &t = w.T[0], &u = w.U[0];
    const int32_t n = RowCount;
    const int32_t S = SaverSettings.Segment;
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            d = -Pi / S;
            a = Sin(p1) + Sin(TwoPi * r / n + p2);
            b = Cos(p1) + Cos(TwoPi * r / n + p2);
            t = Sin(r * Pi / n);
        },
        [&](int, int i, int m) {
            const Extended v = PointV(i, m);
            u = Abs(1 - v);
            const int32_t R = Round(((p1 / 6 + t) * u + a) * 255);
            const int32_t G = Round((Share(R) * (1 - t) + b) * 255);
            const int32_t B = Round((Squared(Share(G)) + Squared(Share(R))) * 0.5L * 255);
            return Channels{R, G, B};
        });
}

void Pattern32()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &x = w.X[0];
    const int32_t n = RowCount;
    Extended f = 0;
    Extended rowWave = 0; // 1 - sin(5r/n), the row's part of x
    const bool terms = PointTermsPattern == 32;
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            const Extended s = Sin(static_cast<Extended>(2 * r) / n);
            a = Sin(p1) + Sin(s * (p1 + 5) + p2);
            b = Cos(p1) + Cos(s * (p2 + 5) + p1);
            t = Abs(s);
            f = 1 - Sin(static_cast<Extended>(3 * r) / n);
            rowWave = 1 - Sin(static_cast<Extended>(5 * r) / n);
        },
        [&](int r, int i, int m) {
            const Extended v = PointV(i, m);
            x = rowWave + (terms ? PointShapeA[r][i] : TurnSine(i, m));
            const int32_t R = Round((v * t * x + a) * 255);
            const int32_t G = Round(Abs(1 - v * f * (1 - x) + b) * 255);
            const int32_t B = Round(Abs((1 - Share(G)) + Share(R)) * 255);
            return Channels{R, G, B};
        });
}

void Pattern33()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    const int32_t n = RowCount;
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = Sin(p1) + Sin(static_cast<Extended>(15 * r) / n + p2);
            b = Cos(p1) + Cos(static_cast<Extended>(15 * r) / n + p2);
            t = Abs(1 - static_cast<Extended>(2 * r) / n) + 1;
        },
        [&](int, int i, int m) {
            const Extended v = PointV(i, m);
            u = Abs(1 - Abs(1 - v)) - t;
            x = Sqrt(t * t + u * u + 0.00001L) * 0.5L; // at least 0.5, since t >= 1
            const int32_t R = Round((u / (t + 0.5L) * x + a) * 255);
            const int32_t G = Round((t / x + Share(R) - b) * 255);
            const int32_t B = Round(Ln(t * t + u * u + 0.000001L) * 0.5L * 255);
            return Channels{R, G, B};
        });
}

void Pattern34()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    a = Sin(p1 + p3);
    b = Cos(p3) - Sin(p2 + p1);
    const int32_t n = RowCount;
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) { t = (static_cast<Extended>(r) / n) * 2; },
        [&](int, int i, int m) {
            const Extended v = PointV(i, m);
            x = (v + 0.00001L) * (v + 0.00001L);
            u = Abs(1 - v * t) + t * a;
            const int32_t R = Round(Abs(x * x + (u * u - t * t)) * 255);
            const int32_t G = Round(Abs(t + u + x + b) * 255);
            const int32_t B = Round(Sqrt(ExactSquares(R, G)) / 1.41L);
            return Channels{R, G, B};
        });
}

void Pattern35()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &x = w.X[0];
    const int32_t n = RowCount;
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            const Extended s = Sin(r * Pi / n);
            a = Sin(p1) * 2 + Sin(s * (p1 + 5) + p2);
            b = Cos(p1) * 2 + Cos(s * (p2 + 5) + p1);
        },
        [&](int r, int i, int m) {
            const Extended v = PointV(i, m);
            const Extended y = (1 - static_cast<Extended>(2 * i) / m) *
                               (1 - static_cast<Extended>(2 * i) / m);
            const Extended g = Abs(1 - static_cast<Extended>(2 * r) / n);
            x = (1 - v) + (g + y);
            const int32_t R = Round(Abs(g * x + y + a) * 255);
            const int32_t G =
                Round(Abs(Abs(static_cast<Extended>(r) / n) * Share(R) * (1 - x) + b) * 255);
            const int32_t B = Round(Share(R) * Share(G) * 255);
            return Channels{R, G, B};
        });
}

void Pattern36()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    const int32_t n = RowCount;
    using Finish = Chain<Fold, Clamp, SquareAbove<200>>;
    RunRows<Finish>(
        [&](int r) {
            a = A1(r, n);
            b = B1(r, n);
            t = Sin(r * Pi / n) * (p2 / 5);
        },
        [&](int, int i, int m) {
            const Extended v = PointV(i, m);
            u = v * (p1 / 5);
            x = Abs(u - t);
            const int32_t R = Round(Abs((1 - u) * (t + 1) * (x + 1) + a) * 255);
            const int32_t G = Round(Abs((Share(R) + 1) * (1 - t) * (1 - x) + b) * 255);
            // An integer difference, not rounded; saturated R and G cannot overflow it.
            const int32_t B = Saturate(R > G ? int64_t(R) - G : int64_t(G) - R);
            return Channels{R, G, B};
        });
}

void Pattern37()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    const int32_t n = RowCount;
    using Finish = Chain<RootFoldAbove<255>, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = A1(r, n);
            b = B1(r, n);
            t = Abs(1 - static_cast<Extended>(2 * r) / n) * (p2 / 5 + 3);
        },
        [&](int r, int i, int) {
            const Extended w = PointRamp[r][i];
            u = (p1 / 5 + 3) * w;
            x = Abs(u - t);
            // The squares can pass the 32-bit range; Round saturates, and the root fold and
            // the cut then give 0 as they would for the exact value.
            const int32_t R = Round(Squared(u * t * x / 8 + a) * 255);
            const int32_t G = Round(Squared((1 - Share(R)) * (1 - t) * (1 - x) / 8 + b) * 255);
            const int32_t B = Round(Squared(Share(R) - Share(G)) * 255);
            return Channels{R, G, B};
        });
}

void Pattern38()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    const int32_t n = RowCount;
    Extended sinT = 0, cosT = 0; // of the row's t, taken once per row
    const bool terms = PointTermsPattern == 38;
    using Finish = Chain<HalveAbove<255>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = A1(r, n);
            b = B1(r, n);
            t = Sin(Sin(static_cast<Extended>(3 * r) / n) * (p2 / 5 + 3));
            sinT = Sin(t);
            cosT = Cos(t);
        },
        [&](int r, int i, int m) {
            u = Abs(terms ? PointShapeA[r][i] : HalfTurnSine(i, m)) * (p1 / 5 + 3);
            x = Abs(u - t);
            Extended sinX, cosX;
            SinCos(x, sinX, cosX);
            int32_t R = Round((sinX * (sinT * Cos(u)) + a) * 255);
            const Extended sinR = SinOfQuarterTurn::Of(R);
            int32_t G = Round((cosX * (cosT * sinR) + b) * 255);
            const int32_t B = Round(Squared(sinR - CosOfQuarterTurn::Of(G)) * 255);
            // Squared after B has used them.
            R = SquareValue(R);
            G = SquareValue(G);
            return Channels{R, G, B};
        });
}

void Pattern39()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0], &t1 = w.T[1], &u1 = w.U[1], &x1 = w.X[1];
    const int32_t n = RowCount;
    using Finish = Chain<HalveAbove<255>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = Sin((p1 + 25) * r / n + p2 * 3) / 3;
            b = Cos((p2 + 25) * r / n + p1 * 3) / 3;
            t = Abs(static_cast<Extended>(r) / n);
        },
        [&](int r, int i, int m) {
            const Extended v = PointV(i, m);
            u = v * (static_cast<Extended>(r) / n);
            x = t * t + u * u + 0.00001L;
            u1 = u * u / 2 - t * t / 2 - 0.72L + a;
            t1 = u * t + 0.32L + b;
            x1 = Sqrt(t1 * t1 + u1 * u1 + 0.00001L);
            const int32_t R = Round(Squared(u - x1) * 255);
            const int32_t G = Round(Squared(t - Share(R)) * 255);
            const int32_t B = Round(Squared(x - Share(G)) * 255);
            return Channels{R, G, B};
        });
}

void Pattern40()
{
    WorkingValues& w = ThreadWorking();
    Extended &t = w.T[0];
    const int32_t n = RowCount;
    using Finish = Chain<Fold>;
    RunRows<Finish>(
        [&](int r) { t = Cos(r * Pi / n + p1); },
        [&](int r, int i, int) {
            const Extended sa = PointShapeA[r][i], sb = PointShapeB[r][i], sc = PointShapeC[r][i];
            const int32_t R = Round(Abs(sa + t + p1) * 255);
            const int32_t G = Round(Abs(Share(R) + sb + p2) * 255);
            const int32_t B = Round(Abs(Share(R) + sc + p3) * 255);
            return Channels{R, G, B};
        });
}

} // namespace Rosacle

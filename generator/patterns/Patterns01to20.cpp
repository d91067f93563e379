// Members 1 to 20 of the pattern family, each as its per-call, per-row and per-point
// formulas and its finishing chain.
#include "generator/patterns/Family.h"
#include "generator/patterns/Patterns01to20.h"

namespace Rosacle {

void Pattern1()
{
    WorkingValues& w = ThreadWorking();
    w.A = Sin(Phase1 + Phase3);
    w.B = Cos(Phase3) - Sin(Phase1 + Phase2);
    const int32_t n = RowCount;
    using Finish = Chain<Fold, CutAt<25>, CubeAbove<232>, Clamp>;
    RunRows<Finish>(
        [n, &w](int r) { w.T[0] = (static_cast<Extended>(r) / n) * 2; },
        [n, &w](int r, int i, int m) {
            const Extended t = w.T[0];
            const Extended v = PointV(i, m);
            w.U[0] = Abs(1 - v * t) - (static_cast<Extended>(r) / n) * w.A;
            const Extended u = w.U[0];
            Channels c;
            c.R = Round(Abs(u * u - t * t) * 255);
            c.G = Round(Abs(t + u + w.B) * 255);
            c.B = Round(Sqrt(ExactSquares(c.R, c.G)) / 1.41L);
            return c;
        });
}

namespace {

inline Extended Ext(int32_t k) { return static_cast<Extended>(k); }

// The per-call quantity of members 2, 6, 8 and 11.
inline Extended B0() { return Cos(Phase3) - Sin(Phase2 / 5) + Phase1; }

// (G/255)^2 + (R/255)^2, the sum several blues start from.
inline Extended ShareSquares(const Channels& c)
{
    return Share(c.G) * Share(c.G) + Share(c.R) * Share(c.R);
}

// sqrt(R^2 + G^2) / 1.41 with R^2 + G^2 an exact integer.
inline int32_t HypotBlue(const Channels& c)
{
    return Round(Sqrt(ExactSquares(c.R, c.G)) / 1.41L);
}

} // namespace

void Pattern2()
{
    const Extended p1 = Phase1, p3 = Phase3;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0];
    a = Sin(p1 + p3);
    b = B0();
    const int32_t n = RowCount;
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) { t = Sin(r * TwoPi / n) * 1.5L; },
        [&](int, int i, int m) {
            u = Sin(i * TwoPi / m + t * a);
            Channels c;
            c.R = Round(Abs(u * u - t * t + a / Sqrt(m + 0.0001L)) * 255);
            c.G = Round(Abs(Ext(c.R) * t / 255 + b) * 255);
            c.B = Round(ShareSquares(c) * 25.5L);
            return c;
        });
}

void Pattern3()
{
    const Extended p1 = Phase1, p2 = Phase2, p3 = Phase3;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &c = w.C, &d = w.D, &e = w.E;
    const int32_t n = RowCount;
    const int32_t S = SaverSettings.Segment;
    if (n < 1) return; // c divides by n
    c = -Pi / n;
    // c as each row leaves it, for a worker that starts a row without the one before.
    Extended rowC[MaxRows];
    rowC[0] = c;
    for (int r = 1; r <= n; ++r) rowC[r] = rowC[r - 1] + 3.14L / n;
    Extended q1 = 0, q2 = 0, q3 = 0;
    using Finish = Chain<CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            c = c + 3.14L / n;
            const Extended s1 = Sin(p1 + c), s2 = Sin(p2 + c), s3 = Sin(p3 + c);
            q1 = s1 * s1 * (p1 + 5);
            q2 = s2 * s2 * (p2 + 5);
            q3 = s3 * s3 * (p3 + 5);
            b = EdgeFade(r, n);
            d = Pi / S;
        },
        [&](int, int i, int m) {
            const Extended s = Sin((p1 + 3 + p2) * d);
            a = s * (s * s);
            const Extended k = 1 - Ext(2 * i) / m;
            e = Sqrt(1.01L - k * k) * b;
            Channels ch;
            const Extended s1 = Sin(a - q1), s2 = Sin(a - q2), s3 = Sin(a - q3);
            ch.R = Round(s1 * s1 * e);
            ch.G = Round(s2 * s2 * e);
            ch.B = Round(s3 * s3 * e);
            return ch;
        },
        // d steps across the petal on every point, repeated ones included.
        [&](int, int, int m) { d = d + TwoPi / (S * m); },
        [&](int r) { c = rowC[r - 1]; });
}

void Pattern4()
{
    const Extended p1 = Phase1, p2 = Phase2, p3 = Phase3;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0];
    a = Sin(p1) * 3;
    b = Sin(p3 + p1);
    Extended rowSine = 0; // sin(t + a) x 2, the same for the whole row
    const int32_t n = RowCount;
    using Finish = Chain<Fold, CutAt<25>, CubeAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            t = Sin(r * FivePi / n) / 2 + Sin(r * Pi / n);
            rowSine = Sin(t + a) * 2;
        },
        [&](int, int i, int m) {
            const Extended v = PointV(i, m);
            const Extended w = (1 - v) * (1 - v);
            u = rowSine + (v / (p2 + 1) + w);
            Channels c;
            c.R = Round(Abs(u - t) * 255);
            c.G = Round(Abs(Share(c.R) + t + b) * 255);
            c.B = HypotBlue(c);
            return c;
        });
}

void Pattern5()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B;
    Extended *u = w.U, *t = w.T, *x = w.X;
    a = Sin(Phase1);
    b = Cos(Phase3);
    const int32_t n = RowCount;
    using Finish = Chain<Fold, Clamp>;
    RunRows<Finish>(
        [&](int r) { t[0] = Cos(r * Pi / n); },
        [&](int, int i, int m) {
            u[0] = 1 - PointV(i, m);
            // Three steps of z := z^2 + (a, b) on z = (u, t).
            for (int j = 1; j <= 3; ++j) {
                u[j] = u[j - 1] * u[j - 1] - t[j - 1] * t[j - 1] + a;
                t[j] = t[j - 1] * 2 * u[j - 1] + b;
                const Extended sinU = Sin(u[j]), cosT = Cos(t[j]);
                x[j] = Ln(sinU * sinU + cosT * cosT + 0.001L) * 0.35L;
            }
            Channels c;
            c.R = Round(Abs(x[1]) * 255);
            c.G = Round(Abs(x[2]) * 255);
            c.B = Round(Abs(x[3]) * 255);
            return c;
        });
}

void Pattern6()
{
    const Extended p1 = Phase1, p2 = Phase2;
    WorkingValues& w = ThreadWorking();
    Extended &b = w.B, &t = w.T[0], &u = w.U[0];
    b = B0();
    const int32_t n = RowCount;
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) { t = Sin(r * ThreePi / n); },
        [&](int, int i, int m) {
            u = Abs(Sin(i * Pi / m + (p1 - p2) * t));
            Channels c;
            c.R = Round(Abs(t * t + u * u + b / Sqrt(m + 0.000001L)) * 255);
            c.G = Round(Abs(Ext(c.R) * t / 255 + b) * 255);
            c.B = Round(ShareSquares(c) * 51);
            return c;
        });
}

void Pattern7()
{
    const Extended p1 = Phase1, p2 = Phase2;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &d = w.D, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    const int32_t n = RowCount, H = SurfaceHeight;
    const int32_t S = SaverSettings.Segment;
    // The d a computed point i of a row of last point m leaves.
    const auto dAfter = [S](int i, int m) { return i * Pi / m - Pi / S; };
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = Abs(A1(r, n));
            b = Abs(B1(r, n));
        },
        [&](int r, int i, int m) {
            const Extended v = PointV(i, m);
            u = Abs((1 - v) * (p1 / 2 + 3));
            t = Abs((p2 / 2 + 3) * (1 - Ext(2 * r) / H));
            x = Abs(u - t);
            // d is still the previous computed point's (or the last writer's).
            Channels c;
            c.R = Round(a * 2 / (Abs(u - t - x - Abs(d)) + 1 + a) * 255);
            c.G = Round(b * 2 / (Abs(Abs(d) + (Share(c.R) + t + x)) + 1 + b) * 255);
            c.B = Round(2 / Abs(Share(c.R) + Share(c.G) + 0.000001L) * 255);
            d = dAfter(i, m);
            return c;
        },
        NothingAfterPoint(), [&](int r) { d = dAfter(LastComputedPoint(r - 1), RowLastPoint(r - 1)); });
}

void Pattern8()
{
    const Extended p1 = Phase1, p3 = Phase3;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0];
    a = Sin(p1 + p3);
    b = B0();
    const int32_t n = RowCount;
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<220>, Clamp>;
    RunRows<Finish>(
        [&](int r) { t = Sin(r * ThreePi / n); },
        [&](int, int i, int m) {
            u = PointV(i, m) - Abs(p1 / 6 - 0.5L + t);
            Channels c;
            c.R = Round(Abs(u * u - t * t + a / Sqrt(m + 0.1L)) * 255);
            c.G = Round(Abs(Share(c.R) + t + b) * 255);
            c.B = Round(ShareSquares(c) * 0.1L * 255);
            return c;
        });
}

void Pattern9()
{
    const Extended p1 = Phase1, p2 = Phase2;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &c = w.C, &d = w.D, &t = w.T[0], &u = w.U[0];
    d = Sin(p2);
    const int32_t n = RowCount;
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            c = Ext(2 * r) / n;
            a = Sin(p2 + c) * Sin(c * 5);
            b = Cos(p1 + c) * Cos(c * 5);
            t = 1.57L - r * 3.14L / n;
        },
        [&](int r, int i, int) {
            u = PointRamp[r][i] + d + b;
            Channels ch;
            ch.R = Round(Abs((u * u - t * t) / (Abs(u - t) + 0.001L) + a) * 255);
            ch.G = Round(Abs(b + 1) * 255);
            ch.B = Round(Abs(ShareSquares(ch) * 0.5L) * 255);
            return ch;
        });
}

void Pattern10()
{
    const Extended p1 = Phase1, p2 = Phase2;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &c = w.C, &d = w.D, &t = w.T[0], &u = w.U[0];
    d = Sin(p2);
    const int32_t n = RowCount;
    using Finish = Chain<Fold, Clamp, CutAt<25>, SquareAbove<200>>;
    RunRows<Finish>(
        [&](int r) {
            c = r * HalfPi / n;
            a = Sin(p2 + c) * Sin(c * 15);
            b = Cos(p1 + c) * Cos(c * 5);
            t = HalfPi - Sin(r * Pi / n);
        },
        [&](int r, int i, int) {
            u = PointRamp[r][i] + d + b;
            Channels ch;
            ch.R = Round(Abs((u * u - t * t) / (Abs(u - t) + 0.00001L) + a) * 255);
            ch.G = Round(Abs(Share(ch.R) + t + b) * 255);
            ch.B = Round(Abs(Sqrt(ShareSquares(ch) + 0.001L)) * 255);
            return ch;
        });
}

// ---- Terms of members 11, 14, 15, 17 and 19 that depend on the row and point alone:
// GeneratorInit lays them into the point tables once per layout (PointTermsPattern), and
// the members compute them with the same functions when the tables hold another's.

namespace {

inline Extended ThreeHalfTurnSine(int i, int m) { return Sin(i * ThreePi / m); }

// Member 14's u and x of point i.

inline void Point14UX(Extended cosT, int i, int m, Extended& u, Extended& x)
{
    u = TurnSine(i, m);
    x = Abs(cosT + Sin(u)) / 2;
}

// Member 14's red before a is added, and green before b is.
inline void Point14(Extended sinT, Extended cosT, int i, int m, Extended& red, Extended& green)
{
    const Extended u = TurnSine(i, m);
    Extended sinU, cosU;
    SinCos(u, sinU, cosU);
    const Extended x = Abs(cosT + sinU) / 2;
    const Extended sinX = Sin(x);
    red = Abs(sinT + sinX * cosU) * 255;
    green = sinU + sinX * sinT;
}

// Member 19's u and x of point i, and red before a is added with the cosine of x.

inline void Point19UX(Extended t, int i, int m, Extended& u, Extended& x)
{
    u = Cos(Pi - Abs(HalfTurnSine(i, m)) * TwoPi);
    x = (t * t + u * u) * 0.2L;
}

inline void Point19(Extended t, int i, int m, Extended& red, Extended& cosX)
{
    Extended u, x, sinX;
    Point19UX(t, i, m, u, x);
    SinCos(x, sinX, cosX);
    red = sinX * (u * t);
}

} // namespace

void LayPointTerms01to20(int32_t k, int r)
{
    const int32_t m = RowLastPoint(r);
    Extended* a = PointShapeA[r];
    Extended* b = PointShapeB[r];
    switch (k) {
    case 11:
        for (int i = 0; i <= m; ++i) a[i] = TurnSine(i, m);
        break;
    case 14: {
        Extended sinT, cosT;
        SinCos(RowWave(r), sinT, cosT);
        for (int i = 0; i <= m; ++i) Point14(sinT, cosT, i, m, a[i], b[i]);
        break;
    }
    case 15:
    case 17:
        for (int i = 0; i <= m; ++i) {
            a[i] = TurnSine(i, m);
            b[i] = k == 15 ? HalfTurnSine(i, m) : ThreeHalfTurnSine(i, m);
        }
        break;
    case 19: {
        const Extended t = RowWave(r);
        for (int i = 0; i <= m; ++i) Point19(t, i, m, a[i], b[i]);
        break;
    }
    default:
        break;
    }
}

void Pattern11()
{
    WorkingValues& w = ThreadWorking();
    Extended &b = w.B, &c = w.C, &t = w.T[0], &u = w.U[0];
    const bool terms = PointTermsPattern == 11;
    b = B0();
    const int32_t n = RowCount;
    using Finish = Chain<Fold, Clamp, CutAt<25>, SquareAbove<200>>;
    RunRows<Finish>(
        [&](int r) {
            c = Sin(Ext(21 * r) / n);
            t = Cos(r * 6.28L / n) * 1.5L;
        },
        [&](int r, int i, int m) {
            u = (terms ? PointShapeA[r][i] : TurnSine(i, m)) * c;
            Channels ch;
            ch.R = Round(Abs(u - t) * 255);
            ch.G = Round(Abs(t + u + b) * 255);
            ch.B = Round(ShareSquares(ch) * 127.5L);
            return ch;
        });
}

void Pattern12()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0];
    const int32_t n = RowCount;
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = A2(r, n);
            b = B2(r, n);
            t = Abs(Sin(Sin(5 - Ext(10 * r) / n) - Sin(Ext(21 * r) / n))) + 0.1L;
        },
        [&](int r, int i, int m) {
            u = Abs(PointV(i, m) - Abs(1 - Ext(2 * r) / n)) + 0.1L;
            // R and G may come out negative; the first finishing step takes magnitudes.
            Channels c;
            c.R = Round((u + t + a) * 255);
            c.G = Round((Share(c.R) - t + b) * 255);
            c.B = Round(Abs(Share(c.R) + Share(c.G)) * 255);
            return c;
        });
}

void Pattern13()
{
    const Extended p1 = Phase1, p2 = Phase2;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    Extended shift = 0; // 1 / (a + 2.2), the row's
    const int32_t n = RowCount;
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = Sin(Ext(21 * r) / n) + Sin(Ext(5 * r) / n + p2);
            b = Sin(Ext(7 * r) / n + p2) + Sin(Ext(5 * r) / n + p1);
            t = Sin(Pi - r * TwoPi / n);
            shift = 1 / (a + 2.2L);
        },
        [&](int, int i, int m) {
            u = Abs(Sin(i * Pi / m + shift));
            x = u + t;
            Channels c;
            c.R = Round((u + a) * 255);
            c.G = Round((t + b) * 255);
            c.B = Round(((a + b) / 2 + x) * 255);
            return c;
        });
}

void Pattern14()
{
    const Extended p1 = Phase1, p2 = Phase2;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    Extended sinT = 0, cosT = 0; // of the row's t
    int32_t lastComputed = 0;
    const bool terms = PointTermsPattern == 14;
    const int32_t n = RowCount;
    using Finish = Chain<Fold, CutAt<25>, CubeAbove<220>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = Sin(Sin(Ext(21 * r) / n) + (Ext(5 * r) / n + p2));
            b = Cos(Ext(5 * r) / n + p1);
            t = RowWave(r);
            SinCos(t, sinT, cosT);
            lastComputed = LastComputedPoint(r);
        },
        [&](int r, int i, int m) {
            Extended red, green;
            if (terms) {
                red = PointShapeA[r][i];
                green = PointShapeB[r][i];
            } else {
                Point14(sinT, cosT, i, m, red, green);
            }
            // u and x as the row's last computed point leaves them.
            if (i == lastComputed) Point14UX(cosT, i, m, u, x);
            Channels c;
            c.R = Round(red + a); // a after the scaling
            c.G = Round(Abs(green + b) * 255);
            c.B = Round(Abs(Share(c.R) + Share(c.G)) * 255);
            return c;
        });
}

void Pattern15()
{
    const Extended p1 = Phase1, p2 = Phase2;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B;
    Extended s = 0, q = 0;
    const bool terms = PointTermsPattern == 15;
    const int32_t n = RowCount;
    using Finish = Chain<Fold, CutAt<25>, CubeAbove<220>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            s = Sin(Ext(r) / n);
            q = Sin(r * Pi / n);
            a = Abs(Sin(Sin(Ext(21 * r) / n) + (Ext(5 * r) / n + p2)));
            b = Cos(Ext(5 * r) / n + p1);
        },
        [&](int r, int i, int m) {
            const Extended w1 = (terms ? PointShapeA[r][i] : TurnSine(i, m)) + s;
            const Extended w2 = (terms ? PointShapeB[r][i] : HalfTurnSine(i, m)) * q;
            Channels c;
            c.R = Round(Abs(w1 * w1 + a) * 255);
            c.G = Round(Abs(w2 * w2 + b) * 255);
            const Extended w3 = Share(c.R) + Share(c.G) + s;
            c.B = Round(Abs(w3 * w3) * 255);
            return c;
        });
}

void Pattern16()
{
    const Extended p1 = Phase1, p2 = Phase2;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &d = w.D, &u = w.U[0], &t = w.T[0], &x = w.X[0];
    Extended &u1 = w.U[1], &t1 = w.T[1], &x1 = w.X[1];
    const int32_t n = RowCount, H = SurfaceHeight;
    // The d a computed point of row r at v leaves.
    const auto dAfter = [n](int r, Extended v) { return v * 1 + Ext(3 * r) / n; };
    using Finish = Chain<Clamp, CutAt<25>, SquareAbove<200>>;
    RunRows<Finish>(
        [&](int r) {
            a = Abs(A1(r, n));
            b = Abs(B1(r, n));
        },
        [&](int r, int i, int m) {
            const Extended v = PointV(i, m);
            u = Abs((1 - v) * (p1 / 2 + 3));
            t = Abs((p2 / 2 + 3) * (1 - Ext(2 * r) / H));
            x = Abs(u - t);
            // d is still the previous computed point's (or the last writer's, which may
            // make these divisors zero or negative).
            u1 = GuardedQuotient(3, Abs(u + x) + (a + 0.5L) * d);
            t1 = GuardedQuotient(3, Abs(t + x) + (b + 0.5L) * d);
            x1 = 2 / (Abs(u1 - t1) + 0.000001L);
            d = dAfter(r, v);
            u1 = Abs(u1);
            t1 = Abs(t1);
            x1 = Abs(x1);
            SoftFold(u1, t1, x1);
            Channels c;
            c.R = Round(Abs(u1) * 255);
            c.G = Round(Abs(t1) * 255);
            c.B = Round(Abs(x1) * 255);
            return c;
        },
        NothingAfterPoint(), [&](int r) { d = dAfter(r - 1, PointV(LastComputedPoint(r - 1), RowLastPoint(r - 1))); });
}

void Pattern17()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &x = w.X[0];
    Extended k1 = 0, k2 = 0, k3 = 0;
    const bool terms = PointTermsPattern == 17;
    const int32_t n = RowCount;
    using Finish = Chain<AbsRG, Fold, Clamp, CutAt<25>, SquareAbove<200>>;
    RunRows<Finish>(
        [&](int r) {
            k1 = Sin(Ext(21 * r) / n);
            k2 = Sin(Ext(3 * r) / n);
            k3 = Sin(Ext(8 * r) / n);
            a = A1(r, n);
            b = B1(r, n);
        },
        [&](int r, int i, int m) {
            x = Sin((terms ? PointShapeA[r][i] : TurnSine(i, m)) + k1 + b);
            // B is formed from R and G before their magnitudes are taken.
            Channels c;
            c.R = Round((((terms ? PointShapeB[r][i] : ThreeHalfTurnSine(i, m)) - k2) * x + a) * 255);
            c.G = Round((Share(c.R) * k3 + b) * 255);
            c.B = Round((Share(c.R) + Share(c.G)) * 255);
            return c;
        });
}

void Pattern18()
{
    const Extended p1 = Phase1, p2 = Phase2;
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &d = w.D, &u = w.U[0], &t = w.T[0], &x = w.X[0];
    const int32_t n = RowCount, H = SurfaceHeight;
    // The d a computed point of row r at v leaves.
    const auto dAfter = [n](int r, Extended v) { return v * 2 + Ext(3 * r) / n; };
    using Finish = Chain<AbsRG, Fold, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = Abs(A1(r, n));
            b = Abs(B1(r, n));
        },
        [&](int r, int i, int m) {
            const Extended v = PointV(i, m);
            u = Abs((1 - v) * (1 - v) * (p1 / 2 + 3));
            t = Abs(Abs(1 - Ext(2 * r) / H) * (p2 / 2 + 3));
            x = (u + 4) / (Abs(u - t) + 0.5L);
            // Red's divisor holds the previous computed point's d (or the last writer's).
            Channels c;
            c.R = Round(GuardedQuotient(a * 3, Abs(u - t - x) + 1 + a + d) * 255);
            c.G = Round(b * 2 / (Abs(u - t - x) + 1 + b) * 255);
            c.B = Round(Abs(2 / (Abs(Share(c.R) + Share(c.G)) + 0.3L)) * 255);
            d = dAfter(r, v);
            return c;
        },
        NothingAfterPoint(), [&](int r) { d = dAfter(r - 1, PointV(LastComputedPoint(r - 1), RowLastPoint(r - 1))); });
}

namespace {

Extended SineOfChannel(int32_t c) { return Sin(c * 1.57L / 255); }

} // namespace

void Pattern19()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &t = w.T[0], &u = w.U[0], &x = w.X[0];
    Extended cosT = 0; // of the row's t
    int32_t lastComputed = 0;
    const bool terms = PointTermsPattern == 19;
    const int32_t n = RowCount;
    using Finish = Chain<AbsRG, Fold, Clamp, SquareAbove<200>>;
    RunRows<Finish>(
        [&](int r) {
            a = A2(r, n);
            b = B2(r, n);
            t = RowWave(r);
            cosT = Cos(t);
            lastComputed = LastComputedPoint(r);
        },
        [&](int r, int i, int m) {
            Extended red, cosX;
            if (terms) {
                red = PointShapeA[r][i];
                cosX = PointShapeB[r][i];
            } else {
                Point19(t, i, m, red, cosX);
            }
            // u and x as the row's last computed point leaves them.
            if (i == lastComputed) Point19UX(t, i, m, u, x);
            Channels c;
            c.R = Round((red + a) * 255);
            c.G = Round((cosX * (cosT * ChannelTable<SineOfChannel>::Of(c.R)) + b) * 255);
            c.B = Round(Abs(Sqrt(Share(c.G) * Share(c.G) * (Share(c.R) * Share(c.R)) + 0.001L)) * 255);
            return c;
        });
}

void Pattern20()
{
    WorkingValues& w = ThreadWorking();
    Extended &a = w.A, &b = w.B, &u = w.U[0], &t = w.T[0], &x = w.X[0];
    const int32_t n = RowCount, H = SurfaceHeight;
    using Finish = Chain<AbsRG, Fold, CutAt<50>, SquareAbove<200>, Clamp>;
    RunRows<Finish>(
        [&](int r) {
            a = Abs(A1(r, n));
            b = Abs(B1(r, n));
        },
        [&](int r, int i, int m) {
            const Extended v = PointV(i, m);
            u = Abs((1 - v) * (1 - v) * a);
            t = Abs(Abs(1 - Ext(2 * r) / H) * b);
            x = 0.1L / (Abs(u - t) + 0.1L);
            const Extended q = v + r * 0.5L / n + 1;
            Channels c;
            c.R = Round((0.1L + u) / q * 255);
            c.G = Round((0.1L + t) / q * 255);
            c.B = Round(Abs((0.1L + x) / (Abs(Share(c.R) + Share(c.G)) + 0.1L)) * 255);
            return c;
        });
}

} // namespace Rosacle

// Members 1 to 20 of the pattern family, each as its per-call, per-row and per-point
// formulas and its finishing chain.
#include "generator/patterns/Engine.h"
#include "generator/patterns/Member.h"
#include "generator/patterns/Patterns01to20.h"

namespace Rosacle {

namespace {

// The per-call quantity of members 2, 6, 8 and 11.
Extended B0(const Member& m) { return Cos(m.p3) - Sin(m.p2 / 5) + m.p1; }

// (G/255)^2 + (R/255)^2, the sum several blues start from.
Extended ShareSquares(int32_t R, int32_t G) { return Share(G) * Share(G) + Share(R) * Share(R); }

// sqrt(R^2 + G^2) / 1.41 with R^2 + G^2 an exact integer.
int32_t HypotBlue(int32_t R, int32_t G) { return Round(Sqrt(ExactSquares(R, G)) / 1.41L); }

struct Pattern1 : Member {
    using Finish = Chain<Fold, CutAt<25>, CubeAbove<232>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Call()
    {
        a = Sin(p1 + p3);
        b = Cos(p3) - Sin(p1 + p2);
    }
    void Row(int r) { t = (Ext(r) / n) * 2; }
    Channels Point(int r, Extended v) const
    {
        const Extended u = Abs(1 - v * t) - (Ext(r) / n) * a;
        const int32_t R = Round(Abs(u * u - t * t) * 255);
        const int32_t G = Round(Abs(t + u + b) * 255);
        const int32_t B = HypotBlue(R, G);
        return {R, G, B};
    }
};

struct Pattern2 : Member {
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Call()
    {
        a = Sin(p1 + p3);
        b = B0(*this);
    }
    void Row(int r) { t = Sin(r * TwoPi / n) * 1.5L; }
    Channels Point(int, int i, int m) const
    {
        const Extended u = Sin(i * TwoPi / m + t * a);
        const int32_t R = Round(Abs(u * u - t * t + a / Sqrt(m + 0.0001L)) * 255);
        const int32_t G = Round(Abs(Ext(R) * t / 255 + b) * 255);
        const int32_t B = Round(ShareSquares(R, G) * 25.5L);
        return {R, G, B};
    }
};

struct Pattern3 : Member {
    // c steps from row to row; d steps across the petal on every point, repeated ones
    // included, and starts afresh on each row.
    static constexpr Follows follows = Follows::PreviousRowC;
    using Finish = Chain<CutAt<25>, SquareAbove<200>, Clamp>;
    Extended k = 0, b = 0, q1 = 0, q2 = 0, q3 = 0, dStep = 0;
    void Call()
    {
        c = -Pi / n;
        k = p1 + 3 + p2;
    }
    Extended NextC(Extended previous) const { return previous + 3.14L / n; }
    void Row(int r)
    {
        c = NextC(c);
        const Extended s1 = Sin(p1 + c), s2 = Sin(p2 + c), s3 = Sin(p3 + c);
        q1 = s1 * s1 * (p1 + 5);
        q2 = s2 * s2 * (p2 + 5);
        q3 = s3 * s3 * (p3 + 5);
        b = EdgeFade(r, n);
        d = Pi / S;
        dStep = TwoPi / (S * RowLastPoint(r));
    }
    Channels Point(int, int i, int m)
    {
        const Extended s = Sin(k * d);
        const Extended a = s * (s * s);
        const Extended x = 1 - Ext(2 * i) / m;
        const Extended e = Sqrt(1.01L - x * x) * b;
        const Extended s1 = Sin(a - q1), s2 = Sin(a - q2), s3 = Sin(a - q3);
        const int32_t R = Round(s1 * s1 * e);
        const int32_t G = Round(s2 * s2 * e);
        const int32_t B = Round(s3 * s3 * e);
        d = d + dStep;
        return {R, G, B};
    }
    void Skipped(int, int, int) { d = d + dStep; }
};

struct Pattern4 : Member {
    using Finish = Chain<Fold, CutAt<25>, CubeAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    Extended rowSine = 0; // sin(t + a) x 2, the same for the whole row
    void Call()
    {
        a = Sin(p1) * 3;
        b = Sin(p3 + p1);
    }
    void Row(int r)
    {
        t = Sin(r * FivePi / n) / 2 + Sin(r * Pi / n);
        rowSine = Sin(t + a) * 2;
    }
    Channels Point(int, Extended v) const
    {
        const Extended w = (1 - v) * (1 - v);
        const Extended u = rowSine + (v / (p2 + 1) + w);
        const int32_t R = Round(Abs(u - t) * 255);
        const int32_t G = Round(Abs(Share(R) + t + b) * 255);
        const int32_t B = HypotBlue(R, G);
        return {R, G, B};
    }
};

struct Pattern5 : Member {
    using Finish = Chain<Fold, Clamp>;
    Extended a = 0, b = 0, rowT = 0;
    void Call()
    {
        a = Sin(p1);
        b = Cos(p3);
    }
    void Row(int r) { rowT = Cos(r * Pi / n); }
    template <class T>
    ChannelsOf<T> Point(int, T v) const
    {
        T u[4], t[4], x[4];
        u[0] = 1 - v;
        t[0] = Take<T>(rowT);
        // Three steps of z := z^2 + (a, b) on z = (u, t).
        for (int j = 1; j <= 3; ++j) {
            u[j] = u[j - 1] * u[j - 1] - t[j - 1] * t[j - 1] + Take<T>(a);
            t[j] = t[j - 1] * 2 * u[j - 1] + Take<T>(b);
            const T sinU = Sin(u[j]), cosT = Cos(t[j]);
            x[j] = Ln(sinU * sinU + cosT * cosT + 0.001L) * 0.35L;
        }
        return {Round(Abs(x[1]) * 255), Round(Abs(x[2]) * 255), Round(Abs(x[3]) * 255)};
    }
};

struct Pattern6 : Member {
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended b = 0, t = 0;
    void Call() { b = B0(*this); }
    void Row(int r) { t = Sin(r * ThreePi / n); }
    Channels Point(int, int i, int m) const
    {
        const Extended u = Abs(Sin(i * Pi / m + (p1 - p2) * t));
        const int32_t R = Round(Abs(t * t + u * u + b / Sqrt(m + 0.000001L)) * 255);
        const int32_t G = Round(Abs(Ext(R) * t / 255 + b) * 255);
        const int32_t B = Round(ShareSquares(R, G) * 51);
        return {R, G, B};
    }
};

struct Pattern7 : Member {
    // d is the previous computed point's, at a call's first point the previous call's.
    static constexpr Follows follows = Follows::PreviousPointD;
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0;
    Extended DAfter(int, int i, int m) const { return i * Pi / m - Pi / S; }
    void Row(int r)
    {
        a = Abs(A1(r, n));
        b = Abs(B1(r, n));
    }
    Channels Point(int r, int i, int m)
    {
        const Extended v = PointV(i, m);
        const Extended u = Abs((1 - v) * (p1 / 2 + 3));
        const Extended t = Abs((p2 / 2 + 3) * (1 - Ext(2 * r) / H));
        const Extended x = Abs(u - t);
        const int32_t R = Round(a * 2 / (Abs(u - t - x - Abs(d)) + 1 + a) * 255);
        const int32_t G = Round(b * 2 / (Abs(Abs(d) + (Share(R) + t + x)) + 1 + b) * 255);
        const int32_t B = Round(2 / Abs(Share(R) + Share(G) + 0.000001L) * 255);
        d = DAfter(r, i, m);
        return {R, G, B};
    }
};

struct Pattern8 : Member {
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<220>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Call()
    {
        a = Sin(p1 + p3);
        b = B0(*this);
    }
    void Row(int r) { t = Sin(r * ThreePi / n); }
    Channels Point(int, int i, int m) const
    {
        const Extended u = PointV(i, m) - Abs(p1 / 6 - 0.5L + t);
        const int32_t R = Round(Abs(u * u - t * t + a / Sqrt(m + 0.1L)) * 255);
        const int32_t G = Round(Abs(Share(R) + t + b) * 255);
        const int32_t B = Round(ShareSquares(R, G) * 0.1L * 255);
        return {R, G, B};
    }
};

struct Pattern9 : Member {
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Call() { d = Sin(p2); }
    void Row(int r)
    {
        c = Ext(2 * r) / n;
        a = Sin(p2 + c) * Sin(c * 5);
        b = Cos(p1 + c) * Cos(c * 5);
        t = 1.57L - r * 3.14L / n;
    }
    Channels Point(int r, int i, int) const
    {
        const Extended u = PointRamp[r][i] + d + b;
        const int32_t R = Round(Abs((u * u - t * t) / (Abs(u - t) + 0.001L) + a) * 255);
        const int32_t G = Round(Abs(b + 1) * 255);
        const int32_t B = Round(Abs(ShareSquares(R, G) * 0.5L) * 255);
        return {R, G, B};
    }
};

struct Pattern10 : Member {
    using Finish = Chain<Fold, Clamp, CutAt<25>, SquareAbove<200>>;
    Extended a = 0, b = 0, t = 0;
    void Call() { d = Sin(p2); }
    void Row(int r)
    {
        c = r * HalfPi / n;
        a = Sin(p2 + c) * Sin(c * 15);
        b = Cos(p1 + c) * Cos(c * 5);
        t = HalfPi - Sin(r * Pi / n);
    }
    Channels Point(int r, int i, int) const
    {
        const Extended u = PointRamp[r][i] + d + b;
        const int32_t R = Round(Abs((u * u - t * t) / (Abs(u - t) + 0.00001L) + a) * 255);
        const int32_t G = Round(Abs(Share(R) + t + b) * 255);
        const int32_t B = Round(Abs(Sqrt(ShareSquares(R, G) + 0.001L)) * 255);
        return {R, G, B};
    }
};

struct Pattern11 : Member {
    static constexpr int fixedValues = 1; // sin(i x 2pi / m)
    Fixed FixedAt(int, int i, int m) const { return {TurnSine(i, m), 0}; }
    using Finish = Chain<Fold, Clamp, CutAt<25>, SquareAbove<200>>;
    Extended b = 0, t = 0;
    void Call() { b = B0(*this); }
    void Row(int r)
    {
        c = Sin(Ext(21 * r) / n);
        t = Cos(r * 6.28L / n) * 1.5L;
    }
    Channels Point(int, int, int, Fixed f) const
    {
        const Extended u = f.a * c;
        const int32_t R = Round(Abs(u - t) * 255);
        const int32_t G = Round(Abs(t + u + b) * 255);
        const int32_t B = Round(ShareSquares(R, G) * 127.5L);
        return {R, G, B};
    }
};

struct Pattern12 : Member {
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Row(int r)
    {
        a = A2(r, n);
        b = B2(r, n);
        t = Abs(Sin(Sin(5 - Ext(10 * r) / n) - Sin(Ext(21 * r) / n))) + 0.1L;
    }
    Channels Point(int r, Extended v) const
    {
        const Extended u = Abs(v - Abs(1 - Ext(2 * r) / n)) + 0.1L;
        // R and G may come out negative; the first finishing step takes magnitudes.
        const int32_t R = Round((u + t + a) * 255);
        const int32_t G = Round((Share(R) - t + b) * 255);
        const int32_t B = Round(Abs(Share(R) + Share(G)) * 255);
        return {R, G, B};
    }
};

struct Pattern13 : Member {
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    Extended shift = 0; // 1 / (a + 2.2), the row's
    void Row(int r)
    {
        a = Sin(Ext(21 * r) / n) + Sin(Ext(5 * r) / n + p2);
        b = Sin(Ext(7 * r) / n + p2) + Sin(Ext(5 * r) / n + p1);
        t = Sin(Pi - r * TwoPi / n);
        shift = 1 / (a + 2.2L);
    }
    Channels Point(int, int i, int m) const
    {
        const Extended u = Abs(Sin(i * Pi / m + shift));
        const Extended x = u + t;
        const int32_t R = Round((u + a) * 255);
        const int32_t G = Round((t + b) * 255);
        const int32_t B = Round(((a + b) / 2 + x) * 255);
        return {R, G, B};
    }
};

struct Pattern14 : Member {
    // With t = sin(5 - 10r/n), u = sin(i x 2pi / m) and x = |cos t + sin u| / 2:
    // |sin t + sin x cos u| x 255 (red before a) and sin u + sin x sin t (green before b).
    static constexpr int fixedValues = 2;
    Fixed FixedAt(int r, int i, int m) const
    {
        Extended sinT, cosT;
        SinCos(RowWave(r), sinT, cosT);
        const Extended u = TurnSine(i, m);
        Extended sinU, cosU;
        SinCos(u, sinU, cosU);
        const Extended x = Abs(cosT + sinU) / 2;
        const Extended sinX = Sin(x);
        return {Abs(sinT + sinX * cosU) * 255, sinU + sinX * sinT};
    }
    using Finish = Chain<Fold, CutAt<25>, CubeAbove<220>, Clamp>;
    Extended a = 0, b = 0;
    void Row(int r)
    {
        a = Sin(Sin(Ext(21 * r) / n) + (Ext(5 * r) / n + p2));
        b = Cos(Ext(5 * r) / n + p1);
    }
    Channels Point(int, int, int, Fixed f) const
    {
        const int32_t R = Round(f.a + a); // a after the scaling
        const int32_t G = Round(Abs(f.b + b) * 255);
        const int32_t B = Round(Abs(Share(R) + Share(G)) * 255);
        return {R, G, B};
    }
};

struct Pattern15 : Member {
    static constexpr int fixedValues = 2; // sin(i x 2pi / m), sin(i x pi / m)
    Fixed FixedAt(int, int i, int m) const { return {TurnSine(i, m), HalfTurnSine(i, m)}; }
    using Finish = Chain<Fold, CutAt<25>, CubeAbove<220>, Clamp>;
    Extended a = 0, b = 0, s = 0, q = 0;
    void Row(int r)
    {
        s = Sin(Ext(r) / n);
        q = Sin(r * Pi / n);
        a = Abs(Sin(Sin(Ext(21 * r) / n) + (Ext(5 * r) / n + p2)));
        b = Cos(Ext(5 * r) / n + p1);
    }
    Channels Point(int, int, int, Fixed f) const
    {
        const Extended w1 = f.a + s;
        const Extended w2 = f.b * q;
        const int32_t R = Round(Abs(w1 * w1 + a) * 255);
        const int32_t G = Round(Abs(w2 * w2 + b) * 255);
        const Extended w3 = Share(R) + Share(G) + s;
        const int32_t B = Round(Abs(w3 * w3) * 255);
        return {R, G, B};
    }
};

struct Pattern16 : Member {
    // d is the previous computed point's, at a call's first point the previous call's
    // (which may make the divisors zero or negative).
    static constexpr Follows follows = Follows::PreviousPointD;
    using Finish = Chain<Clamp, CutAt<25>, SquareAbove<200>>;
    Extended a = 0, b = 0;
    Extended DAfter(int r, int i, int m) const { return PointV(i, m) * 1 + Ext(3 * r) / n; }
    void Row(int r)
    {
        a = Abs(A1(r, n));
        b = Abs(B1(r, n));
    }
    Channels Point(int r, int i, int m)
    {
        const Extended v = PointV(i, m);
        const Extended u = Abs((1 - v) * (p1 / 2 + 3));
        const Extended t = Abs((p2 / 2 + 3) * (1 - Ext(2 * r) / H));
        const Extended x = Abs(u - t);
        Extended u1 = GuardedQuotient(3, Abs(u + x) + (a + 0.5L) * d);
        Extended t1 = GuardedQuotient(3, Abs(t + x) + (b + 0.5L) * d);
        Extended x1 = 2 / (Abs(u1 - t1) + 0.000001L);
        d = DAfter(r, i, m);
        u1 = Abs(u1);
        t1 = Abs(t1);
        x1 = Abs(x1);
        SoftFold(u1, t1, x1);
        const int32_t R = Round(Abs(u1) * 255);
        const int32_t G = Round(Abs(t1) * 255);
        const int32_t B = Round(Abs(x1) * 255);
        return {R, G, B};
    }
};

struct Pattern17 : Member {
    static constexpr int fixedValues = 2; // sin(i x 2pi / m), sin(i x 3pi / m)
    Fixed FixedAt(int, int i, int m) const { return {TurnSine(i, m), ThreeHalfTurnSine(i, m)}; }
    using Finish = Chain<AbsRG, Fold, Clamp, CutAt<25>, SquareAbove<200>>;
    Extended a = 0, b = 0, k1 = 0, k2 = 0, k3 = 0;
    void Row(int r)
    {
        k1 = Sin(Ext(21 * r) / n);
        k2 = Sin(Ext(3 * r) / n);
        k3 = Sin(Ext(8 * r) / n);
        a = A1(r, n);
        b = B1(r, n);
    }
    Channels Point(int, int, int, Fixed f) const
    {
        const Extended x = Sin(f.a + k1 + b);
        // B is formed from R and G before their magnitudes are taken.
        const int32_t R = Round(((f.b - k2) * x + a) * 255);
        const int32_t G = Round((Share(R) * k3 + b) * 255);
        const int32_t B = Round((Share(R) + Share(G)) * 255);
        return {R, G, B};
    }
};

struct Pattern18 : Member {
    // d is the previous computed point's, at a call's first point the previous call's.
    static constexpr Follows follows = Follows::PreviousPointD;
    using Finish = Chain<AbsRG, Fold, Clamp>;
    Extended a = 0, b = 0;
    Extended DAfter(int r, int i, int m) const { return PointV(i, m) * 2 + Ext(3 * r) / n; }
    void Row(int r)
    {
        a = Abs(A1(r, n));
        b = Abs(B1(r, n));
    }
    Channels Point(int r, int i, int m)
    {
        const Extended v = PointV(i, m);
        const Extended u = Abs((1 - v) * (1 - v) * (p1 / 2 + 3));
        const Extended t = Abs(Abs(1 - Ext(2 * r) / H) * (p2 / 2 + 3));
        const Extended x = (u + 4) / (Abs(u - t) + 0.5L);
        const int32_t R = Round(GuardedQuotient(a * 3, Abs(u - t - x) + 1 + a + d) * 255);
        const int32_t G = Round(b * 2 / (Abs(u - t - x) + 1 + b) * 255);
        const int32_t B = Round(Abs(2 / (Abs(Share(R) + Share(G)) + 0.3L)) * 255);
        d = DAfter(r, i, m);
        return {R, G, B};
    }
};

struct Pattern19 : Member {
    // With t = sin(5 - 10r/n), u = cos(pi - |sin(i x pi / m)| x 2pi) and x = (t^2 + u^2) x 0.2:
    // sin x x (u x t) (red before a) and cos x.
    static constexpr int fixedValues = 2;
    Fixed FixedAt(int r, int i, int m) const
    {
        const Extended t = RowWave(r);
        const Extended u = Cos(Pi - Abs(HalfTurnSine(i, m)) * TwoPi);
        const Extended x = (t * t + u * u) * 0.2L;
        Fixed f;
        Extended sinX;
        SinCos(x, sinX, f.b);
        f.a = sinX * (u * t);
        return f;
    }
    using Finish = Chain<AbsRG, Fold, Clamp, SquareAbove<200>>;
    Extended a = 0, b = 0, cosT = 0;
    void Row(int r)
    {
        a = A2(r, n);
        b = B2(r, n);
        cosT = Cos(RowWave(r));
    }
    Channels Point(int, int, int, Fixed f) const
    {
        const int32_t R = Round((f.a + a) * 255);
        const int32_t G = Round((f.b * (cosT * SineOfChannel(R)) + b) * 255);
        const int32_t B = Round(Abs(Sqrt(Share(G) * Share(G) * (Share(R) * Share(R)) + 0.001L)) * 255);
        return {R, G, B};
    }
};

struct Pattern20 : Member {
    using Finish = Chain<AbsRG, Fold, CutAt<50>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0;
    void Row(int r)
    {
        a = Abs(A1(r, n));
        b = Abs(B1(r, n));
    }
    Channels Point(int r, Extended v) const
    {
        const Extended u = Abs((1 - v) * (1 - v) * a);
        const Extended t = Abs(Abs(1 - Ext(2 * r) / H) * b);
        const Extended x = 0.1L / (Abs(u - t) + 0.1L);
        const Extended q = v + r * 0.5L / n + 1;
        const int32_t R = Round((0.1L + u) / q * 255);
        const int32_t G = Round((0.1L + t) / q * 255);
        const int32_t B = Round(Abs((0.1L + x) / (Abs(Share(R) + Share(G)) + 0.1L)) * 255);
        return {R, G, B};
    }
};

const MemberEntry entries[] = {
    Entry<Pattern1>(),  Entry<Pattern2>(),  Entry<Pattern3>(),  Entry<Pattern4>(),  Entry<Pattern5>(),
    Entry<Pattern6>(),  Entry<Pattern7>(),  Entry<Pattern8>(),  Entry<Pattern9>(),  Entry<Pattern10>(),
    Entry<Pattern11>(), Entry<Pattern12>(), Entry<Pattern13>(), Entry<Pattern14>(), Entry<Pattern15>(),
    Entry<Pattern16>(), Entry<Pattern17>(), Entry<Pattern18>(), Entry<Pattern19>(), Entry<Pattern20>(),
};

} // namespace

const MemberList Members01to20 = {entries, static_cast<int32_t>(sizeof entries / sizeof entries[0])};

} // namespace Rosacle

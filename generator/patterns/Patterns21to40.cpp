// Members 21 to 40 of the pattern family, each as its per-call, per-row and per-point
// formulas and its finishing chain.
#include "generator/patterns/Engine.h"
#include "generator/patterns/Member.h"

namespace Rosacle {

namespace {

// Members 21 and 23: the shapes shifted by the phases.
struct ShapePlusPhases : Member {
    using Finish = Chain<AbsRG, Fold, LowSquareAt<25>, SquareAbove<200>, Clamp>;
    Channels Point(int r, int i, int) const
    {
        const Extended sa = PointShapeA[r][i], sb = PointShapeB[r][i], sc = PointShapeC[r][i];
        const int32_t R = Round((sa + p1) * 255);
        const int32_t G = Round((sb + p2) * 255);
        const int32_t B = Round((sc + p3) * 255);
        return {R, G, B};
    }
};

// Members 24 and 25: each shape value plus a blend of the other two; they differ in the
// divisor of the second.
template <int Divisor>
struct ShapeBlend : Member {
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Channels Point(int r, int i, int) const
    {
        const Extended sa = PointShapeA[r][i], sb = PointShapeB[r][i], sc = PointShapeC[r][i];
        const int32_t R = Round(Abs(Abs(sa) + (sc / 3 + sb / Divisor + p1)) * 255);
        const int32_t G = Round(Abs(Abs(sb) + (sa / 3 + sc / Divisor + p2)) * 255);
        const int32_t B = Round(Abs(Abs(sc) + (sb / 3 + sa / Divisor + p3)) * 255);
        return {R, G, B};
    }
};

struct Pattern21 : ShapePlusPhases {};

struct Pattern22 : Member {
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
        const Extended x = 1 / (Abs(u - t) + 1.5L);
        const Extended z = v + r * 0.5L / n + 1;
        const int32_t R = Round((0.2L + u) / z * 255);
        const int32_t G = Round((0.2L + t) / z * 255);
        const int32_t B = Round(Abs((0.2L + x) / (Abs(Share(R) + Share(G)) + 0.1L)) * 255);
        return {R, G, B};
    }
};

// The same formulas as 21; the shapes laid for 23 make the difference.
struct Pattern23 : ShapePlusPhases {};

struct Pattern24 : ShapeBlend<2> {};

struct Pattern25 : ShapeBlend<5> {};

struct Pattern26 : Member {
    // u = (1 - v)^2 - |cos(4 pi i / m) / 2 + 2|
    static constexpr int fixedValues = 1;
    Fixed FixedAt(int, int i, int m) const
    {
        const Extended v = PointV(i, m);
        return {(1 - v) * (1 - v) - Abs(Cos(FourPi * i / m) / 2 + 2), 0};
    }
    using Finish = Chain<Fold, CutAt<25>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Row(int r)
    {
        a = (Sin(EightPi * r / n) / 2 + 0.5L) * Sin(Sin(p1 + 5) * r / n + p2);
        b = Cos(p1) + Cos(Sin(p1 + 8) * r / n + p1);
        t = (1 - Ext(2 * r) / H) + p1 / 10;
    }
    Channels Point(int, int, int, Fixed f) const
    {
        const Extended u = f.a;
        const Extended x = Ln(t * t * u * u + 0.1L);
        const int32_t R = Round(Abs(u / (Abs(t + x) + 0.1L) * 5 + a) * 255);
        const int32_t G = Round(Abs(t / (Abs(u + x) + 0.1L) * 5 + b) * 255);
        const int32_t B = Round(Abs(Sqrt(Squared(Share(G)) + Squared(Share(R)) + 0.05L) * 0.7L) * 255);
        return {R, G, B};
    }
};

struct Pattern27 : Member {
    // u = pi - |sin(i x pi / m)| x 2pi, and sin u
    static constexpr int fixedValues = 2;
    Fixed FixedAt(int, int i, int m) const
    {
        const Extended a = Pi - Abs(HalfTurnSine(i, m)) * TwoPi;
        return {a, Sin(a)};
    }
    using Finish = Chain<CutAt<0>, Fold, RootAtOrBelow<15>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Row(int r)
    {
        a = A2(r, n);
        b = B2(r, n);
        t = RowWave(r);
    }
    template <class I, class T = NumberFor<I>>
    ChannelsOf<T> Point(int, I, int, FixedOf<T> f) const
    {
        const T t = Take<T>(this->t), a = Take<T>(this->a), b = Take<T>(this->b);
        const T u = f.a;
        const T x = (t * t + u * u + 0.001L) * 0.1L;
        const auto R = Round((f.b * t * x + a) * 255);
        const auto G = Round((CosOfQuarterTurn(R) * (1 - t) * x + b) * 255);
        const auto B = Round(Ln(Squared(Share(G)) * Squared(Share(R)) + 0.001L) * 255);
        return {R, G, B};
    }
};

struct Pattern28 : Member {
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Row(int r)
    {
        a = A2(r, n);
        b = B2(r, n);
        t = Sin(5 - Ext(10 * r) / n);
    }
    template <class I, class T = NumberFor<I>>
    ChannelsOf<T> Point(int, I i, int m) const
    {
        const T t = Take<T>(this->t), a = Take<T>(this->a), b = Take<T>(this->b);
        const T u = Abs(0.5L - Ext(i) / m) * (Take<T>(p1) / 6 + 1);
        const T x = Ln(t * t + u * u + 0.001L);
        const auto R = Round(((1 - u) * t * x + a) * 255);
        const auto G = Round((Share(R) * (1 - t) * (x + 1) + b) * 255);
        const auto B = Round(Abs(Ln(Squared(Share(G)) + Squared(Share(R)) + 0.001L) * 0.5L) * 255);
        return {R, G, B};
    }
};

struct Pattern29 : Member {
    // cos(u) x t x x with t = sin(5 - 10r/n), u = |1 - v| x 2 and x = |u + t|
    static constexpr int fixedValues = 1;
    Fixed FixedAt(int r, int i, int m) const
    {
        const Extended t = RowWave(r);
        const Extended u = Abs(1 - PointV(i, m)) * 2;
        const Extended x = Abs(u + t);
        return {Cos(u) * t * x, 0};
    }
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Row(int r)
    {
        a = A2(r, n);
        b = B2(r, n);
        t = RowWave(r);
    }
    Channels Point(int, int i, int m, Fixed f) const
    {
        const Extended v = PointV(i, m);
        const Extended u = Abs(1 - v) * 2;
        const Extended x = Abs(u + t);
        const int32_t R = Round((f.a + a) * 255);
        const Extended sinR = SinOfQuarterTurn(R);
        const int32_t G = Round((sinR * (1 - t) * (1 - x) + b) * 255);
        const int32_t B = Round(Abs(CosOfQuarterTurn(G) + sinR) * 255);
        return {R, G, B};
    }
};

struct Pattern30 : Member {
    static constexpr int fixedValues = 1; // sin(i x pi / m)
    Fixed FixedAt(int, int i, int m) const { return {HalfTurnSine(i, m), 0}; }
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Call() { d = 0; } // the d members 7, 16 and 18 then start from
    void Row(int r)
    {
        a = Sin(p1) + Sin(TwoPi * r / n + p2);
        b = Cos(p1) + Cos(TwoPi * r / n + p2);
        t = Sin(Pi - TwoPi * r / n) + a;
    }
    Channels Point(int, int, int, Fixed f) const
    {
        const Extended u = Sin(Pi - Abs(f.a) * Pi + b);
        const int32_t R = Round((u - t) * 255);
        const int32_t G = Round(((1 - u) - (1 - t) + b) * 255);
        const int32_t B = Round((Squared(Share(G)) + Squared(Share(R))) * 0.2L * 255);
        return {R, G, B};
    }
};

struct Pattern31 : Member {
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Row(int r)
    {
        d = -Pi / S; // the d members 7, 16 and 18 then start from
        a = Sin(p1) + Sin(TwoPi * r / n + p2);
        b = Cos(p1) + Cos(TwoPi * r / n + p2);
        t = Sin(r * Pi / n);
    }
    Channels Point(int, Extended v) const
    {
        const Extended u = Abs(1 - v);
        const int32_t R = Round(((p1 / 6 + t) * u + a) * 255);
        const int32_t G = Round((Share(R) * (1 - t) + b) * 255);
        const int32_t B = Round((Squared(Share(G)) + Squared(Share(R))) * 0.5L * 255);
        return {R, G, B};
    }
};

struct Pattern32 : Member {
    static constexpr int fixedValues = 1; // sin(i x 2pi / m)
    Fixed FixedAt(int, int i, int m) const { return {TurnSine(i, m), 0}; }
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0, f = 0;
    Extended rowWave = 0; // 1 - sin(5r/n), the row's part of x
    void Row(int r)
    {
        const Extended s = Sin(Ext(2 * r) / n);
        a = Sin(p1) + Sin(s * (p1 + 5) + p2);
        b = Cos(p1) + Cos(s * (p2 + 5) + p1);
        t = Abs(s);
        f = 1 - Sin(Ext(3 * r) / n);
        rowWave = 1 - Sin(Ext(5 * r) / n);
    }
    Channels Point(int, int i, int m, Fixed turn) const
    {
        const Extended v = PointV(i, m);
        const Extended x = rowWave + turn.a;
        const int32_t R = Round((v * t * x + a) * 255);
        const int32_t G = Round(Abs(1 - v * f * (1 - x) + b) * 255);
        const int32_t B = Round(Abs((1 - Share(G)) + Share(R)) * 255);
        return {R, G, B};
    }
};

struct Pattern33 : Member {
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Row(int r)
    {
        a = Sin(p1) + Sin(Ext(15 * r) / n + p2);
        b = Cos(p1) + Cos(Ext(15 * r) / n + p2);
        t = Abs(1 - Ext(2 * r) / n) + 1;
    }
    Channels Point(int, Extended v) const
    {
        const Extended u = Abs(1 - Abs(1 - v)) - t;
        const Extended x = Sqrt(t * t + u * u + 0.00001L) * 0.5L; // at least 0.5, since t >= 1
        const int32_t R = Round((u / (t + 0.5L) * x + a) * 255);
        const int32_t G = Round((t / x + Share(R) - b) * 255);
        const int32_t B = Round(Ln(t * t + u * u + 0.000001L) * 0.5L * 255);
        return {R, G, B};
    }
};

struct Pattern34 : Member {
    using Finish = Chain<AbsRG, Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Call()
    {
        a = Sin(p1 + p3);
        b = Cos(p3) - Sin(p2 + p1);
    }
    void Row(int r) { t = (Ext(r) / n) * 2; }
    Channels Point(int, Extended v) const
    {
        const Extended x = (v + 0.00001L) * (v + 0.00001L);
        const Extended u = Abs(1 - v * t) + t * a;
        const int32_t R = Round(Abs(x * x + (u * u - t * t)) * 255);
        const int32_t G = Round(Abs(t + u + x + b) * 255);
        const int32_t B = Round(Sqrt(ExactSquares(R, G)) / 1.41L);
        return {R, G, B};
    }
};

struct Pattern35 : Member {
    using Finish = Chain<Fold, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0;
    void Row(int r)
    {
        const Extended s = Sin(r * Pi / n);
        a = Sin(p1) * 2 + Sin(s * (p1 + 5) + p2);
        b = Cos(p1) * 2 + Cos(s * (p2 + 5) + p1);
    }
    Channels Point(int r, int i, int m) const
    {
        const Extended v = PointV(i, m);
        const Extended y = (1 - Ext(2 * i) / m) * (1 - Ext(2 * i) / m);
        const Extended g = Abs(1 - Ext(2 * r) / n);
        const Extended x = (1 - v) + (g + y);
        const int32_t R = Round(Abs(g * x + y + a) * 255);
        const int32_t G = Round(Abs(Abs(Ext(r) / n) * Share(R) * (1 - x) + b) * 255);
        const int32_t B = Round(Share(R) * Share(G) * 255);
        return {R, G, B};
    }
};

struct Pattern36 : Member {
    using Finish = Chain<Fold, Clamp, SquareAbove<200>>;
    Extended a = 0, b = 0, t = 0;
    void Row(int r)
    {
        a = A1(r, n);
        b = B1(r, n);
        t = Sin(r * Pi / n) * (p2 / 5);
    }
    Channels Point(int, Extended v) const
    {
        const Extended u = v * (p1 / 5);
        const Extended x = Abs(u - t);
        const int32_t R = Round(Abs((1 - u) * (t + 1) * (x + 1) + a) * 255);
        const int32_t G = Round(Abs((Share(R) + 1) * (1 - t) * (1 - x) + b) * 255);
        // An integer difference, not rounded; saturated R and G cannot overflow it.
        const int32_t B = Saturate(R > G ? int64_t(R) - G : int64_t(G) - R);
        return {R, G, B};
    }
};

struct Pattern37 : Member {
    using Finish = Chain<RootFoldAbove<255>, CutAt<25>, SquareAbove<200>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Row(int r)
    {
        a = A1(r, n);
        b = B1(r, n);
        t = Abs(1 - Ext(2 * r) / n) * (p2 / 5 + 3);
    }
    Channels Point(int r, int i, int) const
    {
        const Extended w = PointRamp[r][i];
        const Extended u = (p1 / 5 + 3) * w;
        const Extended x = Abs(u - t);
        // The squares can pass the 32-bit range; Round saturates, and the root fold and the
        // cut then give 0 as they would for the exact value.
        const int32_t R = Round(Squared(u * t * x / 8 + a) * 255);
        const int32_t G = Round(Squared((1 - Share(R)) * (1 - t) * (1 - x) / 8 + b) * 255);
        const int32_t B = Round(Squared(Share(R) - Share(G)) * 255);
        return {R, G, B};
    }
};

struct Pattern38 : Member {
    static constexpr int fixedValues = 1; // sin(i x pi / m)
    Fixed FixedAt(int, int i, int m) const { return {HalfTurnSine(i, m), 0}; }
    using Finish = Chain<HalveAbove<255>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    Extended sinT = 0, cosT = 0; // of the row's t
    void Row(int r)
    {
        a = A1(r, n);
        b = B1(r, n);
        t = Sin(Sin(Ext(3 * r) / n) * (p2 / 5 + 3));
        sinT = Sin(t);
        cosT = Cos(t);
    }
    template <class I, class T = NumberFor<I>>
    ChannelsOf<T> Point(int, I, int, FixedOf<T> f) const
    {
        const T t = Take<T>(this->t), a = Take<T>(this->a), b = Take<T>(this->b);
        const T sinT = Take<T>(this->sinT), cosT = Take<T>(this->cosT);
        const T u = Abs(f.a) * (Take<T>(p1) / 5 + 3);
        const T x = Abs(u - t);
        T sinX, cosX;
        SinCos(x, sinX, cosX);
        auto R = Round((sinX * (sinT * Cos(u)) + a) * 255);
        const T sinR = SinOfQuarterTurn(R);
        auto G = Round((cosX * (cosT * sinR) + b) * 255);
        const auto B = Round(Squared(sinR - CosOfQuarterTurn(G)) * 255);
        // Squared after B has used them.
        R = SquareValue(R);
        G = SquareValue(G);
        return {R, G, B};
    }
};

struct Pattern39 : Member {
    using Finish = Chain<HalveAbove<255>, Clamp>;
    Extended a = 0, b = 0, t = 0;
    void Row(int r)
    {
        a = Sin((p1 + 25) * r / n + p2 * 3) / 3;
        b = Cos((p2 + 25) * r / n + p1 * 3) / 3;
        t = Abs(Ext(r) / n);
    }
    Channels Point(int r, Extended v) const
    {
        const Extended u = v * (Ext(r) / n);
        const Extended x = t * t + u * u + 0.00001L;
        const Extended u1 = u * u / 2 - t * t / 2 - 0.72L + a;
        const Extended t1 = u * t + 0.32L + b;
        const Extended x1 = Sqrt(t1 * t1 + u1 * u1 + 0.00001L);
        const int32_t R = Round(Squared(u - x1) * 255);
        const int32_t G = Round(Squared(t - Share(R)) * 255);
        const int32_t B = Round(Squared(x - Share(G)) * 255);
        return {R, G, B};
    }
};

struct Pattern40 : Member {
    using Finish = Chain<Fold>;
    Extended t = 0;
    void Row(int r) { t = Cos(r * Pi / n + p1); }
    Channels Point(int r, int i, int) const
    {
        const Extended sa = PointShapeA[r][i], sb = PointShapeB[r][i], sc = PointShapeC[r][i];
        const int32_t R = Round(Abs(sa + t + p1) * 255);
        const int32_t G = Round(Abs(Share(R) + sb + p2) * 255);
        const int32_t B = Round(Abs(Share(R) + sc + p3) * 255);
        return {R, G, B};
    }
};

const MemberEntry entries[] = {
    Entry<Pattern21>(), Entry<Pattern22>(), Entry<Pattern23>(), Entry<Pattern24>(), Entry<Pattern25>(),
    Entry<Pattern26>(), Entry<Pattern27>(), Entry<Pattern28>(), Entry<Pattern29>(), Entry<Pattern30>(),
    Entry<Pattern31>(), Entry<Pattern32>(), Entry<Pattern33>(), Entry<Pattern34>(), Entry<Pattern35>(),
    Entry<Pattern36>(), Entry<Pattern37>(), Entry<Pattern38>(), Entry<Pattern39>(), Entry<Pattern40>(),
};

} // namespace

const MemberList Members21to40 = {entries, static_cast<int32_t>(sizeof entries / sizeof entries[0])};

} // namespace Rosacle

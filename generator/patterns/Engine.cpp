#include "generator/patterns/Engine.h"

#include <vector>

#include "generator/Workers.h"

namespace Rosacle {

ChannelFunctionValues ChannelValues;

Extended SineOfChannelFormula(int32_t c) { return Sin(c * 1.57L / 255); }
Extended SinOfQuarterTurnFormula(int32_t c) { return Sin(Ext(c) * HalfPi / 255); }
Extended CosOfQuarterTurnFormula(int32_t c) { return Cos(Ext(c) * HalfPi / 255); }

namespace {

bool channelValuesLaid = false;

void LayChannelValues()
{
    constexpr int32_t reach = ChannelFunctionValues::Reach;
    for (int32_t c = -reach; c <= reach; ++c) {
        ChannelValues.sine[c + reach] = SineOfChannelFormula(c);
        ChannelValues.sinQuarter[c + reach] = SinOfQuarterTurnFormula(c);
        ChannelValues.cosQuarter[c + reach] = CosOfQuarterTurnFormula(c);
    }
    channelValuesLaid = true;
}

const MemberEntry* EntryOf(int32_t k)
{
    if (k < 1) return nullptr;
    if (k <= Members01to20.count) return &Members01to20.entries[k - 1];
    k -= Members01to20.count;
    if (k <= Members21to40.count) return &Members21to40.entries[k - 1];
    return nullptr;
}

} // namespace

int32_t MemberCount() { return Members01to20.count + Members21to40.count; }

bool HasFixedValues(int32_t k)
{
    const MemberEntry* entry = EntryOf(k);
    return entry && entry->layFixed;
}

void ForEachRowOf(const Rosette& R, const std::function<void(int)>& rowWork) { ForEachRow(1, R.RowCount, rowWork); }

void LayFixedValues(Rosette& R, int32_t k, bool seenOnly)
{
    const MemberEntry* entry = EntryOf(k);
    if (!entry || !entry->layFixed) {
        R.FixedValues.Free();
        return;
    }
    R.FixedValues.Lay(R.RowStarts());
    entry->layFixed(R, seenOnly);
}

namespace {
std::atomic<uint64_t> fastPoints{0}, fastProven{0};
}

void AddToFastPathTally(const FastPathTally& t)
{
    fastPoints.fetch_add(t.points, std::memory_order_relaxed);
    fastProven.fetch_add(t.proven, std::memory_order_relaxed);
}

FastPathTally TakeFastPathTally()
{
    FastPathTally t;
    t.points = fastPoints.exchange(0);
    t.proven = fastProven.exchange(0);
    return t;
}

bool PointsBothWays(const Rosette& R, int32_t k, int r, const int32_t* i, const Extended* v, int count, Channels* x87,
                    Channels* fast, uint8_t* proven)
{
    const MemberEntry* entry = EntryOf(k);
    if (!entry || !entry->bothPaths) return false;
    if (!channelValuesLaid) LayChannelValues();
    entry->bothPaths(R, r, i, v, count, x87, fast, proven);
    return true;
}

void RunMember(Rosette& R, int32_t k)
{
    const MemberEntry* entry = EntryOf(k);
    if (!entry || R.RowCount < 1) return;
    if (!channelValuesLaid) LayChannelValues();
    const bool fixedLaid = entry->layFixed && R.FixedValues.Laid() && R.Pattern == k;
    const bool seenOnly = R.ComputesSeenOnly();
    if (WorkerCount() == 1 || R.RowCount < 2) {
        entry->run({&R, nullptr, R.Working, &R.Working, fixedLaid, seenOnly});
        return;
    }
    // Every worker runs the member's per-call part itself, from the same start; whoever
    // computes the last row leaves the working values.
    RowShare rows;
    WorkingValues left = R.Working;
    const WorkingValues start = R.Working;
    OnEveryWorker([&](int) { entry->run({&R, &rows, start, &left, fixedLaid, seenOnly}); });
    R.Working = left;
}

} // namespace Rosacle

#include "generator/patterns/Engine.h"

#include <vector>

#include "generator/Workers.h"

namespace Rosacle {

WorkingValues Working;
Extended &WorkC = Working.C, &WorkD = Working.D;

Fixed FixedValues[MaxRows][MaxPoints];
ChannelFunctionValues ChannelValues;

Extended SineOfChannelFormula(int32_t c) { return Sin(c * 1.57L / 255); }
Extended SinOfQuarterTurnFormula(int32_t c) { return Sin(Ext(c) * HalfPi / 255); }
Extended CosOfQuarterTurnFormula(int32_t c) { return Cos(Ext(c) * HalfPi / 255); }

namespace {

// The member whose fixed values the layout holds (0: none) and the layout they belong to.
int32_t fixedMember = 0;
uint32_t fixedLayout = 0;
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
    return entry && entry->fixedAt;
}

void LayFixedValues(int32_t k, bool seenOnly)
{
    fixedMember = 0;
    const MemberEntry* entry = EntryOf(k);
    if (!entry || !entry->fixedAt || RowCount >= MaxRows) return;
    ForEachRow(1, RowCount, [entry, seenOnly](int r) {
        const uint8_t* seen = seenOnly ? SeenPoint[r] : nullptr;
        const int32_t m = RowLastPoint(r);
        for (int i = 0; i <= m; ++i)
            if (!seen || seen[i]) FixedValues[r][i] = entry->fixedAt(r, i, m);
    });
    fixedMember = k;
    fixedLayout = LayoutCount;
}

void RunMember(int32_t k)
{
    const MemberEntry* entry = EntryOf(k);
    if (!entry || RowCount < 1) return;
    if (!channelValuesLaid) LayChannelValues();
    const bool fixedLaid = fixedMember == k && fixedLayout == LayoutCount;
    const bool seenOnly = ComputingSeenOnly();
    if (WorkerCount() == 1 || RowCount < 2) {
        entry->run({nullptr, Working, &Working, fixedLaid, seenOnly});
        return;
    }
    // Every worker runs the member's per-call part itself, from the same start; whoever
    // computes the last row leaves the working values.
    RowShare rows;
    WorkingValues left = Working;
    const WorkingValues start = Working;
    OnEveryWorker([&](int) { entry->run({&rows, start, &left, fixedLaid, seenOnly}); });
    Working = left;
}

} // namespace Rosacle

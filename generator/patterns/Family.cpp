#include "generator/patterns/Family.h"

#include <vector>

#include "generator/Workers.h"

namespace Rosacle {

WorkingValues Working;
int32_t& LastPoint = Working.LastPoint;
Extended &WorkA = Working.A, &WorkB = Working.B, &WorkC = Working.C, &WorkD = Working.D, &WorkE = Working.E;
Extended (&WorkU)[4] = Working.U;
Extended (&WorkT)[4] = Working.T;
Extended (&WorkX)[4] = Working.X;

SharedRows* CurrentSharedRows = nullptr;

bool KeepsPointTerms(int32_t k)
{
    switch (k) {
    case 11: case 14: case 15: case 17: case 19:
    case 26: case 27: case 29: case 30: case 32: case 38:
        return true;
    default:
        return false;
    }
}

void LayPointTerms(int32_t k, int r)
{
    if (k <= 20) LayPointTerms01to20(k, r);
    else LayPointTerms21to40(k, r);
}

namespace {

// Points at a row worker's own set while it runs a member; null on every other thread.
thread_local WorkingValues* threadSet = nullptr;

} // namespace

WorkingValues& ThreadWorking()
{
    WorkingValues* set = threadSet;
    return set ? *set : Working;
}

void RunMemberOnWorkers(int32_t k)
{
    if (k < 1 || k > 40) return;
    if (WorkerCount() == 1 || RowCount < 2) {
        PatternTable[k]();
        return;
    }
    // Every worker runs the member's per-call part itself, from the same start, in a set of
    // its own on its own cache lines.
    struct alignas(64) OwnSet {
        WorkingValues values;
    };
    std::vector<OwnSet> sets(static_cast<size_t>(WorkerCount()), OwnSet{Working});
    SharedRows rows;
    CurrentSharedRows = &rows;
    OnEveryWorker([&](int worker) {
        threadSet = &sets[static_cast<size_t>(worker)].values;
        PatternTable[k]();
        threadSet = nullptr;
    });
    CurrentSharedRows = nullptr;
    if (rows.lastRowSet) Working = *rows.lastRowSet;
}

const PatternFunction PatternTable[41] = {
    nullptr,   Pattern1,  Pattern2,  Pattern3,  Pattern4,  Pattern5,  Pattern6,
    Pattern7,  Pattern8,  Pattern9,  Pattern10, Pattern11, Pattern12, Pattern13,
    Pattern14, Pattern15, Pattern16, Pattern17, Pattern18, Pattern19, Pattern20,
    Pattern21, Pattern22, Pattern23, Pattern24, Pattern25, Pattern26, Pattern27,
    Pattern28, Pattern29, Pattern30, Pattern31, Pattern32, Pattern33, Pattern34,
    Pattern35, Pattern36, Pattern37, Pattern38, Pattern39, Pattern40,
};

} // namespace Rosacle

#pragma once
// A small pool of worker threads for work split by rows. With one worker (the plain path)
// everything runs on the calling thread, in order.
#include <functional>

namespace Rosacle {

// The number of threads that share row work, the caller included (1 = the plain path).
void SetWorkerCount(int count);
int WorkerCount();
// The processor count, at least 1.
int ProcessorCount();

// Runs rowWork(r) for every r in first..last, spread over the workers; returns when all
// rows are done. Rows must be independent of each other. Every worker computes with the
// x87 precision at 64 bits.
void ForEachRow(int first, int last, const std::function<void(int)>& rowWork);

// Runs job(k) once on every worker k = 0 .. WorkerCount() - 1 at the same time (0 is the
// caller); returns when all are done. The jobs share their work among themselves.
void OnEveryWorker(const std::function<void(int)>& job);

} // namespace Rosacle

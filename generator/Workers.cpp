#include "generator/Workers.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "generator/ExtendedMath.h"

namespace Rosacle {

namespace {

class Pool {
public:
    ~Pool() { Resize(1); }

    void Resize(int count)
    {
        if (count < 1) count = 1;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (auto& t : threads_) t.join();
        threads_.clear();
        stopping_ = false;
        count_ = count;
        // A new thread has seen every job so far: the last one's pointer is already gone.
        const unsigned seen = generation_;
        for (int k = 1; k < count; ++k) threads_.emplace_back([this, seen] { Work(seen); });
    }

    int Count() const { return count_; }

    void Run(int first, int last, const std::function<void(int)>& rowWork)
    {
        if (count_ == 1 || last - first < 1) {
            for (int r = first; r <= last; ++r) rowWork(r);
            return;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            job_ = &rowWork;
            next_.store(first);
            last_ = last;
            busy_ = static_cast<int>(threads_.size());
            ++generation_;
        }
        wake_.notify_all();
        TakeRows(rowWork);
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [this] { return busy_ == 0; });
        job_ = nullptr;
    }

private:
    void TakeRows(const std::function<void(int)>& rowWork)
    {
        for (int r = next_.fetch_add(1); r <= last_; r = next_.fetch_add(1)) rowWork(r);
    }

    void Work(unsigned seen)
    {
        SetExtendedPrecision();
        for (;;) {
            const std::function<void(int)>* job;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
                if (stopping_) return;
                seen = generation_;
                job = job_;
            }
            TakeRows(*job);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                --busy_;
            }
            done_.notify_one();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
    const std::function<void(int)>* job_ = nullptr;
    std::atomic<int> next_{0};
    int last_ = 0;
    int busy_ = 0;
    unsigned generation_ = 0;
    bool stopping_ = false;
    int count_ = 1;
};

Pool& ThePool()
{
    static Pool pool;
    return pool;
}

} // namespace

int ProcessorCount()
{
    unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

void SetWorkerCount(int count) { ThePool().Resize(count); }
int WorkerCount() { return ThePool().Count(); }

void ForEachRow(int first, int last, const std::function<void(int)>& rowWork) { ThePool().Run(first, last, rowWork); }

} // namespace Rosacle

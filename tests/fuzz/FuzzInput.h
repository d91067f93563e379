#pragma once
// A promise of the code under test that an input broke: the fuzzer keeps the input.
inline void FuzzCheck(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// Takes typed values off the front of a fuzzer's input; an exhausted input gives zeros.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    template <class T>
    T Take()
    {
        T value{};
        const size_t n = sizeof(T) < size_ ? sizeof(T) : size_;
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }

    std::vector<uint8_t> Bytes(size_t count)
    {
        const size_t n = count < size_ ? count : size_;
        std::vector<uint8_t> out(data_, data_ + n);
        data_ += n;
        size_ -= n;
        return out;
    }

    std::string Rest()
    {
        std::string out(reinterpret_cast<const char*>(data_), size_);
        data_ += size_;
        size_ = 0;
        return out;
    }

    size_t Left() const { return size_; }

private:
    const uint8_t* data_;
    size_t size_;
};

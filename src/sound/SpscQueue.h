#pragma once

#include <array>
#include <atomic>
#include <cstddef>

// A fixed ring of values from one thread to one other, without locks or allocation: the game's
// thread pushes, the audio thread pops. Holds capacity - 1 values.
template <typename T, std::size_t capacity> class SpscQueue {
public:
    // False, and nothing kept, when full.
    bool push(const T& value) {
        const std::size_t tail = tailIndex.load(std::memory_order_relaxed);
        const std::size_t after = (tail + 1) % capacity;
        if (after == headIndex.load(std::memory_order_acquire))
            return false;
        ring[tail] = value;
        tailIndex.store(after, std::memory_order_release);
        return true;
    }

    // False when empty.
    bool pop(T& value) {
        const std::size_t head = headIndex.load(std::memory_order_relaxed);
        if (head == tailIndex.load(std::memory_order_acquire))
            return false;
        value = ring[head];
        headIndex.store((head + 1) % capacity, std::memory_order_release);
        return true;
    }

private:
    std::array<T, capacity> ring{};
    std::atomic<std::size_t> headIndex{0};
    std::atomic<std::size_t> tailIndex{0};
};

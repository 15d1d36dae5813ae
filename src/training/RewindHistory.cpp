#include "training/RewindHistory.h"

void RewindHistory::push(const Entry& entry) {
    ring[static_cast<std::size_t>(next)] = entry;
    next = (next + 1) % capacity;
    if (count < capacity)
        ++count;
}

const RewindHistory::Entry& RewindHistory::pop() {
    next = (next + capacity - 1) % capacity;
    --count;
    return ring[static_cast<std::size_t>(next)];
}

#include "lobby/MemoryStore.h"

#include <utility>

bool MemoryStore::claimName(const std::string& name, const std::string&) {
    return names.insert(name).second;
}

void MemoryStore::releaseName(const std::string& name) { names.erase(name); }

bool MemoryStore::putRoom(const std::string& code, const lobby::PlayerCard& owner) {
    const double now = clock();
    const auto existing = rooms.find(code);
    if (existing != rooms.end() && existing->second.expires > now)
        return false;
    rooms[code] = Room{owner, now + roomSeconds};
    return true;
}

std::optional<lobby::PlayerCard> MemoryStore::takeRoom(const std::string& code) {
    const auto room = rooms.find(code);
    if (room == rooms.end())
        return std::nullopt;
    const Room taken = room->second;
    rooms.erase(room);
    if (taken.expires <= clock())
        return std::nullopt;
    return taken.owner;
}

void MemoryStore::dropRoom(const std::string& code) { rooms.erase(code); }

void MemoryStore::enqueue(lobby::QueuedPlayer& entry) {
    entry.since = clock();
    entry.key = std::to_string(++arrivals);
    queue[arrivals] = entry;
}

void MemoryStore::dequeue(const lobby::QueuedPlayer& entry) {
    if (!entry.key.empty())
        queue.erase(std::stoull(entry.key));
}

std::vector<lobby::QueuedPlayer> MemoryStore::oldest(int count) {
    std::vector<lobby::QueuedPlayer> waiting;
    for (auto it = queue.begin(); it != queue.end() && static_cast<int>(waiting.size()) < count;
         ++it)
        waiting.push_back(it->second);
    return waiting;
}

bool MemoryStore::takePair(const lobby::QueuedPlayer& first, const lobby::QueuedPlayer& second) {
    const auto a = queue.find(std::stoull(first.key));
    const auto b = queue.find(std::stoull(second.key));
    if (a == queue.end() || b == queue.end() || a == b)
        return false;
    queue.erase(a);
    queue.erase(b);
    return true;
}

void MemoryStore::addMatch(const lobby::MatchListing& listing, const std::string&) {
    listed[listing.id] = listing;
}

std::vector<lobby::MatchListing> MemoryStore::matches(int most) {
    std::vector<lobby::MatchListing> newest;
    for (auto it = listed.rbegin(); it != listed.rend() && static_cast<int>(newest.size()) < most;
         ++it)
        newest.push_back(it->second);
    return newest;
}

void MemoryStore::deliver(const std::string&, const lobby::Delivery& delivery) {
    inbox.push_back(delivery);
}

std::vector<lobby::Delivery> MemoryStore::collect(const std::string&) {
    return std::exchange(inbox, {});
}

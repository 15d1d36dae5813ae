#pragma once

#include <functional>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "lobby/LobbyStore.h"

// The lobby's state in this process alone: nothing else to start, and nothing shared.
class MemoryStore : public LobbyStore {
public:
    // clock: seconds, for the rooms' lifetime and the queue's order.
    MemoryStore(double roomSeconds, std::function<double()> clock)
        : roomSeconds(roomSeconds), clock(std::move(clock)) {}

    bool claimName(const std::string& name, const std::string& instance) override;
    void releaseName(const std::string& name) override;
    bool putRoom(const std::string& code, const lobby::PlayerCard& owner) override;
    std::optional<lobby::PlayerCard> takeRoom(const std::string& code) override;
    void dropRoom(const std::string& code) override;
    void enqueue(lobby::QueuedPlayer& entry) override;
    void dequeue(const lobby::QueuedPlayer& entry) override;
    std::vector<lobby::QueuedPlayer> oldest(int count) override;
    bool takePair(const lobby::QueuedPlayer& first, const lobby::QueuedPlayer& second) override;
    std::uint32_t nextMatchId() override { return ++lastMatch; }
    void addMatch(const lobby::MatchListing& listing, const std::string& instance) override;
    void dropMatch(std::uint32_t id) override { listed.erase(id); }
    std::vector<lobby::MatchListing> matches(int most) override;
    void deliver(const std::string& instance, const lobby::Delivery& delivery) override;
    std::vector<lobby::Delivery> collect(const std::string& instance) override;
    double time() override { return clock(); }
    void heartbeat(const std::string&) override {}

private:
    struct Room {
        lobby::PlayerCard owner;
        double expires = 0;
    };

    double roomSeconds;
    std::function<double()> clock;
    std::unordered_set<std::string> names;
    std::unordered_map<std::string, Room> rooms;
    // By arrival: the key is a running number, so the map's order is the queue's.
    std::map<std::uint64_t, lobby::QueuedPlayer> queue;
    std::uint64_t arrivals = 0;
    std::uint32_t lastMatch = 0;
    std::map<std::uint32_t, lobby::MatchListing> listed;
    std::vector<lobby::Delivery> inbox;
};

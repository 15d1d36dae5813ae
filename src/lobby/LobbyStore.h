#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lobby/Delivery.h"
#include "lobby/LobbyMessages.h"
#include "lobby/PlayerCard.h"
#include "lobby/QueuedPlayer.h"

// The lobby's shared state: the names in use, the rooms by code, the quick match's queue, the
// matches under way and the pairings on their way to the process holding a player. Kept in
// this process (MemoryStore) or in Redis for several lobby processes (RedisStore). Every
// operation that two processes could race for is atomic: a name claimed, a room taken and a
// pair taken from the queue go to one of them only. Owned by the lobby server.
class LobbyStore {
public:
    virtual ~LobbyStore() = default;

    // false: someone (in a live process) has the name.
    virtual bool claimName(const std::string& name, const std::string& instance) = 0;
    virtual void releaseName(const std::string& name) = 0;

    // false: the code is in use. A room lives roomSeconds unless taken or dropped first.
    virtual bool putRoom(const std::string& code, const lobby::PlayerCard& owner) = 0;
    // The room's owner, and the room gone with it; nothing when no live room has the code.
    virtual std::optional<lobby::PlayerCard> takeRoom(const std::string& code) = 0;
    virtual void dropRoom(const std::string& code) = 0;

    // entry.key is filled in.
    virtual void enqueue(lobby::QueuedPlayer& entry) = 0;
    virtual void dequeue(const lobby::QueuedPlayer& entry) = 0;
    // The `count` longest waiting of live processes, oldest first.
    virtual std::vector<lobby::QueuedPlayer> oldest(int count) = 0;
    // Both out of the queue, or neither (another process took one first).
    virtual bool takePair(const lobby::QueuedPlayer& first, const lobby::QueuedPlayer& second) = 0;

    virtual std::uint32_t nextMatchId() = 0;
    virtual void addMatch(const lobby::MatchListing& listing, const std::string& instance) = 0;
    virtual void dropMatch(std::uint32_t id) = 0;
    // The newest `most` matches of live processes.
    virtual std::vector<lobby::MatchListing> matches(int most) = 0;

    virtual void deliver(const std::string& instance, const lobby::Delivery& delivery) = 0;
    virtual std::vector<lobby::Delivery> collect(const std::string& instance) = 0;

    // Seconds on the queue's clock, the one `since` is on.
    virtual double time() = 0;

    // Called about once a second: this process is alive.
    virtual void heartbeat(const std::string& instance) = 0;
};

#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <unordered_map>

#include "lobby/LobbyStore.h"

struct redisContext;
struct redisReply;

// The lobby's state in Redis, shared by every lobby process given the same server: names,
// rooms (which expire by Redis' own clock), the queue (a sorted set by arrival), the matches
// under way and each process's inbox of pairings. A process is alive while its heartbeat key
// lasts (a few seconds): the names, queue entries and matches of one that died are taken over
// or skipped, never paired with. Every call is one round trip; the ones two processes could
// race for are single commands or scripts, which Redis runs whole. Throws std::runtime_error
// with a one-line reason when Redis cannot be reached or answers with an error.
class RedisStore : public LobbyStore {
public:
    RedisStore(const std::string& host, int port, int roomSeconds);
    ~RedisStore() override;
    RedisStore(const RedisStore&) = delete;
    RedisStore& operator=(const RedisStore&) = delete;

    bool claimName(const std::string& name, const std::string& instance) override;
    void releaseName(const std::string& name) override;
    bool putRoom(const std::string& code, const lobby::PlayerCard& owner) override;
    std::optional<lobby::PlayerCard> takeRoom(const std::string& code) override;
    void dropRoom(const std::string& code) override;
    void enqueue(lobby::QueuedPlayer& entry) override;
    void dequeue(const lobby::QueuedPlayer& entry) override;
    std::vector<lobby::QueuedPlayer> oldest(int count) override;
    bool takePair(const lobby::QueuedPlayer& first, const lobby::QueuedPlayer& second) override;
    std::uint32_t nextMatchId() override;
    void addMatch(const lobby::MatchListing& listing, const std::string& instance) override;
    void dropMatch(std::uint32_t id) override;
    std::vector<lobby::MatchListing> matches(int most) override;
    void deliver(const std::string& instance, const lobby::Delivery& delivery) override;
    std::vector<lobby::Delivery> collect(const std::string& instance) override;
    double time() override;
    void heartbeat(const std::string& instance) override;

private:
    struct ReplyFree {
        void operator()(redisReply* reply) const;
    };
    using Reply = std::unique_ptr<redisReply, ReplyFree>;

    Reply command(int argc, const char** argv, const std::size_t* lengths);
    Reply run(std::initializer_list<std::string> words);
    bool alive(const std::string& instance);

    redisContext* context;
    std::string where;
    int roomSeconds;
    // Which processes were alive, and when that was asked.
    std::unordered_map<std::string, std::chrono::steady_clock::time_point> seenAlive;
};

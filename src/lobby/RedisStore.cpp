#include "lobby/RedisStore.h"

#include <stdexcept>
#include <vector>

#include <hiredis/hiredis.h>

#include "lobby/LobbyCodec.h"

namespace {

const std::string prefix = "vorrak:lobby:";
const std::string queueKey = prefix + "queue";
const std::string matchesKey = prefix + "matches";
const std::string matchIdKey = prefix + "match-id";
// A process is alive while this key lasts; it renews it every second.
constexpr int aliveSeconds = 5;
constexpr auto aliveCacheTime = std::chrono::seconds(1);

std::string aliveKey(const std::string& instance) { return prefix + "alive:" + instance; }
std::string nameKey(const std::string& name) { return prefix + "name:" + name; }
std::string roomKey(const std::string& code) { return prefix + "room:" + code; }
std::string inboxKey(const std::string& instance) { return prefix + "inbox:" + instance; }

// A name is free when nobody holds it or its holder's process is gone.
const char* const claimScript =
    "local holder = redis.call('GET', KEYS[1]) "
    "if holder and redis.call('EXISTS', ARGV[2] .. holder) == 1 then return 0 end "
    "redis.call('SET', KEYS[1], ARGV[1]) return 1";
// Queued on Redis' own clock, shared by every process, in one round trip.
const char* const enqueueScript =
    "local now = redis.call('TIME') local since = now[1] + now[2] / 1000000 "
    "redis.call('ZADD', KEYS[1], since, ARGV[1]) return tostring(since)";
// Both members out of the queue or neither.
const char* const takePairScript =
    "if redis.call('ZSCORE', KEYS[1], ARGV[1]) and redis.call('ZSCORE', KEYS[1], ARGV[2]) then "
    "redis.call('ZREM', KEYS[1], ARGV[1], ARGV[2]) return 1 end return 0";

std::string bytes(const std::vector<std::uint8_t>& data) { return {data.begin(), data.end()}; }

const std::uint8_t* raw(const redisReply* reply) {
    return reinterpret_cast<const std::uint8_t*>(reply->str);
}

// A queue entry is its instance's name first, so entries of a dead process are known by it.
std::string queueMember(const lobby::PlayerCard& card) {
    return bytes(LobbyCodec::encodeCard(card));
}

// A listed match is its instance's name (one length byte) and the listing.
std::string matchMember(const lobby::MatchListing& listing, const std::string& instance) {
    return std::string(1, static_cast<char>(instance.size())) + instance +
           bytes(LobbyCodec::encodeListing(listing));
}

} // namespace

void RedisStore::ReplyFree::operator()(redisReply* reply) const { freeReplyObject(reply); }

RedisStore::RedisStore(const std::string& host, int port, int roomSeconds)
    : where(host + ":" + std::to_string(port)), roomSeconds(roomSeconds) {
    const timeval timeout{2, 0};
    context = redisConnectWithTimeout(host.c_str(), port, timeout);
    if (!context || context->err) {
        const std::string why = context ? context->errstr : "out of memory";
        if (context)
            redisFree(context);
        throw std::runtime_error("Cannot reach Redis at " + where + ": " + why);
    }
    redisSetTimeout(context, timeout);
    run({"PING"});
}

RedisStore::~RedisStore() { redisFree(context); }

RedisStore::Reply RedisStore::command(int argc, const char** argv, const std::size_t* lengths) {
    Reply reply(static_cast<redisReply*>(redisCommandArgv(context, argc, argv, lengths)));
    if (!reply)
        throw std::runtime_error("Redis at " + where + " is gone: " + context->errstr);
    if (reply->type == REDIS_REPLY_ERROR)
        throw std::runtime_error("Redis at " + where + " refused a command: " + reply->str);
    return reply;
}

RedisStore::Reply RedisStore::run(std::initializer_list<std::string> words) {
    std::vector<const char*> argv;
    std::vector<std::size_t> lengths;
    for (const std::string& word : words) {
        argv.push_back(word.data());
        lengths.push_back(word.size());
    }
    return command(static_cast<int>(argv.size()), argv.data(), lengths.data());
}

double RedisStore::time() {
    const Reply time = run({"TIME"});
    return std::stod(time->element[0]->str) + std::stod(time->element[1]->str) / 1e6;
}

bool RedisStore::alive(const std::string& instance) {
    const auto clock = std::chrono::steady_clock::now();
    const auto seen = seenAlive.find(instance);
    if (seen != seenAlive.end() && clock - seen->second < aliveCacheTime)
        return true;
    if (run({"EXISTS", aliveKey(instance)})->integer == 0)
        return false;
    seenAlive[instance] = clock;
    return true;
}

void RedisStore::heartbeat(const std::string& instance) {
    run({"SET", aliveKey(instance), "1", "EX", std::to_string(aliveSeconds)});
}

bool RedisStore::claimName(const std::string& name, const std::string& instance) {
    return run({"EVAL", claimScript, "1", nameKey(name), instance, prefix + "alive:"})->integer == 1;
}

void RedisStore::releaseName(const std::string& name) { run({"DEL", nameKey(name)}); }

bool RedisStore::putRoom(const std::string& code, const lobby::PlayerCard& owner) {
    const Reply set = run({"SET", roomKey(code), bytes(LobbyCodec::encodeCard(owner)), "NX", "EX",
                           std::to_string(roomSeconds)});
    return set->type == REDIS_REPLY_STATUS;
}

std::optional<lobby::PlayerCard> RedisStore::takeRoom(const std::string& code) {
    const Reply taken = run({"GETDEL", roomKey(code)});
    if (taken->type != REDIS_REPLY_STRING)
        return std::nullopt;
    std::optional<lobby::PlayerCard> owner = LobbyCodec::decodeCard(raw(taken.get()), taken->len);
    if (!owner || !alive(owner->instance))
        return std::nullopt;
    return owner;
}

void RedisStore::dropRoom(const std::string& code) { run({"DEL", roomKey(code)}); }

void RedisStore::enqueue(lobby::QueuedPlayer& entry) {
    entry.key = queueMember(entry.card);
    const Reply since = run({"EVAL", enqueueScript, "1", queueKey, entry.key});
    entry.since = std::stod(std::string(since->str, since->len));
}

void RedisStore::dequeue(const lobby::QueuedPlayer& entry) { run({"ZREM", queueKey, entry.key}); }

std::vector<lobby::QueuedPlayer> RedisStore::oldest(int count) {
    const Reply range =
        run({"ZRANGE", queueKey, "0", std::to_string(count - 1), "WITHSCORES"});
    std::vector<lobby::QueuedPlayer> waiting;
    for (std::size_t i = 0; i + 1 < range->elements; i += 2) {
        const redisReply* member = range->element[i];
        std::optional<lobby::PlayerCard> card = LobbyCodec::decodeCard(raw(member), member->len);
        const std::string key(member->str, member->len);
        if (!card || !alive(card->instance)) {
            run({"ZREM", queueKey, key});
            continue;
        }
        waiting.push_back({*card, std::stod(range->element[i + 1]->str), key});
    }
    return waiting;
}

bool RedisStore::takePair(const lobby::QueuedPlayer& first, const lobby::QueuedPlayer& second) {
    return run({"EVAL", takePairScript, "1", queueKey, first.key, second.key})->integer == 1;
}

std::uint32_t RedisStore::nextMatchId() {
    return static_cast<std::uint32_t>(run({"INCR", matchIdKey})->integer);
}

void RedisStore::addMatch(const lobby::MatchListing& listing, const std::string& instance) {
    run({"ZADD", matchesKey, std::to_string(listing.id), matchMember(listing, instance)});
}

void RedisStore::dropMatch(std::uint32_t id) {
    const std::string score = std::to_string(id);
    run({"ZREMRANGEBYSCORE", matchesKey, score, score});
}

std::vector<lobby::MatchListing> RedisStore::matches(int most) {
    // A few more than asked, for those of dead processes.
    const Reply range = run({"ZREVRANGE", matchesKey, "0", std::to_string(most * 2 - 1)});
    std::vector<lobby::MatchListing> newest;
    for (std::size_t i = 0; i < range->elements && static_cast<int>(newest.size()) < most; ++i) {
        const redisReply* member = range->element[i];
        const std::size_t nameLength = member->len > 0 ? raw(member)[0] : 0;
        if (member->len < 1 + nameLength)
            continue;
        const std::string instance(member->str + 1, nameLength);
        std::optional<lobby::MatchListing> listing = LobbyCodec::decodeListing(
            raw(member) + 1 + nameLength, member->len - 1 - nameLength);
        if (!listing || !alive(instance)) {
            run({"ZREM", matchesKey, std::string(member->str, member->len)});
            continue;
        }
        newest.push_back(*listing);
    }
    return newest;
}

void RedisStore::deliver(const std::string& instance, const lobby::Delivery& delivery) {
    std::vector<std::uint8_t> data = LobbyCodec::encode(delivery.paired);
    for (int i = 0; i < 4; ++i)
        data.insert(data.begin() + i, static_cast<std::uint8_t>(delivery.client >> (8 * i)));
    run({"RPUSH", inboxKey(instance), bytes(data)});
}

std::vector<lobby::Delivery> RedisStore::collect(const std::string& instance) {
    const Reply popped = run({"LPOP", inboxKey(instance), "64"});
    std::vector<lobby::Delivery> deliveries;
    if (popped->type != REDIS_REPLY_ARRAY)
        return deliveries;
    for (std::size_t i = 0; i < popped->elements; ++i) {
        const redisReply* item = popped->element[i];
        if (item->len < 4)
            continue;
        lobby::Delivery delivery;
        for (int b = 0; b < 4; ++b)
            delivery.client |= std::uint32_t{raw(item)[b]} << (8 * b);
        const std::optional<lobby::Message> message =
            LobbyCodec::decode(raw(item) + 4, item->len - 4);
        if (!message || !std::holds_alternative<lobby::Paired>(*message))
            continue;
        delivery.paired = std::get<lobby::Paired>(*message);
        deliveries.push_back(delivery);
    }
    return deliveries;
}

#include "lobby/LobbyCodec.h"

#include <string>

#include "files/ByteCursor.h"

namespace {

using namespace lobby;

constexpr std::uint32_t probeMagic = 0x504b5256; // "VRKP"
// Names, codes and an instance's id are all shorter.
constexpr std::size_t maxText = 32;

class Writer {
public:
    void put(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void text(const std::string& value) {
        const std::size_t length = std::min(value.size(), maxText);
        put(length, 1);
        out.insert(out.end(), value.begin(), value.begin() + static_cast<long>(length));
    }
    void endpoint(const Endpoint& value) {
        put(value.ip, 4);
        put(value.port, 2);
    }
    void listing(const MatchListing& value) {
        put(value.id, 4);
        text(value.host);
        text(value.guest);
        endpoint(value.address);
    }

    std::vector<std::uint8_t> out;
};

// Any read past the end, or a text over its limit, marks the whole packet bad.
class Reader : public ByteCursor {
public:
    using ByteCursor::ByteCursor;

    std::string text() {
        const std::size_t length = get(1);
        if (length > maxText) {
            bad = true;
            return {};
        }
        return take(length);
    }
    Endpoint endpoint() {
        Endpoint value;
        value.ip = static_cast<std::uint32_t>(get(4));
        value.port = static_cast<std::uint16_t>(get(2));
        return value;
    }
    MatchListing listing() {
        MatchListing value;
        value.id = static_cast<std::uint32_t>(get(4));
        value.host = text();
        value.guest = text();
        value.address = endpoint();
        return value;
    }
};

// The message's type byte is its place in the variant.
struct Encoder {
    Writer& w;
    void operator()(const Hello& m) {
        w.put(m.version, 2);
        w.text(m.name);
        w.endpoint(m.local);
    }
    void operator()(const Welcome& m) { w.put(m.token, 8); }
    void operator()(const Seen& m) { w.endpoint(m.outside); }
    void operator()(const RoomMade& m) { w.text(m.code); }
    void operator()(const JoinRoom& m) { w.text(m.code); }
    void operator()(const MatchList& m) {
        w.put(m.matches.size(), 1);
        for (const MatchListing& listing : m.matches)
            w.listing(listing);
    }
    void operator()(const Paired& m) {
        w.put(m.host ? 1 : 0, 1);
        w.put(m.match, 4);
        w.text(m.peer);
        w.endpoint(m.peerOutside);
        w.endpoint(m.peerLocal);
        w.endpoint(m.relay);
        w.put(m.pingMs, 2);
    }
    void operator()(const Refused& m) { w.put(static_cast<std::uint8_t>(m.reason), 1); }
    // The messages that are their type alone.
    template <typename Bare> void operator()(const Bare&) {}
};

template <typename M> M read(Reader& r);
template <> Hello read<Hello>(Reader& r) {
    Hello m;
    m.version = static_cast<std::uint16_t>(r.get(2));
    m.name = r.text();
    m.local = r.endpoint();
    return m;
}
template <> Welcome read<Welcome>(Reader& r) { return Welcome{r.get(8)}; }
template <> Seen read<Seen>(Reader& r) { return Seen{r.endpoint()}; }
template <> RoomMade read<RoomMade>(Reader& r) { return RoomMade{r.text()}; }
template <> JoinRoom read<JoinRoom>(Reader& r) { return JoinRoom{r.text()}; }
template <> MatchList read<MatchList>(Reader& r) {
    MatchList m;
    const std::size_t count = r.get(1);
    if (count > static_cast<std::size_t>(maxListedMatches)) {
        r.bad = true;
        return m;
    }
    for (std::size_t i = 0; i < count && !r.bad; ++i)
        m.matches.push_back(r.listing());
    return m;
}
template <> Paired read<Paired>(Reader& r) {
    Paired m;
    const std::uint64_t host = r.get(1);
    r.bad |= host > 1;
    m.host = host == 1;
    m.match = static_cast<std::uint32_t>(r.get(4));
    m.peer = r.text();
    m.peerOutside = r.endpoint();
    m.peerLocal = r.endpoint();
    m.relay = r.endpoint();
    m.pingMs = static_cast<std::uint16_t>(r.get(2));
    return m;
}
template <> Refused read<Refused>(Reader& r) {
    const std::uint64_t reason = r.get(1);
    r.bad |= reason >= refusalCount;
    return Refused{static_cast<Refusal>(reason)};
}
template <typename Bare> Bare read(Reader&) { return Bare{}; }

template <std::size_t... I>
std::optional<Message> readType(std::size_t type, Reader& r, std::index_sequence<I...>) {
    std::optional<Message> message;
    ((type == I ? (void)(message = read<std::variant_alternative_t<I, Message>>(r)) : (void)0),
     ...);
    return message;
}

} // namespace

namespace LobbyCodec {

std::vector<std::uint8_t> encode(const Message& message) {
    Writer w;
    w.put(message.index(), 1);
    std::visit(Encoder{w}, message);
    return w.out;
}

std::optional<Message> decode(const std::uint8_t* data, std::size_t size) {
    Reader r(data, size);
    const std::size_t type = r.get(1);
    if (r.bad || type >= std::variant_size_v<Message>)
        return std::nullopt;
    std::optional<Message> message =
        readType(type, r, std::make_index_sequence<std::variant_size_v<Message>>{});
    if (!message || !r.complete())
        return std::nullopt;
    return message;
}

std::vector<std::uint8_t> probe(std::uint64_t token) {
    Writer w;
    w.put(probeMagic, 4);
    w.put(token, 8);
    return w.out;
}

std::optional<std::uint64_t> readProbe(const std::uint8_t* data, std::size_t size) {
    Reader r(data, size);
    if (size != probeBytes || r.get(4) != probeMagic)
        return std::nullopt;
    return r.get(8);
}

std::vector<std::uint8_t> encodeCard(const PlayerCard& card) {
    Writer w;
    w.text(card.instance);
    w.put(card.client, 4);
    w.text(card.name);
    w.endpoint(card.outside);
    w.endpoint(card.local);
    w.put(card.pingMs, 2);
    return w.out;
}

std::optional<PlayerCard> decodeCard(const std::uint8_t* data, std::size_t size) {
    Reader r(data, size);
    PlayerCard card;
    card.instance = r.text();
    card.client = static_cast<std::uint32_t>(r.get(4));
    card.name = r.text();
    card.outside = r.endpoint();
    card.local = r.endpoint();
    card.pingMs = static_cast<std::uint16_t>(r.get(2));
    if (!r.complete())
        return std::nullopt;
    return card;
}

std::vector<std::uint8_t> encodeListing(const MatchListing& listing) {
    Writer w;
    w.listing(listing);
    return w.out;
}

std::optional<MatchListing> decodeListing(const std::uint8_t* data, std::size_t size) {
    Reader r(data, size);
    MatchListing listing = r.listing();
    if (!r.complete())
        return std::nullopt;
    return listing;
}

} // namespace LobbyCodec

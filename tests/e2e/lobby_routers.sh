#!/usr/bin/env bash
# Two players each behind a home router of their own, the lobby on the "public" network between
# them, all in network namespaces this test makes (and removes). Both routers translate
# addresses with nftables' masquerade and let in only what answers their own players' packets.
# A router that keeps a player's port for every destination lets the two knock their way to a
# direct match; one that gives every destination a new port does not, and the match goes
# through the lobby's relay. In both, the guest's Escape ends both games on the same step.
# Needs root (namespaces, nftables): without it the test says so and passes as skipped.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/net_lib.bash"
LOBBY_PROGRAM=$GAME_DIR/vorrak-lobby

if [ "$(id -u)" -ne 0 ] || ! command -v nft >/dev/null || ! ip netns add "vrk-probe-$$" 2>/dev/null; then
    echo "ok (skipped: network namespaces and nftables need root, ip and nft)"
    exit 0
fi
ip netns del "vrk-probe-$$"

NS=vrk$$
LOBBY_IP=10.99.0.1
namespaces=("$NS-pub" "$NS-ra" "$NS-rb" "$NS-pa" "$NS-pb")
trap 'for p in "${PIDS[@]}"; do kill -9 "$p" 2>/dev/null || true; done
      for n in "${namespaces[@]}"; do ip netns del "$n" 2>/dev/null || true; done; cleanup' EXIT
in_ns() { local ns=$1; shift; ip netns exec "$NS-$ns" "$@"; }

# link A IP_A B IP_B: a cable between two namespaces.
link() {
    ip link add "l$1$$" type veth peer name "l$3$$"
    ip link set "l$1$$" netns "$NS-$1"
    ip link set "l$3$$" netns "$NS-$3"
    in_ns "$1" ip link set "l$1$$" name "to-$3"
    in_ns "$3" ip link set "l$3$$" name "to-$1"
    in_ns "$1" ip addr add "$2" dev "to-$3"
    in_ns "$3" ip addr add "$4" dev "to-$1"
    in_ns "$1" ip link set "to-$3" up
    in_ns "$3" ip link set "to-$1" up
}

# wan ROUTER IP: the router's cable to the public network's switch, where the lobby is.
wan() {
    # Interface names are 15 characters at most: short ones for the moment before each is
    # moved and renamed.
    ip link add "w$1$$" type veth peer name "s$1$$"
    ip link set "w$1$$" netns "$NS-$1"
    ip link set "s$1$$" netns "$NS-pub"
    in_ns pub ip link set "s$1$$" master switch up
    in_ns "$1" ip link set "w$1$$" name to-pub
    in_ns "$1" ip addr add "$2/24" dev to-pub
    in_ns "$1" ip link set to-pub up
    in_ns "$1" ip route add default via "$LOBBY_IP"
}

# router NAME MASQUERADE: the router's rules, the masquerade's options given.
router() {
    in_ns "$1" sysctl -qw net.ipv4.ip_forward=1
    in_ns "$1" nft -f - <<NFT
table ip nat {
    chain post { type nat hook postrouting priority 100; oifname "to-pub" masquerade $2; }
}
table inet filter {
    chain forward { type filter hook forward priority 0; iifname "to-pub" ct state new drop; }
    chain input { type filter hook input priority 0; iifname "to-pub" ct state new drop; }
}
NFT
}

make_network() { # B's MASQUERADE options
    for n in "${namespaces[@]}"; do
        ip netns add "$n"
        ip netns exec "$n" ip link set lo up
    done
    in_ns pub ip link add switch type bridge
    in_ns pub ip addr add "$LOBBY_IP/24" dev switch
    in_ns pub ip link set switch up
    wan ra 10.99.0.2
    wan rb 10.99.0.3
    link ra 192.168.1.1/24 pa 192.168.1.2/24
    link rb 192.168.1.1/24 pb 192.168.1.2/24
    in_ns pa ip route add default via 192.168.1.1
    in_ns pb ip route add default via 192.168.1.1
    router ra ""
    router rb "$1"
}

remove_network() {
    for n in "${namespaces[@]}"; do ip netns del "$n" 2>/dev/null || true; done
}

# start_in NAMESPACE NAME ARGS...: the game in that namespace, in $WORK/NAME.
start_in() {
    local ns=$1 name=$2
    shift 2
    mkdir -p "$WORK/$name"
    (cd "$WORK/$name" && exec ip netns exec "$NS-$ns" "$GAME" "$@" >stdout 2>stderr) &
    PIDS[$name]=$!
}

# play ROUTE: A makes a room, B joins it, they connect that way, B's Escape ends both alike.
play() {
    local route=$1 a=$1-a b=$1-b
    # exec: the pid kept is the lobby's own, so the kill below and the trap stop it.
    (exec ip netns exec "$NS-pub" "$LOBBY_PROGRAM" --port 7800 --relay-ports 7801-7804 \
        >"$WORK/lobby-$route.out" 2>&1) &
    PIDS[lobby]=$!
    start_in pa "$a" --lobby "$LOBBY_IP" --name ana --room
    local code="" i
    for i in $(seq 1 600); do
        code=$(grep -o 'Room code: [A-Z0-9]*' "$WORK/$a/stdout" 2>/dev/null | cut -d' ' -f3 || true)
        [ -n "$code" ] && break
        sleep 0.1
    done
    [ -n "$code" ] || fail "no room code: $(cat "$WORK/$a/stdout" "$WORK/$a/stderr")"
    start_in pb "$b" --lobby "$LOBBY_IP" --name bo --code "$code"
    await_said "$a" "connected after .*, $route, input delay" 60
    await_said "$b" "connected after .*, $route, input delay" 60
    grep -q "vs 10.99.0.3:" "$WORK/$a/stderr" || [ "$route" = relayed ] ||
        fail "ana does not play bo at his router's address: $(cat "$WORK/$a/stderr")"
    sleep 1
    xdotool windowfocus --sync "$(await_title 'right fighter .guest. vs')"
    hold 0.3 Escape
    expect_end "$b" 60 0 "Online play: right fighter"
    expect_end "$a" 60 0 "pressed Escape"
    [ -n "$(ended "$a")" ] && [ "$(ended "$a")" = "$(ended "$b")" ] ||
        fail "$route: the two ended on different matches: '$(ended "$a")', '$(ended "$b")'"
    kill "${PIDS[lobby]}"
    await_side lobby 5
}

make_network ""
play direct
remove_network
make_network fully-random
play relayed
echo "ok"

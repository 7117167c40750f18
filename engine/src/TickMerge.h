// Stable merge of lists by tick. The writers' save sequences are the stable
// sort by tick of several lists laid end to end; as each list is in tick
// order (or is given an order that puts it so), that sort is a k-way merge in
// which equal ticks go to the list with the lower number and, within one
// list, keep the list order. A small heap of (tick, list) keys does it in
// O(n log k).
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <vector>

namespace tonalux::detail {

// The most lists one merge takes: 16 channels, or the 7 meta and
// system-exclusive lists.
inline constexpr std::size_t kMaxMergedLists = 16;

// One list to merge: its length, and the order in which to take its records
// when the list itself is not in tick order (empty when it is).
struct MergeSource {
    std::size_t size = 0;
    std::vector<std::uint32_t> order;

    std::size_t At(std::size_t i) const { return order.empty() ? i : order[i]; }
};

// The order that sorts a list stably by tick, or nothing when it is sorted
// already. tickOf(i) gives the tick of record i.
template <typename TickOf>
std::vector<std::uint32_t> StableTickOrder(std::size_t size, TickOf tickOf) {
    std::vector<std::uint32_t> order;
    bool sorted = true;
    for (std::size_t i = 1; i < size && sorted; ++i) sorted = tickOf(i - 1) <= tickOf(i);
    if (sorted) return order;
    order.resize(size);
    std::iota(order.begin(), order.end(), std::uint32_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return tickOf(a) < tickOf(b); });
    return order;
}

// Calls emit(list, position) for every record of the lists in merged order,
// where position counts the records already taken from that list (the
// caller maps it to a record, through MergeSource::At where a list has an
// order). sizes[list] is the length of each of the lists, at most
// kMaxMergedLists; tickOf(list, position) gives a record's tick. pulse() is
// called after every 1024 records.
//
// A winner tree over the heads of the lists: each leaf holds the key of its
// list's next record, each inner node the smaller key of its two children,
// the root the next record to take. Taking a record replays the one path from
// its leaf to the root, a fixed number of branch-free minimum steps.
template <typename TickOf, typename Emit, typename Pulse>
void MergeByTick(const std::size_t* sizes, std::size_t lists, TickOf tickOf, Emit emit, Pulse pulse) {
    // Key: tick in the high bits, list number in the low five, so keys never
    // tie and a smaller key is exactly "earlier, or as early from a lower list".
    constexpr unsigned kListBits = 5;
    constexpr std::uint64_t kListMask = (1u << kListBits) - 1;
    constexpr std::uint64_t kExhausted = ~std::uint64_t{0};
    // Always a tree of kMaxMergedLists leaves, so that the path has a fixed
    // length; the leaves of missing lists stay exhausted.
    constexpr std::size_t kLeaves = kMaxMergedLists;
    constexpr std::size_t kDepth = std::bit_width(kLeaves) - 1;
    static_assert(kLeaves == std::size_t{1} << kDepth, "the tree needs a power of two of leaves");
    lists = std::min(lists, kMaxMergedLists);

    std::array<std::uint64_t, 2 * kLeaves> tree;
    tree.fill(kExhausted);
    std::array<std::size_t, kLeaves> next{};
    std::array<std::size_t, kLeaves> size{};
    std::copy(sizes, sizes + lists, size.begin());
    const auto keyOf = [&](std::size_t list) {
        if (next[list] >= size[list]) return kExhausted;
        return (static_cast<std::uint64_t>(tickOf(list, next[list])) << kListBits) | list;
    };
    for (std::size_t list = 0; list < lists; ++list) tree[kLeaves + list] = keyOf(list);
    for (std::size_t node = kLeaves - 1; node >= 1; --node) tree[node] = std::min(tree[2 * node], tree[2 * node + 1]);

    std::size_t untilPulse = 1024;
    for (std::uint64_t root = tree[1]; root != kExhausted; root = tree[1]) {
        const std::size_t list = static_cast<std::size_t>(root & kListMask);
        emit(list, next[list]);
        ++next[list];
        // The winner travels up in a register; only the siblings, which this
        // step does not change, are read from the tree.
        std::uint64_t winner = keyOf(list);
        std::size_t node = kLeaves + list;
        tree[node] = winner;
        for (std::size_t level = 0; level < kDepth; ++level, node /= 2) {
            winner = std::min(winner, tree[node ^ 1]);
            tree[node / 2] = winner;
        }
        if (--untilPulse == 0) {
            untilPulse = 1024;
            pulse();
        }
    }
}

}  // namespace tonalux::detail

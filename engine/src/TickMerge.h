// Stable merge of lists by tick. The writers' save sequences are the stable
// sort by tick of several lists laid end to end; as each list is in tick
// order (or is given an order that puts it so), that sort is a k-way merge in
// which equal ticks go to the list with the lower number and, within one
// list, keep the list order. A small heap of (tick, list) keys does it in
// O(n log k).
#pragma once

#include <algorithm>
#include <array>
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

// Calls emit(list, index) for every record of the sources in merged order.
// tickOf(list, index) gives a record's tick; index is the position in the
// list itself (already mapped through the source's order). pulse() is called
// after every 1024 records.
//
// A winner tree over the heads of the lists: each leaf holds the key of its
// list's next record, each inner node the smaller key of its two children,
// the root the next record to take. Taking a record replays the one path from
// its leaf to the root, a fixed number of branch-free minimum steps.
template <typename TickOf, typename Emit, typename Pulse>
void MergeByTick(const std::vector<MergeSource>& sources, TickOf tickOf, Emit emit, Pulse pulse) {
    // Key: tick in the high bits, list number in the low five, so keys never
    // tie and a smaller key is exactly "earlier, or as early from a lower list".
    constexpr unsigned kListBits = 5;
    constexpr std::uint64_t kListMask = (1u << kListBits) - 1;
    constexpr std::uint64_t kExhausted = ~std::uint64_t{0};
    const std::size_t lists = std::min(sources.size(), kMaxMergedLists);
    std::size_t leaves = 1;
    while (leaves < lists) leaves *= 2;

    std::array<std::uint64_t, 2 * kMaxMergedLists> tree;
    tree.fill(kExhausted);
    std::array<std::size_t, kMaxMergedLists> next{};
    const auto keyOf = [&](std::size_t list) {
        if (next[list] >= sources[list].size) return kExhausted;
        const std::size_t index = sources[list].At(next[list]);
        return (static_cast<std::uint64_t>(tickOf(list, index)) << kListBits) | list;
    };
    for (std::size_t list = 0; list < lists; ++list) tree[leaves + list] = keyOf(list);
    for (std::size_t node = leaves - 1; node >= 1; --node) tree[node] = std::min(tree[2 * node], tree[2 * node + 1]);

    std::size_t emitted = 0;
    for (std::uint64_t root = tree[1]; root != kExhausted; root = tree[1]) {
        const std::size_t list = static_cast<std::size_t>(root & kListMask);
        emit(list, sources[list].At(next[list]));
        ++next[list];
        // The winner travels up in a register; only the siblings, which this
        // step does not change, are read from the tree.
        std::size_t node = leaves + list;
        std::uint64_t winner = keyOf(list);
        tree[node] = winner;
        for (; node > 1; node /= 2) {
            winner = std::min(winner, tree[node ^ 1]);
            tree[node / 2] = winner;
        }
        if (++emitted % 1024 == 0) pulse();
    }
}

}  // namespace tonalux::detail

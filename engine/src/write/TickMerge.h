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
#include <utility>
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

// A winner tree over the heads of up to kMaxMergedLists lists, each taken
// from a begin to an end position: each leaf holds the key of its list's next
// record, each inner node the smaller key of its two children, the root the
// next record to take. Taking a record replays the one path from its leaf to
// the root, a fixed number of branch-free minimum steps.
template <typename TickOf>
class WinnerTree {
public:
    WinnerTree(const std::size_t* begin, const std::size_t* end, std::size_t lists, TickOf tickOf)
        : tickOf_(tickOf) {
        lists = std::min(lists, kMaxMergedLists);
        tree_.fill(kExhausted);
        next_.fill(0);
        end_.fill(0);
        std::copy(begin, begin + lists, next_.begin());
        std::copy(end, end + lists, end_.begin());
        for (std::size_t list = 0; list < lists; ++list) tree_[kLeaves + list] = KeyOf(list);
        for (std::size_t node = kLeaves - 1; node >= 1; --node) {
            tree_[node] = std::min(tree_[2 * node], tree_[2 * node + 1]);
        }
        root_ = tree_[1];
    }

    bool Done() const { return root_ == kExhausted; }

    // Takes the next record: its list and position. Returns false, taking
    // nothing more, when the list's following record has an earlier tick.
    bool Take(std::size_t& list, std::size_t& position) {
        list = static_cast<std::size_t>(root_ & kListMask);
        position = next_[list]++;
        std::uint64_t winner = KeyOf(list);
        // The list's next key carries its number too, so it is smaller than
        // the one just taken exactly when its tick is earlier.
        if (winner < root_) {
            root_ = kExhausted;
            return false;
        }
        // The winner travels up in a register and ends as the new root; only
        // the siblings, which this step does not change, are read.
        std::size_t node = kLeaves + list;
        tree_[node] = winner;
        for (std::size_t level = 0; level < kDepth; ++level, node /= 2) {
            winner = std::min(winner, tree_[node ^ 1]);
            tree_[node / 2] = winner;
        }
        root_ = winner;
        return true;
    }

private:
    // Key: tick in the high bits, list number in the low five, so keys never
    // tie and a smaller key is exactly "earlier, or as early from a lower list".
    static constexpr unsigned kListBits = 5;
    static constexpr std::uint64_t kListMask = (1u << kListBits) - 1;
    static constexpr std::uint64_t kExhausted = ~std::uint64_t{0};
    // Always kMaxMergedLists leaves, so that the path has a fixed length; the
    // leaves of missing lists stay exhausted.
    static constexpr std::size_t kLeaves = kMaxMergedLists;
    static constexpr std::size_t kDepth = std::bit_width(kLeaves) - 1;
    static_assert(kLeaves == std::size_t{1} << kDepth, "the tree needs a power of two of leaves");

    std::uint64_t KeyOf(std::size_t list) const {
        if (next_[list] >= end_[list]) return kExhausted;
        return (static_cast<std::uint64_t>(tickOf_(list, next_[list])) << kListBits) | list;
    }

    TickOf tickOf_;
    std::array<std::uint64_t, 2 * kLeaves> tree_;
    std::array<std::size_t, kLeaves> next_;
    std::array<std::size_t, kLeaves> end_;
    std::uint64_t root_ = kExhausted;
};

// Asks the processor to fetch the record some way ahead of `position` in a
// list while the merge works on the ones before it. The merge reads sixteen
// lists side by side, more streams than the processor follows by itself, and
// each step waits for the tick it reads.
template <typename Record>
inline void PrefetchAhead(const Record* list, std::size_t position, std::size_t size) {
    constexpr std::size_t kAhead = 32;
#if defined(__GNUC__) || defined(__clang__)
    if (position + kAhead < size) __builtin_prefetch(list + position + kAhead);
#else
    (void)list, (void)position, (void)size;
#endif
}

// The number of parts a merge is cut into; see MergeByTick.
inline constexpr std::size_t kMergeParts = 2;

// Where a merge is cut into parts: for each cut (the start and the end of
// the records included), the position in every list and the rank the part
// starts at.
struct MergeCuts {
    std::array<std::array<std::size_t, kMaxMergedLists>, kMergeParts + 1> cuts{};
    std::array<std::size_t, kMergeParts + 1> ranks{};
};

// The cuts: in every list, the first record of the cut tick or later, with
// the tick searched so that the wanted share of the records comes before it.
// The search puts each cut between a record before the cut tick and one at it
// or later, so a list out of order is never cut where its order breaks; the
// trees see every break within their parts.
template <typename TickOf>
MergeCuts CutForMerge(const std::size_t* sizes, std::size_t lists, std::size_t total, TickOf tickOf) {
    using Cut = std::array<std::size_t, kMaxMergedLists>;
    MergeCuts result;
    const auto cutAt = [&](std::uint64_t tick, Cut& cut) {
        std::size_t before = 0;
        for (std::size_t list = 0; list < lists; ++list) {
            std::size_t low = 0;
            std::size_t high = sizes[list];
            while (low < high) {
                const std::size_t middle = low + (high - low) / 2;
                if (tickOf(list, middle) < tick) {
                    low = middle + 1;
                } else {
                    high = middle;
                }
            }
            cut[list] = low;
            before += low;
        }
        return before;
    };
    std::copy(sizes, sizes + lists, result.cuts[kMergeParts].begin());
    result.ranks[kMergeParts] = total;
    for (std::size_t part = 1; part < kMergeParts; ++part) {
        std::uint64_t low = 0;
        std::uint64_t high = std::uint64_t{1} << 32;
        while (low < high) {
            const std::uint64_t middle = low + (high - low) / 2;
            if (cutAt(middle, result.cuts[part]) < total * part / kMergeParts) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        result.ranks[part] = cutAt(low, result.cuts[part]);
    }
    return result;
}

// Calls emit(list, position, rank) for every record of the lists, where
// position counts the records before it in its list (the caller maps it to a
// record, through MergeSource::At where a list has an order) and rank is its
// place in the merged order. sizes[list] is the length of each of the lists,
// at most kMaxMergedLists; tickOf(list, position) gives a record's tick.
// pulse() is called after every 1024 records or so. Returns false, having
// stopped, when a list turns out not to be in tick order; what was emitted is
// then of no use.
//
// Each step of a winner tree waits for the one before, so one tree leaves
// the processor idle most of the time. The records are cut at ticks into
// parts of about equal size, each merged by a tree of its own, and the trees
// take their steps side by side.
template <typename TickOf, typename Emit, typename Pulse>
bool MergeByTick(const std::size_t* sizes, std::size_t lists, TickOf tickOf, Emit emit, Pulse pulse) {
    lists = std::min(lists, kMaxMergedLists);
    std::size_t total = 0;
    for (std::size_t list = 0; list < lists; ++list) total += sizes[list];

    const MergeCuts cuts = CutForMerge(sizes, lists, total, tickOf);
    std::array<std::size_t, kMergeParts + 1> ranks = cuts.ranks;

    std::array<WinnerTree<TickOf>, kMergeParts> trees = [&]<std::size_t... part>(std::index_sequence<part...>) {
        return std::array<WinnerTree<TickOf>, kMergeParts>{
            WinnerTree<TickOf>(cuts.cuts[part].data(), cuts.cuts[part + 1].data(), lists, tickOf)...};
    }(std::make_index_sequence<kMergeParts>{});
    std::size_t list = 0;
    std::size_t position = 0;
    std::size_t untilPulse = 1024 / kMergeParts;
    const auto allTaking = [&] {
        for (const auto& tree : trees)
            if (tree.Done()) return false;
        return true;
    };
    while (allTaking()) {
        for (std::size_t part = 0; part < kMergeParts; ++part) {
            if (!trees[part].Take(list, position)) return false;
            emit(list, position, ranks[part]++);
        }
        if (--untilPulse == 0) {
            untilPulse = 1024 / kMergeParts;
            pulse();
        }
    }
    for (std::size_t part = 0; part < kMergeParts; ++part) {
        untilPulse = 1024;
        while (!trees[part].Done()) {
            if (!trees[part].Take(list, position)) return false;
            emit(list, position, ranks[part]++);
            if (--untilPulse == 0) {
                untilPulse = 1024;
                pulse();
            }
        }
    }
    return true;
}

}  // namespace tonalux::detail

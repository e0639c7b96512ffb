// Augmentation towards a biconnected network: a depth-first search finds the
// blocks and the articulation points, then one new channel joins each block
// to the next in a chain that runs through hosts that are not articulation
// points.
#include "host_sets.h"
#include "netobj.h"

namespace net {
namespace {

struct StackEntry {
    int32_t from = 0;
    int32_t to = 0;
};

// Working data of one call of MakeBiconnected.
class BlockFinder {
public:
    explicit BlockFinder(const TNetObj& net) : net_(net), adjacency_(Adjacency(net)) {}

    // Searches every connected group from its lowest-numbered host.
    void Run() {
        for (int32_t v = 1; v <= MaxHosts; ++v) {
            if (!net_.HostPresent[v] || discovery_[v] != 0)
                continue;
            rootBlocks_ = 0;
            firstRootBlock_ = 0;
            BlockSearch(v, 0);
        }
    }

    int32_t BlockCount() const { return blockCount_; }

    // The lowest-numbered host of a block that is not an articulation
    // point; 0 when there is none.
    int32_t ChosenHost(int32_t block) const {
        const HostSet candidates = blocks_[block] & ~articulation_;
        for (int32_t h = 1; h <= MaxHosts; ++h) {
            if ((candidates & Bit(h)) != 0)
                return h;
        }
        return 0;
    }

private:
    void BlockSearch(int32_t v, int32_t parent) {
        ++counter_;
        discovery_[v] = counter_;
        low_[v] = counter_;
        for (int32_t w = 1; w <= MaxHosts; ++w) {
            if (!net_.HostPresent[w] || !adjacency_[v][w])
                continue;
            if (discovery_[w] == 0) {
                Push(v, w);
                treePosition_[v] = height_;
                BlockSearch(w, v);
                if (low_[w] < low_[v])
                    low_[v] = low_[w];
                if (low_[w] >= discovery_[v])
                    CloseBlock(v);
            } else if (w != parent && discovery_[w] < discovery_[v]) {
                Push(v, w);
                if (discovery_[w] < low_[v])
                    low_[v] = discovery_[w];
            }
        }
    }

    void Push(int32_t from, int32_t to) {
        ++height_;
        stack_[height_] = {from, to};
    }

    // Hosts of the given stack entries, leaving out every entry whose two
    // hosts are both articulation points.
    HostSet BlockHosts(const StackEntry* entries, int32_t count) const {
        HostSet hosts = 0;
        for (int32_t k = 0; k < count; ++k) {
            const HostSet ends = Bit(entries[k].from) | Bit(entries[k].to);
            if ((ends & articulation_) != ends)
                hosts |= ends;
        }
        return hosts;
    }

    void CloseBlock(int32_t v) {
        const int32_t first = treePosition_[v];
        const bool isRoot = first <= 1;
        ++blockCount_;
        if (!isRoot) {
            articulation_ |= Bit(v);
        } else if (++rootBlocks_ >= 2) {
            // A search root at which a second block closes separates the
            // network as much as any other articulation point. Counting it
            // keeps every new channel off the root, so the parts hanging from
            // it are joined to each other and never to the root itself.
            articulation_ |= Bit(v);
        }
        const int32_t count = height_ - first + 1;
        blocks_[blockCount_] = BlockHosts(&stack_[first], count);
        if (isRoot && rootBlocks_ == 1 && blocks_[blockCount_] != 0) {
            // The root may yet turn out to be an articulation point; keep
            // this block's channels to look at them again if it does.
            firstRootBlock_ = blockCount_;
            firstRootCount_ = count;
            for (int32_t k = 0; k < count; ++k) {
                firstRootEntries_[k] = stack_[first + k];
            }
        }
        height_ = first - 1;
        if (blocks_[blockCount_] == 0)
            --blockCount_;
        if (isRoot && rootBlocks_ == 2 && firstRootBlock_ != 0)
            RecountFirstRootBlock();
    }

    // The first block that closed at the root was recorded while the root
    // was not yet an articulation point: record it again as it is now.
    void RecountFirstRootBlock() {
        const HostSet hosts = BlockHosts(firstRootEntries_.data(), firstRootCount_);
        if (hosts != 0) {
            blocks_[firstRootBlock_] = hosts;
            return;
        }
        for (int32_t k = firstRootBlock_; k < blockCount_; ++k) {
            blocks_[k] = blocks_[k + 1];
        }
        blocks_[blockCount_] = 0;
        --blockCount_;
    }

    const TNetObj& net_;
    const HostMatrix<bool> adjacency_;
    std::array<int32_t, MaxHosts + 1> discovery_{};
    std::array<int32_t, MaxHosts + 1> low_{};
    int32_t counter_ = 0;
    std::array<StackEntry, MaxChannels + 1> stack_{};
    int32_t height_ = 0;
    std::array<int32_t, MaxHosts + 1> treePosition_{};
    int32_t blockCount_ = 0;
    std::array<HostSet, MaxHosts + 1> blocks_{};
    HostSet articulation_ = 0;
    // The blocks closed so far at the root of the current search tree.
    int32_t rootBlocks_ = 0;
    int32_t firstRootBlock_ = 0;
    int32_t firstRootCount_ = 0;
    std::array<StackEntry, MaxChannels> firstRootEntries_{};
};

}  // namespace

void TNetObj::MakeBiconnected(int32_t type) {
    BlockFinder finder(*this);
    finder.Run();
    {
        DynamicSuspension suspended(*this);
        for (int32_t k = 1; k < finder.BlockCount(); ++k) {
            const int32_t a = finder.ChosenHost(k);
            const int32_t b = finder.ChosenHost(k + 1);
            // Every counted block offers such a host; the test only keeps a
            // link without an end out of the table.
            if (a != 0 && b != 0)
                AddChannel(a, b, type);
        }
    }
    RecomputeIfDynamic();
}

}  // namespace net

#include "undo_history.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

namespace net {
namespace {

bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

bool SameBits(const HostMatrix<double>& a, const HostMatrix<double>& b) {
    for (size_t i = 0; i < a.size(); ++i) {
        if (!std::equal(a[i].begin(), a[i].end(), b[i].begin(),
                        [](double x, double y) { return SameBits(x, y); }))
            return false;
    }
    return true;
}

bool SameChannels(const TNetObj& a, const TNetObj& b) {
    return std::equal(a.Channels.begin(), a.Channels.end(), b.Channels.begin(),
                      [](const ChannelRecord& x, const ChannelRecord& y) {
                          return x.HostA == y.HostA && x.HostB == y.HostB && x.TypeNo == y.TypeNo &&
                                 x.Reserved == y.Reserved && SameBits(x.Length, y.Length);
                      });
}

}  // namespace

bool SameNetwork(const TNetObj& a, const TNetObj& b) {
    return a.NetworkName == b.NetworkName && a.Hosts == b.Hosts && a.HostCount == b.HostCount &&
           SameChannels(a, b) && a.ChannelCount == b.ChannelCount &&
           a.HostPresent == b.HostPresent && a.ChannelPresent == b.ChannelPresent &&
           a.HostTypes == b.HostTypes && a.HostTypeCount == b.HostTypeCount &&
           a.ChannelTypes == b.ChannelTypes && a.ChannelTypeCount == b.ChannelTypeCount &&
           SameBits(a.DelayMatrix, b.DelayMatrix) && SameBits(a.GeneralReal, b.GeneralReal) &&
           a.LoadMatrix == b.LoadMatrix && a.PathTable == b.PathTable &&
           a.ResidualMatrix == b.ResidualMatrix && a.DynamicRouting == b.DynamicRouting &&
           a.Unrouted == b.Unrouted;
}

bool SameProject(const TNetObj& a, const TNetObj& b) {
    return a.Hosts == b.Hosts && SameChannels(a, b) && a.HostPresent == b.HostPresent &&
           a.ChannelPresent == b.ChannelPresent && a.LoadMatrix == b.LoadMatrix &&
           SameBits(a.GeneralReal, b.GeneralReal);
}

UndoHistory::UndoHistory(size_t depth) : depth_(std::max<size_t>(depth, 1)) {}

void UndoHistory::Record(const TNetObj& before) {
    redo_.clear();
    if (undo_.size() == depth_)
        undo_.pop_front();
    undo_.push_back(before);
}

void UndoHistory::Undo(TNetObj& net) {
    if (undo_.empty())
        return;
    redo_.push_back(std::move(net));
    net = std::move(undo_.back());
    undo_.pop_back();
}

void UndoHistory::Redo(TNetObj& net) {
    if (redo_.empty())
        return;
    undo_.push_back(std::move(net));
    net = std::move(redo_.back());
    redo_.pop_back();
}

}  // namespace net

// The undo and redo history of the network: whole copies of the network taken
// before each change. The object is small (tens of kilobytes), so a bounded
// list of copies restores every field exactly, routing results included,
// without any operation having to know how to reverse itself.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

#include "netobj.h"

namespace net {

// True when the two networks hold the same hosts, channels, type tables,
// loads, routing results, name and dynamic flag. Numbers are compared bit for
// bit; the work areas of the spanning tree, meaningless between calls, are
// left out.
bool SameNetwork(const TNetObj& a, const TNetObj& b);

// True when the two networks would be saved as the same project files: hosts,
// channels, loads, the real number and the presence flags (also what free
// slots still hold); names, types and routing results do not count.
bool SameProject(const TNetObj& a, const TNetObj& b);

class UndoHistory {
public:
    static constexpr size_t DefaultDepth = 100;

    // Keeps at most `depth` undo steps (at least one); the oldest go first.
    explicit UndoHistory(size_t depth = DefaultDepth);

    // Records `before`, the network as it was before a change that has just
    // been made. The redo steps are dropped: they followed another past.
    void Record(const TNetObj& before);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    size_t UndoCount() const { return undo_.size(); }
    size_t RedoCount() const { return redo_.size(); }

    // Puts back the network as it was before the last change, keeping the
    // present one for Redo. Nothing happens when there is nothing to undo.
    void Undo(TNetObj& net);
    // Puts back the network as it was before the last Undo. Nothing happens
    // when there is nothing to redo.
    void Redo(TNetObj& net);

private:
    size_t depth_;
    std::deque<TNetObj> undo_;   // oldest first
    std::vector<TNetObj> redo_;  // the next redo last
};

}  // namespace net

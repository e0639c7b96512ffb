// Replacing several files together: afterwards either all of them hold their
// new contents or all of them are as they were.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace net {

struct FileReplacement {
    std::string path;   // a symbolic link here is followed: its target is replaced
    std::string bytes;  // the new content
};

// Checks that every existing file can be replaced, writes each new content
// into a temporary file beside its file, keeps the old files under other
// names, renames the temporaries over the files and only then drops the kept
// files. A failing step puts every old file back and removes every temporary
// and kept file before the error is raised. A replaced file keeps its mode
// and, where the process may set it, its owner.
//
// Only a process killed between the first rename and the end can leave the
// set mixed; the hidden ".NAME.old-*" files it leaves then show it (see
// FindInterruptedCommit). The caller serialises commits into one directory.
void ReplaceFilesTogether(std::vector<FileReplacement> files);

// Removes the temporary and kept files an interrupted commit left for the
// files `names` of the directory, and the temporaries "NAME.tmp" of earlier
// versions. Directories under those names are left alone; they never block
// a commit, whose names are unique.
void RemoveLeftovers(const std::string& directory, const std::vector<std::string>& names);

// The name of a kept old file of one of `names` in the directory, left by a
// commit that was killed before its end, if there is one.
std::optional<std::string> FindInterruptedCommit(const std::string& directory,
                                                 const std::vector<std::string>& names);

}  // namespace net

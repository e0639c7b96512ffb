// The script runner: one command per line over one network.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "netobj.h"

namespace cli {

// The words of one script line, taken from the left.
class ScriptLine {
public:
    ScriptLine(std::string command, std::string text);
    const std::string& Command() const { return command_; }
    // The next word; an error when there is none.
    std::string Word();
    // The next word read as an integer with the conversion of the windows.
    int32_t Int();
    // Everything after the one blank that follows the last word taken.
    std::string Rest();
    // An error when words are left over.
    void End() const;
    // True when no words are left.
    bool AtEnd() const;

private:
    std::string command_;
    std::string text_;
    size_t pos_ = 0;
};

struct Session {
    net::TNetObj net;
    std::ostream& out;
};

struct CommandEntry {
    const char* name;
    const char* usage;
    const char* meaning;  // one line for the help
    void (*run)(Session&, ScriptLine&);
};

// Every command of the runner, in the order the help lists them.
const std::vector<CommandEntry>& CommandTable();

// Runs a whole script; returns 0 when every command succeeded, 1 otherwise.
int RunScript(std::istream& script, std::ostream& out, std::ostream& err);

}  // namespace cli

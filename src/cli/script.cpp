#include "script.h"

#include <istream>
#include <ostream>

#include "errors.h"
#include "numconv.h"

namespace cli {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

ScriptLine::ScriptLine(std::string command, std::string text)
    : command_(std::move(command)), text_(std::move(text)) {}

std::string ScriptLine::Word() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) {
        ++pos_;
    }
    if (pos_ >= text_.size()) {
        throw net::NetError("команде «" + command_ + "» не хватает аргументов");
    }
    const size_t start = pos_;
    while (pos_ < text_.size() && !IsBlank(text_[pos_])) {
        ++pos_;
    }
    return text_.substr(start, pos_ - start);
}

int32_t ScriptLine::Int() {
    return net::StrToInt(Word());
}

std::string ScriptLine::Rest() {
    if (pos_ < text_.size())
        ++pos_;  // the one blank after the last word
    std::string rest = text_.substr(pos_);
    pos_ = text_.size();
    return rest;
}

bool ScriptLine::AtEnd() const {
    size_t pos = pos_;
    while (pos < text_.size() && IsBlank(text_[pos])) {
        ++pos;
    }
    return pos == text_.size();
}

void ScriptLine::End() const {
    if (AtEnd())
        return;
    const size_t pos = text_.find_first_not_of(" \t", pos_);
    throw net::NetError("лишние слова после команды «" + command_ + "»: " + text_.substr(pos));
}

int RunScript(std::istream& script, std::ostream& out, std::ostream& err) {
    Session session{net::TNetObj{}, out};
    int status = 0;
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t start = 0;
        while (start < line.size() && IsBlank(line[start])) {
            ++start;
        }
        if (start == line.size() || line[start] == '#')
            continue;
        size_t end = start;
        while (end < line.size() && !IsBlank(line[end])) {
            ++end;
        }
        const std::string name = line.substr(start, end - start);
        try {
            const CommandEntry* entry = nullptr;
            for (const CommandEntry& candidate : CommandTable()) {
                if (name == candidate.name)
                    entry = &candidate;
            }
            if (entry == nullptr)
                throw net::NetError("неизвестная команда «" + name + "»");
            ScriptLine args(name, line.substr(end));
            entry->run(session, args);
        } catch (const std::exception& e) {
            out.flush();
            err << "netdesigner-cli: line " << number << ": " << e.what() << "\n";
            status = 1;
        }
    }
    out.flush();
    return status;
}

}  // namespace cli

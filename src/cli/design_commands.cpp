#include "design_commands.h"

#include <optional>
#include <ostream>
#include <set>

#include "errors.h"
#include "format_input.h"
#include "network_cost.h"
#include "network_design.h"
#include "numconv.h"

namespace cli {
namespace {

struct DesignWords {
    bool Survive = false;
    bool Keep = false;
    bool Apply = false;
    double Umax = design::NetworkDesign::DefaultUtilisation;
    double Seconds = design::NetworkDesign::DefaultSeconds;
};

double RealWord(ScriptLine& line, const std::string& name) {
    if (line.AtEnd())
        throw net::NetError("после «" + name + "» в команде «design» нужно число");
    const std::string text = line.Word();
    const std::optional<double> value = formats::ParseReal(text);
    if (!value)
        throw net::ConvertError("'" + text + "' — не число: «" + name +
                                "» пишется как 0.8, 30 или 1e1");
    return *value;
}

DesignWords ReadWords(ScriptLine& line) {
    DesignWords words;
    std::set<std::string> seen;
    while (!line.AtEnd()) {
        const std::string word = line.Word();
        if (!seen.insert(word).second)
            throw net::NetError("слово «" + word + "» повторено в команде «design»");
        if (word == "survive")
            words.Survive = true;
        else if (word == "keep")
            words.Keep = true;
        else if (word == "apply")
            words.Apply = true;
        else if (word == "umax")
            words.Umax = RealWord(line, word);
        else if (word == "seconds")
            words.Seconds = RealWord(line, word);
        else
            throw net::NetError(
                "команда «design» понимает слова survive, keep, umax, seconds и "
                "apply, а не «" +
                word + "»");
    }
    return words;
}

void PrintDesign(Session& s, const std::string& prefix, const std::string& status,
                 const std::optional<design::Design>& found, const std::string& bound) {
    s.out << prefix << " " << status << " " << (found ? net::FormatFixed3(found->Cost) : "-") << " "
          << bound << "\n";
    if (!found)
        return;
    for (const design::DesignChannel& channel : found->Channels)
        s.out << prefix << " channel " << channel.HostA << " " << channel.HostB << " "
              << channel.Type << "\n";
    const design::MethodCheck& method = found->Method;
    s.out << prefix << " method " << method.Placed << " " << method.Unplaced << " "
          << method.UnplacedLoad << " "
          << (method.FailuresLeavingLoad < 0 ? "-" : std::to_string(method.FailuresLeavingLoad))
          << "\n";
}

const char* StatusWord(design::DesignStatus status) {
    switch (status) {
        case design::DesignStatus::Optimal:
            return "optimal";
        case design::DesignStatus::Stopped:
            return "stopped";
        case design::DesignStatus::Infeasible:
            break;
    }
    return "infeasible";
}

}  // namespace

void DesignCommand(Session& s, ScriptLine& line) {
    const DesignWords words = ReadWords(line);
    design::NetworkDesign advisor(s.net);
    advisor.keepPresent(words.Keep)
        .survive(words.Survive)
        .maxUtilisation(words.Umax)
        .timeLimit(words.Seconds);
    advisor.run();
    const design::DesignResult& result = advisor.result();
    const bool known = result.Status != design::DesignStatus::Infeasible && result.Proposed;
    PrintDesign(s, "design", StatusWord(result.Status), result.Proposed,
                known ? net::FormatFixed3(result.Bound) : "-");
    if (result.MethodCarriedNeeded)
        PrintDesign(s, "design method-carried", "stopped", result.MethodCarried, "-");
    if (!words.Apply || !result.Proposed)
        return;
    // The design the method's routing carries completely, when there is one.
    const design::Design& chosen = result.MethodCarriedNeeded && result.MethodCarried
                                       ? *result.MethodCarried
                                       : *result.Proposed;
    design::ApplyDesign(s.net, chosen);
}

void CostCommand(Session& s, ScriptLine& line) {
    line.End();
    const net::NetworkCostT cost = net::NetworkCost(s.net);
    if (cost.ChannelsWithoutType > 0)
        throw net::NetError(
            "Стоимость сети неизвестна: число каналов с типом, которого нет в таблице типов "
            "каналов: " +
            std::to_string(cost.ChannelsWithoutType));
    s.out << "cost " << net::FormatFixed3(cost.Cost) << "\n";
}

}  // namespace cli

// A mixed-integer linear program and the one place that solves it. The rest
// of the advisor builds programs in these terms and never sees the solver.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace design {

class MipModel {
public:
    // Returns the new column's index.
    int32_t addColumn(double lower, double upper, double cost, bool integer);
    void addRow(const std::vector<int32_t>& columns, const std::vector<double>& values,
                double lower, double upper);

    int32_t columnCount() const { return static_cast<int32_t>(cost_.size()); }
    int32_t rowCount() const { return static_cast<int32_t>(rowLower_.size()); }

    // Read by the solver.
    const std::vector<double>& columnLower() const { return columnLower_; }
    const std::vector<double>& columnUpper() const { return columnUpper_; }
    const std::vector<double>& cost() const { return cost_; }
    const std::vector<bool>& integer() const { return integer_; }
    const std::vector<double>& rowLower() const { return rowLower_; }
    const std::vector<double>& rowUpper() const { return rowUpper_; }
    // Row-wise entries: row r holds entries [rowStart[r], rowStart[r+1]).
    const std::vector<int64_t>& rowStart() const { return rowStart_; }
    const std::vector<int32_t>& entryColumn() const { return entryColumn_; }
    const std::vector<double>& entryValue() const { return entryValue_; }

private:
    std::vector<double> columnLower_, columnUpper_, cost_;
    std::vector<bool> integer_;
    std::vector<double> rowLower_, rowUpper_;
    std::vector<int64_t> rowStart_{0};
    std::vector<int32_t> entryColumn_;
    std::vector<double> entryValue_;
};

enum class MipStatus { Optimal, Stopped, Infeasible };

struct MipRunProgress {
    double Best = 0.0;   // +infinity while no solution is known
    double Bound = 0.0;  // lower bound on the optimum
};

struct MipSettings {
    double Seconds = 30.0;
    // The values of the integer columns of a known solution (others are
    // ignored); empty for none.
    std::vector<double> Start;
    // Called now and then while the search runs; false stops it.
    std::function<bool(const MipRunProgress&)> Progress;
};

struct MipOutcome {
    MipStatus Status = MipStatus::Infeasible;
    std::vector<double> Solution;  // empty when no solution is known
    double Objective = 0.0;
    double Bound = 0.0;    // valid lower bound (minimisation)
    bool Stopped = false;  // by Progress returning false
};

// Minimises. Single-threaded; keeps to the time limit.
MipOutcome SolveMip(const MipModel& model, const MipSettings& settings);

// The program with its integer columns taken as continuous, kept between
// solves so that rows added to the model re-solve from the last basis.
class LinearRelaxation {
public:
    explicit LinearRelaxation(const MipModel& model);
    ~LinearRelaxation();
    LinearRelaxation(const LinearRelaxation&) = delete;
    LinearRelaxation& operator=(const LinearRelaxation&) = delete;

    // Joins the rows the model gained since the last call (or since it was
    // made), then solves. False when the program is not solved to
    // optimality, `keepGoing` (asked now and then) having stopped it
    // included.
    bool solve(const std::function<bool()>& keepGoing);
    // New costs for every column, or new bounds for one of the model's
    // rows, in this program only; the next solve() goes on from the last
    // values.
    void setCosts(const std::vector<double>& costs);
    void setRowBounds(int32_t row, double lower, double upper);
    // After a solve that returned true.
    double objective() const;
    std::vector<double> solution() const;

private:
    struct Program;
    const MipModel& model_;
    int32_t rowsJoined_ = 0;
    std::unique_ptr<Program> program_;
};

}  // namespace design

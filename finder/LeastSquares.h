// Weighted linear least squares through the normal equations, for the finder's small fits
// (a few dozen unknowns, a few hundred observations, each touching a handful of unknowns).
#pragma once

#include <utility>
#include <vector>

namespace vorn::finder {

class LeastSquares {
public:
    explicit LeastSquares(int unknowns);

    // One observation: sum of coefficient x unknown = value, with weight w (1 / variance).
    void add(const std::vector<std::pair<int, double>> &terms, double value, double w = 1);

    // Solves; false when the system has no unique solution.
    bool solve();
    const std::vector<double> &solution() const { return x_; }
    // The weighted sum of squared residuals over the observations added.
    double residual() const;
    int observations() const { return static_cast<int>(rows_.size()); }
    // Each observation's misfit times the square root of its weight, in the order added.
    std::vector<double> weightedResiduals() const;
    // The diagonal entry of the inverse normal matrix for one unknown (its variance per
    // unit residual variance); valid after solve().
    double inverseDiagonal(int unknown) const;

private:
    struct Row {
        std::vector<std::pair<int, double>> terms;
        double value, w;
    };
    void backSolve(std::vector<double> &b) const;

    int m_;
    std::vector<double> a_;   // normal matrix, then its Cholesky factor (lower), row-major
    std::vector<double> b_;
    std::vector<double> x_;
    std::vector<double> scale_;   // of each unknown in the factor
    std::vector<Row> rows_;
};

}  // namespace vorn::finder

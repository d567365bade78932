// The normal equations and their Cholesky factor.
#include "LeastSquares.h"

#include <cmath>

namespace vorn::finder {

LeastSquares::LeastSquares(int unknowns)
    : m_(unknowns), a_(static_cast<std::size_t>(unknowns * unknowns), 0.0), b_(static_cast<std::size_t>(unknowns), 0.0)
{
}

void LeastSquares::add(const std::vector<std::pair<int, double>> &terms, double value, double w)
{
    for (const auto &[i, ci] : terms) {
        b_[static_cast<std::size_t>(i)] += w * ci * value;
        for (const auto &[j, cj] : terms)
            a_[static_cast<std::size_t>(i * m_ + j)] += w * ci * cj;
    }
    rows_.push_back({terms, value, w});
}

bool LeastSquares::solve()
{
    // A relative ridge far below any real curvature keeps an unknown that no observation
    // touched from breaking the factor; it stays at zero.
    double largest = 0;
    for (int i = 0; i < m_; ++i)
        largest = std::max(largest, a_[static_cast<std::size_t>(i * m_ + i)]);
    for (int i = 0; i < m_; ++i)
        a_[static_cast<std::size_t>(i * m_ + i)] += 1e-12 * largest + 1e-300;
    for (int j = 0; j < m_; ++j) {
        double d = a_[static_cast<std::size_t>(j * m_ + j)];
        for (int k = 0; k < j; ++k)
            d -= a_[static_cast<std::size_t>(j * m_ + k)] * a_[static_cast<std::size_t>(j * m_ + k)];
        if (!(d > 0))
            return false;
        const double l = std::sqrt(d);
        a_[static_cast<std::size_t>(j * m_ + j)] = l;
        for (int i = j + 1; i < m_; ++i) {
            double s = a_[static_cast<std::size_t>(i * m_ + j)];
            for (int k = 0; k < j; ++k)
                s -= a_[static_cast<std::size_t>(i * m_ + k)] * a_[static_cast<std::size_t>(j * m_ + k)];
            a_[static_cast<std::size_t>(i * m_ + j)] = s / l;
        }
    }
    x_ = b_;
    backSolve(x_);
    return true;
}

void LeastSquares::backSolve(std::vector<double> &b) const
{
    for (int i = 0; i < m_; ++i) {
        double s = b[static_cast<std::size_t>(i)];
        for (int k = 0; k < i; ++k)
            s -= a_[static_cast<std::size_t>(i * m_ + k)] * b[static_cast<std::size_t>(k)];
        b[static_cast<std::size_t>(i)] = s / a_[static_cast<std::size_t>(i * m_ + i)];
    }
    for (int i = m_ - 1; i >= 0; --i) {
        double s = b[static_cast<std::size_t>(i)];
        for (int k = i + 1; k < m_; ++k)
            s -= a_[static_cast<std::size_t>(k * m_ + i)] * b[static_cast<std::size_t>(k)];
        b[static_cast<std::size_t>(i)] = s / a_[static_cast<std::size_t>(i * m_ + i)];
    }
}

double LeastSquares::residual() const
{
    double sum = 0;
    for (const Row &r : rows_) {
        double fit = 0;
        for (const auto &[i, c] : r.terms)
            fit += c * x_[static_cast<std::size_t>(i)];
        sum += r.w * (r.value - fit) * (r.value - fit);
    }
    return sum;
}

double LeastSquares::inverseDiagonal(int unknown) const
{
    std::vector<double> e(static_cast<std::size_t>(m_), 0.0);
    e[static_cast<std::size_t>(unknown)] = 1;
    backSolve(e);
    return e[static_cast<std::size_t>(unknown)];
}

}  // namespace vorn::finder

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
    // The unknowns are scaled so that the normal matrix has a unit diagonal: their natural
    // units differ by many orders (a pull's start in seconds, a shape coefficient per rpm),
    // and unscaled the factor would lose the digits the answer needs. A relative ridge far
    // below any real curvature keeps an unknown that no observation touched from breaking
    // the factor; it stays at zero.
    scale_.assign(static_cast<std::size_t>(m_), 1.0);
    for (int i = 0; i < m_; ++i) {
        const double d = a_[static_cast<std::size_t>(i * m_ + i)];
        scale_[static_cast<std::size_t>(i)] = d > 0 ? 1 / std::sqrt(d) : 1;
    }
    for (int i = 0; i < m_; ++i) {
        for (int j = 0; j < m_; ++j)
            a_[static_cast<std::size_t>(i * m_ + j)] *= scale_[static_cast<std::size_t>(i)] * scale_[static_cast<std::size_t>(j)];
        a_[static_cast<std::size_t>(i * m_ + i)] += 1e-12;
    }
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
    x_.resize(b_.size());
    for (std::size_t i = 0; i < b_.size(); ++i)
        x_[i] = b_[i] * scale_[i];
    backSolve(x_);
    for (std::size_t i = 0; i < x_.size(); ++i)
        x_[i] *= scale_[i];
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

std::vector<double> LeastSquares::weightedResiduals() const
{
    std::vector<double> out;
    out.reserve(rows_.size());
    for (const Row &r : rows_) {
        double fit = 0;
        for (const auto &[i, c] : r.terms)
            fit += c * x_[static_cast<std::size_t>(i)];
        out.push_back(std::sqrt(r.w) * (r.value - fit));
    }
    return out;
}

double LeastSquares::residual() const
{
    double sum = 0;
    for (double e : weightedResiduals())
        sum += e * e;
    return sum;
}

double LeastSquares::inverseDiagonal(int unknown) const
{
    std::vector<double> e(static_cast<std::size_t>(m_), 0.0);
    e[static_cast<std::size_t>(unknown)] = 1;
    backSolve(e);
    const double s = scale_[static_cast<std::size_t>(unknown)];
    return e[static_cast<std::size_t>(unknown)] * s * s;
}

}  // namespace vorn::finder

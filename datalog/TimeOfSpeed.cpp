// The smooth fit of time over speed: B-spline basis, Cholesky solve and the choice of the
// penalty weight.
#include "datalog/TimeOfSpeed.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorn::detail {

namespace {

constexpr double kKnotRpm = 500;
constexpr int kPenaltyOrder = 3;
// The penalty weight is at least this times the variance (rpm²) the fit leaves in the
// speeds: with the ±10 rpm of a real reading that is about 10, which is where two pulls on
// one curve agree best; an exact reading leaves next to nothing and is followed closely.
constexpr double kNoiseFloor = 0.3;
constexpr int kPasses = 3;   // the weights follow the fitted acceleration
constexpr double kMinLogLambda = -3, kMaxLogLambda = 5;

// The uniform cubic B-spline on [0, 4).
double bspline(double u)
{
    if (u <= 0 || u >= 4)
        return 0;
    if (u < 1)
        return u * u * u / 6;
    if (u < 2) {
        u -= 1;
        return (((-3 * u + 3) * u + 3) * u + 1) / 6;
    }
    if (u < 3) {
        u -= 2;
        return ((3 * u - 6) * u * u + 4) / 6;
    }
    u = 4 - u;
    return u * u * u / 6;
}

// Its integral from 0 to u (1 from u = 4 on).
double bsplineIntegral(double u)
{
    if (u <= 0)
        return 0;
    if (u >= 4)
        return 1;
    if (u < 1)
        return u * u * u * u / 24;
    if (u < 2) {
        u -= 1;
        return 1.0 / 24 + (((-0.75 * u + 1) * u + 1.5) * u + 1) * u / 6;
    }
    if (u < 3) {
        u -= 2;
        return 0.5 + ((0.75 * u - 2) * u * u + 4) * u / 6;
    }
    u = 4 - u;
    return 1 - u * u * u * u / 24;
}

// A symmetric positive definite system, solved through its Cholesky factor.
class Cholesky {
public:
    // Factors the m x m row-major matrix in place; false when it is not positive definite.
    bool factor(std::vector<double> &a, int m)
    {
        a_ = &a;
        m_ = m;
        for (int j = 0; j < m; ++j) {
            double d = a[j * m + j];
            for (int k = 0; k < j; ++k)
                d -= a[j * m + k] * a[j * m + k];
            if (!(d > 0))
                return false;
            d = std::sqrt(d);
            a[j * m + j] = d;
            for (int i = j + 1; i < m; ++i) {
                double v = a[i * m + j];
                for (int k = 0; k < j; ++k)
                    v -= a[i * m + k] * a[j * m + k];
                a[i * m + j] = v / d;
            }
        }
        return true;
    }
    void solve(std::vector<double> &x) const
    {
        const std::vector<double> &a = *a_;
        const int m = m_;
        for (int i = 0; i < m; ++i) {
            double v = x[i];
            for (int k = 0; k < i; ++k)
                v -= a[i * m + k] * x[k];
            x[i] = v / a[i * m + i];
        }
        for (int i = m - 1; i >= 0; --i) {
            double v = x[i];
            for (int k = i + 1; k < m; ++k)
                v -= a[k * m + i] * x[k];
            x[i] = v / a[i * m + i];
        }
    }
    double logDeterminant() const
    {
        double s = 0;
        for (int i = 0; i < m_; ++i)
            s += std::log((*a_)[i * m_ + i]);
        return 2 * s;
    }

private:
    const std::vector<double> *a_ = nullptr;
    int m_ = 0;
};

}  // namespace

double TimeOfSpeed::timeAt(double rpm) const
{
    const double x = xOf(rpm);
    double tau = coef_[0];
    for (int j = 0; j < basis_; ++j)
        tau += coef_[j + 1] * feature(j, x);
    return t0_ + tau / rate_;
}

double TimeOfSpeed::xOf(double rpm) const
{
    return (rpm - lo_) / kKnotRpm + 3;
}

double TimeOfSpeed::feature(int j, double x) const
{
    return kKnotRpm * (bsplineIntegral(x - j) - bsplineIntegral(3.0 - j));
}

double TimeOfSpeed::slope(double rpm) const
{
    const double x = xOf(rpm);
    double g = 0;
    for (int j = std::max(0, int(x) - 3); j < std::min(basis_, int(x) + 1); ++j)
        g += coef_[j + 1] * bspline(x - j);
    return g;
}

TimeOfSpeed::Trial TimeOfSpeed::trial(double logLambda) const
{
    Trial t;
    t.logLambda = logLambda;
    const double lambda = std::pow(10.0, logLambda);
    std::vector<double> a(gram_);
    double meanWeight = 0;
    for (double w : w_)
        meanWeight += w;
    meanWeight /= n_;
    for (int i = 0; i < m_ * m_; ++i)
        a[i] += lambda * penalty_[i];
    for (int i = 0; i < m_; ++i)
        a[i * m_ + i] += 1e-12 * meanWeight * kKnotRpm * kKnotRpm;
    Cholesky chol;
    if (!chol.factor(a, m_))
        return t;
    t.coef = rhs_;
    chol.solve(t.coef);
    double rss = 0;
    for (int i = 0; i < n_; ++i) {
        double p = 0;
        for (int j = 0; j < m_; ++j)
            p += x_[i * m_ + j] * t.coef[j];
        rss += w_[i] * (y_[i] - p) * (y_[i] - p);
    }
    double pen = 0;
    for (int i = 0; i < m_; ++i)
        for (int j = 0; j < m_; ++j)
            pen += t.coef[i] * penalty_[i * m_ + j] * t.coef[j];
    // The restricted likelihood, its variance profiled out; the penalty leaves the
    // intercept and a parabola of the spline unpenalised.
    const int free = kPenaltyOrder + 1;
    const int dof = std::max(1, n_ - free);
    t.variance = (rss + lambda * pen) / dof;
    t.criterion = dof * std::log(std::max(t.variance, 1e-300)) + chol.logDeterminant()
                  - (basis_ - kPenaltyOrder) * logLambda * std::log(10.0);
    return t;
}

bool TimeOfSpeed::fit(const LogRow *rows, int n)
{
    int hi = rows[0].rpm;
    lo_ = rows[0].rpm;
    for (int i = 1; i < n; ++i) {
        lo_ = std::min<double>(lo_, rows[i].rpm);
        hi = std::max(hi, rows[i].rpm);
    }
    t0_ = rows[0].timeMs / 1000.0;
    const double span = (rows[n - 1].timeMs - rows[0].timeMs) / 1000.0;
    rate_ = (hi - lo_) / span;
    if (!(rate_ > 0))
        return false;
    n_ = n;
    basis_ = static_cast<int>(std::ceil((hi - lo_) / kKnotRpm)) + 3;
    m_ = basis_ + 1;
    x_.assign(static_cast<std::size_t>(n_) * m_, 0);
    y_.resize(n_);
    for (int i = 0; i < n_; ++i) {
        const double x = xOf(rows[i].rpm);
        x_[i * m_] = 1;
        for (int j = 0; j < basis_; ++j)
            x_[i * m_ + j + 1] = feature(j, x);
        y_[i] = rate_ * (rows[i].timeMs / 1000.0 - t0_);
    }
    // Third differences of the spline coefficients.
    std::vector<double> unscaled(static_cast<std::size_t>(m_) * m_, 0);
    constexpr double kDiff[] = {1, -3, 3, -1};
    for (int j = 0; j + kPenaltyOrder < basis_; ++j)
        for (int u = 0; u <= kPenaltyOrder; ++u)
            for (int v = 0; v <= kPenaltyOrder; ++v)
                unscaled[(j + 1 + u) * m_ + j + 1 + v] += kDiff[u] * kDiff[v];

    w_.assign(n_, 1.0);
    double logLambda = 0;
    for (int pass = 0; pass < kPasses; ++pass) {
        gram_.assign(static_cast<std::size_t>(m_) * m_, 0);
        rhs_.assign(m_, 0);
        double meanWeight = 0;
        for (int i = 0; i < n_; ++i) {
            const double *xi = &x_[i * m_];
            for (int a = 0; a < m_; ++a) {
                rhs_[a] += w_[i] * xi[a] * y_[i];
                for (int b = 0; b <= a; ++b)
                    gram_[a * m_ + b] += w_[i] * xi[a] * xi[b];
            }
            meanWeight += w_[i];
        }
        for (int a = 0; a < m_; ++a)
            for (int b = a + 1; b < m_; ++b)
                gram_[a * m_ + b] = gram_[b * m_ + a];
        meanWeight /= n_;
        penalty_ = unscaled;
        for (double &p : penalty_)
            p *= meanWeight * kKnotRpm * kKnotRpm;

        // The most likely weight: a coarse look over the whole range first, then halving
        // steps around the best. The later passes only move the weights a little, so they
        // keep the weight found first: a pull of an hour's log costs some twenty solves.
        Trial best;
        auto consider = [&](double l) {
            Trial t = trial(l);
            if (t.criterion < best.criterion)
                best = std::move(t);
        };
        if (pass == 0) {
            for (double l = kMinLogLambda; l <= kMaxLogLambda + 1e-9; l += 1.0)
                consider(l);
            for (double step = 0.5; step >= 0.1; step /= 2) {
                const double centre = best.logLambda;
                consider(std::max(kMinLogLambda, centre - step));
                consider(std::min(kMaxLogLambda, centre + step));
            }
        } else {
            consider(logLambda);
        }
        if (best.coef.empty())
            return false;
        const double floorLambda = kNoiseFloor * best.variance;
        if (floorLambda > std::pow(10.0, best.logLambda)) {
            Trial floored = trial(std::log10(floorLambda));
            if (!floored.coef.empty())
                best = std::move(floored);
        }
        logLambda = best.logLambda;
        coef_ = std::move(best.coef);
        for (int i = 0; i < n_; ++i) {
            // A rate far above the mean is a misfit, not an engine: cap the weight.
            const double g = std::max(0.05, slope(rows[i].rpm));
            w_[i] = 1 / (g * g);
        }
    }
    return true;
}

}  // namespace vorn::detail

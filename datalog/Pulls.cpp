// Pull detection and the smooth fit of time over speed.
#include "Pulls.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorn {

namespace {

constexpr std::int64_t kMaxGapMs = 1000;
constexpr int kFallRpm = 50;
constexpr std::int64_t kMinPullMs = 1500;
constexpr int kMinRiseRpm = 250;
constexpr double kStallShare = 0.35;   // of the pull's median rise rate
// Between two samples at full throttle the rise rate falls by a few per cent at most, even
// past peak torque; a step that rose far slower than the one before it, at the end of a
// pull the limiter ended, held the engine at the cut for part of its time.
constexpr double kLimiterStepShare = 0.8;   // of the step before

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

// Time over speed for one pull. The fit works in "time x mean rate" (tau, rpm) so that its
// misfit and its coefficients (the spline of mean rate / rate) are of order one.
class TimeOfSpeed {
public:
    bool fit(const LogRow *rows, int n);
    double timeAt(double rpm) const
    {
        const double x = xOf(rpm);
        double tau = coef_[0];
        for (int j = 0; j < basis_; ++j)
            tau += coef_[j + 1] * feature(j, x);
        return t0_ + tau / rate_;
    }

private:
    struct Trial {
        double logLambda = 0;
        double criterion = std::numeric_limits<double>::infinity();
        double variance = 0;   // rpm², what the fit leaves per degree of freedom
        std::vector<double> coef;
    };

    double xOf(double rpm) const { return (rpm - lo_) / kKnotRpm + 3; }
    // The integral of basis j from the lowest speed to x, in rpm.
    double feature(int j, double x) const
    {
        return kKnotRpm * (bsplineIntegral(x - j) - bsplineIntegral(3.0 - j));
    }
    double slope(double rpm) const
    {
        const double x = xOf(rpm);
        double g = 0;
        for (int j = std::max(0, int(x) - 3); j < std::min(basis_, int(x) + 1); ++j)
            g += coef_[j + 1] * bspline(x - j);
        return g;
    }
    Trial trial(double logLambda) const;

    double lo_ = 0, t0_ = 0, rate_ = 1;
    int basis_ = 0, m_ = 0, n_ = 0;
    std::vector<double> x_;        // n x m design
    std::vector<double> y_;        // tau of each row
    std::vector<double> w_;        // weights
    std::vector<double> gram_;     // X'WX
    std::vector<double> rhs_;      // X'Wy
    std::vector<double> penalty_;  // D'D of the spline coefficients, scaled
    std::vector<double> coef_;
};

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

double riseRate(const LogRow &a, const LogRow &b)
{
    const double ms = static_cast<double>(b.timeMs - a.timeMs);
    return ms > 0 ? (b.rpm - a.rpm) / ms : 0;
}

bool fullThrottle(const LogRow &r, int threshold)
{
    return r.throttlePercent >= threshold && r.throttlePercent <= 100 && !r.blocking && r.rpm > 0;
}

// Band boundaries crossed by the highest speed reached so far, interpolated between the
// samples either side: later boundaries are crossed later, whatever the fit would say.
std::vector<BandCrossing> sampledCrossings(const std::vector<LogRow> &rows, const Pull &pull, int band)
{
    std::vector<BandCrossing> crossings;
    double reached = rows[pull.firstRow].rpm;
    double reachedAt = rows[pull.firstRow].timeMs / 1000.0;
    int next = (static_cast<int>(reached) + band - 1) / band * band;
    if (next == static_cast<int>(reached)) {
        crossings.push_back({next, reachedAt});
        next += band;
    }
    for (std::size_t k = pull.firstRow + 1; k <= pull.lastRow; ++k) {
        const double rpm = rows[k].rpm;
        const double at = rows[k].timeMs / 1000.0;
        if (rpm <= reached || !(at > reachedAt))
            continue;
        for (; next <= rpm; next += band)
            crossings.push_back({next, reachedAt + (next - reached) / (rpm - reached) * (at - reachedAt)});
        reached = rpm;
        reachedAt = at;
    }
    return crossings;
}

// The bands of one pull's rows; false when the rows cannot be fitted.
bool measure(const std::vector<LogRow> &rows, const PullSettings &settings, Pull &pull)
{
    const int n = static_cast<int>(pull.lastRow - pull.firstRow + 1);
    TimeOfSpeed curve;
    if (!curve.fit(&rows[pull.firstRow], n))
        return false;
    const int band = std::max(1, settings.bandRpm);
    for (int b = (pull.rpmFrom + band - 1) / band * band; b <= pull.rpmTo; b += band)
        pull.crossings.push_back({b, curve.timeAt(b)});
    // A speed that shoots up (a sensor's glitch, a clutch let slip) can bend the smooth fit
    // back on itself, and a later boundary would be crossed before an earlier one. Then the
    // crossings come from the samples themselves, on the highest speed reached so far.
    bool rising = true;
    for (std::size_t i = 1; i < pull.crossings.size(); ++i)
        rising = rising && pull.crossings[i].timeS > pull.crossings[i - 1].timeS;
    if (!rising)
        pull.crossings = sampledCrossings(rows, pull, band);
    for (std::size_t i = 0; i + 1 < pull.crossings.size(); ++i) {
        PullBand pb;
        pb.rpmFrom = pull.crossings[i].rpm;
        pb.rpmTo = pull.crossings[i + 1].rpm;
        pb.seconds = pull.crossings[i + 1].timeS - pull.crossings[i].timeS;
        if (!(pb.seconds > 0))
            continue;
        pb.torqueRel = band / pb.seconds;
        pb.powerRel = pb.torqueRel * (pb.rpmFrom + pb.rpmTo) / 2 / 1000;
        pull.bands.push_back(pb);
    }
    return true;
}

}  // namespace

std::vector<Pull> findPulls(const std::vector<LogRow> &rows, const PullSettings &settings)
{
    std::vector<Pull> pulls;
    const std::size_t count = rows.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (!fullThrottle(rows[i], settings.thresholdPercent))
            continue;
        std::size_t j = i;
        int peak = rows[i].rpm;
        PullEnd end = PullEnd::LogEnd;
        for (std::size_t k = i + 1; k < count; ++k) {
            const LogRow &r = rows[k];
            if (r.timeMs - rows[k - 1].timeMs > kMaxGapMs)
                end = PullEnd::Gap;
            else if (r.blocking)
                end = PullEnd::Limiter;
            else if (!fullThrottle(r, settings.thresholdPercent))
                end = PullEnd::ThrottleOff;
            else if (r.rpm < peak - kFallRpm)
                end = PullEnd::SpeedFalling;
            else {
                peak = std::max(peak, r.rpm);
                j = k;
                continue;
            }
            break;
        }
        // From where the speed starts rising to where it last peaks.
        std::size_t first = i, last = j;
        while (first < last && rows[first + 1].rpm <= rows[first].rpm)
            ++first;
        while (last > first && rows[last].rpm < peak)
            --last;
        // The limiter cuts before the unit reports blocking: rows at the end that gained
        // far less than the pull's typical step are the engine held at the limiter, not
        // pulling, and would bend the fit of the bands below.
        if (last > first + 2) {
            std::vector<double> rates;
            for (std::size_t k = first + 1; k <= last; ++k)
                rates.push_back(riseRate(rows[k - 1], rows[k]));
            std::nth_element(rates.begin(), rates.begin() + rates.size() / 2, rates.end());
            const double typical = rates[rates.size() / 2];
            while (last > first + 1 && riseRate(rows[last - 1], rows[last]) < kStallShare * typical)
                --last;
            while (end == PullEnd::Limiter && last > first + 2
                   && riseRate(rows[last - 1], rows[last]) < kLimiterStepShare * riseRate(rows[last - 2], rows[last - 1]))
                --last;
        }
        i = j;
        if (rows[last].timeMs - rows[first].timeMs < kMinPullMs || rows[last].rpm - rows[first].rpm < kMinRiseRpm)
            continue;
        Pull pull;
        pull.firstRow = first;
        pull.lastRow = last;
        pull.startS = rows[first].timeMs / 1000.0;
        pull.endS = rows[last].timeMs / 1000.0;
        pull.end = end;
        pull.rpmFrom = pull.rpmTo = rows[first].rpm;
        for (std::size_t k = first; k <= last; ++k) {
            pull.rpmFrom = std::min(pull.rpmFrom, rows[k].rpm);
            pull.rpmTo = std::max(pull.rpmTo, rows[k].rpm);
        }
        if (measure(rows, settings, pull))
            pulls.push_back(std::move(pull));
    }
    return pulls;
}

std::vector<PullBand> averageBands(const std::vector<std::vector<PullBand>> &pulls)
{
    std::vector<PullBand> sum;
    std::vector<int> counts;
    for (const auto &bands : pulls) {
        for (const PullBand &b : bands) {
            auto it = std::find_if(sum.begin(), sum.end(),
                                   [&](const PullBand &s) { return s.rpmFrom == b.rpmFrom && s.rpmTo == b.rpmTo; });
            if (it == sum.end()) {
                sum.push_back({b.rpmFrom, b.rpmTo, 0, 0, 0});
                counts.push_back(0);
                it = sum.end() - 1;
            }
            it->seconds += b.seconds;
            it->torqueRel += b.torqueRel;
            it->powerRel += b.powerRel;
            ++counts[static_cast<std::size_t>(it - sum.begin())];
        }
    }
    for (std::size_t i = 0; i < sum.size(); ++i) {
        sum[i].seconds /= counts[i];
        sum[i].torqueRel /= counts[i];
        sum[i].powerRel /= counts[i];
    }
    std::sort(sum.begin(), sum.end(), [](const PullBand &a, const PullBand &b) { return a.rpmFrom < b.rpmFrom; });
    return sum;
}

std::vector<BandComparison> compareBands(const std::vector<std::vector<PullBand>> &runs)
{
    std::vector<BandComparison> out;
    if (runs.empty())
        return out;
    for (const PullBand &ref : runs.front()) {
        BandComparison c;
        c.rpmFrom = ref.rpmFrom;
        c.rpmTo = ref.rpmTo;
        for (std::size_t k = 1; k < runs.size(); ++k) {
            const auto &bands = runs[k];
            const auto it = std::find_if(bands.begin(), bands.end(), [&](const PullBand &b) {
                return b.rpmFrom == ref.rpmFrom && b.rpmTo == ref.rpmTo;
            });
            if (it == bands.end()) {
                c.torqueDiffPercent.emplace_back();
                c.powerDiffPercent.emplace_back();
            } else {
                c.torqueDiffPercent.emplace_back((it->torqueRel / ref.torqueRel - 1) * 100);
                c.powerDiffPercent.emplace_back((it->powerRel / ref.powerRel - 1) * 100);
            }
        }
        out.push_back(std::move(c));
    }
    return out;
}

}  // namespace vorn

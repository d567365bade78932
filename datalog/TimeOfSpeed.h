// Time over speed for one pull: a penalised cubic spline of 1 / (dn/dt) fitted by least
// squares, its penalty weight chosen by restricted maximum likelihood (see Pulls.h for why
// every band is read from one smooth fit over the whole pull).
#pragma once

#include "datalog/LogFormat.h"

#include <limits>
#include <vector>

namespace vorn::detail {

// Time over speed for one pull. The fit works in "time x mean rate" (tau, rpm) so that its
// misfit and its coefficients (the spline of mean rate / rate) are of order one.
class TimeOfSpeed {
public:
    bool fit(const LogRow *rows, int n);
    // The fitted time, seconds of the log, at which the pull passes the speed.
    double timeAt(double rpm) const;

private:
    struct Trial {
        double logLambda = 0;
        double criterion = std::numeric_limits<double>::infinity();
        double variance = 0;   // rpm², what the fit leaves per degree of freedom
        std::vector<double> coef;
    };

    double xOf(double rpm) const;
    // The integral of basis j from the lowest speed to x, in rpm.
    double feature(int j, double x) const;
    double slope(double rpm) const;
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

}  // namespace vorn::detail

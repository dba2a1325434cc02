// Series and range reductions for the elementary functions of DetMath.h.
#include "tools/datakit/DetMath.h"

#include <cmath>

namespace datakit {
namespace {

constexpr double kHalfPiHi = 1.57079632673412561417;
constexpr double kHalfPiLo = 6.07710050650619224932e-11;
constexpr double kLn2Hi = 6.93147180369123816490e-01;
constexpr double kLn2Lo = 1.90821492927058770002e-10;
constexpr double kLn2 = 0.69314718055994530942;

// Taylor series on [-pi/4, pi/4]; the last term is below 1e-17 there.
double SinKernel(double r) {
    double r2 = r * r;
    double term = r;
    double sum = r;
    for (int k = 1; k <= 8; ++k) {
        term = -term * r2 / double((2 * k) * (2 * k + 1));
        sum += term;
    }
    return sum;
}

double CosKernel(double r) {
    double r2 = r * r;
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k <= 9; ++k) {
        term = -term * r2 / double((2 * k - 1) * (2 * k));
        sum += term;
    }
    return sum;
}

// Quadrant of x and its remainder in [-pi/4, pi/4] (Cody-Waite reduction).
double Reduce(double x, long& quadrant) {
    double k = std::floor(x / (kPi / 2.0) + 0.5);
    quadrant = static_cast<long>(k);
    return (x - k * kHalfPiHi) - k * kHalfPiLo;
}

// atan on [-0.42, 0.42], after one halving of the angle.
double AtanKernel(double x) {
    double half = x / (1.0 + std::sqrt(1.0 + x * x));
    double h2 = half * half;
    double term = half;
    double sum = half;
    for (int k = 1; k <= 14; ++k) {
        term = -term * h2;
        sum += term / double(2 * k + 1);
    }
    return 2.0 * sum;
}

}  // namespace

double Sin(double x) {
    long q = 0;
    double r = Reduce(x, q);
    switch (q & 3) {
        case 0:
            return SinKernel(r);
        case 1:
            return CosKernel(r);
        case 2:
            return -SinKernel(r);
        default:
            return -CosKernel(r);
    }
}

double Cos(double x) {
    long q = 0;
    double r = Reduce(x, q);
    switch (q & 3) {
        case 0:
            return CosKernel(r);
        case 1:
            return -SinKernel(r);
        case 2:
            return -CosKernel(r);
        default:
            return SinKernel(r);
    }
}

double Tan(double x) {
    return Sin(x) / Cos(x);
}

double Exp(double x) {
    if (x > 700.0) {
        x = 700.0;
    }
    if (x < -700.0) {
        return 0.0;
    }
    double k = std::floor(x / kLn2 + 0.5);
    double r = (x - k * kLn2Hi) - k * kLn2Lo;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 14; ++n) {
        term = term * r / double(n);
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

double Log(double x) {
    if (!(x > 0.0)) {
        return -1e300;
    }
    int e = 0;
    double m = std::frexp(x, &e);
    if (m < 0.70710678118654752440) {
        m *= 2.0;
        --e;
    }
    double f = (m - 1.0) / (m + 1.0);
    double f2 = f * f;
    double term = f;
    double sum = f;
    for (int k = 1; k <= 11; ++k) {
        term *= f2;
        sum += term / double(2 * k + 1);
    }
    return double(e) * kLn2 + 2.0 * sum;
}

double Pow(double base, double exponent) {
    if (base <= 0.0) {
        return 0.0;
    }
    return Exp(exponent * Log(base));
}

double Tanh(double x) {
    if (x > 20.0) {
        return 1.0;
    }
    if (x < -20.0) {
        return -1.0;
    }
    double e = Exp(2.0 * x);
    return (e - 1.0) / (e + 1.0);
}

double Atan(double x) {
    double ax = std::fabs(x);
    double r = ax > 1.0 ? kPi / 2.0 - AtanKernel(1.0 / ax) : AtanKernel(ax);
    return x < 0.0 ? -r : r;
}

double Atan2(double y, double x) {
    if (x > 0.0) {
        return Atan(y / x);
    }
    if (x < 0.0) {
        return y >= 0.0 ? Atan(y / x) + kPi : Atan(y / x) - kPi;
    }
    if (y > 0.0) {
        return kPi / 2.0;
    }
    if (y < 0.0) {
        return -kPi / 2.0;
    }
    return 0.0;
}

double SmoothStep(double edge0, double edge1, double x) {
    double t = Saturate((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

double MidiToHz(double note) {
    return 440.0 * Pow(2.0, (note - 69.0) / 12.0);
}

double DbToGain(double db) {
    return Pow(10.0, db / 20.0);
}

}  // namespace datakit

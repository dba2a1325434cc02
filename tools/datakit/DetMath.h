// Elementary functions built only from IEEE-exact operations (+, -, *, /,
// sqrt, floor), so the generated media come out byte-identical whatever
// libm the tool is linked against.
#pragma once

namespace datakit {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 6.28318530717958647692;

double Sin(double x);
double Cos(double x);
double Tan(double x);
double Exp(double x);
double Log(double x);
double Pow(double base, double exponent);
double Tanh(double x);
double Atan(double x);
double Atan2(double y, double x);

inline double Clamp(double x, double lo, double hi) {
    return x < lo ? lo : (x > hi ? hi : x);
}
inline double Saturate(double x) {
    return Clamp(x, 0.0, 1.0);
}
inline double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
double SmoothStep(double edge0, double edge1, double x);
// A frequency in Hz for a MIDI note number (69 = A4 = 440 Hz).
double MidiToHz(double note);
// Linear gain for a level in decibels.
double DbToGain(double db);

}  // namespace datakit

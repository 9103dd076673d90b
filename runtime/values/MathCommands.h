// The numeric commands: angles in degrees, the clamped inverse sine and
// cosine, and remainders that give 0 for a zero divisor. RandomInt is in
// runtime/core/Random.h.
#pragma once

#include "runtime/values/RtString.h"

double TextLength(const RtString& text);  // length in characters
double NumberTextLength(double x);        // length of x's number text
double SinDeg(double x);
double CosDeg(double x);
double TanDeg(double x);
double Atan2Deg(double y, double x);  // -180..180
double AsinDeg(double x);             // 90 from 1 up, -90 from -1 down
double AcosDeg(double x);             // 0 from 1 up, 180 from -1 down
double Power(double x, double y);
double SquareRoot(double x);  // NaN below 0
double AbsValue(double x);
double IntMod(double a, double b);    // truncated 32-bit remainder, sign of a
double FloatMod(double a, double b);  // fmod; 0 for b = 0

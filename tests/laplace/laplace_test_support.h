// Test support for the Laplace path: the symmetric model as a sensor, and captured traces.
#pragma once

#include <stdlib.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/debug_trace.h"
#include "tests/fit/fit_test_support.h"

inline constexpr double kDegree = 3.14159265358979323846 / 180.0;
inline constexpr double kDefaultAspect = 230.4 / 306.4;

// The symmetric model sum of c[k] Re(((x - xoff) + i a (y - yoff)) e^(-i theta))^(2k+1), written
// with complex arithmetic, independently of the code under test.
inline double ModelV(const double* c, int terms, double x, double y, double theta, double xoff,
                     double yoff, double a = kDefaultAspect) {
    const std::complex<double> z =
        std::complex<double>(x - xoff, a * (y - yoff)) * std::polar(1.0, -theta);
    double sum = 0.0;
    for (int k = 0; k < terms; ++k) sum += c[k] * std::pow(z, 2 * k + 1).real();
    return sum;
}

// The W model: w = (y - yoff) + i (x - xoff) / a, turned by +theta.
inline double ModelW(const double* c, int terms, double x, double y, double theta, double xoff,
                     double yoff, double a = kDefaultAspect) {
    const std::complex<double> w =
        std::complex<double>(y - yoff, (x - xoff) / a) * std::polar(1.0, theta);
    double sum = 0.0;
    for (int k = 0; k < terms; ++k) sum += c[k] * std::pow(w, 2 * k + 1).real();
    return sum;
}

// Raw counts of the default electrical model for normalised controller coordinates.
inline double RawCount(double normalised) { return 2047.5 + normalised * 4095.0; }

// Traces switched on for the lifetime of the object and collected from standard error (the
// portable build's trace channel; Windows builds send them to the debugger and Take gives "").
#if defined(_WIN32)
class TraceCapture {
  public:
    static constexpr bool kAvailable = false;
    std::string Take() { return ""; }
};
#else
class TraceCapture {
  public:
    static constexpr bool kAvailable = true;
    TraceCapture() {
        char pattern[] = "/tmp/tarnix-laplace-trace-XXXXXX";
        folder_ = mkdtemp(pattern);
        std::ofstream(folder_ / "machine-settings.ini", std::ios::binary)
            << "[Software\\Quvatec]\r\nEnableDebug=1\r\n";
        setenv("TARNIX_SUPPORT_DIR", folder_.c_str(), 1);
        DebugState = -1;
        testing::internal::CaptureStderr();
    }
    ~TraceCapture() {
        if (!taken_) testing::internal::GetCapturedStderr();
        unsetenv("TARNIX_SUPPORT_DIR");
        DebugState = -1;
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string Take() {
        taken_ = true;
        return testing::internal::GetCapturedStderr();
    }

  private:
    std::filesystem::path folder_;
    bool taken_ = false;
};
#endif

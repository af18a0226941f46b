// Vector: an owning, zero-based array of doubles with its length; filled vectors, finiteness.
#pragma once

#include <cstdint>

struct Vector {
    uint32_t length;
    double* data;

    Vector();
    // Allocates n elements, left uninitialised; n == 0 owns nothing.
    explicit Vector(uint32_t n);
    Vector(const Vector& other);
    Vector(Vector&& other) noexcept;
    // Self-assignment does nothing; a different length reallocates first.
    Vector& operator=(const Vector& other);
    Vector& operator=(Vector&& other) noexcept;
    ~Vector();

    double& operator[](uint32_t i) { return data[i]; }
    const double& operator[](uint32_t i) const { return data[i]; }
    bool empty() const { return length == 0; }
    // Gives the vector n elements (contents undefined) unless it has n already.
    void Resize(uint32_t n);
};

// n elements, each value.
Vector Filled(uint32_t n, double value);

// Whether v has at least count elements and the first count are finite (neither NaN nor infinite).
bool AllFinite(const Vector& v, uint32_t count);

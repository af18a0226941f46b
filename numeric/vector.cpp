// Vector storage (allocation, copying, moving), filled vectors and their finiteness check.
#include "numeric/vector.h"

#include <algorithm>
#include <cmath>
#include <utility>

Vector::Vector() : length(0), data(nullptr) {}

Vector::Vector(uint32_t n) : length(n), data(n != 0 ? new double[n] : nullptr) {}

Vector::Vector(const Vector& other) : Vector(other.length) {
    std::copy(other.data, other.data + length, data);
}

Vector::Vector(Vector&& other) noexcept : length(other.length), data(other.data) {
    other.length = 0;
    other.data = nullptr;
}

Vector& Vector::operator=(const Vector& other) {
    if (this == &other) return *this;
    Resize(other.length);
    std::copy(other.data, other.data + length, data);
    return *this;
}

Vector& Vector::operator=(Vector&& other) noexcept {
    if (this == &other) return *this;
    delete[] data;
    length = std::exchange(other.length, 0);
    data = std::exchange(other.data, nullptr);
    return *this;
}

Vector::~Vector() { delete[] data; }

void Vector::Resize(uint32_t n) {
    if (n == length) return;
    Vector fresh(n);
    *this = std::move(fresh);
}

Vector Filled(uint32_t n, double value) {
    Vector v(n);
    std::fill(v.data, v.data + n, value);
    return v;
}

bool AllFinite(const Vector& v, uint32_t count) {
    if (v.length < count) return false;
    for (uint32_t i = 0; i < count; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

// Positions, velocities and colours: four floats. Lengths, normalising and
// rotation work on x, y and z only; w rides along.
struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    Vec4& operator+=(const Vec4& o)
    {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    Vec4& operator-=(const Vec4& o)
    {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        return *this;
    }
};

inline Vec4 operator+(Vec4 a, const Vec4& b)
{
    return a += b;
}
inline Vec4 operator-(Vec4 a, const Vec4& b)
{
    return a -= b;
}
inline Vec4 operator*(Vec4 a, float k)
{
    return {a.x * k, a.y * k, a.z * k, a.w};
}

inline float length(const Vec4& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// A zero vector stays zero rather than turning into NaNs.
inline Vec4 normalise(const Vec4& v)
{
    const float len = length(v);
    if (len <= 0.0f)
        return {0.0f, 0.0f, 0.0f, v.w};
    return {v.x / len, v.y / len, v.z / len, v.w};
}

inline Vec4 rotated(const Vec4& v, float degrees)
{
    const float a = degrees * 3.14159265f / 180.0f;
    const float c = std::cos(a);
    const float s = std::sin(a);
    return {c * v.x - s * v.y, s * v.x + c * v.y, v.z, v.w};
}

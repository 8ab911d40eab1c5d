#include "engine/core/Vector2.h"

#include <cmath>

Vector2& Vector2::operator+=(const Vector2& other)
{
    x += other.x;
    y += other.y;
    return *this;
}

Vector2 Vector2::operator-(const Vector2& other) const
{
    return Vector2(x - other.x, y - other.y);
}

Vector2 Vector2::operator*(float factor) const
{
    return Vector2(x * factor, y * factor);
}

float Vector2::length() const
{
    return std::sqrt(x * x + y * y);
}

void Vector2::setLength(float newLength)
{
    float current = length();
    if (current == 0.0f) {
        return;
    }
    x = x * newLength / current;
    y = y * newLength / current;
}

Vector2 Vector2::withLength(float newLength) const
{
    Vector2 result(*this);
    result.setLength(newLength);
    return result;
}

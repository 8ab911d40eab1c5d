#pragma once

// A point or direction in world pixels.
class Vector2 {
public:
    Vector2(float xValue = 0.0f, float yValue = 0.0f)
        : x(xValue)
        , y(yValue)
    {
    }

    bool operator==(const Vector2& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Vector2& other) const { return !(*this == other); }
    Vector2& operator+=(const Vector2& other);
    Vector2 operator-(const Vector2& other) const;
    Vector2 operator*(float factor) const;

    float length() const;
    // Keeps the direction and makes the length newLength. A zero vector has
    // no direction and stays zero.
    void setLength(float newLength);
    Vector2 withLength(float newLength) const;

    float x;
    float y;
};

inline Vector2 operator*(float factor, const Vector2& v)
{
    return v * factor;
}

// (x2 - x1)^2 + (y2 - y1)^2: distances are compared squared against fixed
// thresholds (4096 for the usual 64-pixel contact).
inline double distanceSquared(double x1, double y1, double x2, double y2)
{
    double dx = x2 - x1;
    double dy = y2 - y1;
    return dx * dx + dy * dy;
}

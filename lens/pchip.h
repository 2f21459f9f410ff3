#ifndef PCHIP_H
#define PCHIP_H

#include <optional>
#include <vector>

// A monotone piecewise cubic through points whose x rise strictly: between
// two points the Hermite cubic with the slopes of Fritsch and Carlson's
// shape-preserving scheme (the weighted harmonic mean of the two chords
// inside, zero at a turn, the three-point end formula held to the chord's
// sign and to three times it at the ends), the same curve as SciPy's
// PchipInterpolator. Two points give the straight line. It is defined over
// the points' span only: outside it a value is unknown, never extrapolated.
class Pchip
{
public:
    Pchip() = default;
    // x rising strictly, as many y as x, at least two points.
    Pchip(std::vector<double> x, std::vector<double> y);

    std::optional<double> at(double x) const;
    // The x at which the curve takes y, for y monotone through the points;
    // unknown outside the span of the y.
    std::optional<double> inverse(double y) const;

    double firstX() const { return m_x.front(); }
    double lastX() const { return m_x.back(); }
    double firstY() const { return m_y.front(); }
    double lastY() const { return m_y.back(); }
    bool isEmpty() const { return m_x.empty(); }

private:
    double segment(std::size_t k, double x) const;

    std::vector<double> m_x;
    std::vector<double> m_y;
    std::vector<double> m_slope;
};

#endif // PCHIP_H

#include "pchip.h"

#include <algorithm>
#include <cmath>

namespace {

int sign(double value)
{
    return (value > 0) - (value < 0);
}

// The slope at an end, from the two chords next to it (h0, d0 the one at the
// end): the three-point formula, no steeper than three chords and never
// against the chord's direction, so that the curve neither overshoots nor
// turns there.
double endSlope(double h0, double h1, double d0, double d1)
{
    double slope = ((2 * h0 + h1) * d0 - h0 * d1) / (h0 + h1);
    if (sign(slope) != sign(d0))
        slope = 0;
    else if (sign(d0) != sign(d1) && std::abs(slope) > std::abs(3 * d0))
        slope = 3 * d0;
    return slope;
}

} // namespace

Pchip::Pchip(std::vector<double> x, std::vector<double> y)
    : m_x(std::move(x))
    , m_y(std::move(y))
    , m_slope(m_x.size())
{
    const std::size_t n = m_x.size();
    std::vector<double> h(n - 1);
    std::vector<double> chord(n - 1);
    for (std::size_t k = 0; k + 1 < n; ++k) {
        h[k] = m_x[k + 1] - m_x[k];
        chord[k] = (m_y[k + 1] - m_y[k]) / h[k];
    }
    if (n == 2) {
        m_slope[0] = m_slope[1] = chord[0];
        return;
    }
    for (std::size_t k = 1; k + 1 < n; ++k) {
        if (sign(chord[k - 1]) * sign(chord[k]) <= 0) {
            m_slope[k] = 0;
            continue;
        }
        const double w1 = 2 * h[k] + h[k - 1];
        const double w2 = h[k] + 2 * h[k - 1];
        m_slope[k] = (w1 + w2) / (w1 / chord[k - 1] + w2 / chord[k]);
    }
    m_slope[0] = endSlope(h[0], h[1], chord[0], chord[1]);
    m_slope[n - 1] = endSlope(h[n - 2], h[n - 3], chord[n - 2], chord[n - 3]);
}

double Pchip::segment(std::size_t k, double x) const
{
    const double h = m_x[k + 1] - m_x[k];
    const double t = (x - m_x[k]) / h;
    const double t2 = t * t;
    const double t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * m_y[k] + (t3 - 2 * t2 + t) * h * m_slope[k] + (-2 * t3 + 3 * t2) * m_y[k + 1]
        + (t3 - t2) * h * m_slope[k + 1];
}

std::optional<double> Pchip::at(double x) const
{
    if (m_x.empty() || !(x >= m_x.front() && x <= m_x.back()))
        return std::nullopt;
    // The segment whose start is the last point at or before x; the last
    // point itself ends the last segment.
    const auto next = std::upper_bound(m_x.begin(), m_x.end(), x);
    const std::size_t k = std::min<std::size_t>(std::size_t(next - m_x.begin()), m_x.size() - 1) - 1;
    return segment(k, x);
}

std::optional<double> Pchip::inverse(double y) const
{
    if (m_x.empty())
        return std::nullopt;
    const bool rising = m_y.back() > m_y.front();
    const auto below = [rising](double a, double b) { return rising ? a < b : a > b; };
    if (below(y, m_y.front()) || below(m_y.back(), y) || std::isnan(y))
        return std::nullopt;
    std::size_t k = 0;
    while (k + 2 < m_y.size() && below(m_y[k + 1], y))
        ++k;
    if (y == m_y[k])
        return m_x[k];
    if (y == m_y[k + 1])
        return m_x[k + 1];
    // Each segment is monotone between its points: halving the interval
    // finds x to the last bit in as many steps as a double has.
    double low = m_x[k];
    double high = m_x[k + 1];
    for (int step = 0; step < 64 && low < high; ++step) {
        const double middle = low + (high - low) / 2;
        if (middle <= low || middle >= high)
            break;
        if (below(segment(k, middle), y))
            low = middle;
        else
            high = middle;
    }
    return std::abs(segment(k, low) - y) <= std::abs(segment(k, high) - y) ? low : high;
}

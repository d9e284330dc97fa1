#include "controls/RadixTwoFFT.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace vx::ui {

namespace {

void BitReverse(std::span<double> re, std::span<double> im, int order) {
    const size_t n = re.size();
    for (size_t i = 0; i < n; ++i) {
        size_t j = 0;
        for (int b = 0; b < order; ++b)
            j |= ((i >> b) & 1u) << (order - 1 - b);
        if (j > i) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
}

} // namespace

int ExactLog2(int n) {
    if (n <= 0 || (n & (n - 1)) != 0)
        return -1;
    int order = 0;
    while ((1 << order) < n)
        ++order;
    return order;
}

void RadixTwoFFT(std::span<double> re, std::span<double> im, bool inverse) {
    const int order = re.size() > (1u << 30) ? -1 : ExactLog2(static_cast<int>(re.size()));
    if (order < 0 || im.size() != re.size())
        return;
    const size_t n = re.size();
    const double sign = inverse ? 1.0 : -1.0;
    for (size_t span = n; span >= 2; span >>= 1) {
        const size_t half = span / 2;
        for (size_t k = 0; k < half; ++k) {
            const double angle = 2.0 * std::numbers::pi * double(k) / double(span);
            const double wr = std::cos(angle), wi = sign * std::sin(angle);
            for (size_t i = k; i < n; i += span) {
                const size_t j = i + half;
                const double dr = re[i] - re[j], di = im[i] - im[j];
                re[i] += re[j];
                im[i] += im[j];
                re[j] = dr * wr - di * wi;
                im[j] = dr * wi + di * wr;
            }
        }
    }
    BitReverse(re, im, order);
    if (inverse)
        for (size_t i = 0; i < n; ++i) {
            re[i] /= double(n);
            im[i] /= double(n);
        }
}

} // namespace vx::ui

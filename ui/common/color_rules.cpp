#include "ui/common/color_rules.h"

#include <algorithm>

namespace colors {
namespace {

constexpr int HlsMax = 240;
constexpr int RgbMax = 255;
constexpr int UndefinedHue = HlsMax * 2 / 3;

int HueOfRgb(TRgb c, int maxChannel, int minChannel) {
    const int range = maxChannel - minChannel;
    auto delta = [&](int channel) {
        return ((maxChannel - channel) * (HlsMax / 6) + range / 2) / range;
    };
    int hue = 0;
    if (c.Red == maxChannel)
        hue = delta(c.Blue) - delta(c.Green);
    else if (c.Green == maxChannel)
        hue = HlsMax / 3 + delta(c.Red) - delta(c.Blue);
    else
        hue = 2 * HlsMax / 3 + delta(c.Green) - delta(c.Red);
    if (hue < 0) hue += HlsMax;
    if (hue > HlsMax) hue -= HlsMax;
    return hue;
}

int HueToChannel(int low, int high, int hue) {
    if (hue < 0) hue += HlsMax;
    if (hue > HlsMax) hue -= HlsMax;
    if (hue < HlsMax / 6) return low + ((high - low) * hue + HlsMax / 12) / (HlsMax / 6);
    if (hue < HlsMax / 2) return high;
    if (hue < HlsMax * 2 / 3)
        return low + ((high - low) * (HlsMax * 2 / 3 - hue) + HlsMax / 12) / (HlsMax / 6);
    return low;
}

int CapChannel(int value) {
    return std::clamp(value, 0, RgbMax);
}

} // namespace

THls RgbToHls(TRgb c) {
    const int maxChannel = std::max({c.Red, c.Green, c.Blue});
    const int minChannel = std::min({c.Red, c.Green, c.Blue});
    const int sum = maxChannel + minChannel;
    THls hls;
    hls.Lightness = (sum * HlsMax + RgbMax) / (2 * RgbMax);
    if (maxChannel == minChannel) {
        hls.Hue = UndefinedHue;
        return hls;
    }
    const int range = maxChannel - minChannel;
    if (hls.Lightness <= HlsMax / 2)
        hls.Saturation = (range * HlsMax + sum / 2) / sum;
    else
        hls.Saturation = (range * HlsMax + (2 * RgbMax - sum) / 2) / (2 * RgbMax - sum);
    hls.Hue = HueOfRgb(c, maxChannel, minChannel);
    return hls;
}

TRgb HlsToRgb(THls c) {
    if (c.Saturation == 0) {
        const int grey = CapChannel(c.Lightness * RgbMax / HlsMax);
        return {grey, grey, grey};
    }
    const int high =
        c.Lightness <= HlsMax / 2
            ? (c.Lightness * (HlsMax + c.Saturation) + HlsMax / 2) / HlsMax
            : c.Lightness + c.Saturation - (c.Lightness * c.Saturation + HlsMax / 2) / HlsMax;
    const int low = 2 * c.Lightness - high;
    auto channel = [&](int hue) {
        return CapChannel((HueToChannel(low, high, hue) * RgbMax + HlsMax / 2) / HlsMax);
    };
    return {channel(c.Hue + HlsMax / 3), channel(c.Hue), channel(c.Hue - HlsMax / 3)};
}

TRgb Darken(TRgb color, int amount) {
    THls hls = RgbToHls(color);
    hls.Lightness = std::max(hls.Lightness - amount, 0);
    return HlsToRgb(hls);
}

TRgb Lighten(TRgb color, int amount) {
    THls hls = RgbToHls(color);
    hls.Lightness = std::min(hls.Lightness + amount, 255);
    return HlsToRgb(hls);
}

TRgb Blend(TRgb a, TRgb b, int weight) {
    // The divisor 255 is odd, so no sum lies exactly halfway: adding 127 rounds to nearest.
    auto mix = [weight](int x, int y) { return (x * weight + y * (255 - weight) + 127) / 255; };
    return {mix(a.Red, b.Red), mix(a.Green, b.Green), mix(a.Blue, b.Blue)};
}

TRgb GradientRow(TRgb top, TRgb bottom, int row, int rowCount) {
    if (rowCount <= 1) return top;
    auto step = [&](int from, int to) { return from + (to - from) * row / (rowCount - 1); };
    return {step(top.Red, bottom.Red), step(top.Green, bottom.Green), step(top.Blue, bottom.Blue)};
}

} // namespace colors

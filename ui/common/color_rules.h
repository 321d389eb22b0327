#pragma once
// The colour arithmetic behind the strip and its buttons: lightness steps on the 0..240 HLS
// scale, weighted blends and vertical colour runs. Pure functions on plain RGB triples.

namespace colors {

struct TRgb {
    int Red = 0, Green = 0, Blue = 0; // each 0..255
    friend bool operator==(const TRgb&, const TRgb&) = default;
};

// Hue, lightness and saturation, each on a 0..240 scale (hue 160 for a grey).
struct THls {
    int Hue = 0, Lightness = 0, Saturation = 0;
    friend bool operator==(const THls&, const THls&) = default;
};

THls RgbToHls(TRgb color);
// Lightness may run up to 255; the channels that result are capped at 255.
TRgb HlsToRgb(THls color);

// Lightness minus `amount`, not below 0.
TRgb Darken(TRgb color, int amount);
// Lightness plus `amount`, not above 255.
TRgb Lighten(TRgb color, int amount);

// a·weight/255 + b·(255 − weight)/255 per channel, rounded to nearest; weight 0..255.
TRgb Blend(TRgb a, TRgb b, int weight);

// Colour of row `row` (0 = top) of a run of `rowCount` rows from `top` to `bottom`, linear.
TRgb GradientRow(TRgb top, TRgb bottom, int row, int rowCount);

} // namespace colors

// Expected values are worked out by hand on the 0..240 HLS scale (integer division truncates);
// the arithmetic is shown beside each case.
#include <QtTest>

#include "ui/common/color_rules.h"

using colors::TRgb;

namespace QTest {
template <> char* toString(const TRgb& c) {
    return qstrdup(QByteArray::number(c.Red) + "," + QByteArray::number(c.Green) + "," +
                   QByteArray::number(c.Blue));
}
} // namespace QTest

class TColorRulesTest : public QObject {
    Q_OBJECT
private slots:
    void convertsToHls();
    void darkensAndLightens();
    void capsLightnessAndChannels();
    void blendsWithRounding();
    void runsGradientPerRow();
};

void TColorRulesTest::convertsToHls() {
    // #F4F4F0: max 244, min 240. L = (484·240 + 255) / 510 = 116415/510 = 228.
    // L > 120: S = (4·240 + 26/2) / 26 = 973/26 = 37. Red is max: H = Bdelta − Gdelta
    // = ((4·40 + 2)/4) − ((0·40 + 2)/4) = 40 − 0 = 40.
    QCOMPARE(colors::RgbToHls({244, 244, 240}), (colors::THls{40, 228, 37}));
    // Pure red: L = (255·240 + 255)/510 = 120; S = (255·240 + 127)/255 = 240; H = 40 − 40 = 0.
    QCOMPARE(colors::RgbToHls({255, 0, 0}), (colors::THls{0, 120, 240}));
    // A grey has no hue: H = 160, S = 0; L = (480·240 + 255)/510 = 226.
    QCOMPARE(colors::RgbToHls({240, 240, 240}), (colors::THls{160, 226, 0}));
}

void TColorRulesTest::darkensAndLightens() {
    // #F4F4F0 darkened by 10: H 40, L 218, S 37. high = 218 + 37 − (218·37 + 120)/240
    // = 255 − 34 = 221, low = 436 − 221 = 215. Red (hue 120): 215 + (6·40 + 20)/40 = 221 →
    // (221·255 + 120)/240 = 235. Green (hue 40): high 221 → 235. Blue (hue 200): low 215 →
    // (215·255 + 120)/240 = 228.
    QCOMPARE(colors::Darken({244, 244, 240}, 10), (TRgb{235, 235, 228}));
    // By 30: L 198. high = 235 − (198·37 + 120)/240 = 235 − 31 = 204, low = 396 − 204 = 192.
    // Red: 192 + (12·40 + 20)/40 = 204 → 52140/240 = 217. Green: 217. Blue: 49080/240 = 204.
    QCOMPARE(colors::Darken({244, 244, 240}, 30), (TRgb{217, 217, 204}));
    // Pure red by 20: L 100 ≤ 120: high = (100·480 + 120)/240 = 200, low = 0.
    // Red (hue 80): 200 → 51120/240 = 213. Green (hue 0): 0 + (0 + 20)/40 = 0. Blue: 0.
    QCOMPARE(colors::Darken({255, 0, 0}, 20), (TRgb{213, 0, 0}));
    // Grey 240 by 10: L 226 − 10 = 216 → 216·255/240 = 229.
    QCOMPARE(colors::Darken({240, 240, 240}, 10), (TRgb{229, 229, 229}));
    // Grey 240 lightened by 10: L 236 → 236·255/240 = 250.
    QCOMPARE(colors::Lighten({240, 240, 240}, 10), (TRgb{250, 250, 250}));
}

void TColorRulesTest::capsLightnessAndChannels() {
    // Black darkened: L 0 − 30 stays 0.
    QCOMPARE(colors::Darken({0, 0, 0}, 30), (TRgb{0, 0, 0}));
    // White lightened: L 240 + 20 → 255 → 255·255/240 = 270, capped at 255.
    QCOMPARE(colors::Lighten({255, 255, 255}, 20), (TRgb{255, 255, 255}));
    // #F4F4F0 lightened by 30: L 258 → 255. high = 292 − (255·37 + 120)/240 = 253,
    // low = 257; every channel comes out above 255 (270, 269, 273) and is capped.
    QCOMPARE(colors::Lighten({244, 244, 240}, 30), (TRgb{255, 255, 255}));
}

void TColorRulesTest::blendsWithRounding() {
    // White with #FFC73C at 190: red (255·190 + 255·65)/255 = 255; green
    // (48450 + 199·65)/255 = 61385/255 = 240.7 → 241; blue (48450 + 3900)/255 = 205.3 → 205.
    QCOMPARE(colors::Blend({255, 255, 255}, {255, 199, 60}, 190), (TRgb{255, 241, 205}));
    // #6A8DF4 with white at 60: red (6360 + 49725)/255 = 219.9 → 220; green
    // (8460 + 49725)/255 = 228.2 → 228; blue (14640 + 49725)/255 = 252.4 → 252.
    QCOMPARE(colors::Blend({106, 141, 244}, {255, 255, 255}, 60), (TRgb{220, 228, 252}));
    QCOMPARE(colors::Blend({1, 2, 3}, {200, 200, 200}, 255), (TRgb{1, 2, 3}));
    QCOMPARE(colors::Blend({1, 2, 3}, {200, 200, 200}, 0), (TRgb{200, 200, 200}));
}

void TColorRulesTest::runsGradientPerRow() {
    const TRgb top{255, 255, 255}, bottom{217, 217, 204};
    QCOMPARE(colors::GradientRow(top, bottom, 0, 3), top);
    // Middle row: 255 − 38/2 = 236; blue 255 − 51/2 = 230 (truncated towards zero).
    QCOMPARE(colors::GradientRow(top, bottom, 1, 3), (TRgb{236, 236, 230}));
    QCOMPARE(colors::GradientRow(top, bottom, 2, 3), bottom);
    QCOMPARE(colors::GradientRow(top, bottom, 0, 1), top);
}

QTEST_APPLESS_MAIN(TColorRulesTest)
#include "color_rules_test.moc"

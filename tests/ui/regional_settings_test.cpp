#include <QtTest>

#include "engine/engine.h"
#include "tests/ui/scoped_environment.h"
#include "ui/window/regional_settings.h"

namespace {

engine::TDateTime At(int year, int month, int day, int hour, int minute, int second,
                     int dayOfWeek) {
    return {year, month, day, hour, minute, second, 0, dayOfWeek};
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

class TRegionalSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void takesTheLcTimeLocaleName_data() {
        QTest::addColumn<QByteArray>("lcAll");
        QTest::addColumn<QByteArray>("lcTime");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QString>("want");
        const QByteArray unset;
        QTest::newRow("LC_ALL first") << QByteArray("de_DE.UTF-8") << QByteArray("en_US.UTF-8")
                                      << QByteArray("zh_CN.UTF-8") << "de_DE.UTF-8";
        QTest::newRow("then LC_TIME")
            << unset << QByteArray("en_US.UTF-8") << QByteArray("zh_CN.UTF-8") << "en_US.UTF-8";
        QTest::newRow("then LANG") << unset << unset << QByteArray("zh_CN.UTF-8") << "zh_CN.UTF-8";
        QTest::newRow("empty counts as unset")
            << QByteArray("") << QByteArray("") << QByteArray("zh_CN.UTF-8") << "zh_CN.UTF-8";
        QTest::newRow("none") << unset << unset << unset << QString();
    }
    void takesTheLcTimeLocaleName() {
        QFETCH(QByteArray, lcAll);
        QFETCH(QByteArray, lcTime);
        QFETCH(QByteArray, lang);
        QFETCH(QString, want);
        const TScopedVariable all("LC_ALL", lcAll), time("LC_TIME", lcTime), language("LANG", lang);
        QCOMPARE(TimeLocaleName(), want);
    }

    // Expected texts worked out by hand from each locale's CLDR short date, long date and long time
    // (zh_CN y/M/d and HH:mm:ss; en_US M/d/yy and h:mm:ss a; de_DE dd.MM.yy and HH:mm:ss). The C
    // locale has no regional data and shows the defaults (m/d/yy, h:mm:ss AMPM, am/pm).
    void rendersModificationTextsByCldr_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QStringList>("texts"); // noon, afternoon, past midnight, long date
        QTest::newRow("zh_CN") << QByteArray("zh_CN.UTF-8")
                               << QStringList{"2026/12/7 12:00:17", "2011/3/7 14:05:09",
                                              "2011/3/7 00:30:05", "2011年3月7日星期一"};
        QTest::newRow("en_US") << QByteArray("en_US.UTF-8")
                               << QStringList{"12/7/26 12:00:17 PM", "3/7/11 2:05:09 PM",
                                              "3/7/11 12:30:05 AM", "Monday, March 7, 2011"};
        QTest::newRow("de_DE") << QByteArray("de_DE.UTF-8")
                               << QStringList{"07.12.26 12:00:17", "07.03.11 14:05:09",
                                              "07.03.11 00:30:05", "Montag, 7. März 2011"};
        QTest::newRow("C") << QByteArray("C")
                           << QStringList{"12/7/26 12:00:17 pm", "3/7/11 2:05:09 pm",
                                          "3/7/11 12:30:05 am", "March 7, 2011"};
    }
    void rendersModificationTextsByCldr() {
        QFETCH(QByteArray, locale);
        const TScopedVariable all("LC_ALL", locale);
        // Windows' own settings take the place of the locale's there: the locale's are read alone.
        const engine::TFormatSettings settings = RegionalSettingsOf(QLocale(TimeLocaleName()));
        const engine::TDateTime monday = At(2011, 3, 7, 14, 5, 9, 1);
        QTEST((QStringList{Text(engine::ModificationText(At(2026, 12, 7, 12, 0, 17, 1), settings)),
                           Text(engine::ModificationText(monday, settings)),
                           Text(engine::ModificationText(At(2011, 3, 7, 0, 30, 5, 1), settings)),
                           Text(engine::FormatDateTime("dddddd", monday, settings))}),
              "texts");
    }
};

QTEST_GUILESS_MAIN(TRegionalSettingsTest)
#include "regional_settings_test.moc"

#pragma once
// Gives the offscreen platform a screen of a chosen size and resolution. Construct before the
// QApplication; the configuration file is removed again when this goes away.

#include <QCoreApplication>
#include <QDir>
#include <QFile>

class TOffscreenScreen {
public:
    TOffscreenScreen(int width, int height, int dpi) {
        if (qgetenv("QT_QPA_PLATFORM") != "offscreen") return;
        // The platform's arguments are split at ":", so the path holds none (no drive letter):
        // the file goes into the working folder.
        m_path = QStringLiteral("zelvora-screen-%1.json").arg(QCoreApplication::applicationPid());
        QFile config(m_path);
        if (!config.open(QIODevice::WriteOnly)) return;
        config.write(QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0,
            "width": %1, "height": %2, "logicalDpi": %3}]})")
                         .arg(width)
                         .arg(height)
                         .arg(dpi)
                         .toUtf8());
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + m_path.toLocal8Bit());
    }
    ~TOffscreenScreen() {
        if (!m_path.isEmpty()) QFile::remove(m_path);
    }
    TOffscreenScreen(const TOffscreenScreen&) = delete;
    TOffscreenScreen& operator=(const TOffscreenScreen&) = delete;

private:
    QString m_path;
};

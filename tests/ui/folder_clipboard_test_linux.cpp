// The Linux file managers' clipboard of folders: written in every format, read from any. Its
// pastes, which never replace what is there, are tree_context_menu_test_linux's.
#include <memory>

#include <QMimeData>
#include <QTest>

#include "ui/tree/folder_clipboard_linux.h"

using Paths = QList<QByteArray>;

class TFolderClipboardTest : public QObject {
    Q_OBJECT
private slots:
    void writesEveryFormat_data() {
        QTest::addColumn<Paths>("paths");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QByteArray>("uriList");
        QTest::addColumn<QByteArray>("copiedFiles");
        QTest::addColumn<QString>("text");
        QTest::newRow("copy of a plain path")
            << Paths{"/home/u/docs"} << false << QByteArray("file:///home/u/docs\r\n")
            << QByteArray("copy\nfile:///home/u/docs") << QStringLiteral("/home/u/docs");
        QTest::newRow("cut of space, percent and Chinese names")
            << Paths{"/tmp/a b%c", "/tmp/名称"} << true
            << QByteArray("file:///tmp/a%20b%25c\r\nfile:///tmp/%E5%90%8D%E7%A7%B0\r\n")
            << QByteArray("cut\nfile:///tmp/a%20b%25c\nfile:///tmp/%E5%90%8D%E7%A7%B0")
            << QStringLiteral("/tmp/a b%c\n/tmp/名称");
        QTest::newRow("bytes that are not UTF-8 and URL delimiters")
            << Paths{"/tmp/\xff\xfe#?x;y"} << false << QByteArray("file:///tmp/%FF%FE%23%3Fx;y\r\n")
            << QByteArray("copy\nfile:///tmp/%FF%FE%23%3Fx;y")
            << QStringLiteral("/tmp/\uFFFD\uFFFD#?x;y");
    }
    void writesEveryFormat() {
        QFETCH(Paths, paths);
        QFETCH(bool, cut);
        const std::unique_ptr<QMimeData> data(
            MakeFolderClipboardData(paths, cut ? TClipboardAction::Cut : TClipboardAction::Copy));
        QFETCH(QByteArray, uriList);
        QFETCH(QByteArray, copiedFiles);
        QFETCH(QString, text);
        QCOMPARE(data->data("text/uri-list"), uriList);
        QCOMPARE(data->data("x-special/gnome-copied-files"), copiedFiles);
        QCOMPARE(data->data("x-special/mate-copied-files"), copiedFiles);
        QCOMPARE(data->data("application/x-kde-cutselection"), QByteArray(cut ? "1" : "0"));
        QCOMPARE(data->text(), text);

        const TClipboardPaste back = ReadClipboardPaste(data.get());
        QCOMPARE(back.Paths, paths);
        QCOMPARE(back.IsCut, cut);
        for (const QString& format : data->formats()) {
            if (format == "application/x-kde-cutselection" || format.startsWith("text/plain"))
                continue;
            QMimeData single;
            single.setData(format, data->data(format));
            if (format == "text/uri-list" && cut)
                single.setData("application/x-kde-cutselection", "1");
            QVERIFY2(ReadClipboardPaste(&single).Paths == paths, qPrintable(format));
            QVERIFY2(ReadClipboardPaste(&single).IsCut == cut, qPrintable(format));
        }
    }

    void readsWhatAnotherProgramWrote_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Paths>("paths");
        QTest::addColumn<bool>("cut");
        QTest::newRow("GNOME cut with a trailing newline")
            << "x-special/gnome-copied-files" << QByteArray("cut\nfile:///a%20b\nfile:///c\n")
            << Paths{"/a b", "/c"} << true;
        QTest::newRow("MATE copy") << "x-special/mate-copied-files" << QByteArray("copy\nfile:///x")
                                   << Paths{"/x"} << false;
        QTest::newRow("GNOME list without its action is ignored")
            << "x-special/gnome-copied-files" << QByteArray("file:///x") << Paths{} << false;
        QTest::newRow("URI list: comments, localhost, other hosts and schemes")
            << "text/uri-list"
            << QByteArray("# from a browser\r\nfile://localhost/tmp/%E4%B8%AD\r\n"
                          "http://example.org/x\r\nfile://otherhost/y\r\nfile:/single/slash\r\n")
            << Paths{"/tmp/中", "/single/slash"} << false;
        QTest::newRow("plain paths are only text")
            << "text/plain" << QByteArray("/usr\n/tmp/x\n") << Paths{} << false;
        QTest::newRow("plain text holding a file URL is only text")
            << "text/plain" << QByteArray("file:///tmp/a%20b") << Paths{} << false;
        QTest::newRow("Nautilus list in plain text")
            << "text/plain" << QByteArray("x-special/nautilus-clipboard\ncut\nfile:///tmp/n\n")
            << Paths{"/tmp/n"} << true;
        QTest::newRow("text that names no path")
            << "text/plain" << QByteArray("hello world") << Paths{} << false;
    }
    void readsWhatAnotherProgramWrote() {
        QFETCH(QString, format);
        QFETCH(QByteArray, content);
        QMimeData data;
        data.setData(format, content);
        const TClipboardPaste paste = ReadClipboardPaste(&data);
        QTEST(paste.Paths, "paths");
        QTEST(paste.IsCut, "cut");
    }
};

QTEST_GUILESS_MAIN(TFolderClipboardTest)
#include "folder_clipboard_test_linux.moc"

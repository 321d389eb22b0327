// The command line: a folder given as a path or a file:// URL, in UTF-8 whatever the code page,
// what is wrong with it, and the options that print and end the program. Paths are written
// with the platform's separators; the few rows that differ by platform are chosen as they run.
#include <filesystem>

#include <QDir>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include "ui/window/command_line.h"

namespace {

const bool OnWindows = QDir::separator() == u'\\';

std::string Bytes(const QString& text) {
    return text.toStdString();
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Windows paths name the same folder whatever their case.
bool SamePath(const QString& a, const QString& b) {
    return a.compare(b, OnWindows ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

} // namespace

class TCommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("照片/中文 2024")));
        QFile file(path(QStringLiteral("照片/a.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void namesAFolder_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("currentFolder");
        QTest::addColumn<QString>("folder"); // below the temporary root
        const QString root = Native(m_dir.path()), sep = QDir::separator();
        const QString url = QUrl::fromLocalFile(m_dir.path()).toString(QUrl::FullyEncoded);
        QTest::newRow("absolute") << root + sep + "照片" << m_rootFolder << "照片";
        QTest::newRow("a separator at the end")
            << root + sep + "照片" + sep << m_rootFolder << "照片";
        QTest::newRow("slashes") << m_dir.path() + "/照片" << m_rootFolder << "照片";
        QTest::newRow("relative, with dot steps") << Native("./照片/../照片/.") << root << "照片";
        QTest::newRow("URL") << url + "/%E7%85%A7%E7%89%87/%E4%B8%AD%E6%96%87%202024"
                             << m_rootFolder << "照片/中文 2024";
        QTest::newRow("URL, localhost")
            << QString(url).replace("file://", "file://localhost") + "/%E7%85%A7%E7%89%87"
            << m_rootFolder << "照片";
    }
    void namesAFolder() {
        QFETCH(QString, argument);
        QFETCH(QString, currentFolder);
        QFETCH(QString, folder);
        const TCommandLine line =
            ParseCommandLine({"zelvora", Bytes(argument)}, Bytes(currentFolder));
        QCOMPARE(line.ExitCode, std::nullopt);
        QCOMPARE(line.StartFolder.Error, QString());
        const QString found = QString::fromStdString(line.StartFolder.Folder);
        QVERIFY2(SamePath(found, path(folder)), qPrintable(found));
    }

    void reportsWhatIsNoFolder_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("error");
        const QString missing = path("nowhere"), file = path("照片/a.txt");
        const QString url = QUrl::fromLocalFile(m_dir.path()).toString(QUrl::FullyEncoded);
        const auto row = [](const char* name, const QString& argument, const QString& error) {
            QTest::newRow(name) << argument << error;
        };
        row("missing", missing, "找不到文件夹“" + missing + "”");
        row("a file", file, "“" + file + "”不是文件夹");
        row("missing URL", url + "/nowhere", "找不到文件夹“" + url + "/nowhere”");
        row("remote URL", "file://server/share", "“file://server/share”不是本地文件夹");
        row("empty", "", "找不到文件夹“”");
        if (OnWindows)
            row("URL without a drive", "file:///share/x", "“file:///share/x”不是本地文件夹");
        else
            row("below a file", file + "/x", "“" + file + "/x”不是文件夹");
    }
    void reportsWhatIsNoFolder() {
        QFETCH(QString, argument);
        QFETCH(QString, error);
        const TCommandLine line =
            ParseCommandLine({"zelvora", Bytes(argument)}, Bytes(m_rootFolder));
        QCOMPARE(line.ExitCode, std::nullopt); // the program starts as usual
        QCOMPARE(line.StartFolder.Folder, std::string());
        QCOMPARE(line.StartFolder.Error, error);
    }

    void keepsTheBytesOfANameThatIsNotUtf8() {
        if (OnWindows) QSKIP("Windows names are Unicode");
        const std::string latin1 = Bytes(path("照片")) + "/caf\xe9";
        std::filesystem::create_directory(latin1);
        QCOMPARE(ParseCommandLine({"zelvora", latin1}, "/").StartFolder.Folder, latin1);
        const std::string url =
            Bytes(QUrl::fromLocalFile(path("照片")).toString(QUrl::FullyEncoded)) + "/caf%E9";
        QCOMPARE(ParseCommandLine({"zelvora", url}, "/").StartFolder.Folder, latin1);
        std::filesystem::remove(latin1); // QDir can't remove a name that is not UTF-8
    }

    void printsAndEnds_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");      // the start of standard output
        QTest::addColumn<QString>("errorOutput"); // the start of standard error
        const QString usage = QStringLiteral("Usage: zelvora [options] [FOLDER]\n");
        for (const char* option : {"--version", "-v"})
            QTest::newRow(option) << QStringList{option} << 0 << QString("zelvora 1.0.0\n") << "";
        QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << "";
        QTest::newRow("help beside a folder")
            << QStringList{m_rootFolder, "-h"} << 0 << usage << "";
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 1 << ""
                                        << "zelvora: Unknown option 'frobnicate'.\n";
        QTest::newRow("two folders") << QStringList{m_rootFolder, m_dir.path()} << 1 << ""
                                     << "zelvora: Only one folder can be opened.\n";
    }
    void printsAndEnds() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, errorOutput);
        std::vector<std::string> raw{"zelvora"};
        for (const QString& argument : arguments)
            raw.push_back(Bytes(argument));
        const TCommandLine line = ParseCommandLine(raw, Bytes(m_rootFolder));
        QCOMPARE(line.ExitCode, std::optional(exitCode));
        QCOMPARE(line.Output.left(output.size()), output);
        QCOMPARE(line.ErrorOutput.left(errorOutput.size()), errorOutput);
        QCOMPARE(line.Output.isEmpty(), output.isEmpty());
        QCOMPARE(line.ErrorOutput.isEmpty(), errorOutput.isEmpty());
    }

    void startsOnTheDesktopWithoutAFolder() {
        const TCommandLine line = ParseCommandLine({"zelvora"}, Bytes(m_rootFolder));
        QCOMPARE(line.ExitCode, std::nullopt);
        QCOMPARE(line.StartFolder.Folder, std::string());
        QCOMPARE(line.StartFolder.Error, QString());
    }

    void aDroppedFileGivesItsFolder() {
        const auto dropped = [this](const char* relative) {
            return ChooseFolder(Bytes(path(relative)), Bytes(m_rootFolder), true);
        };
        QVERIFY(SamePath(QString::fromStdString(dropped("照片/a.txt").Folder), path("照片")));
        QVERIFY(SamePath(QString::fromStdString(dropped("照片").Folder), path("照片")));
        QVERIFY(!dropped("nowhere/a.txt").Error.isEmpty());
    }

    void normalisesPaths_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("currentFolder");
        QTest::addColumn<QString>("absolute");
        const auto row = [](const char* name, const QString& path, const QString& currentFolder,
                            const QString& absolute) {
            QTest::newRow(name) << path << currentFolder << absolute;
        };
        if (OnWindows) {
            row("a drive keeps its separator", "C:\\", "D:\\x", "C:\\");
            row("above the drive", "C:\\..\\..", "D:\\x", "C:\\");
            row("slashes, doubled", "C://a//b//", "D:\\x", "C:\\a\\b");
        } else {
            row("root", "/", "/x", "/");
            row("above the root", "/../..", "/x", "/");
            row("doubled slashes", "//a//b//", "/x", "/a/b");
        }
        const QString a = Native(OnWindows ? "D:/a" : "/a");
        row("relative", Native("b/./c"), a, Native(a + "/b/c"));
        row("up", Native("../b"), Native(a + "/x"), Native(a + "/b"));
        row("current folder", ".", Native(a + "/x"), Native(a + "/x"));
    }
    void normalisesPaths() {
        QFETCH(QString, path);
        QFETCH(QString, currentFolder);
        QFETCH(QString, absolute);
        QCOMPARE(QString::fromStdString(AbsolutePath(Bytes(path), Bytes(currentFolder))), absolute);
    }

private:
    QString path(const QString& relative) const { return Native(m_dir.path() + "/" + relative); }

    QTemporaryDir m_dir;
    const QString m_rootFolder = Native(QDir::rootPath());
};

QTEST_GUILESS_MAIN(TCommandLineTest)
#include "command_line_test.moc"

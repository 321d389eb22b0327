// The command line: a folder given as a path or a file:// URL, what is wrong with it, and the
// options that print and end the program.
#include <filesystem>
#include <fstream>

#include <QTemporaryDir>
#include <QtTest>

#include "ui/window/command_line.h"

namespace {

std::string Bytes(const QString& text) {
    return text.toStdString();
}

} // namespace

class TCommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void namesAFolder_data();
    void namesAFolder();
    void reportsWhatIsNoFolder_data();
    void reportsWhatIsNoFolder();
    void keepsTheBytesOfANameThatIsNotUtf8();
    void printsAndEnds_data();
    void printsAndEnds();
    void startsOnTheDesktopWithoutAFolder();
    void aDroppedFileGivesItsFolder();
    void normalisesPaths_data();
    void normalisesPaths();

private:
    std::string path(const char* relative) const { return m_root + "/" + relative; }

    QTemporaryDir m_dir;
    std::string m_root;
};

void TCommandLineTest::initTestCase() {
    m_root = Bytes(m_dir.path());
    std::filesystem::create_directories(path("photos/中文 2024"));
    std::ofstream(path("photos/a.txt")) << "x";
}

// QDir can't remove a name that is not UTF-8.
void TCommandLineTest::cleanupTestCase() {
    std::filesystem::remove_all(m_root);
}

void TCommandLineTest::namesAFolder_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("currentFolder");
    QTest::addColumn<QString>("folder"); // below the temporary root
    const QString root = m_dir.path();
    QTest::newRow("absolute") << root + "/photos"
                              << "/"
                              << "/photos";
    QTest::newRow("trailing slash") << root + "/photos/"
                                    << "/"
                                    << "/photos";
    QTest::newRow("relative") << "photos" << root << "/photos";
    QTest::newRow("dot steps") << "./photos/../photos/." << root << "/photos";
    QTest::newRow("URL") << "file://" + root + "/photos"
                         << "/"
                         << "/photos";
    QTest::newRow("URL, localhost") << "file://localhost" + root + "/photos"
                                    << "/"
                                    << "/photos";
    QTest::newRow("URL, percent-encoded") << "file://" + root + "/photos/%E4%B8%AD%E6%96%87%202024"
                                          << "/"
                                          << "/photos/中文 2024";
}

void TCommandLineTest::namesAFolder() {
    QFETCH(QString, argument);
    QFETCH(QString, currentFolder);
    QFETCH(QString, folder);
    const TCommandLine line = ParseCommandLine({"zelvora", Bytes(argument)}, Bytes(currentFolder));
    QCOMPARE(line.ExitCode, std::nullopt);
    QCOMPARE(line.StartFolder.Error, QString());
    QCOMPARE(QString::fromStdString(line.StartFolder.Folder), m_dir.path() + folder);
}

void TCommandLineTest::reportsWhatIsNoFolder_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("error");
    const QString root = m_dir.path();
    QTest::newRow("missing") << root + "/nowhere"
                             << "找不到文件夹“" + root + "/nowhere”";
    QTest::newRow("a file") << root + "/photos/a.txt"
                            << "“" + root + "/photos/a.txt”不是文件夹";
    QTest::newRow("below a file") << root + "/photos/a.txt/x"
                                  << "“" + root + "/photos/a.txt/x”不是文件夹";
    QTest::newRow("missing URL") << "file://" + root + "/nowhere"
                                 << "找不到文件夹“file://" + root + "/nowhere”";
    QTest::newRow("remote URL") << "file://server/share"
                                << "“file://server/share”不是本地文件夹";
    QTest::newRow("empty") << ""
                           << "找不到文件夹“”";
}

void TCommandLineTest::reportsWhatIsNoFolder() {
    QFETCH(QString, argument);
    QFETCH(QString, error);
    const TCommandLine line = ParseCommandLine({"zelvora", Bytes(argument)}, "/");
    QCOMPARE(line.ExitCode, std::nullopt); // the program starts as usual
    QCOMPARE(line.StartFolder.Folder, std::string());
    QCOMPARE(line.StartFolder.Error, error);
}

void TCommandLineTest::keepsTheBytesOfANameThatIsNotUtf8() {
    const std::string latin1 = path("photos/caf\xe9");
    std::filesystem::create_directory(latin1);
    const std::string asPath = ParseCommandLine({"zelvora", latin1}, "/").StartFolder.Folder;
    QCOMPARE(asPath, latin1);
    const std::string url = "file://" + path("photos/caf%E9");
    QCOMPARE(ParseCommandLine({"zelvora", url}, "/").StartFolder.Folder, latin1);
}

void TCommandLineTest::printsAndEnds_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");      // the start of standard output
    QTest::addColumn<QString>("errorOutput"); // the start of standard error
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "zelvora 1.0.0\n"
                               << "";
    QTest::newRow("-v") << QStringList{"-v"} << 0 << "zelvora 1.0.0\n"
                        << "";
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: zelvora [options] [FOLDER]\n"
                            << "";
    QTest::newRow("help beside a folder")
        << QStringList{"/", "-h"} << 0 << "Usage: zelvora [options] [FOLDER]\n"
        << "";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 1 << ""
                                    << "zelvora: Unknown option 'frobnicate'.\n";
    QTest::newRow("two folders") << QStringList{"/", "/tmp"} << 1 << ""
                                 << "zelvora: Only one folder can be opened.\n";
}

void TCommandLineTest::printsAndEnds() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, errorOutput);
    std::vector<std::string> raw{"zelvora"};
    for (const QString& argument : arguments)
        raw.push_back(Bytes(argument));
    const TCommandLine line = ParseCommandLine(raw, "/");
    QCOMPARE(line.ExitCode, std::optional(exitCode));
    QCOMPARE(line.Output.left(output.size()), output);
    QCOMPARE(line.ErrorOutput.left(errorOutput.size()), errorOutput);
    QCOMPARE(line.Output.isEmpty(), output.isEmpty());
    QCOMPARE(line.ErrorOutput.isEmpty(), errorOutput.isEmpty());
}

void TCommandLineTest::startsOnTheDesktopWithoutAFolder() {
    const TCommandLine line = ParseCommandLine({"zelvora"}, "/");
    QCOMPARE(line.ExitCode, std::nullopt);
    QCOMPARE(line.StartFolder.Folder, std::string());
    QCOMPARE(line.StartFolder.Error, QString());
}

void TCommandLineTest::aDroppedFileGivesItsFolder() {
    QCOMPARE(ChooseFolder(path("photos/a.txt"), "/", true).Folder, path("photos"));
    QCOMPARE(ChooseFolder(path("photos"), "/", true).Folder, path("photos"));
    QVERIFY(!ChooseFolder(path("nowhere/a.txt"), "/", true).Error.isEmpty());
}

void TCommandLineTest::normalisesPaths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("currentFolder");
    QTest::addColumn<QString>("absolute");
    QTest::newRow("root") << "/"
                          << "/x"
                          << "/";
    QTest::newRow("above the root") << "/../.."
                                    << "/x"
                                    << "/";
    QTest::newRow("doubled slashes") << "//a//b//"
                                     << "/x"
                                     << "/a/b";
    QTest::newRow("relative") << "b/./c"
                              << "/a"
                              << "/a/b/c";
    QTest::newRow("up") << "../b"
                        << "/a/x"
                        << "/a/b";
    QTest::newRow("current folder") << "."
                                    << "/a/x"
                                    << "/a/x";
}

void TCommandLineTest::normalisesPaths() {
    QFETCH(QString, path);
    QFETCH(QString, currentFolder);
    QFETCH(QString, absolute);
    QCOMPARE(QString::fromStdString(AbsolutePath(Bytes(path), Bytes(currentFolder))), absolute);
}

QTEST_GUILESS_MAIN(TCommandLineTest)
#include "command_line_test_linux.moc"

// The command line on Windows: folders named by Windows paths and file:/// URLs with a drive,
// in UTF-8 whatever the code page, and what is wrong with them; the command lines Explorer's
// verbs make, read by Windows' rules.
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/namespace/wide_names_win.h"
#include "ui/window/command_line.h"
#include "ui/window/folder_argument.h"
#include "ui/window/platform_window_win.h"

namespace {

std::string Bytes(const QString& text) {
    return text.toStdString();
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The installed program as Explorer's verbs start it.
const QString Program = QStringLiteral(R"("C:\Program Files\Zelvora\zelvora.exe" )");

QStringList Texts(const std::vector<std::string>& arguments) {
    QStringList texts;
    for (const std::string& argument : arguments)
        texts << QString::fromStdString(argument);
    return texts;
}

} // namespace

class TWindowsCommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void namesAFolder_data();
    void namesAFolder();
    void reportsWhatIsNoFolder_data();
    void reportsWhatIsNoFolder();
    void normalisesPaths_data();
    void normalisesPaths();
    void readsExplorersCommandLines_data();
    void readsExplorersCommandLines();
    void opensWhatExplorersVerbsName_data();
    void opensWhatExplorersVerbsName();
    void keepsALoneSurrogateOfAName();

private:
    QTemporaryDir m_dir;
};

void TWindowsCommandLineTest::initTestCase() {
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("照片/中文 2024")));
    QFile file(m_dir.filePath(QStringLiteral("照片/a.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void TWindowsCommandLineTest::namesAFolder_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("currentFolder");
    QTest::addColumn<QString>("folder"); // below the temporary root
    const QString root = Native(m_dir.path());
    QTest::newRow("backslashes") << root + "\\照片"
                                 << "C:\\"
                                 << "\\照片";
    QTest::newRow("slashes, one at the end") << m_dir.path() + "/照片/"
                                             << "C:\\"
                                             << "\\照片";
    QTest::newRow("relative, with dot steps") << ".\\照片\\..\\照片" << root << "\\照片";
    QTest::newRow("URL with a drive")
        << "file:///" + m_dir.path() + "/%E7%85%A7%E7%89%87/%E4%B8%AD%E6%96%87%202024"
        << "C:\\"
        << "\\照片\\中文 2024";
}

void TWindowsCommandLineTest::namesAFolder() {
    QFETCH(QString, argument);
    QFETCH(QString, currentFolder);
    QFETCH(QString, folder);
    const TCommandLine line = ParseCommandLine({"zelvora", Bytes(argument)}, Bytes(currentFolder));
    QCOMPARE(line.StartFolder.Error, QString());
    QCOMPARE(QString::fromStdString(line.StartFolder.Folder).toLower(),
             (Native(m_dir.path()) + folder).toLower());
}

void TWindowsCommandLineTest::reportsWhatIsNoFolder_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("error");
    const QString root = Native(m_dir.path());
    QTest::newRow("missing") << root + "\\nowhere"
                             << "找不到文件夹“" + root + "\\nowhere”";
    QTest::newRow("a file") << root + "\\照片\\a.txt"
                            << "“" + root + "\\照片\\a.txt”不是文件夹";
    QTest::newRow("URL without a drive") << "file:///share/x"
                                         << "“file:///share/x”不是本地文件夹";
}

void TWindowsCommandLineTest::reportsWhatIsNoFolder() {
    QFETCH(QString, argument);
    QFETCH(QString, error);
    const TCommandLine line = ParseCommandLine({"zelvora", Bytes(argument)}, "C:\\");
    QCOMPARE(line.StartFolder.Folder, std::string());
    QCOMPARE(line.StartFolder.Error, error);
}

void TWindowsCommandLineTest::normalisesPaths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("currentFolder");
    QTest::addColumn<QString>("absolute");
    QTest::newRow("a drive keeps its separator") << "C:\\"
                                                 << "D:\\x"
                                                 << "C:\\";
    QTest::newRow("above the drive") << "C:\\..\\.."
                                     << "D:\\x"
                                     << "C:\\";
    QTest::newRow("slashes and doubled separators") << "C://a//b//"
                                                    << "D:\\x"
                                                    << "C:\\a\\b";
    QTest::newRow("relative") << "b\\.\\c"
                              << "D:\\a"
                              << "D:\\a\\b\\c";
    QTest::newRow("up") << "..\\b"
                        << "D:\\a\\x"
                        << "D:\\a\\b";
}

void TWindowsCommandLineTest::normalisesPaths() {
    QFETCH(QString, path);
    QFETCH(QString, currentFolder);
    QFETCH(QString, absolute);
    QCOMPARE(QString::fromStdString(AbsolutePath(Bytes(path), Bytes(currentFolder))), absolute);
}

void TWindowsCommandLineTest::readsExplorersCommandLines_data() {
    QTest::addColumn<QString>("arguments"); // after the program
    QTest::addColumn<QString>("argument");  // as read
    // The folder verb passes "%1", the background verb "%V\." (installer); "%V" was once
    // registered and still reaches us from old installs.
    QTest::newRow("a folder, \"%1\"") << R"("C:\Data\照片")"
                                      << R"(C:\Data\照片)";
    QTest::newRow("a folder's background, \"%V\\.\"") << R"("C:\Data\照片\.")"
                                                      << R"(C:\Data\照片\.)";
    QTest::newRow("a drive's background, \"%V\\.\"") << R"("C:\\.")"
                                                     << R"(C:\\.)";
    QTest::newRow("a drive's background, \"%V\"") << R"("C:\")"
                                                  << R"(C:\)";
    QTest::newRow("a drive, \"%1\"") << R"("D:\")"
                                     << R"(D:\)";
    QTest::newRow("a drive unquoted") << R"(C:\)"
                                      << R"(C:\)";
    QTest::newRow("a drive with its separator doubled") << R"("C:\\")"
                                                        << R"(C:\)";
    QTest::newRow("a long drive path, \"%V\"") << R"("\\?\C:\")"
                                               << R"(\\?\C:\)";
    QTest::newRow("a quote inside a name stays") << R"("a\"b")"
                                                 << R"(a"b)";
}

void TWindowsCommandLineTest::readsExplorersCommandLines() {
    QFETCH(QString, arguments);
    QFETCH(QString, argument);
    const std::vector<std::string> read =
        ArgumentsOfCommandLine((Program + arguments).toStdWString());
    QCOMPARE(Texts(read),
             (QStringList{QStringLiteral(R"(C:\Program Files\Zelvora\zelvora.exe)"), argument}));
}

void TWindowsCommandLineTest::opensWhatExplorersVerbsName_data() {
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("folder");
    const QString folder = Native(m_dir.path()) + "\\照片";
    QTest::newRow("a folder") << "\"" + folder + "\"" << folder;
    QTest::newRow("a folder's background") << "\"" + folder + "\\.\"" << folder;
    QTest::newRow("a drive's background, \"%V\\.\"") << R"("C:\\.")"
                                                     << R"(C:\)";
    QTest::newRow("a drive's background, \"%V\"") << R"("C:\")"
                                                  << R"(C:\)";
}

void TWindowsCommandLineTest::opensWhatExplorersVerbsName() {
    QFETCH(QString, arguments);
    QFETCH(QString, folder);
    const TCommandLine line =
        ParseCommandLine(ArgumentsOfCommandLine((Program + arguments).toStdWString()), "D:\\x");
    QCOMPARE(line.StartFolder.Error, QString());
    QCOMPARE(QString::fromStdString(line.StartFolder.Folder).toLower(), folder.toLower());
}

// Windows names may hold a lone surrogate, which no UTF-8 text carries: the path keeps it from
// the command line to the folder opened. (Wine makes no such name, so no folder is made.)
void TWindowsCommandLineTest::keepsALoneSurrogateOfAName() {
    const std::wstring folder = L"C:\\照片\\孤\xD800单";
    const std::vector<std::string> arguments =
        ArgumentsOfCommandLine(Program.toStdWString() + L"\"" + folder + L"\\.\"");
    QCOMPARE(arguments.size(), std::size_t{2});
    QVERIFY(WideName(AbsolutePath(arguments[1], "D:\\")) == folder);
    QVERIFY(WideName(AbsolutePath("孤\xED\xA0\x80单", "C:\\照片")) == folder);
}

QTEST_GUILESS_MAIN(TWindowsCommandLineTest)
#include "command_line_test_win.moc"

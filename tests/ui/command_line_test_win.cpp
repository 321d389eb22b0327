// The command lines Explorer's verbs make, read by Windows' rules, and the folders they open;
// command_line_test.cpp holds what both platforms share.
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/namespace/wide_names_win.h"
#include "ui/window/command_line.h"
#include "ui/window/folder_argument.h"
#include "ui/window/platform_window_win.h"

namespace {

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
    void initTestCase() { QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("照片"))); }

    void readsExplorersCommandLines_data() {
        QTest::addColumn<QString>("arguments"); // after the program
        QTest::addColumn<QString>("argument");  // as read
        // The folder verb passes "%1", the background verb "%V\." (installer); "%V" was once
        // registered and still reaches us from old installs.
        const auto row = [](const char* name, const QString& arguments, const QString& argument) {
            QTest::newRow(name) << arguments << argument;
        };
        row("a folder, \"%1\"", R"("C:\Data\照片")", R"(C:\Data\照片)");
        row("a folder's background, \"%V\\.\"", R"("C:\Data\照片\.")", R"(C:\Data\照片\.)");
        row("a drive's background, \"%V\\.\"", R"("C:\\.")", R"(C:\\.)");
        row("a drive's background, \"%V\"", R"("C:\")", R"(C:\)");
        row("a drive, \"%1\"", R"("D:\")", R"(D:\)");
        row("a drive unquoted", R"(C:\)", R"(C:\)");
        row("a drive with its separator doubled", R"("C:\\")", R"(C:\)");
        row("a long drive path, \"%V\"", R"("\\?\C:\")", R"(\\?\C:\)");
        row("a quote inside a name stays", R"("a\"b")", R"(a"b)");
    }
    void readsExplorersCommandLines() {
        QFETCH(QString, arguments);
        QFETCH(QString, argument);
        const std::vector<std::string> read =
            ArgumentsOfCommandLine((Program + arguments).toStdWString());
        QCOMPARE(
            Texts(read),
            (QStringList{QStringLiteral(R"(C:\Program Files\Zelvora\zelvora.exe)"), argument}));
    }

    void opensWhatExplorersVerbsName_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("folder");
        const QString folder = Native(m_dir.path()) + "\\照片";
        QTest::newRow("a folder") << "\"" + folder + "\"" << folder;
        QTest::newRow("a folder's background") << "\"" + folder + "\\.\"" << folder;
        QTest::newRow("a drive's background, \"%V\\.\"")
            << QString(R"("C:\\.")") << QString(R"(C:\)");
        QTest::newRow("a drive's background, \"%V\"") << QString(R"("C:\")") << QString(R"(C:\)");
    }
    void opensWhatExplorersVerbsName() {
        QFETCH(QString, arguments);
        QFETCH(QString, folder);
        const TCommandLine line =
            ParseCommandLine(ArgumentsOfCommandLine((Program + arguments).toStdWString()), "D:\\x");
        QCOMPARE(line.StartFolder.Error, QString());
        QCOMPARE(QString::fromStdString(line.StartFolder.Folder).toLower(), folder.toLower());
    }

    // Windows names may hold a lone surrogate, which no UTF-8 text carries: the path keeps it from
    // the command line to the folder opened. (Wine makes no such name, so no folder is made.)
    void keepsALoneSurrogateOfAName() {
        const std::wstring folder = L"C:\\照片\\孤\xD800单";
        const std::vector<std::string> arguments =
            ArgumentsOfCommandLine(Program.toStdWString() + L"\"" + folder + L"\\.\"");
        QCOMPARE(arguments.size(), std::size_t{2});
        QVERIFY(WideName(AbsolutePath(arguments[1], "D:\\")) == folder);
        QVERIFY(WideName(AbsolutePath("孤\xED\xA0\x80单", "C:\\照片")) == folder);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TWindowsCommandLineTest)
#include "command_line_test_win.moc"

// How the program runs the window for a caller: what reaches standard output
// and which status it ends with, the window driven offscreen.
#include "app/Answer.h"
#include "app/CommandLine.h"
#include "app/WindowRun.h"
#include "ui/window/UntCalc.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>

namespace {

// Standard output and standard error into files of their own from start()
// on while it lives, as a caller's pipes would take them.
class CapturedOutput {
public:
    CapturedOutput() = default;
    ~CapturedOutput() { restore(); }
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    // False, and nothing captured, when a file to take the output could not
    // be opened.
    [[nodiscard]] bool start()
    {
        if (!out_.open() || !err_.open()) {
            return false;
        }
        std::fflush(nullptr);
        savedOut_ = ::dup(STDOUT_FILENO);
        savedErr_ = ::dup(STDERR_FILENO);
        ::dup2(out_.handle(), STDOUT_FILENO);
        ::dup2(err_.handle(), STDERR_FILENO);
        return true;
    }

    // Ends the capture; what was written stays readable.
    void restore()
    {
        if (savedOut_ < 0) {
            return;
        }
        std::fflush(nullptr);
        ::dup2(savedOut_, STDOUT_FILENO);
        ::dup2(savedErr_, STDERR_FILENO);
        ::close(savedOut_);
        ::close(savedErr_);
        savedOut_ = savedErr_ = -1;
    }
    QByteArray out() { return contents(out_); }
    QByteArray err() { return contents(err_); }

private:
    static QByteArray contents(QTemporaryFile& file)
    {
        file.seek(0);
        return file.readAll();
    }
    QTemporaryFile out_;
    QTemporaryFile err_;
    int savedOut_ = -1;
    int savedErr_ = -1;
};

app::CommandLine commandLine(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "qinghe-taxcalc");
    return app::readCommandLine(int(arguments.size()), arguments.data());
}

void click(ui::FrmCalc& window, const char* control)
{
    QTest::mouseClick(window.findChild<QAbstractButton*>(control), Qt::LeftButton);
}

void doubleClickLine(ui::FrmCalc& window, int row)
{
    auto* view = window.findChild<QAbstractItemView*>("ListBoxShow");
    const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class WindowRunTest : public QObject {
    Q_OBJECT

private slots:
    void answer_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("user"); // what the user does once the window is up
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("--pick 100, + 20 =, result line")
            << QStringList{"--pick", "100"} << "+20=3" << 0 << QByteArray("120\n");
        QTest::newRow("--pick 7.5, + 1 =, first line")
            << QStringList{"--pick", "7.5"} << "+1=0" << 0 << QByteArray("7.5\n");
        QTest::newRow("--pick 1E20, * 15 =, result line")
            << QStringList{"--pick", "1E20"} << "*15=3" << 0 << QByteArray("1.5E21\n");
        QTest::newRow("--pick, separator line, then closed") << QStringList{"--pick"} << "+1=2x" << 1 << QByteArray();
        QTest::newRow("--pick 5, closed") << QStringList{"--pick", "5"} << "x" << 1 << QByteArray();
        QTest::newRow("--print-tape, 12 + 30 =, closed") << QStringList{"--print-tape"} << "12+30=x" << 0
                                                         << QByteArray("                       12\n"
                                                                       "＋                     30\n"
                                                                       "－－－－－－－－－－－－－－－\n"
                                                                       "结果                   42\n");
        QTest::newRow("no option, 12 + 30 =, closed") << QStringList{} << "12+30=x" << 0 << QByteArray();
    }

    // The user's keys: digits, "+", "*", "=", a digit after "=" is the tape
    // line to double-click, "x" closes the window.
    void answer()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, user);
        std::vector<std::string> words;
        std::vector<const char*> argv;
        for (const QString& argument : arguments) {
            words.push_back(argument.toStdString());
        }
        for (const auto& word : words) {
            argv.push_back(word.c_str());
        }
        const app::CommandLine line = commandLine(argv);
        QCOMPARE(int(line.request == app::Request::Refuse), 0);

        CapturedOutput captured;
        QVERIFY2(captured.start(), "no temporary file for the output");
        int status = -1;
        std::ostringstream err;
        {
            // As the program does: from before the window on, noise from
            // anyone else must not reach the answer.
            app::Answer answer;
            std::printf("noise on standard output\n");
            ui::FrmCalc window;
            QTimer::singleShot(0, &window, [&window, user] {
                bool afterEquals = false;
                for (const QChar key : user) {
                    if (key == 'x') {
                        click(window, "BitBtnCancel");
                    } else if (afterEquals && key.isDigit()) {
                        doubleClickLine(window, key.digitValue());
                    } else if (key.isDigit()) {
                        click(window, ("SBtn" + QString(key)).toLatin1().constData());
                    } else {
                        click(window, key == '+' ? "SBtnAdd" : key == '*' ? "SBtnMulti" : "SBtnEqual");
                    }
                    afterEquals = afterEquals || key == '=';
                }
            });
            status = app::runWindow(window, line, answer, err);
        }
        captured.restore();
        QCOMPARE(QString::fromStdString(err.str()), QString());
        QTEST(status, "status");
        QTEST(captured.out(), "out");
        QVERIFY(captured.err().contains("noise on standard output"));
    }

    // Off X11 the window cannot be a dialog of another program's window: a
    // warning, and the picker works as without it.
    void attachOffX11()
    {
        std::ostringstream err;
        CapturedOutput captured;
        QVERIFY2(captured.start(), "no temporary file for the output");
        int status = -1;
        {
            app::Answer answer;
            ui::FrmCalc window;
            QTimer::singleShot(0, &window, [&window] { click(window, "BitBtnCancel"); });
            status = app::runWindow(window, commandLine({"--pick", "--attach", "0x2200007"}), answer, err);
        }
        captured.restore();
        QCOMPARE(status, app::kExitClosed);
        QCOMPARE(captured.out(), QByteArray());
        QCOMPARE(QString::fromStdString(err.str()),
            "qinghe-taxcalc: --attach: attaching to another program's window is not supported on offscreen; the window "
            "opens on its own\n");
    }
};

QTEST_MAIN(WindowRunTest)
#include "app_window_run_test.moc"

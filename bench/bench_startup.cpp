// How long the operator waits: from process start to the login window shown,
// and from OK to the main window shown, each next to the start of a bare Qt
// window on the same machine. Each figure is the median of several runs in
// fresh processes.
//
//   bench_startup [runs]
#include "data/database.h"
#include "shell/frmLogin.h"
#include "shell/frmZelvaBillingSystem.h"
#include "shell/module1.h"
#include "shell/operators.h"
#include "timing.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QString BenchUser = QStringLiteral("bench");
const QString BenchPassword = QStringLiteral("bench password");

// Calls back once, on the widget's first paint.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* widget, std::function<void()> onPaint)
        : m_onPaint(std::move(onPaint))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_onPaint) {
            auto call = std::move(m_onPaint);
            m_onPaint = nullptr;
            QTimer::singleShot(0, this, call);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onPaint;
};

void say(const char* text)
{
    std::printf("%s\n", text);
    std::fflush(stdout);
}

int childBare(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(400, 300);
    FirstPaint shown(&window, [] {
        say("shown");
        QCoreApplication::exit(0);
    });
    window.show();
    return app.exec();
}

int childLogin(int argc, char* argv[], const QString& folder)
{
    QApplication app(argc, argv);
    zelva::SetEndProgramHook([] {});
    const auto db = zelva::Database::open(folder);
    frmLogin login(*db);
    QElapsedTimer sinceOk;
    std::unique_ptr<FirstPaint> mainShown;
    FirstPaint loginShown(&login, [&] {
        say("shown");
        login.txtUserName->setText(BenchUser);
        login.txtPassword->setText(BenchPassword);
        sinceOk.start();
        login.cmdOK->click();
        if (!login.mainWindow()) {
            say("login refused");
            QCoreApplication::exit(1);
            return;
        }
        mainShown = std::make_unique<FirstPaint>(login.mainWindow(), [&] {
            std::printf("main %.3f\n", bench::MsSince(sinceOk));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    });
    login.show();
    return app.exec();
}

struct Run {
    double shownMs = -1; // process start to first window painted
    double mainMs = -1; // OK to main window painted (login runs)
};

Run runChild(const QStringList& arguments)
{
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    Run run;
    while (child.state() != QProcess::NotRunning || child.canReadLine()) {
        if (!child.canReadLine() && !child.waitForReadyRead(30000))
            break;
        while (child.canReadLine()) {
            const QString line = QString::fromLocal8Bit(child.readLine()).trimmed();
            if (line == u"shown" && run.shownMs < 0)
                run.shownMs = bench::MsSince(clock);
            else if (line.startsWith(u"main "))
                run.mainMs = line.mid(5).toDouble();
        }
    }
    child.waitForFinished(30000);
    return run;
}


int measure(int argc, char* argv[], int runs)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir folder;
    QString hash;
    {
        const auto db = zelva::Database::open(folder.path());
        zelva::AddOperator(*db, BenchUser, BenchPassword);
        hash = zelva::HashPassword(BenchPassword);
    }
    const std::vector<double> check = bench::TimeRuns(runs, [&] { zelva::PasswordMatches(hash, BenchPassword); });

    std::vector<double> bare, login, main;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(runChild({ QStringLiteral("--bare") }).shownMs);
        const Run run = runChild({ QStringLiteral("--login"), folder.path() });
        login.push_back(run.shownMs);
        main.push_back(run.mainMs);
    }
    const double bareMs = bench::Median(bare), loginMs = bench::Median(login), mainMs = bench::Median(main), checkMs = bench::Median(check);
    if (bareMs <= 0 || loginMs <= 0 || mainMs <= 0) {
        std::fprintf(stderr, "bench_startup: a child did not show its window\n");
        return 1;
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    std::printf("platform: %s, median of %d runs\n", platform.isEmpty() ? "default" : platform.constData(), runs);
    std::printf("  bare Qt window, start to shown      %8.1f ms\n", bareMs);
    std::printf("  login window, start to shown        %8.1f ms   %5.2f x bare\n", loginMs, loginMs / bareMs);
    std::printf("  main window, OK to shown            %8.1f ms   %5.2f x bare\n", mainMs, mainMs / bareMs);
    std::printf("    of which the password hash check  %8.1f ms   (memory-hard on purpose)\n", checkMs);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == u"--bare")
        return childBare(argc, argv);
    if (mode == u"--login" && argc > 2)
        return childLogin(argc, argv, QString::fromLocal8Bit(argv[2]));
    const int runs = mode.isEmpty() ? 7 : std::max(1, mode.toInt());
    return measure(argc, argv, runs);
}

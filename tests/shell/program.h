#pragma once
// The program itself run as a command, for the tests of its command line.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace testing {

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program with the arguments, standard input given, and the
// offscreen display, or none at all.
inline Finished runProgram(const QStringList& arguments, const QByteArray& input = {}, bool display = true,
                           const QString& configHome = {})
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!configHome.isEmpty())
        environment.insert("XDG_CONFIG_HOME", configHome);
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(variable);
    if (display)
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ZELVA_PROGRAM), arguments);
    program.write(input);
    program.closeWriteChannel();
    if (!program.waitForFinished(120000))
        program.kill();
    return {program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

} // namespace testing

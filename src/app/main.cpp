// Start-up: choose the data folder, open (creating what is missing) the
// database files, and show the program's first window.
#include "data/database.h"
#include "data/datafolder.h"
#include "platform/message.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZelvaBilling"));
    QApplication::setApplicationVersion(QStringLiteral(ZELVA_VERSION));

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption dataDir(QStringLiteral("data-dir"), QStringLiteral("Keep the data in DIR."), QStringLiteral("DIR"));
    parser.addOption(dataDir);
    parser.process(app);

    const QString folder = zelva::ChooseDataFolder(parser.value(dataDir), QApplication::applicationDirPath());
    std::unique_ptr<zelva::Database> db;
    try {
        db = zelva::Database::open(folder);
    } catch (const zelva::DataError& error) {
        zelva::MsgBox(error.message());
        return 1;
    }

    QLabel window(QStringLiteral("Zelva Billing System\nData folder: %1").arg(folder));
    window.setWindowTitle(zelva::ApplicationTitle());
    window.resize(480, 200);
    window.show();
    return app.exec();
}

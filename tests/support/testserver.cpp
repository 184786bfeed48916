#include "support/testserver.h"

#include "data/database.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing {

namespace {

const char* const ServerBin = "/usr/lib/postgresql/15/bin/";
const char* const TestRole = "zelva";

[[noreturn]] void cannotStart(const QString& why)
{
    std::fprintf(stderr, "FAIL: the test PostgreSQL server cannot start: %s\n", qPrintable(why));
    std::fflush(stderr);
    std::_Exit(1);
}

// A TCP port nobody listens on at this moment.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

bool asRoot() { return ::geteuid() == 0; }

QString stopCommand(const QString& data)
{
    return QStringLiteral("%1%2pg_ctl -D '%3' -m immediate stop >/dev/null 2>&1")
        .arg(asRoot() ? QStringLiteral("runuser -u postgres -- ") : QString(), QLatin1String(ServerBin), data);
}

// A test that ends in an uncaught exception still stops its server.
QByteArray& stopOnTerminate()
{
    static QByteArray command;
    return command;
}

} // namespace

bool onTestServer() { return qgetenv("ZELVA_TEST_STORE") == "server"; }

TestServer& TestServer::instance()
{
    static TestServer server;
    if (!server.m_dir)
        server.init();
    return server;
}

// At the program's end, when Qt may be gone already: a plain command.
TestServer::~TestServer()
{
    if (!m_running)
        return;
    if (std::system(stopCommand(m_data).toLocal8Bit().constData()) != 0)
        std::fprintf(stderr, "the test PostgreSQL server in %s did not stop\n", qPrintable(m_data));
}

QString TestServer::runTool(const QString& tool, const QStringList& arguments, int timeoutMs) const
{
    QString program = QLatin1String(ServerBin) + tool;
    QStringList args = arguments;
    if (asRoot()) {
        args.prepend(program);
        args = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--")} + args;
        program = QStringLiteral("runuser");
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_dir->path());
    process.start(program, args);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("%1 %2: %3 %4")
            .arg(program, args.join(QLatin1Char(' ')), process.errorString(), QString::fromLocal8Bit(process.readAll()));
    return {};
}

void TestServer::init()
{
    if (!QFileInfo::exists(QLatin1String(ServerBin) + QStringLiteral("initdb")))
        cannotStart(QStringLiteral("%1initdb is missing; install the Debian package postgresql (scripts/setup.sh)")
                        .arg(QLatin1String(ServerBin)));
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/zelva-pg-XXXXXX"));
    if (!m_dir->isValid())
        cannotStart(QStringLiteral("no temporary folder"));
    m_data = m_dir->path() + QStringLiteral("/data");
    if (asRoot() && QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres:postgres"), m_dir->path()}) != 0)
        cannotStart(QStringLiteral("the temporary folder cannot be given to the user postgres"));
    // A cluster prepared once for the whole run (with the template) is
    // copied in far less time than initdb and the layout take.
    const QString prepared = qEnvironmentVariable("ZELVA_TEST_CLUSTER");
    if (!prepared.isEmpty() && QFileInfo::exists(prepared + QStringLiteral("/PG_VERSION"))) {
        if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), prepared, m_data}) != 0)
            cannotStart(QStringLiteral("the prepared cluster %1 cannot be copied").arg(prepared));
        m_templateMade = true;
    } else {
        const QString failure = runTool(QStringLiteral("initdb"),
                                        {QStringLiteral("-D"), m_data, QStringLiteral("-A"), QStringLiteral("trust"),
                                         QStringLiteral("-U"), QLatin1String(TestRole), QStringLiteral("-E"),
                                         QStringLiteral("UTF8"), QStringLiteral("--locale=C"), QStringLiteral("--no-sync")},
                                        120000);
        if (!failure.isEmpty())
            cannotStart(failure);
    }
    start();
}

void TestServer::saveCluster(const QString& folder)
{
    makeTemplate();
    runTool(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), m_data, QStringLiteral("-m"), QStringLiteral("fast"),
                                       QStringLiteral("stop")});
    m_running = false;
    QDir(folder).removeRecursively();
    if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), m_data, folder}) != 0)
        cannotStart(QStringLiteral("the cluster cannot be kept in %1").arg(folder));
}

void TestServer::start()
{
    if (m_port == 0) // started again: on the same port, where the program looks for it
        m_port = freePort();
    // No fsync: a test server's data need not outlive a power cut.
    const QString options = QStringLiteral("-p %1 -h 127.0.0.1 -k %2 %3-c max_connections=40")
                                .arg(m_port)
                                .arg(m_dir->path(), durable ? QString() : QStringLiteral("-F "));
    const QString failure = runTool(QStringLiteral("pg_ctl"),
                                    {QStringLiteral("-D"), m_data, QStringLiteral("-o"), options, QStringLiteral("-l"),
                                     m_dir->path() + QStringLiteral("/server.log"), QStringLiteral("-w"),
                                     QStringLiteral("start")});
    if (!failure.isEmpty())
        cannotStart(failure);
    m_running = true;
    stopOnTerminate() = stopCommand(m_data).toLocal8Bit();
    std::set_terminate([] {
        if (std::system(stopOnTerminate().constData()) != 0)
            std::fputs("the test PostgreSQL server did not stop\n", stderr);
        std::abort();
    });
}

void TestServer::stopNow()
{
    runTool(QStringLiteral("pg_ctl"),
            {QStringLiteral("-D"), m_data, QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("stop")});
    m_running = false;
}

QString TestServer::url(const QString& database) const
{
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(QLatin1String(TestRole)).arg(m_port).arg(database);
}

namespace {

// Runs one statement in the maintenance database; "" or why it failed.
QString maintain(int port, const QString& sql)
{
    const QString connection = QUuid::createUuid().toString();
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(port);
        db.setUserName(QLatin1String(TestRole));
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open())
            failure = db.lastError().text();
        else if (QSqlQuery query(db); !query.exec(sql))
            failure = query.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return failure;
}

} // namespace

void TestServer::makeTemplate()
{
    if (m_templateMade)
        return;
    if (const QString failure = maintain(m_port, QStringLiteral("CREATE DATABASE shop_template")); !failure.isEmpty())
        cannotStart(QStringLiteral("no template database: ") + failure);
    try {
        zelva::Database::openServer(url(QStringLiteral("shop_template")), QDir::tempPath()).reset();
    } catch (const zelva::DataError& error) {
        cannotStart(QStringLiteral("the layout cannot be made: ") + error.message());
    }
    m_templateMade = true;
}

QString TestServer::freshDatabase(bool laidOut)
{
    // The layout takes a while to make; copying a database that has it does not.
    if (laidOut)
        makeTemplate();
    const QString name = QStringLiteral("shop%1").arg(++m_databases);
    const QString failure = maintain(m_port, QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 STRATEGY FILE_COPY")
                                                 .arg(name, laidOut ? QStringLiteral("shop_template")
                                                                    : QStringLiteral("template1")));
    if (!failure.isEmpty())
        cannotStart(QStringLiteral("no new database: ") + failure);
    return url(name);
}

} // namespace testing

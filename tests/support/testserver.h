#pragma once
// A throw-away PostgreSQL server for the tests of the server store: initdb
// into a temporary folder, a free port on 127.0.0.1, trust authentication;
// started at first use, stopped when the test program ends. Where the tests
// run as root, the server runs as the system user postgres (runuser).
//
// A test program run with ZELVA_TEST_STORE=server keeps every TempData on
// it (one fresh database each) instead of in a data folder, so that the same
// tests check both stores; rowsInFile then reads from the server.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace testing {

bool onTestServer();

// Skips a case that checks what only the data files have (locks, damage, file access).
#define SKIP_ON_SERVER(why)                                                                                            \
    do {                                                                                                               \
        if (testing::onTestServer())                                                                                   \
            QSKIP("on the server store: " why);                                                                        \
    } while (false)

// Skips, on the server run, a case that touches no stored data (what the
// operator sees of menus, keys and layout): it runs once, on the files.
#define ON_FILES_ONLY()                                                                                                \
    do {                                                                                                               \
        if (testing::onTestServer())                                                                                   \
            QSKIP("touches no stored data: checked on the files");                                                     \
    } while (false)

class TestServer {
public:
    // The one server of this test program, started at the first call. A
    // server that cannot start ends the program with the reason (a failure,
    // never a pass).
    static TestServer& instance();
    ~TestServer();

    // A new database, with the program's layout already made in it (a copy
    // of one made once), or empty; its URL for Database::openServer.
    QString freshDatabase(bool laidOut = true);
    // Stops at once, as a crash or a pulled cable would (pg_ctl -m immediate),
    // and starts again on the same data.
    void stopNow();
    void start();
    QString url(const QString& database) const;
    // Makes the template, stops the server cleanly and keeps a copy of its
    // cluster in folder, for the test programs of a run to start from
    // (ZELVA_TEST_CLUSTER names it to them).
    void saveCluster(const QString& folder);
    // The folder of the server's local socket (for libpq's PGHOST) and its port.
    QString socketFolder() const { return m_dir->path(); }
    int port() const { return m_port; }
    // Set before the first instance(): the server writes its data safely to
    // disk (fsync) as a shop's server does, for benchmarks; tests go without.
    static inline bool durable = false;

private:
    TestServer() = default;
    void init();
    void makeTemplate();
    // Runs a server program (as postgres where we are root); "" or what failed.
    QString runTool(const QString& tool, const QStringList& arguments, int timeoutMs = 60000) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
    int m_port = 0;
    int m_databases = 0;
    bool m_templateMade = false;
    bool m_running = false;
};

} // namespace testing

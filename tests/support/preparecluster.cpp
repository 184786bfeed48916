// Prepares, once for a test run, the PostgreSQL cluster (with the program's
// layout in its template) that every server test starts from as a copy.
#include "support/testserver.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CLUSTER-FOLDER\n", argv[0]);
        return 2;
    }
    testing::TestServer::instance().saveCluster(QString::fromLocal8Bit(argv[1]));
    return 0;
}

#pragma once
// A database failure as the operator is told of it: what was being done, on
// which file, and what went wrong.
#include <QString>
#include <stdexcept>

namespace zelva {

class DataError : public std::runtime_error {
public:
    DataError(QString operation, QString file, QString detail);

    const QString& operation() const { return m_operation; }
    const QString& file() const { return m_file; }
    const QString& detail() const { return m_detail; }
    // "Could not <operation> (<file>): <detail>"
    QString message() const;

private:
    QString m_operation;
    QString m_file;
    QString m_detail;
};

} // namespace zelva

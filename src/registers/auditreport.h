#pragma once
// The audit trail as a report: one line per changed field (an entry without
// fields, such as a cancellation mark, on one line of its own), with the
// entry's number, time, operator, computer, table, record and action beside
// each old and new value; as lines for the window and paper, CSV text and an
// Excel sheet, all with the same cells. No window.
#include "data/audittrail.h"
#include "registers/xlsxfile.h"

#include <QStringList>
#include <vector>

namespace zelva {

QStringList AuditTrailCaptions();
std::vector<QStringList> AuditTrailLines(const std::vector<AuditEntry>& entries);
QString AuditTrailCsv(const std::vector<AuditEntry>& entries);
XlsxSheet AuditTrailSheet(const std::vector<AuditEntry>& entries);

// "yyyy-MM-dd hh:mm:ss" as the reports show a time: "dd/MM/yyyy hh:mm:ss".
QString AuditTimeText(const QString& stored);

} // namespace zelva

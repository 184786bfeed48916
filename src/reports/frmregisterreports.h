#pragma once
// The purchase and issue reports' selection forms: a period seen from the day
// the form was opened (a form left open over midnight keeps that day), and the
// register's rows of that period.
#include "reports/periodchoice.h"
#include "registers/reportqueries.h"
#include "reports/reportselection.h"

namespace zelva {

class RegisterReportForm : public ReportSelection {
    Q_OBJECT
public:
    PeriodChoice* choice;
    // The day the form was opened, which the periods are counted from.
    QDate loadDate() const { return m_loadDate; }
    // Tests: open the form as if on another day.
    void setLoadDate(const QDate& day) { m_loadDate = day; }

protected:
    using Query = QueryRows (*)(Database&, const std::optional<Period>&);
    RegisterReportForm(Database& db, QWidget* reportArea, const QString& caption,
        const std::vector<PeriodColumn>& columns, Query query,
        report::ReportLayout (*layout)(const report::ReportRows&), QWidget* parent);
    std::optional<report::ReportRows> reportRows() override;
    report::ReportLayout reportLayout(const report::ReportRows& rows) const override { return m_layout(rows); }

private:
    QDate m_loadDate;
    Query m_query;
    report::ReportLayout (*m_layout)(const report::ReportRows&);
};

} // namespace zelva

class frmPurchaseReport : public zelva::RegisterReportForm {
    Q_OBJECT
public:
    frmPurchaseReport(zelva::Database& db, QWidget* reportArea, QWidget* parent = nullptr);
};

class frmIssueReport : public zelva::RegisterReportForm {
    Q_OBJECT
public:
    frmIssueReport(zelva::Database& db, QWidget* reportArea, QWidget* parent = nullptr);
};

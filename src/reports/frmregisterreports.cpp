#include "reports/frmregisterreports.h"

#include "reports/reportlayouts.h"
#include "registers/reportqueries.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace zelva {

RegisterReportForm::RegisterReportForm(Database& db, QWidget* reportArea, const QString& caption,
    const std::vector<PeriodColumn>& columns, Query query, report::ReportLayout (*layout)(const report::ReportRows&),
    QWidget* parent)
    : ReportSelection(db, reportArea, caption, caption, parent)
    , choice(new PeriodChoice(columns, fracommand))
    , m_loadDate(QDate::currentDate())
    , m_query(query)
    , m_layout(layout)
{
    options()->addWidget(choice);
}

std::optional<report::ReportRows> RegisterReportForm::reportRows()
{
    std::optional<Period> days;
    if (!choice->chosenDays(m_loadDate, days))
        return std::nullopt;
    return AsReportRows(m_query(db(), days));
}

} // namespace zelva

using namespace zelva;

namespace {

// The right-hand column once offered the same captions for other items, but
// its buttons listed nothing of their own: it is shown greyed, as is the
// party-wise option, which has no list behind it.
std::vector<PeriodColumn> purchaseColumns()
{
    using P = ReportPeriod;
    return {
        { "txtCompanyName", QObject::tr("Item for Sale"),
            { { "optAll", QObject::tr("&All Purchase"), P::All },
                { "optToday", QObject::tr("&Today's Purchase"), P::Today },
                { "optYesterday", QObject::tr("&Yesterday's Purchase"), P::Yesterday },
                { "optPurchaseBetween", QObject::tr("Purchase &Between"), P::Between },
                { "optCurrentMonth", QObject::tr("Current Month Purchase"), P::CurrentMonth },
                { "optPrevioustMonth", QObject::tr("Previous Month Purchase"), P::PreviousMonth },
                { "optCurrentYear", QObject::tr("Current Year"), P::CurrentYear },
                { "Option7", QObject::tr("Party wise Purchase"), std::nullopt } } },
        { "Text1", QObject::tr("Other Items"),
            { { "Option3", QObject::tr("&All Purchase"), std::nullopt },
                { "Option2", QObject::tr("&Today's Purchase"), std::nullopt },
                { "Option5", QObject::tr("&Yesterday's Purchase"), std::nullopt },
                { "Option6", QObject::tr("Current Month Purchase"), std::nullopt },
                { "Option1", QObject::tr("Previous Month Purchase"), std::nullopt },
                { "Option4", QObject::tr("Current Year"), std::nullopt },
                { "Option8", QObject::tr("Party wise Purchase"), std::nullopt } } },
    };
}

std::vector<PeriodColumn> issueColumns()
{
    using P = ReportPeriod;
    return {
        { nullptr, {},
            { { "optAll", QObject::tr("&All Issue"), P::All }, { "optToday", QObject::tr("&Today's Issue"), P::Today },
                { "optYesterday", QObject::tr("&Yesterday's Issue"), P::Yesterday },
                { "optIssueBetween", QObject::tr("Issue &Between"), P::Between } } },
        { nullptr, {},
            { { "optCurrentYear", QObject::tr("Current Year"), P::CurrentYear },
                { "optCurrentMonth", QObject::tr("Current Month Issue"), P::CurrentMonth },
                { "optPrevioustMonth", QObject::tr("Previous Month Issue"), P::PreviousMonth } } },
    };
}

} // namespace

frmPurchaseReport::frmPurchaseReport(Database& db, QWidget* reportArea, QWidget* parent)
    : RegisterReportForm(
        db, reportArea, tr("Purchase Report"), purchaseColumns(), &PurchaseReportRows, &PurchaseReportLayout, parent)
{
    setObjectName(QStringLiteral("frmPurchaseReport"));
}

frmIssueReport::frmIssueReport(Database& db, QWidget* reportArea, QWidget* parent)
    : RegisterReportForm(
        db, reportArea, tr("Issue Report"), issueColumns(), &IssueReportRows, &IssueReportLayout, parent)
{
    setObjectName(QStringLiteral("frmIssueReport"));
}

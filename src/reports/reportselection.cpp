#include "reports/reportselection.h"

#include "data/dataerror.h"
#include "data/datafolder.h"
#include "platform/twips.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/reportwindow.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelva {

ReportSelection::ReportSelection(
    Database& db, QWidget* reportArea, const QString& caption, const QString& title, QWidget* parent)
    : QDialog(parent)
    , lblTitle(new QLabel(title, this))
    , fracommand(new QGroupBox(this))
    , cmdShow(new QPushButton(tr("&Show"), this))
    , cmdClose(new QPushButton(tr("&Close"), this))
    , m_db(db)
    , m_reportArea(reportArea)
    , m_options(new QVBoxLayout(fracommand))
{
    setWindowTitle(caption);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setTextFormat(Qt::PlainText);
    lblTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle->setFont(titleFont);
    fracommand->setObjectName(QStringLiteral("fracommand"));
    cmdShow->setObjectName(QStringLiteral("cmdShow"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdShow->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdShow);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(fracommand);
    layout->addLayout(buttons);

    // QDialog already takes Esc as reject(): Close does the same.
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdShow, &QPushButton::clicked, this, &ReportSelection::cmdShow_Click);
    placeOverParent();
}

// 1800 twips from the left and 1600 from the top of the main window's area.
void ReportSelection::placeOverParent()
{
    QWidget* over = m_reportArea ? m_reportArea : parentWidget();
    if (!over)
        return;
    const double dpi = logicalDpiX();
    move(over->mapToGlobal(QPoint(TwipsToDevice(1800, dpi), TwipsToDevice(1600, dpi))));
}

void ReportSelection::cmdShow_Click()
{
    std::optional<report::ReportRows> rows;
    if (!Guarded<DataError>([&] { rows = reportRows(); }) || !rows)
        return;
    report::ReportLayout layout = reportLayout(*rows);
    ReportWindow* window = OpenReportOrTell(m_reportArea, std::move(layout), std::move(*rows), m_db.folder());
    if (!window)
        return; // the form stays open for another choice
    emit reportWindowOpened(window);
    accept();
}

ReportWindow* OpenReportOrTell(
    QWidget* reportArea, report::ReportLayout layout, report::ReportRows rows, const QString& dataFolder)
{
    if (rows.empty()) {
        MsgBox(QObject::tr(" Nothing to show"));
        return nullptr;
    }
    return ReportWindow::Open(reportArea, std::move(layout), std::move(rows), PrintsFolder(dataFolder));
}

} // namespace zelva

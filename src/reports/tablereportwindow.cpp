#include "reports/tablereportwindow.h"

#include "data/database.h"
#include "data/datafolder.h"
#include "registers/xlsxfile.h"
#include "ui/ownwindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace zelva {

TableReportWindow::TableReportWindow(Database& db, QWidget* parent)
    : QWidget(parent)
    , m_db(db)
{
}

QHBoxLayout* TableReportWindow::layOut(QHBoxLayout* choice, QTableView* grid)
{
    const ReportButtons b = NewReportButtons(this);
    cmdPrint = b.print;
    cmdSaveCsv = b.csv;
    cmdSaveXlsx = b.xlsx;
    cmdClose = b.close;
    QHBoxLayout* commands = LayOutReportWindow(this, choice, grid, b);
    connect(cmdPrint, &QPushButton::clicked, this,
            [this] { OpenTableReport(this, reportTable(), PrintsFolder(m_db.folder())); });
    connect(cmdSaveCsv, &QPushButton::clicked, this,
            [this] { AskAndSaveCsv(this, m_db.folder(), fileName() + QStringLiteral(".csv"), reportCsv()); });
    connect(cmdSaveXlsx, &QPushButton::clicked, this,
            [this] { AskAndSaveXlsx(this, m_db.folder(), fileName(), reportSheet()); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    return commands;
}

void AddLabelled(QWidget* form, QHBoxLayout* line, const QString& caption, QWidget* box)
{
    auto* label = new QLabel(caption, form);
    label->setBuddy(box);
    line->addWidget(label);
    line->addWidget(box);
}

} // namespace zelva

#include "reports/frmportalfiles.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/datafolder.h"
#include "registers/irnresponse.h"
#include "platform/period.h"
#include "registers/portalfiles.h"
#include "reports/frmreturncheck.h"
#include "reports/invoicelist.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

namespace {

bool told(const PortalFile& file, const QString& what, const QString& path)
{
    if (!file.ok()) {
        MsgBox(QStringLiteral("No %1 was written. Put these right first:\n%2")
                   .arg(what, file.problems.join(QLatin1Char('\n'))));
        return false;
    }
    MsgBox(QStringLiteral("The %1 is saved in %2. Upload it on the portal.").arg(what, QDir::toNativeSeparators(path)));
    return true;
}

// Writes the file once the portal's own rules let it be made and the Return
// Check of what goes into it passed (or its warnings were accepted).
bool writeChecked(Database& db, PortalFileKind kind, const QString& what, const QString& path,
    const std::function<PortalFile(const MayWrite&)>& save)
{
    bool stopped = false;
    const PortalFile file = save(CheckBeforeWriting(db, kind, what, stopped));
    return !stopped && told(file, what, path);
}

} // namespace

frmPortalFiles::frmPortalFiles(Database& db, QWidget* parent)
    : QWidget(parent)
    , dtpFrom(NewDateBox(this, "dtpFrom", FinancialYear(FinancialYearOf(QDate::currentDate())).from))
    , dtpTo(NewDateBox(this, "dtpTo", QDate::currentDate()))
    , txtFind(NewBox(this, "txtFind"))
    , grdInvoices(NewTableGrid(this, "grdInvoices"))
    , cmdEInvoice(NewButton(this, "cmdEInvoice", tr("E-In&voice File"),
                            tr("Write the chosen invoice's e-invoice for the invoice registration portal")))
    , cmdEwayBill(NewButton(this, "cmdEwayBill", tr("E-Way &Bill File"),
                            tr("Write the chosen invoice's e-way bill for the e-way bill portal")))
    , dtpDay(NewDateBox(this, "dtpDay", QDate::currentDate()))
    , cmdEwayBillsOfDay(NewButton(this, "cmdEwayBillsOfDay", tr("E-Way Bills of the &Day"),
                                  tr("Write the e-way bills of every invoice of the day above the limit")))
    , cmdImportIrn(NewButton(this, "cmdImportIrn", tr("Im&port IRN Response"),
                             tr("Keep the IRN the invoice registration portal gave an invoice")))
    , cmdClose(NewButton(this, "cmdClose", tr("&Close"), tr("Close this Window")))
    , m_db(db)
{
    setWindowTitle(tr("E-Invoice and E-Way Bill"));
    txtFind->setPlaceholderText(tr("part of the invoice number or buyer name"));
    const auto labelled = [this](QHBoxLayout* line, const QString& caption, QWidget* box) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        line->addWidget(label);
        line->addWidget(box);
    };
    auto* choice = new QHBoxLayout;
    labelled(choice, tr("&From"), dtpFrom);
    labelled(choice, tr("T&o"), dtpTo);
    labelled(choice, tr("Fi&nd"), txtFind);
    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdEInvoice);
    commands->addWidget(cmdEwayBill);
    commands->addSpacing(20);
    labelled(commands, tr("Da&y"), dtpDay);
    commands->addWidget(cmdEwayBillsOfDay);
    commands->addStretch(1);
    commands->addWidget(cmdImportIrn);
    commands->addWidget(cmdClose);
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(grdInvoices, 1);
    column->addLayout(commands);
    resize(900, 480);

    connect(dtpFrom, &QDateEdit::dateChanged, this, &frmPortalFiles::refresh);
    connect(dtpTo, &QDateEdit::dateChanged, this, &frmPortalFiles::refresh);
    connect(txtFind, &QLineEdit::textChanged, this, &frmPortalFiles::refresh);
    connect(cmdEInvoice, &QPushButton::clicked, this, [this] {
        const QString number = chosenNumber();
        if (!number.isEmpty())
            if (const QString path = savePath(tr("Save e-invoice (JSON)"), QStringLiteral("EInvoice %1.json").arg(number));
                !path.isEmpty())
                writeEInvoice(path);
    });
    connect(cmdEwayBill, &QPushButton::clicked, this, [this] {
        const QString number = chosenNumber();
        if (!number.isEmpty())
            if (const QString path = savePath(tr("Save e-way bill (JSON)"), QStringLiteral("EWayBill %1.json").arg(number));
                !path.isEmpty())
                writeEwayBill(path);
    });
    connect(cmdEwayBillsOfDay, &QPushButton::clicked, this, [this] {
        const QString name = QStringLiteral("EWayBills %1.json").arg(dtpDay->date().toString(QStringLiteral("dd-MM-yyyy")));
        if (const QString path = savePath(tr("Save e-way bills (JSON)"), name); !path.isEmpty())
            writeEwayBillsOfDay(path);
    });
    connect(cmdImportIrn, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Import IRN response (JSON)"),
                                                          PrintsFolder(m_db.folder()), tr("JSON files (*.json)"));
        if (!path.isEmpty())
            importIrnResponse(path);
    });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    refresh();
}

void frmPortalFiles::refresh()
{
    TableReport table;
    Guarded<DataError>([&] { table = SavedInvoiceList(m_db, dtpFrom->date(), dtpTo->date(), txtFind->text()); });
    ShowTable(grdInvoices, table);
    if (GridRows(grdInvoices) > 0)
        grdInvoices->selectRow(0);
}

QString frmPortalFiles::chosenNumber() const
{
    const int row = grdInvoices->currentIndex().row();
    if (row < 0) {
        MsgBox(tr("Choose an invoice from the list first."));
        return {};
    }
    return GridText(grdInvoices, row, 0);
}

QString frmPortalFiles::savePath(const QString& caption, const QString& name)
{
    const QString folder = PrintsFolder(m_db.folder());
    QDir().mkpath(folder);
    return QFileDialog::getSaveFileName(this, caption, QDir(folder).filePath(name), tr("JSON files (*.json)"));
}

bool frmPortalFiles::writeEInvoice(const QString& path)
{
    const QString number = chosenNumber();
    const QString what = tr("e-invoice of %1").arg(number);
    return !number.isEmpty() && writeChecked(m_db, PortalFileKind::EInvoice, what, path, [&](const MayWrite& may) {
        return SaveEInvoice(m_db, number, path, may);
    });
}

bool frmPortalFiles::writeEwayBill(const QString& path)
{
    const QString number = chosenNumber();
    const QString what = tr("e-way bill of %1").arg(number);
    return !number.isEmpty() && writeChecked(m_db, PortalFileKind::EwayBill, what, path, [&](const MayWrite& may) {
        return SaveEwayBillOfInvoice(m_db, number, path, may);
    });
}

bool frmPortalFiles::writeEwayBillsOfDay(const QString& path)
{
    const QDate day = dtpDay->date();
    const QString what = tr("file of the e-way bills of %1").arg(day.toString(QStringLiteral("dd/MM/yyyy")));
    return writeChecked(m_db, PortalFileKind::EwayBill, what, path, [&](const MayWrite& may) {
        return SaveEwayBillsOfDay(m_db, day, path, may);
    });
}

bool frmPortalFiles::importIrnResponse(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        MsgBox(tr("The file %1 cannot be read.").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    const IrnImport imported = ImportIrnResponse(m_db, file.readAll());
    if (!imported.error.isEmpty()) {
        MsgBox(imported.error);
        return false;
    }
    MsgBox(tr("The IRN is kept with %1 %2: its reprints carry the IRN, the acknowledgement and the signed QR "
              "code.")
               .arg(imported.forNote ? tr("note") : tr("invoice"), imported.invoiceNo));
    refresh();
    return true;
}

} // namespace zelva

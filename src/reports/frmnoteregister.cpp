#include "reports/frmnoteregister.h"

#include "data/dataerror.h"
#include "data/datafolder.h"
#include "invoice/noteform.h"
#include "platform/shownvalues.h"
#include "platform/period.h"
#include "registers/portalfiles.h"
#include "reports/frmaudittrail.h"
#include "reports/frmreturncheck.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/ownwindow.h"

#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zelva {

namespace {

constexpr int FirstAmountColumn = 8;

QStringList shownTexts(const QStringList& texts, const QList<Paise>& amounts, bool grouped)
{
    QStringList shown = texts.mid(0, FirstAmountColumn);
    for (Paise amount : amounts)
        shown << ShownAmountText(amount, grouped);
    return shown;
}

} // namespace

frmNoteRegister::frmNoteRegister(Database& db, QString operatorName, QWidget* parent)
    : QWidget(parent)
    , dtpFrom(NewDateBox(this, "dtpFrom", FinancialYear(FinancialYearOf(QDate::currentDate())).from))
    , dtpTo(NewDateBox(this, "dtpTo", QDate::currentDate()))
    , grdNotes(NewTableGrid(this, "grdNotes"))
    , cmdReprint(NewButton(this, "cmdReprint", tr("Re&print Note"), tr("Print the chosen note again")))
    , cmdEInvoice(NewButton(this, "cmdEInvoice", tr("E-In&voice File"),
                            tr("Write the chosen note's e-invoice for the invoice registration portal")))
    , cmdPrint(NewButton(this, "cmdPrint", tr("Print Re&gister"), tr("Show the register to print it or save it as PDF")))
    , cmdSaveCsv(NewButton(this, "cmdSaveCsv", tr("Save &CSV"), tr("Save the register as a CSV file")))
    , cmdSaveExcel(NewButton(this, "cmdSaveExcel", tr("Save &Excel"), tr("Save the register as an Excel workbook")))
    , cmdHistory(NewButton(this, "cmdHistory", tr("Histor&y"), tr("Every change made to the chosen note")))
    , cmdClose(NewButton(this, "cmdClose", tr("Clo&se"), tr("Close this Window")))
    , m_db(db)
    , m_operator(std::move(operatorName))
{
    setWindowTitle(tr("Credit/Debit Note Register"));
    auto* choice = new QHBoxLayout;
    const auto labelled = [&](const QString& caption, QWidget* box) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        choice->addWidget(label);
        choice->addWidget(box);
    };
    labelled(tr("&From"), dtpFrom);
    labelled(tr("T&o"), dtpTo);
    choice->addStretch();
    auto* commands = new QHBoxLayout;
    commands->addStretch();
    for (QPushButton* button : {cmdReprint, cmdEInvoice, cmdPrint, cmdSaveCsv, cmdSaveExcel, cmdHistory, cmdClose})
        commands->addWidget(button);
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(grdNotes, 1);
    column->addLayout(commands);
    resize(980, 480);

    const QString prints = PrintsFolder(m_db.folder());
    connect(dtpFrom, &QDateEdit::dateChanged, this, &frmNoteRegister::refresh);
    connect(dtpTo, &QDateEdit::dateChanged, this, &frmNoteRegister::refresh);
    connect(grdNotes, &QTableView::activated, this, [this] { cmdReprint_Click(); });
    connect(cmdReprint, &QPushButton::clicked, this, [this] { cmdReprint_Click(); });
    connect(cmdEInvoice, &QPushButton::clicked, this, [this, prints] {
        const SavedNote* note = chosenNote();
        if (!note)
            return;
        QDir().mkpath(prints);
        const QString path = QFileDialog::getSaveFileName(
            this, tr("Save e-invoice (JSON)"), QDir(prints).filePath(QStringLiteral("EInvoice %1.json").arg(note->number)),
            tr("JSON files (*.json)"));
        if (!path.isEmpty())
            writeEInvoice(path);
    });
    connect(cmdPrint, &QPushButton::clicked, this, [this, prints] { OpenTableReport(this, registerTable(), prints); });
    connect(cmdSaveCsv, &QPushButton::clicked, this, [this] {
        AskAndSaveCsv(this, m_db.folder(), fileName() + QStringLiteral(".csv"), NoteRegisterCsv(m_register));
    });
    connect(cmdSaveExcel, &QPushButton::clicked, this,
            [this] { AskAndSaveXlsx(this, m_db.folder(), fileName(), NoteRegisterSheet(m_register)); });
    connect(cmdHistory, &QPushButton::clicked, this, [this] {
        if (const SavedNote* chosen = chosenNote())
            OpenRecordHistory(this, m_db, QStringLiteral("SaleNote"), chosen->number);
    });
    connect(cmdClose, &QPushButton::clicked, this, [this] { CloseOwnWindow(this); });
    refresh();
}

void frmNoteRegister::refresh()
{
    NoteRegister loaded;
    if (!Guarded<DataError>([&] { loaded = LoadNoteRegister(m_db, {dtpFrom->date(), dtpTo->date()}); }))
        return;
    m_register = std::move(loaded);
    ShowTable(grdNotes, registerTable());
    if (GridRows(grdNotes) > 0)
        grdNotes->selectRow(0);
}

TableReport frmNoteRegister::registerTable() const
{
    TableReport table;
    table.caption = tr("Credit/Debit Note Register");
    table.title = tr("Credit/Debit Note Register");
    const QString format = QStringLiteral("dd/MM/yyyy");
    table.subtitle = tr("From %1 to %2").arg(m_register.period.from.toString(format), m_register.period.to.toString(format));
    const std::vector<double> widths{1000, 1000, 700, 1000, 1000, 2000, 1600, 1600, 1300, 1200, 1200, 1200, 1300};
    const QStringList captions = NoteRegisterCaptions();
    for (int i = 0; i < captions.size(); ++i)
        table.columns.push_back({captions[i], widths[i], i >= FirstAmountColumn});
    const bool grouped = IndianDigitGrouping();
    for (const SavedNote& note : m_register.notes)
        table.lines.push_back(shownTexts(NoteRegisterTexts(note), NoteRegisterAmounts(note), grouped));
    table.totals = shownTexts({tr("Net: %1 credit, %2 debit").arg(m_register.credit.notes).arg(m_register.debit.notes),
                               {}, {}, {}, {}, {}, {}, {}},
                              NoteRegisterAmounts(m_register.net), grouped);
    return table;
}

bool frmNoteRegister::chooseNote(const QString& number, const QDate& date)
{
    WidenDays(dtpFrom, dtpTo, date);
    return ChooseGridRow(grdNotes, {{0, number}});
}

const SavedNote* frmNoteRegister::chosenNote() const
{
    const int row = grdNotes->currentIndex().row();
    if (row < 0 || row >= int(m_register.notes.size())) {
        MsgBox(tr("Choose a note from the list first."));
        return nullptr;
    }
    return &m_register.notes[std::size_t(row)];
}

bool frmNoteRegister::cmdReprint_Click()
{
    const SavedNote* chosen = chosenNote();
    std::optional<SaleNote> note;
    if (!chosen || !Guarded<DataError>([&] { note = LoadSaleNote(m_db, chosen->number); }) || !note)
        return false;
    std::unique_ptr<NoteForm> form;
    if (note->kind == NoteKind::Credit)
        form = std::make_unique<frmCreditNote>(m_db, m_operator);
    else
        form = std::make_unique<frmDebitNote>(m_db, m_operator);
    form->showSavedNote(*note);
    form->cmdPrint_Click();
    return true;
}

bool frmNoteRegister::writeEInvoice(const QString& path)
{
    const SavedNote* note = chosenNote();
    if (!note)
        return false;
    bool stopped = false;
    const QString what = tr("e-invoice of %1").arg(note->number);
    const PortalFile file =
        SaveNoteEInvoice(m_db, note->number, path, CheckBeforeWriting(m_db, PortalFileKind::EInvoice, what, stopped));
    if (stopped)
        return false;
    if (!file.ok()) {
        MsgBox(tr("No e-invoice of %1 was written. Put these right first:\n%2")
                   .arg(note->number, file.problems.join(QLatin1Char('\n'))));
        return false;
    }
    MsgBox(tr("The e-invoice of %1 is saved in %2. Upload it on the portal.")
               .arg(note->number, QDir::toNativeSeparators(path)));
    return true;
}

QString frmNoteRegister::fileName() const
{
    return tr("Notes %1 to %2")
        .arg(m_register.period.from.toString(QStringLiteral("yyyy-MM-dd")),
             m_register.period.to.toString(QStringLiteral("yyyy-MM-dd")));
}

} // namespace zelva

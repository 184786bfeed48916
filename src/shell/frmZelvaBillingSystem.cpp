#include "shell/frmZelvaBillingSystem.h"

#include "data/audittrail.h"
#include "invoice/frmtaxinvoice.h"
#include "invoice/frmtaxinvoiceseperategst.h"
#include "invoice/noteform.h"
#include "masters/buyerdetails.h"
#include "masters/company.h"
#include "masters/frmimport.h"
#include "masters/frmitemlabels.h"
#include "masters/stockentry.h"
#include "masters/supplierdetails.h"
#include "platform/shownvalues.h"
#include "payments/frmbankstatement.h"
#include "payments/frmpayment.h"
#include "payments/frmreceipt.h"
#include "reports/frmmonthlyreport.h"
#include "reports/frmnoteregister.h"
#include "reports/frmoutstanding.h"
#include "reports/frmstockvalue.h"
#include "shell/firstrunguide.h"
#include "reports/frmaudittrail.h"
#include "reports/frmcancelinvoice.h"
#include "reports/frmgstr2b.h"
#include "reports/frmgstr3b.h"
#include "reports/frmreturncheck.h"
#include "reports/frmgstrates.h"
#include "reports/frmpurchasebills.h"
#include "reports/frmportalfiles.h"
#include "reports/frmprintinvoice.h"
#include "reports/frmregisterreports.h"
#include "reports/frmstockreport.h"
#include "reports/frmsalesreport.h"
#include "reports/frmyearlyreport.h"
#include "shell/clocktext.h"
#include "shell/counterstatus.h"
#include "shell/datatools.h"
#include "shell/frmabout.h"
#include "shell/icons.h"
#include "shell/keylocks.h"
#include "shell/module1.h"
#include "shell/placeholders.h"
#include "stock/frmissueregister.h"
#include "stock/frmpurchase.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/pendingwork.h"
#include "ui/reportwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <memory>

namespace {

// Moved back where the work area's own placing left part of the window out of view.
void keepInView(QMdiSubWindow* window, const QSize& area)
{
    window->move(std::clamp(window->x(), 0, std::max(0, area.width() - window->width())),
                 std::clamp(window->y(), 0, std::max(0, area.height() - window->height())));
}

// The caption of each form the main window opens.
QString FormCaption(const QString& formName)
{
    static const std::map<QString, QString> captions {
        { QStringLiteral("frmTaxInvoice"), QStringLiteral("Tax Invoice") },
        { QStringLiteral("frmTaxInvoiceSeperateGst"), QStringLiteral("Tax Invoice") },
        { QStringLiteral("frmPrintInvoice"), QStringLiteral("Print Duplicate Invoice") },
        { QStringLiteral("frmCancelInvoice"), QStringLiteral("Cancel Invoice") },
        { QStringLiteral("frmPortalFiles"), QStringLiteral("E-Invoice and E-Way Bill") },
        { QStringLiteral("frmCreditNote"), QStringLiteral("Credit Note") },
        { QStringLiteral("frmDebitNote"), QStringLiteral("Debit Note") },
        { QStringLiteral("frmNoteRegister"), QStringLiteral("Credit/Debit Note Register") },
        { QStringLiteral("frmBuyerDetails"), QStringLiteral("Add New Buyer or Update Existing Buyer Details") },
        { QStringLiteral("frmStockEntry"), QStringLiteral("Stock Entry") },
        { QStringLiteral("frmIssueRegister"), QStringLiteral("Issue Register") },
        { QStringLiteral("frmPurchase"), QStringLiteral("Purchase Register") },
        { QStringLiteral("frmCompany"), QStringLiteral("Company Details") },
        { QStringLiteral("frmMonthlyReport"), QStringLiteral("Monthly Report") },
        { QStringLiteral("frmYearlyReport"), QStringLiteral("Yearly Report") },
        { QStringLiteral("frmPurchaseReport"), QStringLiteral("Purchase Report") },
        { QStringLiteral("frmIssueReport"), QStringLiteral("Issue Report") },
        { QStringLiteral("frmStockReport"), QStringLiteral("Current Stock") },
    };
    const auto found = captions.find(formName);
    return found == captions.end() ? formName : found->second;
}

QLabel* MakePanel(const QString& name, const QString& text)
{
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // the operator's name is shown as typed, never as formatting
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setContentsMargins(4, 0, 4, 0);
    return label;
}

} // namespace

frmZelvaBillingSystem::frmZelvaBillingSystem(zelva::Database& db, QWidget* parent)
    : QMainWindow(parent)
    , mdiArea(new QMdiArea(this))
    , Timer1(new QTimer(this))
    , Toolbar1(new QToolBar(QStringLiteral("Toolbar"), this))
    , StatusBar1(new QStatusBar(this))
    , m_db(db)
{
    setObjectName(QStringLiteral("frmZelvaBillingSystem"));
    setWindowTitle(QStringLiteral("Zelva Billing System"));
    setWindowIcon(zelva::ProgramIcon());
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &frmZelvaBillingSystem::focusWindowInFront);
    firstRunGuide = new zelva::FirstRunGuide(m_db, mdiArea->viewport());
    connect(firstRunGuide, &zelva::FirstRunGuide::stepWanted, this, &frmZelvaBillingSystem::openFirstRunStep);
    // a form saved or closed, another window in front: the steps done so far
    connect(mdiArea, &QMdiArea::subWindowActivated, firstRunGuide, &zelva::FirstRunGuide::refresh);
    resize(1024, 720);

    buildMenus();
    buildToolbar();
    buildStatusBar();
    zelva::ShowCounterStatus(StatusBar1, mdiArea, m_db);

    // The clock shows whole seconds; a tenth of a second keeps it on time
    // without waking the program a hundred times a second.
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &frmZelvaBillingSystem::Timer1_Timer);
    Timer1->start();

    // The files' quick check waits until the window is on screen; nothing is
    // saved before it has run.
    QTimer::singleShot(200, this, [this] { zelva::CheckDataAfterShow(m_db); });
}

QAction* frmZelvaBillingSystem::addEntry(
    QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut, Handler handler)
{
    QAction* entry = menu->addAction(QString::fromUtf8(caption));
    entry->setObjectName(QString::fromLatin1(name));
    entry->setShortcut(shortcut);
    if (handler)
        connect(entry, &QAction::triggered, this, handler);
    return entry;
}

QAction* frmZelvaBillingSystem::addSeparator(QMenu* menu, const char* name)
{
    QAction* line = menu->addSeparator();
    line->setObjectName(QString::fromLatin1(name));
    return line;
}

void frmZelvaBillingSystem::buildMenus()
{
    using K = QKeySequence;
    using M = frmZelvaBillingSystem;
    auto menu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(QString::fromUtf8(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    mnuInvoice = menu("mnuInvoice", "&Invoice");
    mnuNewInvoice = addEntry(mnuInvoice, "mnuNewInvoice", "&New Invoice", K(Qt::Key_F7), &M::mnuNewInvoice_Click);
    mnuNewInvoice1 = addEntry(mnuInvoice, "mnuNewInvoice1", "New Invoice1", K(Qt::SHIFT | Qt::Key_F7),
        &M::mnuNewInvoice1_Click);
    mnue = addSeparator(mnuInvoice, "mnue");
    mnuPrintInvoice
        = addEntry(mnuInvoice, "mnuPrintInvoice", "&Print Duplicate Invoice", K(Qt::Key_F8), &M::mnuPrintInvoice_Click);
    mnuCancelInvoice = addEntry(mnuInvoice, "mnuCancelInvoice", "&Cancel Invoice", {}, &M::mnuCancelInvoice_Click);
    mnuPortalFiles = addEntry(
        mnuInvoice, "mnuPortalFiles", "&E-Invoice and E-Way Bill", {}, &M::mnuPortalFiles_Click);
    mnuNotesSeparator = addSeparator(mnuInvoice, "mnuNotesSeparator");
    mnuCreditNote = addEntry(mnuInvoice, "mnuCreditNote", "C&redit Note", {}, &M::mnuCreditNote_Click);
    mnuDebitNote = addEntry(mnuInvoice, "mnuDebitNote", "&Debit Note", {}, &M::mnuDebitNote_Click);
    mnuNoteList = addEntry(mnuInvoice, "mnuNoteList", "Notes &List and Reprint", {}, &M::mnuNoteRegister_Click);
    mnuReceipt = addEntry(mnuInvoice, "mnuReceipt", "Rece&ipt", K(Qt::Key_F12), &M::mnuReceipt_Click);
    mnuPayment = addEntry(mnuInvoice, "mnuPayment", "Pa&yment", {}, &M::mnuPayment_Click);

    mnuUpdate = menu("mnuUpdate", "&Update");
    mnuNewCustomer = addEntry(mnuUpdate, "mnuNewCustomer", "New Customer", K(Qt::Key_F3), &M::mnuNewCustomer_Click);
    mnud = addSeparator(mnuUpdate, "mnud");
    mnuStockEntry = addEntry(mnuUpdate, "mnuStockEntry", "&Stock Entry", K(Qt::Key_F2), &M::mnuStockEntry_Click);
    addOpeningEntry(mnuUpdate, "mnuItemLabels", "Item &Labels", "frmItemLabels");
    mnuA = addSeparator(mnuUpdate, "mnuA");
    mnuIssueRegister
        = addEntry(mnuUpdate, "mnuIssueRegister", "Issue Register", K(Qt::Key_F5), &M::mnuIssueRegister_Click);
    mnuPurchaseRegister
        = addEntry(mnuUpdate, "mnuPurchaseRegister", "Purchase Register", K(Qt::Key_F4), &M::mnuPurchaseRegister_Click);
    mnui = addSeparator(mnuUpdate, "mnui");
    mnuCompanyDetails
        = addEntry(mnuUpdate, "mnuCompanyDetails", "&Company Details", K(Qt::Key_F6), &M::mnuCompanyDetails_Click);
    addOpeningEntry(mnuUpdate, "mnuGstRates", "&GST Rates", "frmGstRates");
    addInputTaxEntries();

    mnuReport = menu("mnuReport", "&Report");
    mnuMonthlyReport = addEntry(
        mnuReport, "mnuMonthlyReport", "Monthly Report", K(Qt::CTRL | Qt::Key_F7), &M::mnuMonthlyReport_Click);
    mnuYearlyReport
        = addEntry(mnuReport, "mnuYearlyReport", "Yearly Report", K(Qt::CTRL | Qt::Key_F8), &M::mnuYearlyReport_Click);
    mnuh = addSeparator(mnuReport, "mnuh");
    mnuPurchaseReport = addEntry(
        mnuReport, "mnuPurchaseReport", "Purchase Report", K(Qt::CTRL | Qt::Key_F4), &M::mnuPurchaseReport_Click);
    mnuIssueReport
        = addEntry(mnuReport, "mnuIssueReport", "Issue Report", K(Qt::CTRL | Qt::Key_F5), &M::mnuIssueReport_Click);
    mnuSalesReport = addEntry(mnuReport, "mnuSalesReport", "Sales Report", K(), &M::mnuSalesReport_Click);
    mnuStockReport = addEntry(mnuReport, "mnuStockReport", "Stock Report", K(), &M::mnuStockReport_Click);
    mnuStockReportNill
        = addEntry(mnuReport, "mnuStockReportNill", "Stock Report for Nill Item", K(), &M::mnuStockReportNill_Click);
    addInputTaxReports();
    mnuNoteRegister = addEntry(
        mnuReport, "mnuNoteRegister", "Credit/Debit Note Register", K(), &M::mnuNoteRegister_Click);
    mnuOutstanding = addEntry(mnuReport, "mnuOutstanding", "&Outstanding", K(Qt::CTRL | Qt::Key_F12), &M::mnuOutstanding_Click);
    mnuPayables = addEntry(mnuReport, "mnuPayables", "Pa&yables", {}, &M::mnuPayables_Click);
    mnuStatement = addEntry(mnuReport, "mnuStatement", "Statement of &Account", K(), &M::mnuStatement_Click);
    addOpeningEntry(mnuReport, "mnuStockValue", "Stock &Value at Cost", "frmStockValue");
    addOpeningEntry(mnuReport, "mnuSupplierStatement", "Su&pplier Statement", "frmSupplierStatement");
    addOpeningEntry(mnuReport, "mnuCashBook", "Cas&h Book", "frmCashBook");
    addOpeningEntry(mnuReport, "mnuAuditTrail", "Audit &Trail", "frmAuditTrail");

    mnuTools = menu("mnuTools", "&Tools");
    mnuShowToolbar
        = addEntry(mnuTools, "mnuShowToolbar", "Show - Hide Toolbar", K(Qt::Key_F9), &M::mnuShowToolbar_Click);
    mnug = addSeparator(mnuTools, "mnug");
    mnuShowStatusbar = addEntry(
        mnuTools, "mnuShowStatusbar", "Show - Hide Statusbar", K(Qt::CTRL | Qt::Key_F9), &M::mnuShowStatusbar_Click);
    mnuDataSeparator = addSeparator(mnuTools, "mnuDataSeparator");
    mnuBackUpData = addEntry(mnuTools, "mnuBackUpData", "&Back Up Data", K(), &M::mnuBackUpData_Click);
    mnuRestoreData = addEntry(mnuTools, "mnuRestoreData", "&Restore Data", K(), &M::mnuRestoreData_Click);
    mnuVerifyAuditTrail
        = addEntry(mnuTools, "mnuVerifyAuditTrail", "&Verify Audit Trail", K(), &M::mnuVerifyAuditTrail_Click);
    addOpeningEntry(mnuTools, "mnuImport", "I&mport Masters", "frmImport");
    addOpeningEntry(mnuTools, "mnuBankStatement", "Ban&k Statement", "frmBankStatement");
    for (QAction* toggle : { mnuShowToolbar, mnuShowStatusbar }) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
    }
    // A setting kept per user: amounts in the registers and summaries opened
    // from now on read 12,34,567.00 instead of 1234567.00.
    mnuk = addSeparator(mnuTools, "mnuk");
    mnuIndianGrouping = addEntry(mnuTools, "mnuIndianGrouping", "&Indian Digit Grouping", K(), nullptr);
    mnuIndianGrouping->setCheckable(true);
    mnuIndianGrouping->setChecked(zelva::IndianDigitGrouping());
    connect(mnuIndianGrouping, &QAction::toggled, this, [](bool on) { zelva::SetIndianDigitGrouping(on); });

    mnuWindow = menu("mnuWindow", "&Window");
    mnuExit = addEntry(mnuWindow, "mnuExit", "E&xit", K(Qt::CTRL | Qt::Key_Q), &M::mnuExit_Click);
    connect(mnuWindow, &QMenu::aboutToShow, this, &M::listOpenWindows);

    mnuHelp = menu("mnuHelp", "&Help");
    mnuAbout = addEntry(mnuHelp, "mnuAbout", "&About", K(Qt::CTRL | Qt::Key_A), &M::mnuAbout_Click);
    mnuB = addSeparator(mnuHelp, "mnuB");
    mnuContent = addEntry(mnuHelp, "mnuContent", "&Content", K(Qt::Key_F1), &M::mnuContent_Click);

    // Unavailable for the whole run, and shown greyed so the operator sees it exists.
    mnuCompanyDetails->setEnabled(false);
}

void frmZelvaBillingSystem::buildToolbar()
{
    using M = frmZelvaBillingSystem;
    struct Button {
        const char* name; // nullptr: a separator
        const char* toolTip;
        const char* picture; // icons/<size>/<picture>.svg
        Handler handler;
    };
    static const Button buttons[] = {
        { "btnNewInvoice", "New Tax Invoice", "new-invoice", &M::mnuNewInvoice_Click },
        { "btnPrintInvoice", "Print Duplicate Invoice", "print-duplicate", &M::mnuPrintInvoice_Click },
        {},
        { "btnNewCustomer", "Add New Customer (CRM)", "new-customer", &M::mnuNewCustomer_Click },
        { "btnStockEntry", "Add New Item (Stock Update)", "stock-entry", &M::mnuStockEntry_Click },
        { "btnPurchaseRegister", "All Purchase Entry", "purchase", &M::mnuPurchaseRegister_Click },
        { "btnIssueRegister", "Issue Register", "issue", &M::mnuIssueRegister_Click },
        { "btnCompanyDetails", "Update Company Details", "company", &M::mnuCompanyDetails_Click },
        {},
        { "btnMonthlyReport", "Monthly Report", "monthly-report", &M::mnuMonthlyReport_Click },
        { "btnYearlyReport", "Yearly Report", "yearly-report", &M::mnuYearlyReport_Click },
        {},
        { "btnPurchaseReport", "Purchase Report", "purchase-report", &M::mnuPurchaseReport_Click },
        { "btnIssueReport", "Issue Report", "issue-report", &M::mnuIssueReport_Click },
        {},
        { "btnShowToolbar", "Show - Hide Toolbar", "toolbar", &M::mnuShowToolbar_Click },
        { "btnShowStatusbar", "Show - Hide Statusbar", "statusbar", &M::mnuShowStatusbar_Click },
        {},
        { "btnExit", "Exit", "exit", &M::mnuExit_Click },
        {},
        { "btnAbout", "About", "about", &M::mnuAbout_Click },
        { "btnHelp", "Help", "help", &M::mnuContent_Click },
    };

    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, Toolbar1);

    for (const Button& b : buttons) {
        QAction* action = nullptr;
        if (!b.name) {
            action = Toolbar1->addSeparator();
        } else {
            action = Toolbar1->addAction(
                zelva::ProgramPicture(QString::fromLatin1(b.picture)), QString::fromUtf8(b.toolTip));
            action->setObjectName(QString::fromLatin1(b.name));
            action->setToolTip(QString::fromUtf8(b.toolTip));
            const int index = int(m_toolbarButtons.size()) + 1;
            connect(action, &QAction::triggered, this, [this, index] { Toolbar1_ButtonClick(index); });
        }
        m_toolbarButtons << action;
        m_toolbarHandlers << b.handler;
    }
    m_btnShowToolbar = findChild<QAction*>(QStringLiteral("btnShowToolbar"));
    m_btnShowStatusbar = findChild<QAction*>(QStringLiteral("btnShowStatusbar"));
    for (QAction* toggle : { m_btnShowToolbar, m_btnShowStatusbar }) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
    }

    // The menu entries carry the same pictures as their buttons.
    const std::pair<QAction*, const char*> pictures[] = {
        { mnuNewInvoice, "btnNewInvoice" },
        { mnuPrintInvoice, "btnPrintInvoice" },
        { mnuNewCustomer, "btnNewCustomer" },
        { mnuStockEntry, "btnStockEntry" },
        { mnuPurchaseRegister, "btnPurchaseRegister" },
        { mnuIssueRegister, "btnIssueRegister" },
        { mnuCompanyDetails, "btnCompanyDetails" },
        { mnuMonthlyReport, "btnMonthlyReport" },
        { mnuYearlyReport, "btnYearlyReport" },
        { mnuPurchaseReport, "btnPurchaseReport" },
        { mnuIssueReport, "btnIssueReport" },
        { mnuExit, "btnExit" },
        { mnuAbout, "btnAbout" },
        { mnuContent, "btnHelp" },
    };
    for (const auto& [entry, button] : pictures)
        entry->setIcon(findChild<QAction*>(QString::fromLatin1(button))->icon());
}

void frmZelvaBillingSystem::buildStatusBar()
{
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);
    const char* const texts[] = { "System Time", "User Name", "Calendar", "NUM", "CAPS", "User Name" };
    for (int i = 0; i < 6; ++i) {
        m_panels[i] = MakePanel(QStringLiteral("StatusBar1_Panel_%1").arg(i + 1), QString::fromLatin1(texts[i]));
        // Equal widths, the calendar panel somewhat wider.
        StatusBar1->addPermanentWidget(m_panels[i], i == 2 ? 3 : 2);
    }
    for (QLabel* lock : { m_panels[3], m_panels[4] })
        lock->setAlignment(Qt::AlignCenter);
}

QLabel* frmZelvaBillingSystem::panel(int number) const { return m_panels.at(number - 1); }

// ---- Opening forms ---------------------------------------------------------

QWidget* frmZelvaBillingSystem::createChildForm(const QString& formName)
{
    // Forms with a screen of their own are made here, one line each.
    if (formName == u"frmTaxInvoice")
        return new frmTaxInvoice(m_db);
    if (formName == u"frmTaxInvoiceSeperateGst")
        return new frmTaxInvoiceSeperateGst(m_db);
    if (formName == u"frmStockEntry")
        return withHistory(new frmStockEntry(m_db));
    if (formName == u"frmBuyerDetails")
        return withHistory(new frmBuyerDetails(m_db));
    if (formName == u"frmCompany")
        return withHistory(new frmCompany(m_db));
    if (formName == u"frmPurchase") {
        auto* purchase = new frmPurchase(m_db);
        connect(purchase, &frmPurchase::stockItemFormWanted, this, &frmZelvaBillingSystem::openStockEntry);
        return purchase;
    }
    if (formName == u"frmIssueRegister")
        return new frmIssueRegister(m_db);
    if (formName == u"frmMonthlyReport")
        return new frmMonthlyReport(m_db);
    if (formName == u"frmPrintInvoice")
        return new zelva::frmPrintInvoice(m_db);
    if (formName == u"frmCancelInvoice")
        return new zelva::frmCancelInvoice(m_db, zelva::LoggedInUser());
    if (formName == u"frmPortalFiles")
        return new zelva::frmPortalFiles(m_db);
    if (formName == u"frmCreditNote")
        return new frmCreditNote(m_db, zelva::LoggedInUser());
    if (formName == u"frmDebitNote")
        return new frmDebitNote(m_db, zelva::LoggedInUser());
    if (formName == u"frmNoteRegister")
        return new zelva::frmNoteRegister(m_db, zelva::LoggedInUser());
    if (formName == u"frmYearlyReport")
        return new zelva::frmYearlyReport(m_db);
    if (formName == u"frmSalesReport")
        return new zelva::frmSalesReport(m_db, zelva::LoggedInUser());
    if (formName == u"frmImport")
        return new zelva::frmImport(m_db);
    if (formName == u"frmSupplierDetails")
        return withHistory(new frmSupplierDetails(m_db));
    if (formName == u"frmAuditTrail")
        return new zelva::frmAuditTrail(m_db);
    if (formName == u"frmPurchaseBills")
        return new zelva::frmPurchaseBills(m_db);
    if (formName == u"frmGstRates")
        return new zelva::frmGstRates(m_db);
    if (formName == u"frmItemLabels")
        return new zelva::frmItemLabels(m_db);
    if (formName == u"frmGstr3b")
        return new zelva::frmGstr3b(m_db);
    if (formName == u"frmGstr2b")
        return new zelva::frmGstr2b(m_db);
    if (formName == u"frmReturnCheck")
        return withFindingsOpened(new zelva::frmReturnCheck(m_db));
    if (formName == u"frmReceipt")
        return new zelva::frmReceipt(m_db, zelva::LoggedInUser());
    if (formName == u"frmBankStatement")
        return new zelva::frmBankStatement(m_db, zelva::LoggedInUser());
    if (formName == u"frmPayment")
        return new zelva::frmPayment(m_db, zelva::LoggedInUser());
    if (formName == u"frmOutstanding")
        return new zelva::frmOutstanding(m_db);
    if (formName == u"frmPayables")
        return new zelva::frmOutstanding(m_db, nullptr, true);
    if (formName == u"frmSupplierStatement")
        return new zelva::frmSupplierStatement(m_db);
    if (formName == u"frmCashBook")
        return new zelva::frmCashBook(m_db);
    if (formName == u"frmStatement")
        return new zelva::frmStatement(m_db);
    if (formName == u"frmStockValue")
        return new zelva::frmStockValue(m_db);
    return new zelva::PlaceholderWindow(formName, FormCaption(formName));
}

QWidget* frmZelvaBillingSystem::withHistory(zelva::MasterForm* form)
{
    connect(form, &zelva::MasterForm::recordSaved, firstRunGuide, &zelva::FirstRunGuide::refresh);
    connect(form, &zelva::MasterForm::historyWanted, this,
            [this, form](const QString& table, const QString& record) { zelva::OpenRecordHistory(form, m_db, table, record); });
    return form;
}

QWidget* frmZelvaBillingSystem::withFindingsOpened(zelva::frmReturnCheck* form)
{
    connect(form, &zelva::frmReturnCheck::masterWanted, this, &frmZelvaBillingSystem::openMasterRecord);
    connect(form, &zelva::frmReturnCheck::invoiceWanted, this, &frmZelvaBillingSystem::openInvoiceReprint);
    connect(form, &zelva::frmReturnCheck::noteWanted, this, &frmZelvaBillingSystem::openNoteInRegister);
    connect(form, &zelva::frmReturnCheck::billWanted, this, &frmZelvaBillingSystem::openBillInRegister);
    return form;
}

template <typename Form>
Form* frmZelvaBillingSystem::openedChild(const QString& formName)
{
    OpenChild(formName);
    return qobject_cast<Form*>(childWindow(formName)->widget());
}

void frmZelvaBillingSystem::openMasterRecord(const QString& formName, const QString& field, const QString& value)
{
    auto* form = openedChild<zelva::MasterForm>(formName);
    if (!form || field.isEmpty() || form->showListed(field, value))
        return;
    zelva::MsgBox(form->hasPendingWork()
            ? tr("%1 has work not yet saved: save or cancel it, then pick \"%2\" from its list.").arg(form->windowTitle(), value)
            : tr("%1 has no record \"%2\": pick the right one from its list.").arg(form->windowTitle(), value));
}

void frmZelvaBillingSystem::openInvoiceReprint(const QString& number, const QDate& date)
{
    auto* form = openedChild<zelva::frmPrintInvoice>(QStringLiteral("frmPrintInvoice"));
    if (form->chooseInvoice(number, date))
        form->showDuplicate();
    else
        zelva::MsgBox(tr("Invoice %1 is not in the invoice file.").arg(number));
}

void frmZelvaBillingSystem::openNoteInRegister(const QString& number, const QDate& date)
{
    auto* form = openedChild<zelva::frmNoteRegister>(QStringLiteral("frmNoteRegister"));
    if (!form->chooseNote(number, date))
        zelva::MsgBox(tr("Note %1 is not in the note register.").arg(number));
}

void frmZelvaBillingSystem::openBillInRegister(const QString& number, const QString& supplier, const QDate& date)
{
    auto* form = openedChild<zelva::frmPurchaseBills>(QStringLiteral("frmPurchaseBills"));
    if (!form->chooseBill(number, supplier, date))
        zelva::MsgBox(tr("Bill %1 of %2 is not in the bill register.").arg(number, supplier));
}

// The purchase form's new-item options: the stock-item form, switched to the
// office items or back only when it shows the other kind.
void frmZelvaBillingSystem::openFirstRunStep(zelva::FirstRunStep step)
{
    using zelva::FirstRunStep;
    switch (step) {
    case FirstRunStep::Company:
    case FirstRunStep::OpeningBalances: // the day the books start is set there first
        OpenChild(QStringLiteral("frmCompany"));
        return;
    case FirstRunStep::Buyers: mnuNewCustomer_Click(); return;
    case FirstRunStep::Items: openStockEntry(false); return;
    case FirstRunStep::FirstInvoice: break;
    }
    mnuNewInvoice_Click();
}

void frmZelvaBillingSystem::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && firstRunGuide && isActiveWindow())
        firstRunGuide->refresh();
    QMainWindow::changeEvent(event);
}

void frmZelvaBillingSystem::openStockEntry(bool officeItems)
{
    OpenChild(QStringLiteral("frmStockEntry"));
    auto* stockEntry = qobject_cast<frmStockEntry*>(childWindow(QStringLiteral("frmStockEntry"))->widget());
    if (stockEntry->officeItems() != officeItems)
        stockEntry->setOfficeItems(officeItems);
}

QDialog* frmZelvaBillingSystem::createDialogForm(const QString& formName)
{
    if (formName == u"frmabout")
        return new frmabout(this);
    // Report selection forms are made here, one line each; their report
    // windows open in the window area.
    if (formName == u"frmStockReport")
        return watchReports(new frmStockReport(m_db, mdiArea, this), ReportKind::Stock);
    if (formName == u"frmPurchaseReport")
        return new frmPurchaseReport(m_db, mdiArea, this);
    if (formName == u"frmIssueReport")
        return new frmIssueReport(m_db, mdiArea, this); // as the purchase report: any number open at once
    return new zelva::PlaceholderDialog(formName, FormCaption(formName), this);
}

QMdiSubWindow* frmZelvaBillingSystem::childWindow(const QString& formName) const
{
    for (QMdiSubWindow* window : mdiArea->subWindowList())
        if (window->widget() && window->widget()->objectName() == formName)
            return window;
    return nullptr;
}

void frmZelvaBillingSystem::OpenChild(const QString& formName)
{
    QMdiSubWindow* window = childWindow(formName);
    if (!window) {
        QWidget* form = createChildForm(formName);
        form->setObjectName(formName);
        // the size the form asked for (its page, its whole grid), else what its layout needs
        const QSize wanted = form->testAttribute(Qt::WA_Resized) ? form->size() : form->sizeHint();
        window = mdiArea->addSubWindow(form);
        fitInWorkArea(window, wanted);
        window->setAttribute(Qt::WA_DeleteOnClose);
        form->installEventFilter(this);
        window->setWindowIcon(form->windowIcon().isNull() ? windowIcon() : form->windowIcon());
    }
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    keepInView(window, mdiArea->viewport()->size());
    mdiArea->setActiveSubWindow(window);
    window->raise();
}

// A child window opens at the size that shows its form whole where the work
// area allows, else as much of it as fits.
void frmZelvaBillingSystem::fitInWorkArea(QMdiSubWindow* window, const QSize& formSize)
{
    const QSize frame = window->sizeHint() - window->widget()->sizeHint();
    window->resize((formSize + frame).boundedTo(mdiArea->viewport()->size()));
}


void frmZelvaBillingSystem::showAsLeft()
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZelvaBilling"),
                       QStringLiteral("ZelvaBilling"));
    if (restoreGeometry(settings.value(QLatin1String(GeometryKey)).toByteArray()))
        show();
    else
        showMaximized(); // the first time
}

// The window in front takes the keyboard focus. Qt gives it to the first
// control of the form's tab chain only when that control is enabled (the
// company form's list is not), and otherwise leaves the focus in a window
// behind, where Tab and the access keys would then act unseen.
void frmZelvaBillingSystem::focusWindowInFront(QMdiSubWindow* window)
{
    if (!window || !window->widget() || window->isAncestorOf(QApplication::focusWidget()))
        return;
    QWidget* form = window->widget();
    for (QWidget* w = form->nextInFocusChain(); w && w != form; w = w->nextInFocusChain()) {
        if (form->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(form) && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    window->setFocus(Qt::OtherFocusReason);
}

void frmZelvaBillingSystem::OpenModal(const QString& formName)
{
    const std::unique_ptr<QDialog> dialog(createDialogForm(formName));
    dialog->exec();
}

// ---- Report entries --------------------------------------------------------

// The report windows a selection form opens count for their kind from their
// opening to their closing.
QDialog* frmZelvaBillingSystem::watchReports(zelva::ReportSelection* form, ReportKind kind)
{
    connect(form, &zelva::ReportSelection::reportWindowOpened, this,
        [this, kind](zelva::ReportWindow* window) { watchReportWindow(window, kind); });
    return form;
}

void frmZelvaBillingSystem::watchReportWindow(zelva::ReportWindow* window, ReportKind kind)
{
    reportWindowOpened(kind);
    connect(window, &zelva::ReportWindow::closed, this, [this, kind] { reportWindowClosed(kind); });
}

void frmZelvaBillingSystem::reportWindowOpened(ReportKind kind)
{
    ++m_openReports[kind];
    updateReportEntries();
}

// The suppliers at the end of the masters, and the input tax's registers and
// returns at the end of the reports.
void frmZelvaBillingSystem::addOpeningEntry(QMenu* menu, const char* name, const char* caption, const char* form)
{
    QAction* entry = addEntry(menu, name, caption, {}, nullptr);
    connect(entry, &QAction::triggered, this, [this, form] { OpenChild(QString::fromLatin1(form)); });
}

void frmZelvaBillingSystem::addInputTaxEntries()
{
    addSeparator(mnuUpdate, "mnuSupplierSeparator");
    addOpeningEntry(mnuUpdate, "mnuSupplierDetails", "Su&pplier Details", "frmSupplierDetails");
}

void frmZelvaBillingSystem::addInputTaxReports()
{
    addSeparator(mnuReport, "mnuGstSeparator");
    addOpeningEntry(mnuReport, "mnuPurchaseBills", "Purchase &Bill Register", "frmPurchaseBills");
    addOpeningEntry(mnuReport, "mnuGstr3b", "GSTR-&3B Worksheet", "frmGstr3b");
    addOpeningEntry(mnuReport, "mnuGstr2b", "GSTR-2B &Matching", "frmGstr2b");
    addOpeningEntry(mnuReport, "mnuReturnCheck", "Return &Check", "frmReturnCheck");
}

void frmZelvaBillingSystem::reportWindowClosed(ReportKind kind)
{
    int& open = m_openReports[kind];
    if (open > 0)
        --open;
    updateReportEntries();
}

void frmZelvaBillingSystem::updateReportEntries()
{
    mnuStockReport->setEnabled(m_openReports[ReportKind::Stock] == 0);
    mnuStockReportNill->setEnabled(m_openReports[ReportKind::NillStock] == 0);
}

// ---- Menu handlers ---------------------------------------------------------

void frmZelvaBillingSystem::mnuNewInvoice_Click() { OpenChild(QStringLiteral("frmTaxInvoice")); }
void frmZelvaBillingSystem::mnuNewInvoice1_Click() { OpenChild(QStringLiteral("frmTaxInvoiceSeperateGst")); }
void frmZelvaBillingSystem::mnuPrintInvoice_Click() { OpenChild(QStringLiteral("frmPrintInvoice")); }
void frmZelvaBillingSystem::mnuCancelInvoice_Click() { OpenChild(QStringLiteral("frmCancelInvoice")); }
void frmZelvaBillingSystem::mnuPortalFiles_Click() { OpenChild(QStringLiteral("frmPortalFiles")); }
void frmZelvaBillingSystem::mnuCreditNote_Click() { OpenChild(QStringLiteral("frmCreditNote")); }
void frmZelvaBillingSystem::mnuDebitNote_Click() { OpenChild(QStringLiteral("frmDebitNote")); }
void frmZelvaBillingSystem::mnuNoteRegister_Click() { OpenChild(QStringLiteral("frmNoteRegister")); }
void frmZelvaBillingSystem::mnuReceipt_Click() { OpenChild(QStringLiteral("frmReceipt")); }
void frmZelvaBillingSystem::mnuPayment_Click() { OpenChild(QStringLiteral("frmPayment")); }
void frmZelvaBillingSystem::mnuOutstanding_Click() { OpenChild(QStringLiteral("frmOutstanding")); }
void frmZelvaBillingSystem::mnuPayables_Click() { OpenChild(QStringLiteral("frmPayables")); }
void frmZelvaBillingSystem::mnuStatement_Click() { OpenChild(QStringLiteral("frmStatement")); }
void frmZelvaBillingSystem::mnuNewCustomer_Click() { OpenChild(QStringLiteral("frmBuyerDetails")); }
void frmZelvaBillingSystem::mnuStockEntry_Click() { OpenChild(QStringLiteral("frmStockEntry")); }
void frmZelvaBillingSystem::mnuIssueRegister_Click() { OpenChild(QStringLiteral("frmIssueRegister")); }
void frmZelvaBillingSystem::mnuPurchaseRegister_Click() { OpenChild(QStringLiteral("frmPurchase")); }
void frmZelvaBillingSystem::mnuCompanyDetails_Click() { OpenChild(QStringLiteral("frmCompany")); }
void frmZelvaBillingSystem::mnuMonthlyReport_Click() { OpenChild(QStringLiteral("frmMonthlyReport")); }
void frmZelvaBillingSystem::mnuYearlyReport_Click() { OpenChild(QStringLiteral("frmYearlyReport")); }
void frmZelvaBillingSystem::mnuSalesReport_Click() { OpenChild(QStringLiteral("frmSalesReport")); }
void frmZelvaBillingSystem::mnuPurchaseReport_Click() { OpenModal(QStringLiteral("frmPurchaseReport")); }
void frmZelvaBillingSystem::mnuIssueReport_Click() { OpenModal(QStringLiteral("frmIssueReport")); }
void frmZelvaBillingSystem::mnuStockReport_Click() { OpenModal(QStringLiteral("frmStockReport")); }
void frmZelvaBillingSystem::mnuStockReportNill_Click()
{
    if (zelva::ReportWindow* window = zelva::OpenNillStockReport(m_db, mdiArea))
        watchReportWindow(window, ReportKind::NillStock);
}
void frmZelvaBillingSystem::mnuAbout_Click() { OpenModal(QStringLiteral("frmabout")); }
void frmZelvaBillingSystem::mnuContent_Click() { }
void frmZelvaBillingSystem::mnuExit_Click()
{
    if (mayEnd())
        zelva::EndProgram();
}
void frmZelvaBillingSystem::mnuBackUpData_Click() { zelva::BackUpDataFromMenu(m_db, this); }
void frmZelvaBillingSystem::mnuRestoreData_Click() { zelva::RestoreDataFromMenu(m_db, mdiArea, this); }

void frmZelvaBillingSystem::mnuVerifyAuditTrail_Click()
{
    zelva::Guarded<zelva::DataError>([&] { zelva::MsgBox(zelva::VerifyAuditTrail(m_db).text()); });
}

void frmZelvaBillingSystem::mnuShowToolbar_Click()
{
    const bool show = Toolbar1->isHidden();
    Toolbar1->setVisible(show);
    mnuShowToolbar->setChecked(show);
    mnuShowToolbar->setText(show ? QStringLiteral("Hide Toolbar") : QStringLiteral("Show Toolbar"));
    m_btnShowToolbar->setChecked(show);
}

void frmZelvaBillingSystem::mnuShowStatusbar_Click()
{
    const bool show = StatusBar1->isHidden();
    StatusBar1->setVisible(show);
    mnuShowStatusbar->setChecked(show);
    mnuShowStatusbar->setText(show ? QStringLiteral("Hide Statusbar") : QStringLiteral("Show Statusbar"));
    m_btnShowStatusbar->setChecked(show);
}

void frmZelvaBillingSystem::Toolbar1_ButtonClick(int index)
{
    if (index < 1 || index > int(m_toolbarHandlers.size()))
        return;
    if (const Handler handler = m_toolbarHandlers[index - 1]) // a separator has none
        (this->*handler)();
}

void frmZelvaBillingSystem::closeEvent(QCloseEvent* event)
{
    if (!mayEnd()) {
        event->ignore();
        return;
    }
    event->accept();
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZelvaBilling"), QStringLiteral("ZelvaBilling"))
        .setValue(QLatin1String(GeometryKey), saveGeometry());
    zelva::EndProgram();
}

bool frmZelvaBillingSystem::mayEnd()
{
    QList<QWidget*> forms;
    for (QMdiSubWindow* window : mdiArea->subWindowList())
        if (window->widget())
            forms << window->widget();
    return zelva::MayLeaveForms(forms);
}

bool frmZelvaBillingSystem::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close) {
        for (QMdiSubWindow* window : mdiArea->subWindowList()) {
            if (window->widget() != watched)
                continue;
            // Once the form has handled its close (it may refuse), a form
            // that is gone or hidden leaves no empty frame behind.
            QTimer::singleShot(0, window, [window] {
                if (!window->widget() || window->widget()->isHidden())
                    window->close();
            });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Window list -----------------------------------------------------------

void frmZelvaBillingSystem::listOpenWindows()
{
    qDeleteAll(m_windowList);
    m_windowList.clear();
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    m_windowList << mnuWindow->addSeparator();
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        ++number;
        QString caption = window->windowTitle();
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* entry = mnuWindow->addAction(number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(caption)
                                                          : QStringLiteral("%1 %2").arg(number).arg(caption));
        entry->setCheckable(true);
        entry->setChecked(window == mdiArea->activeSubWindow());
        connect(entry, &QAction::triggered, this, [this, window] {
            if (mdiArea->subWindowList().contains(window)) {
                window->showNormal();
                mdiArea->setActiveSubWindow(window);
            }
        });
        m_windowList << entry;
    }
}

// ---- Clock -----------------------------------------------------------------

void frmZelvaBillingSystem::Timer1_Timer()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString time = zelva::LongTimeText(now.time());
    if (m_panels[0]->text() != time)
        m_panels[0]->setText(time);
    const QString date = zelva::CalendarText(now.date());
    if (m_panels[2]->text() != date)
        m_panels[2]->setText(date);
    showKeyLocks();
}

void frmZelvaBillingSystem::showKeyLocks()
{
    const zelva::KeyLocks locks = zelva::ReadKeyLocks();
    // Greyed while the key is off; always plain when the platform does not tell.
    m_panels[3]->setEnabled(!locks.known || locks.numLock);
    m_panels[4]->setEnabled(!locks.known || locks.capsLock);
}

#pragma once
// The main window: a frame for the working forms, with the menus, the toolbar
// and the status bar (clock, calendar, operator, lock keys).
#include "data/database.h"
#include "sales/firstrun.h"

#include <QMainWindow>
#include <array>
#include <map>

class QAction;
class QDate;
class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
namespace zelva {
class FirstRunGuide;
class MasterForm;
class frmReturnCheck;
class ReportSelection;
class ReportWindow;
}

class frmZelvaBillingSystem : public QMainWindow {
    Q_OBJECT
public:
    // The report windows that make their menu entry unavailable while open.
    enum class ReportKind { Stock, NillStock };
    Q_ENUM(ReportKind)

    explicit frmZelvaBillingSystem(zelva::Database& db, QWidget* parent = nullptr);
    // Shows the window maximised the first time, after that as it was left.
    void showAsLeft();
    static constexpr const char* GeometryKey = "mainWindow/geometry";

    // Status-bar panel 1 to 6, left to right.
    QLabel* panel(int number) const;
    // The open child window of that form (objectName), nullptr when none is open.
    QMdiSubWindow* childWindow(const QString& formName) const;

    QMdiArea* mdiArea;
    // the next steps while the books are not set up, behind the child windows
    zelva::FirstRunGuide* firstRunGuide = nullptr;
    QTimer* Timer1;
    QToolBar* Toolbar1;
    QStatusBar* StatusBar1;

    QMenu* mnuInvoice;
    QAction* mnuNewInvoice;
    QAction* mnuNewInvoice1;
    QAction* mnue;
    QAction* mnuPrintInvoice;
    QAction* mnuCancelInvoice;
    QAction* mnuPortalFiles; // E-Invoice and E-Way Bill
    QAction* mnuNotesSeparator;
    QAction* mnuCreditNote;
    QAction* mnuDebitNote;
    QAction* mnuNoteList;
    QAction* mnuReceipt;
    QAction* mnuPayment;
    QAction* mnuPayables;
    QAction* mnuOutstanding;
    QAction* mnuStatement;
    QMenu* mnuUpdate;
    QAction* mnuNewCustomer;
    QAction* mnud;
    QAction* mnuStockEntry;
    QAction* mnuA;
    QAction* mnuIssueRegister;
    QAction* mnuPurchaseRegister;
    QAction* mnui;
    QAction* mnuCompanyDetails;
    QMenu* mnuReport;
    QAction* mnuMonthlyReport;
    QAction* mnuYearlyReport;
    QAction* mnuh;
    QAction* mnuPurchaseReport;
    QAction* mnuIssueReport;
    QAction* mnuSalesReport;
    QAction* mnuStockReport;
    QAction* mnuStockReportNill;
    QAction* mnuNoteRegister;
    QMenu* mnuTools;
    QAction* mnuShowToolbar;
    QAction* mnug;
    QAction* mnuShowStatusbar;
    QAction* mnuk;
    QAction* mnuIndianGrouping;
    QAction* mnuDataSeparator;
    QAction* mnuBackUpData;
    QAction* mnuRestoreData;
    QAction* mnuVerifyAuditTrail;
    QMenu* mnuWindow;
    QAction* mnuExit;
    QMenu* mnuHelp;
    QAction* mnuAbout;
    QAction* mnuB;
    QAction* mnuContent;

    // The toolbar's buttons left to right, separators included (index 1 first).
    QList<QAction*> toolbarButtons() const { return m_toolbarButtons; }

public slots:
    // Report windows tell the main window when they open and close: the Stock
    // Report and Stock Report for Nill Item entries are unavailable while one
    // of their kind is open (the Purchase and Issue Report entries stay
    // available: their windows may be open several at once).
    void reportWindowOpened(frmZelvaBillingSystem::ReportKind kind);
    void reportWindowClosed(frmZelvaBillingSystem::ReportKind kind);

    void mnuNewInvoice_Click();
    void mnuNewInvoice1_Click();
    void mnuPrintInvoice_Click();
    void mnuCancelInvoice_Click();
    void mnuPortalFiles_Click();
    void mnuCreditNote_Click();
    void mnuDebitNote_Click();
    void mnuNoteRegister_Click();
    void mnuReceipt_Click();
    void mnuPayment_Click();
    void mnuPayables_Click();
    void mnuOutstanding_Click();
    void mnuStatement_Click();
    void mnuNewCustomer_Click();
    void mnuStockEntry_Click();
    void mnuIssueRegister_Click();
    void mnuPurchaseRegister_Click();
    void mnuCompanyDetails_Click();
    void mnuMonthlyReport_Click();
    void mnuYearlyReport_Click();
    void mnuSalesReport_Click();
    void mnuPurchaseReport_Click();
    void mnuIssueReport_Click();
    void mnuStockReport_Click();
    void mnuStockReportNill_Click();
    void mnuShowToolbar_Click();
    void mnuShowStatusbar_Click();
    void mnuExit_Click();
    void mnuBackUpData_Click();
    void mnuRestoreData_Click();
    void mnuVerifyAuditTrail_Click();
    void mnuAbout_Click();
    void mnuContent_Click();
    // Index counts the toolbar's buttons from 1, separators included.
    void Toolbar1_ButtonClick(int index);
    void Timer1_Timer();
    // Opens the stock-item form for the items for sale or the office items.
    void openStockEntry(bool officeItems);

protected:
    void closeEvent(QCloseEvent* event) override;
    // The first-run guide reads the books afresh when the window comes back.
    void changeEvent(QEvent* event) override;
    // A form that closes itself (its own Close button) takes its frame along.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // No context menu that could hide the toolbar behind the toggles' back.
    QMenu* createPopupMenu() override { return nullptr; }

private:
    using Handler = void (frmZelvaBillingSystem::*)();
    void fitInWorkArea(QMdiSubWindow* window, const QSize& formSize);

    void buildMenus();
    void addInputTaxEntries();
    void addInputTaxReports();
    void addOpeningEntry(QMenu* menu, const char* name, const char* caption, const char* form);
    void buildToolbar();
    void buildStatusBar();
    QAction* addEntry(
        QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut, Handler handler);
    QAction* addSeparator(QMenu* menu, const char* name);
    void listOpenWindows();
    void showKeyLocks();
    void updateReportEntries();

    // Every child window is made here: one line per form.
    QWidget* createChildForm(const QString& formName);
    QWidget* withHistory(zelva::MasterForm* form);
    // The Return Check's findings opened where they are mended, each in its
    // child window at its record.
    QWidget* withFindingsOpened(zelva::frmReturnCheck* form);
    void openMasterRecord(const QString& formName, const QString& field, const QString& value);
    void openInvoiceReprint(const QString& number, const QDate& date);
    void openNoteInRegister(const QString& number, const QDate& date);
    void openBillInRegister(const QString& number, const QString& supplier, const QDate& date);
    // The child window of that form, opened (or brought to the front) first.
    template <typename Form>
    Form* openedChild(const QString& formName);
    // Every modal dialog is made here: one line per form.
    QDialog* createDialogForm(const QString& formName);
    QDialog* watchReports(zelva::ReportSelection* form, ReportKind kind);
    void watchReportWindow(zelva::ReportWindow* window, ReportKind kind);
    void OpenChild(const QString& formName);
    void openFirstRunStep(zelva::FirstRunStep step);
    void OpenModal(const QString& formName);
    void focusWindowInFront(QMdiSubWindow* window);
    // Asked before the program ends: false when the operator goes back to unsaved work.
    bool mayEnd();

    zelva::Database& m_db;
    std::array<QLabel*, 6> m_panels {};
    QList<QAction*> m_toolbarButtons;
    QList<Handler> m_toolbarHandlers;
    QAction* m_btnShowToolbar = nullptr;
    QAction* m_btnShowStatusbar = nullptr;
    QList<QAction*> m_windowList;
    std::map<ReportKind, int> m_openReports;
};

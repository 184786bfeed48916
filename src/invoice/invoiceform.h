#pragma once
// What every invoice form is: a buyer, up to seven goods lines from stock, GST
// as IGST or CGST plus SGST, two extra charges with their own GST, a rounding
// line, the grand total in words. The form is a view of an Invoice value
// (sales/invoice.h): it fills one from its boxes, ComputeTotals works it out,
// and the boxes show it; Save stores it through StoreInvoice, with the goods
// taken off the stock, all in one transaction. Each form completes this base
// with its own page, laid out as it is printed (buildPage).
#include "data/database.h"
#include "data/recordsource.h"
#include "invoice/invoicepageparts.h"
#include "invoice/taxbyrate.h"
#include "sales/companypayment.h"
#include "sales/invoicestore.h"
#include "sales/lineitem.h"
#include "sales/receiptstore.h"
#include "ui/pendingwork.h"

#include <QHash>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
namespace zelva {
class QrCodeView;
class ScanCatcher;
}
class QVBoxLayout;

class InvoiceForm : public QWidget, public zelva::PendingWork {
    Q_OBJECT
public:
    ~InvoiceForm() override;
    // The A4 page that holds everything the printed invoice shows.
    QWidget* invoicePage() const { return m_page; }
    // Recomputes every tax, the totals and the words without asking for a
    // buyer, so that what is printed or saved is never stale.
    void RefreshTotals();
    // The invoice on screen as last worked out and shown.
    const zelva::Invoice& shownInvoice() const { return m_invoice; }
    // True from New Invoice until the invoice is saved or cancelled.
    bool invoicePending() const { return m_pending; }
    bool hasPendingWork() override { return m_pending; }
    // Opens tall enough to show the goods entry row inside a 1280x800 main window.
    QSize sizeHint() const override;

    // The rows of the grid: element 0 of a column is the goods entry row, then
    // seven goods lines, the goods taxes, each extra charge followed by its
    // taxes, and the rounding row.
    enum GridRow : int {
        EntryRow = 0,
        FirstGoodsRow = zelva::invoicegrid::FirstGoodsRow,
        LastGoodsRow = zelva::invoicegrid::LastGoodsRow,
        GoodsCgstRow = zelva::invoicegrid::GoodsCgstRow,
        GoodsSgstRow = zelva::invoicegrid::GoodsSgstRow,
        Others1Row = zelva::invoicegrid::Others1Row,
        Others1CgstRow = zelva::invoicegrid::Others1CgstRow,
        Others1SgstRow = zelva::invoicegrid::Others1SgstRow,
        Others2Row = zelva::invoicegrid::Others2Row,
        Others2CgstRow = zelva::invoicegrid::Others2CgstRow,
        Others2SgstRow = zelva::invoicegrid::Others2SgstRow,
        ShortExcessRow = zelva::invoicegrid::ShortExcessRow,
    };
    static constexpr int GridRows = zelva::invoicegrid::Rows;
    static constexpr int GoodsRows = zelva::invoicegrid::GoodsRows;
    static constexpr int RatedRows = zelva::invoicegrid::RatedRows; // rows with a rate and a "per": all but the rounding row
    // The longest quantity a line shows: fifteen digits and the point, all a
    // number keeps (platform/textnum.h); and the longest unit ("Per").
    static constexpr int LongestNumber = 16;
    static constexpr int LongestPer = zelva::LongestUnit;
    using Row = std::array<QLineEdit*, GridRows + 1>; // element 0 is the entry row; absent elements are null
    // Where the grid lies on a page, in twips of the printable area.
    struct PageGrid {
        int headTop;
        int firstRowTop;
        int rowPitch;
        zelva::invoicepage::Column sNo, desc, hsn, qty, rate, per, amount;
        int footTop; // where the amount in words starts
        int rowTop(int row) const { return firstRowTop + (row - 1) * rowPitch; }
        int bottom() const { return rowTop(GridRows) + zelva::invoicepage::RowHeight + 20; }
    };

    // seller
    QLineEdit* txtCompanyName;
    QPlainTextEdit* txtAddress;
    QLineEdit* txtDist;
    QLineEdit* txtState;
    QLineEdit* txtPin;
    QLineEdit* txtGstin;
    QLabel* lblCompanyName;
    QComboBox* cboCompany;
    // references
    QLineEdit* txtInvoiceNo;
    QLineEdit* txtInvoiceDate;
    QLineEdit* txtOrderNo;
    QLineEdit* txtOrderDate;
    QLineEdit* txtSuppliersRef;
    QLineEdit* txtDispatchedThrough;
    // buyer and delivery
    QComboBox* cboBuyerName;
    QLineEdit* txtBuyerName;
    QPlainTextEdit* txtBuyerAddress;
    QLineEdit* txtBuyerDist;
    QLineEdit* txtBuyerState;
    QLineEdit* txtBuyerPin;
    QLineEdit* txtBuyerGstin;
    QComboBox* cboBuyerNameD;
    QLineEdit* txtBuyerNameD;
    QPlainTextEdit* txtBuyerAddressD;
    QLineEdit* txtBuyerDistD;
    QLineEdit* txtBuyerStateD;
    QLineEdit* txtBuyerPinD;
    // entry row and grid
    QGroupBox* fraDescriptionOfGoods;
    QComboBox* cboDescriptionOfGoods;
    QComboBox* cboHsn;
    QComboBox* cboPer;
    QComboBox* cboLineGst; // the entry line's whole GST rate: its item's, or another in force
    QPushButton* cmdAdd;
    Row txtSNo{};
    Row txtDescriptionOfGoods{};
    Row txtHsn{};
    Row txtQuantity{};
    Row txtRate{};
    Row txtPer{};
    Row txtAmount{};
    // taxes and charges
    QGroupBox* fraGSTCombo;
    QComboBox* cboGoodsCgst;
    QComboBox* cboGoodsSgst;
    QComboBox* cboOthers1;
    QComboBox* cboOthers1Hsn;
    QComboBox* cboOthers1Cgst;
    QComboBox* cboOthers1Sgst;
    QComboBox* cboOthers2;
    QComboBox* cboOthers2Hsn;
    QComboBox* cboOthers2Cgst;
    QComboBox* cboOthers2Sgst;
    QLineEdit* txtShortExcess;
    QLineEdit* txtGoodsCgst;
    QLineEdit* txtGoodsSgst;
    QLineEdit* txtOthers1;
    QLineEdit* txtOthers1Hsn;
    QLineEdit* txtOthers1Cgst;
    QLineEdit* txtOthers1Sgst;
    QLineEdit* txtOthers2;
    QLineEdit* txtOthers2Hsn;
    QLineEdit* txtOthers2Cgst;
    QLineEdit* txtOthers2Sgst;
    // totals
    QLineEdit* txtTotalQuantity;
    QLineEdit* txtTotalGoodsAmount;
    QLineEdit* txtTotalCgst;
    QLineEdit* txtTotalSgst;
    QLineEdit* txtTotalAmount;
    QPlainTextEdit* txtAmountInWords; // the words of the largest amount take two lines
    QLabel* lblTitle;
    QLabel* lblCopy;
    QLabel* lblComputerGenerated = nullptr; // beneath the frame; inside it when the tax by rate is shown there
    int m_footTop = 0;                       // the page grid's foot, in twips
    // buttons
    QGroupBox* fraCommandButton;
    QPushButton* cmdNewInvoice;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QPushButton* cmdClose;
    QPushButton* cmdPrint;
    QPushButton* cmdInvoiceReport;
    QPushButton* cmdQuickBill = nullptr; // on while Print is
    // transport details (e-way bill part B), beneath the goods entry; the
    // page shows them on one line (invoicetransport.cpp)
    QGroupBox* fraTransport;
    QComboBox* cboTransMode;
    QLineEdit* txtDistanceKm;
    QLineEdit* txtVehicleNo;
    QLineEdit* txtTransporterId;
    QLineEdit* txtTransporterName;
    QLineEdit* txtTransDocNo;
    QLineEdit* txtTransDocDate;
    QLineEdit* txtTransport; // on the page
    // the pay QR of the company's UPI ID, with "Scan to pay" beneath
    zelva::QrCodeView* qrUpi;
    QLabel* lblScanToPay;
    // paid at the counter, and what the buyer owes (invoicepayment.cpp); not on the page
    QGroupBox* fraPaidNow;
    QCheckBox* chkPaidNow;
    QComboBox* cboPaidMode;
    QLineEdit* txtPaidReference;
    QLabel* lblBuyerBalance;

public slots:
    void cmdNewInvoice_Click();
    void cmdSave_Click();
    void cmdCancel_Click();
    void cmdClose_Click();
    void cmdAdd_Click();
    void cboCompany_Click(int index);
    void cboBuyerName_Click(int index);
    void cboBuyerNameD_Click(int index);
    void cboDescriptionOfGoods_Click(int index);
    void cboGoodsCgst_Click(int index);
    void cboOthers1Cgst_Click(int index);
    void cboOthers2Cgst_Click(int index);
    void txtAmount_GotFocus(int index);
    void txtShortExcess_GotFocus();
    void txtTotalGoodsAmount_Click();
    void txtTotalAmount_GotFocus();
    // Prints the invoice page three times ("Original Copy", "Duplicate Copy",
    // "Receiving Copy"), then saves it; nothing is printed for an invoice that
    // cannot be saved (invoiceprint.cpp).
    void cmdPrint_Click();
    // Opens the invoice report over every saved invoice, at the page of the
    // invoice on screen or else the last one saved.
    void cmdInvoiceReport_Click();

protected:
    explicit InvoiceForm(zelva::Database& db, QWidget* parent = nullptr);
    // Builds the window around the form's page and loads it; each form calls
    // it from its constructor.
    void setUp();
    // The form's own page: creates m_page and every control on it.
    virtual void buildPage() = 0;
    // Shows nothing of an invoice yet; the tax invoice shows its seller.
    virtual void Form_Load();
    // The captions that say which tax the totals hold: CGST and SGST, or IGST alone.
    virtual void showTaxCaptions(bool cgstAndSgst) = 0;
    // After every computation of the totals, for what a page shows besides them.
    virtual void totalsShown() {}
    // The discount typed for goods line `row`: none, unless the page takes
    // something off a line.
    virtual zelva::Paise discountTyped(int) const { return 0; }
    // The boxes of a goods line, shown when the line is added.
    virtual std::vector<Row*> goodsColumns();
    // Empties every box and list of the page and the entry row.
    virtual void ClearControl();
    // Reads the invoice and order dates as days; false (the box named, and
    // focused) at the first that names none.
    bool CheckDates();
    // Reads every box typed into besides the entry row by the one rule for
    // number boxes; false (the box named, and focused) at the first refused.
    virtual bool CheckNumbers();
    void setCellsVisible(int row, const std::vector<Row*>& columns, bool visible);

    // The parts both pages share (invoicepage.cpp).
    zelva::invoicepage::RuledPage* startPage(const PageGrid& grid);
    void buildSellerAndReferences(QAnyStringView dispatchCaption);
    void buildBuyerAndDelivery();
    void buildGrid(const PageGrid& grid, QAnyStringView perCaption);
    void buildTaxLists(const PageGrid& grid);
    void buildFoot(const PageGrid& grid);
    void raiseLists();
    // A list on the page that prints as the plain box lying beneath it: while
    // printing, the box shows what the list shows and the list is away.
    void printInPlaceOf(QComboBox* list, QLineEdit* printed) { m_printSubstitutes.emplace_back(printed, list); }
    // A column's head, between the top and the rule above the grid.
    static QLabel* addHead(QWidget* page, QAnyStringView caption, zelva::invoicepage::Column col, int top, int bottom);

    // what the forms read of the invoice entered
    zelva::Paise lineAmount(int row) const { return m_lines.at(row - FirstGoodsRow).amount; }
    int lineCount() const { return LineCount; }
    zelva::TaxMode taxMode() const { return TaxMode; }
    void setPending(bool pending);

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tab and Shift+Tab follow the entry fields in working order.
    bool focusNextPrevChild(bool next) override;

    QWidget* m_page = nullptr;
    std::vector<QWidget*> m_tabChain; // the fields Tab visits, in order

    // the goods' tax by rate beneath the page, where the page has room for it (built by the page)
    std::unique_ptr<zelva::TaxByRateTable> m_taxByRate;
    void showTaxByRate();

private:
    // One base that GST is charged on: the goods, Others1 or Others2.
    enum TaxBase { Goods, Others1, Others2 };
    struct TaxLine {
        QComboBox* cgstCombo;
        QComboBox* sgstCombo;
        int cgstRow;
        int sgstRow;
        std::optional<double> rate; // the whole GST rate chosen; none while none is
        // the rate chosen that a date typed afterwards dropped, not in force
        // on it; Save is refused until a rate is chosen again
        std::optional<double> droppedRate;
        void clearRate() { rate.reset(); }
    };

    // building the window around the page, and the keyboard (invoicewindow.cpp)
    void buildWindow();
    void buildEntryRow();
    void buildCommandButtons();
    void connectHandlers();
    void setTabOrders();
    void watchFocus();
    void scrollToFocus(QWidget* focused);
    void watchEnter();
    void watchWheel();
    void watchListKeys();

    // loading, choosing and adding (invoiceform.cpp)
    void HideGoodsTextBox();
    // the GST rate kept for a stock item (LoadItemGstRate), none without one
    std::optional<double> itemGstRate(const QString& itemCode);
    // a goods line's rate: the goods rate chosen, else the one chosen for the
    // line, else its item's own (item's, when read with it), while in force on
    // the invoice's date; else none
    std::optional<double> lineGstRate(const QString& itemCode, std::optional<double> chosen = std::nullopt,
                                      const zelva::LineItem* item = nullptr);
    void settleLineRates();
    // the entry line's rate list: nothing (the goods rate), then the rates offered
    void fillLineRateList();
    std::optional<double> entryLineRate() const;
    void showEntryLineRate(std::optional<double> rate);
    bool SetCompanyDatabase();
    bool showCompany(int index);
    void ShowCompanyDetails();
    void SetBuyerDatabase();
    void SetItemDatabase();
    bool moveToEntry(zelva::RecordSource& source, bool& readInFull, const std::vector<qint64>& keys, int index);
    // The goods list's entry `index` in the entry row, its item as a line
    // takes it: `scanned` when the scan read it, else read now.
    void pickGoods(int index, std::optional<zelva::LineItem> scanned);
    void showBuyer(int index);
    void showDelivery();
    void computeLineAmount();
    bool readEntryLine();
    bool entryRowComplete() const;
    void updateAddButton();

    // GST and totals (invoicetotals.cpp)
    void IgstList();
    void CgstList();
    void SgstList();
    void HideSgstItem();
    void ShowSgstItem();
    void showSgstItems(bool visible);
    void decideTaxMode();
    void clearTaxRows();
    void chooseRate(TaxBase base, int position);
    // The rate lists offer the rates in force on the date typed; a rate chosen
    // stays chosen while it is still in force, else it is cleared with its rows.
    void offerRatesOfDate();
    void fillRateListsOfMode();
    // The screen as an invoice: what the boxes hold, each number by the one
    // rule (a box that is no number counts as nothing until Save refuses it).
    zelva::Invoice currentInvoice() const;
    // Works out the invoice on screen (ComputeTotals) and shows its taxes
    // and totals; asks for a buyer when none decides the tax yet.
    void alltotal(bool askForBuyer);
    void showTaxRows();
    void showGoodsTotal();
    void ConvertCurrencyToEnglish();

    // new invoice, check, save (invoicesave.cpp)
    void resetInvoiceValues();
    void setInvoiceSerial(qint64 serial);
    QWidget* descriptionBox(int row) const;
    QWidget* hsnBox(int row) const;
    bool CheckForEmptyControl();
    // The pre-save check and the totals recomputation; false (and a message)
    // when the invoice cannot be saved as it stands.
    bool readyToSave();
    bool droppedRatesChosenAgain();
    // Stores the invoice through StoreInvoice (one transaction); false, with
    // the operator told why and what failureNote adds, when nothing was
    // stored. Renumber::Refused once copies carrying the number are printed.
    bool storeInvoice(zelva::Renumber renumber, const QString& failureNote);

    // transport details and the pay QR (invoicetransport.cpp)
    void buildTransport();
    void buildTransportOnPage(int left, int top);
    void buildUpiQr(int left, int top);
    std::optional<zelva::InvoiceTransport> transportTyped() const;
    // The transport details as typed are whole and well formed, or none are typed; false (the operator told) otherwise.
    bool transportAccepted();
    void showTransportSummary();
    void showUpiQr();
    // paid now, the buyer's balance and credit limit (invoicepayment.cpp)
    void buildPaidNow(QVBoxLayout* column);
    // A new invoice: not paid now, by cash when it is.
    void resetPaidNow();
    // The buyer picked: its balance shown; paid now ticked for a walk-in
    // buyer (one without a GSTIN), left for the operator otherwise.
    void showBuyerBalance();
    std::optional<zelva::PaidNow> paidNow() const;
    // False (told) when paid now cannot be saved as chosen; else warns, never
    // refusing, when the invoice takes the buyer past its credit limit.
    bool checkPayment(zelva::Paise invoiceTotal);

    // printing (invoiceprint.cpp)
    bool takeFreeNumber();
    void copyPrintSubstitutes();
    void showSelectionBoxes(bool visible);
    // Paper shows plain text: no box keeps the focus or a selection.
    QWidget* takeFocusOff();
    bool printCopies();

    // barcodes scanned, reorder levels (barcodescan.cpp)
    void watchScans();
    // A scanned code: its item's line added, or one more of it on its line;
    // false when the code is not taken (the operator told why, or told nothing when no invoice is open).
    bool codeScanned(const QString& code);
    int listIndexOfItem(const QString& itemCode);
    void addOneMore(int row, const zelva::LineItem& item);
    // Warns, never refusing, when the invoice's lines take the item to or below its reorder level.
    void warnOfReorderLevel(const zelva::LineItem& item);
    zelva::ScanCatcher* m_scans = nullptr;
    // Quick Bill (quickbillprint.cpp): saves the invoice, then prints it on the receipt roll.
    void buildQuickBill();
    void cmdQuickBill_Click();
    int m_itemListFillings = 0;            // how often the goods list was filled
    int m_indexedFilling = -1;             // the filling the index below was made for
    QHash<QString, int> m_listIndexOfItem; // an item's code to its goods list entry, made at the first scan

    zelva::Database& m_db;
    zelva::RecordSource datCompany;
    zelva::RecordSource datBuyer;
    zelva::RecordSource datStock;
    QScrollArea* m_scroll = nullptr;
    QHash<QObject*, QWidget*> m_enterGoesTo; // where Enter leads while entering a goods line

    // keys of the records the buyer and goods list entries show, by position
    std::vector<qint64> m_companyKeys;
    std::vector<std::pair<QLineEdit*, QComboBox*>> m_printSubstitutes; // printInPlaceOf
    bool m_companyListShown = false; // while the selection boxes are hidden for printing
    std::vector<qint64> m_buyerKeys;
    std::vector<qint64> m_itemKeys;
    QStringList m_itemCodes; // the item code of each goods list entry
    bool m_buyersReadInFull = false;

    bool m_pending = false;
    qint64 InvoiceSno = 0;
    QString InvoiceNumber;
    QString m_numberAtNew; // the number New Invoice showed, to tell the operator of a change
    zelva::TaxMode TaxMode = zelva::TaxMode::None;
    QString BuyerState;
    QString CompanyState;
    QString BuyerBid;
    QString CurrentItemCode;
    std::optional<zelva::LineItem> m_entryItem; // what a line takes of the item in the entry row, read when it was picked
    std::array<TaxLine, 3> m_tax{};
    // The whole rates the rate lists offer, rising: entry i of a list is the
    // rate m_offeredRates[i], its label made from that value. They are the
    // rates in force on the invoice's date (offerRatesOfDate).
    std::vector<double> m_offeredRates;
    zelva::CompanyPayment m_companyPayment; // the seller's UPI ID, read with the company
    zelva::Invoice m_invoice; // as last worked out and shown
    std::vector<zelva::InvoiceLine> m_lines; // the goods lines added, in row order, with their stock items
    std::vector<std::optional<double>> m_chosenLineRates; // each line's rate as the entry line gave it
    double LineQuantity = 0;
    double LineRate = 0;
    zelva::Paise LineAmount = 0;
    bool m_lineTooLarge = false; // quantity times rate passes the amount limit
    int LineCount = 0;
};

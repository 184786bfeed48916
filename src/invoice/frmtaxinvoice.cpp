#include "invoice/frmtaxinvoice.h"

#include "data/guard.h"
#include "data/serials.h"
#include "invoice/amountinwords.h"
#include "platform/datetext.h"
#include "platform/message.h"
#include "platform/textnum.h"
#include "platform/twips.h"

#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

using namespace zelva;

namespace {

// The A4 page in twips, and where its printable area starts.
constexpr int PageWidth = 11906;
constexpr int PageHeight = 16838;
constexpr int Margin = 700;
constexpr int ContentWidth = 10395;
constexpr double ScreenDpi = 96;

// Grid geometry in twips, relative to the printable area.
constexpr int GridHeadTop = 4400;
constexpr int GridFirstRowTop = 4750;
constexpr int RowPitch = 400;
constexpr int RowHeight = 330;
constexpr int GridBottom = GridFirstRowTop + 15 * RowPitch + RowHeight + 20;
struct Column {
    int left;
    int width;
};
constexpr Column SNoCol{0, 560};
constexpr Column DescCol{600, 4640};
constexpr Column HsnCol{5280, 1000};
constexpr Column QtyCol{6320, 780};
constexpr Column RateCol{7140, 900};
constexpr Column PerCol{8080, 700};
constexpr Column AmountCol{8820, 1560};
constexpr int BlockSplit = 5300; // the line between the seller/buyer and the reference/delivery blocks

int px(int twips) { return TwipsToDevice(twips, ScreenDpi); }

int rowTop(int row) { return GridFirstRowTop + (row - 1) * RowPitch; }

// Draws the ruled lines of the printed invoice behind the boxes.
class InvoicePage : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(QPen(Qt::black, 1));
        auto line = [&](int x1, int y1, int x2, int y2) {
            p.drawLine(px(Margin + x1), px(Margin + y1), px(Margin + x2), px(Margin + y2));
        };
        const int top = 380;
        const int bottom = 14200;
        line(0, top, ContentWidth, top);
        line(0, bottom, ContentWidth, bottom);
        line(0, top, 0, bottom);
        line(ContentWidth, top, ContentWidth, bottom);
        line(0, 2150, ContentWidth, 2150);
        line(BlockSplit, top, BlockSplit, 4350);
        line(0, 4350, ContentWidth, 4350);
        line(0, GridFirstRowTop - 30, ContentWidth, GridFirstRowTop - 30);
        line(0, GridBottom, ContentWidth, GridBottom);
        for (const Column& c : {DescCol, HsnCol, QtyCol, RateCol, PerCol, AmountCol})
            line(c.left - 20, 4350, c.left - 20, GridBottom);
        line(0, 11870, ContentWidth, 11870);
        line(0, 12650, ContentWidth, 12650);
    }
};

// A rate list: the operator picks an entry; only the program writes other text
// into it (the SGST label that follows the CGST choice, "N.A.").
class PickCombo : public QComboBox {
public:
    explicit PickCombo(QWidget* parent)
        : QComboBox(parent)
    {
        setEditable(true);
        lineEdit()->setReadOnly(true);
        lineEdit()->installEventFilter(this);
        setInsertPolicy(QComboBox::NoInsert);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress && isEnabled()) {
            showPopup();
            return true;
        }
        return QComboBox::eventFilter(watched, event);
    }
};

void place(QWidget* w, int left, int top, int width, int height = RowHeight)
{
    w->setGeometry(px(Margin + left), px(Margin + top), px(width), px(height));
}

template <typename T>
T* named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QString comboText(const QComboBox* combo) { return combo->currentText(); }

void setComboText(QComboBox* combo, const QString& text)
{
    if (combo->isEditable()) {
        combo->setEditText(text);
        return;
    }
    combo->setCurrentIndex(combo->findText(text));
}

void clearCombo(QComboBox* combo)
{
    combo->setCurrentIndex(-1);
    if (combo->isEditable())
        combo->clearEditText();
}

// Long lists must not be measured entry by entry.
void makeLongList(QComboBox* combo)
{
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(20);
    combo->setMaxVisibleItems(20);
    if (auto* view = qobject_cast<QListView*>(combo->view()))
        view->setUniformItemSizes(true);
}

void fillIfEmpty(QLineEdit* box, const QString& text)
{
    if (box->text().isEmpty())
        box->setText(text);
}

void fillIfEmpty(QPlainTextEdit* box, const QString& text)
{
    if (box->toPlainText().isEmpty())
        box->setPlainText(text);
}

void fillIfEmpty(QComboBox* combo, const QString& text)
{
    if (comboText(combo).isEmpty())
        setComboText(combo, text);
}

const QString NotApplicable = QStringLiteral("N.A.");

// The entry as typed when it is plainly the number the line works with ("0.50",
// "12.50"); otherwise that number ("12a" gives "12"), so the row shows what is
// charged and taken off the stock.
QString NumberAsEntered(const QString& typed, double value)
{
    bool isNumber = false;
    const QString trimmed = typed.trimmed();
    const double number = trimmed.toDouble(&isNumber);
    return isNumber && number == value ? trimmed : Str(value);
}

QString TooLarge(const QString& what)
{
    return what + QStringLiteral(" is too large: an amount can have at most 13 digits before the point.");
}

} // namespace

frmTaxInvoice::frmTaxInvoice(Database& db, QWidget* parent)
    : QWidget(parent)
    , m_db(db)
    , datCompany(db)
    , datBuyer(db)
    , datStock(db)
    , datItemStock(db)
    , datBuyerInvoice(db)
    , datGoodsInvoice(db)
{
    setObjectName(QStringLiteral("frmTaxInvoice"));
    setWindowTitle(QStringLiteral("Tax Invoice"));

    buildPage();
    buildEntryRow();
    buildCommandButtons();

    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_page);
    m_scroll->setAlignment(Qt::AlignHCenter);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_scroll, 0, 0);
    layout->addWidget(fraCommandButton, 0, 1, Qt::AlignTop);
    layout->addWidget(fraDescriptionOfGoods, 1, 0, 1, 2);
    layout->setRowStretch(0, 1);
    layout->setColumnStretch(0, 1);
    resize(sizeHint());

    m_tax[Goods] = {cboGoodsCgst, cboGoodsSgst, 8, 9};
    m_tax[Others1] = {cboOthers1Cgst, cboOthers1Sgst, 11, 12};
    m_tax[Others2] = {cboOthers2Cgst, cboOthers2Sgst, 14, 15};

    setTabOrders();
    watchFocus();
    watchEnter();
    Form_Load();
}

// ---------------------------------------------------------------- layout

// The whole width of the page, and a height that leaves room in a 1280x800
// main window for its menu, toolbar and status bar; the page scrolls.
QSize frmTaxInvoice::sizeHint() const
{
    constexpr int OpeningHeight = 660;
    const int pageArea = m_page->width() + m_scroll->verticalScrollBar()->sizeHint().width() + 2 * m_scroll->frameWidth();
    const auto* grid = static_cast<QGridLayout*>(layout());
    const QMargins margins = grid->contentsMargins();
    const int pageAndButtons = margins.left() + pageArea + grid->horizontalSpacing()
        + fraCommandButton->sizeHint().width() + margins.right();
    return {std::max(QWidget::sizeHint().width(), pageAndButtons), OpeningHeight};
}

void frmTaxInvoice::buildPage()
{
    m_page = new InvoicePage;
    m_page->setObjectName(QStringLiteral("invoicePage"));
    m_page->setFixedSize(px(PageWidth), px(PageHeight));
    m_page->setStyleSheet(QStringLiteral(
        "QLineEdit, QPlainTextEdit { border: none; background: transparent; }"
        "QLineEdit:focus, QPlainTextEdit:focus { background: #fff8d0; }"
        "QLabel { background: transparent; }"));
    const QFont pageFont = m_page->font();

    auto label = [&](const QString& caption, int left, int top, int width, Qt::Alignment align = Qt::AlignLeft) {
        auto* l = new QLabel(caption, m_page);
        l->setAlignment(align | Qt::AlignVCenter);
        place(l, left, top, width);
        return l;
    };
    auto box = [&](const QString& name, int left, int top, int width, bool readOnly = false) {
        auto* b = named(new QLineEdit(m_page), name);
        b->setReadOnly(readOnly);
        place(b, left, top, width);
        return b;
    };
    auto lines = [&](const QString& name, int left, int top, int width, bool readOnly) {
        auto* b = named(new QPlainTextEdit(m_page), name);
        b->setReadOnly(readOnly);
        b->setTabChangesFocus(true);
        b->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        b->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        b->document()->setDocumentMargin(1);
        place(b, left, top, width, 560);
        return b;
    };
    QFont bold = pageFont;
    bold.setBold(true);

    lblTitle = named(label(QStringLiteral("Tax Invoice"), 0, 0, ContentWidth, Qt::AlignHCenter), QStringLiteral("lblTitle"));
    QFont titleFont = pageFont;
    titleFont.setPointSizeF(pageFont.pointSizeF() * 1.3);
    titleFont.setBold(true);
    titleFont.setUnderline(true);
    lblTitle->setFont(titleFont);
    lblCopy = named(label(QStringLiteral("Original Copy"), 7800, 0, 2580, Qt::AlignRight), QStringLiteral("lblCopy"));

    // seller
    txtCompanyName = box(QStringLiteral("txtCompanyName"), 100, 450, 5100, true);
    txtCompanyName->setFont(bold);
    txtAddress = lines(QStringLiteral("txtAddress"), 100, 780, 5100, true);
    label(QStringLiteral("Dist.:"), 100, 1370, 600);
    txtDist = box(QStringLiteral("txtDist"), 720, 1370, 4400, true);
    label(QStringLiteral("State:"), 100, 1650, 600);
    txtState = box(QStringLiteral("txtState"), 720, 1650, 2300, true);
    label(QStringLiteral("Pin:"), 3100, 1650, 450);
    txtPin = box(QStringLiteral("txtPin"), 3560, 1650, 1600, true);
    label(QStringLiteral("GSTIN/ UIN:"), 100, 1880, 1100);
    txtGstin = box(QStringLiteral("txtGstin"), 1220, 1880, 3900, true);
    cboCompany = named(new QComboBox(m_page), QStringLiteral("cboCompany"));
    cboCompany->hide(); // the invoice is always issued by the first company

    // references
    const int refLeft = BlockSplit + 100;
    label(QStringLiteral("Invoice No.:"), refLeft, 450, 1200);
    txtInvoiceNo = box(QStringLiteral("txtInvoiceNo"), refLeft + 1220, 450, 1500, true);
    txtInvoiceNo->setFont(bold);
    label(QStringLiteral("Date:"), refLeft + 2850, 450, 550);
    txtInvoiceDate = box(QStringLiteral("txtInvoiceDate"), refLeft + 3420, 450, 1500);
    label(QStringLiteral("Order No.:"), refLeft, 800, 1200);
    txtOrderNo = box(QStringLiteral("txtOrderNo"), refLeft + 1220, 800, 1550);
    label(QStringLiteral("Date:"), refLeft + 2850, 800, 550);
    txtOrderDate = box(QStringLiteral("txtOrderDate"), refLeft + 3420, 800, 1500);
    label(QStringLiteral("Supplier's Ref.:"), refLeft, 1150, 1500);
    txtSuppliersRef = box(QStringLiteral("txtSuppliersRef"), refLeft + 1520, 1150, 3400);
    label(QStringLiteral("Dispatched Through:"), refLeft, 1500, 2100);
    txtDispatchedThrough = box(QStringLiteral("txtDispatchedThrough"), refLeft + 2120, 1500, 2800);

    // buyer: the printed name box lies beneath the list
    label(QStringLiteral("Buyer"), 100, 2220, 3000)->setFont(bold);
    txtBuyerName = box(QStringLiteral("txtBuyerName"), 100, 2520, 5100, true);
    cboBuyerName = named(new QComboBox(m_page), QStringLiteral("cboBuyerName"));
    makeLongList(cboBuyerName);
    place(cboBuyerName, 100, 2520, 5100);
    txtBuyerAddress = lines(QStringLiteral("txtBuyerAddress"), 100, 2880, 5100, true);
    label(QStringLiteral("Dist.:"), 100, 3470, 600);
    txtBuyerDist = box(QStringLiteral("txtBuyerDist"), 720, 3470, 4400, true);
    label(QStringLiteral("State:"), 100, 3750, 600);
    txtBuyerState = box(QStringLiteral("txtBuyerState"), 720, 3750, 2300, true);
    label(QStringLiteral("Pin:"), 3100, 3750, 450);
    txtBuyerPin = box(QStringLiteral("txtBuyerPin"), 3560, 3750, 1600, true);
    label(QStringLiteral("GSTIN/ UIN:"), 100, 4010, 1100);
    txtBuyerGstin = box(QStringLiteral("txtBuyerGstin"), 1220, 4010, 3900, true);

    // delivery
    label(QStringLiteral("Delivery Address"), refLeft, 2220, 3000)->setFont(bold);
    txtBuyerNameD = box(QStringLiteral("txtBuyerNameD"), refLeft, 2520, 4900, true);
    cboBuyerNameD = named(new QComboBox(m_page), QStringLiteral("cboBuyerNameD"));
    cboBuyerNameD->setEditable(true);
    cboBuyerNameD->setInsertPolicy(QComboBox::NoInsert);
    cboBuyerNameD->completer()->setCaseSensitivity(Qt::CaseSensitive);
    cboBuyerNameD->setModel(cboBuyerName->model()); // the same buyers, read once
    makeLongList(cboBuyerNameD);
    place(cboBuyerNameD, refLeft, 2520, 4900);
    txtBuyerAddressD = lines(QStringLiteral("txtBuyerAddressD"), refLeft, 2880, 4900, false);
    label(QStringLiteral("Dist.:"), refLeft, 3470, 600);
    txtBuyerDistD = box(QStringLiteral("txtBuyerDistD"), refLeft + 620, 3470, 4280);
    label(QStringLiteral("State:"), refLeft, 3750, 600);
    txtBuyerStateD = box(QStringLiteral("txtBuyerStateD"), refLeft + 620, 3750, 2300);
    label(QStringLiteral("Pin:"), refLeft + 3000, 3750, 450);
    txtBuyerPinD = box(QStringLiteral("txtBuyerPinD"), refLeft + 3460, 3750, 1440);

    // grid head
    const std::array<std::pair<const char*, Column>, 7> heads{{{"S.No.", SNoCol},
                                                               {"Description of Goods", DescCol},
                                                               {"HSN/ SAC", HsnCol},
                                                               {"Quantity", QtyCol},
                                                               {"Rate (Rs.)", RateCol},
                                                               {"per", PerCol},
                                                               {"Amount", AmountCol}}};
    for (const auto& [caption, col] : heads)
        label(QString::fromLatin1(caption), col.left, GridHeadTop, col.width, Qt::AlignHCenter);

    // grid rows: rows 10 and 13 take their HSN from a list, rows 8-16 their
    // description from the tax and charge lists or the rounding box
    auto cell = [&](Row& array, const char* stem, int row, Column col, bool readOnly, Qt::Alignment align) {
        QLineEdit* b = box(QStringLiteral("%1_%2").arg(QLatin1String(stem)).arg(row), col.left, rowTop(row), col.width, readOnly);
        b->setAlignment(align);
        array[row] = b;
    };
    const auto right = Qt::AlignRight;
    const auto left = Qt::AlignLeft;
    for (int row = 1; row <= GridRows; ++row) {
        const bool goods = row <= GoodsRows;
        const bool charge = row == 10 || row == 13;
        const bool taxRow = row >= 8 && row <= 15 && !charge;
        cell(txtSNo, "txtSNo", row, SNoCol, true, Qt::AlignHCenter);
        if (goods)
            cell(txtDescriptionOfGoods, "txtDescriptionOfGoods", row, DescCol, true, left);
        if (!charge)
            cell(txtHsn, "txtHsn", row, HsnCol, goods, left);
        if (goods)
            cell(txtQuantity, "txtQuantity", row, QtyCol, true, right);
        if (row <= 15) {
            cell(txtRate, "txtRate", row, RateCol, goods || taxRow, right);
            cell(txtPer, "txtPer", row, PerCol, goods || taxRow, left);
        }
        cell(txtAmount, "txtAmount", row, AmountCol, goods || taxRow, right);
    }

    // printed substitutes of the lists, beneath them
    auto substitute = [&](const QString& name, int row, Column col) { return box(name, col.left, rowTop(row), col.width, true); };
    txtGoodsCgst = substitute(QStringLiteral("txtGoodsCgst"), 8, DescCol);
    txtGoodsSgst = substitute(QStringLiteral("txtGoodsSgst"), 9, DescCol);
    txtOthers1 = substitute(QStringLiteral("txtOthers1"), 10, DescCol);
    txtOthers1Hsn = substitute(QStringLiteral("txtOthers1Hsn"), 10, HsnCol);
    txtOthers1Cgst = substitute(QStringLiteral("txtOthers1Cgst"), 11, DescCol);
    txtOthers1Sgst = substitute(QStringLiteral("txtOthers1Sgst"), 12, DescCol);
    txtOthers2 = substitute(QStringLiteral("txtOthers2"), 13, DescCol);
    txtOthers2Hsn = substitute(QStringLiteral("txtOthers2Hsn"), 13, HsnCol);
    txtOthers2Cgst = substitute(QStringLiteral("txtOthers2Cgst"), 14, DescCol);
    txtOthers2Sgst = substitute(QStringLiteral("txtOthers2Sgst"), 15, DescCol);

    // the rate and charge lists of rows 8-15 in their frame
    fraGSTCombo = named(new QGroupBox(m_page), QStringLiteral("fraGSTCombo"));
    fraGSTCombo->setFlat(true);
    fraGSTCombo->setStyleSheet(QStringLiteral("QGroupBox { border: none; margin: 0; padding: 0; }"));
    place(fraGSTCombo, DescCol.left, rowTop(8), DescCol.width, rowTop(15) + RowHeight - rowTop(8));
    auto listInFrame = [&](QComboBox* combo, const QString& name, int row) {
        combo->setObjectName(name);
        combo->setGeometry(0, px(rowTop(row)) - px(rowTop(8)), px(DescCol.width), px(RowHeight));
        return combo;
    };
    cboGoodsCgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboGoodsCgst"), 8);
    cboGoodsSgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboGoodsSgst"), 9);
    cboOthers1 = listInFrame(new QComboBox(fraGSTCombo), QStringLiteral("cboOthers1"), 10);
    cboOthers1Cgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboOthers1Cgst"), 11);
    cboOthers1Sgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboOthers1Sgst"), 12);
    cboOthers2 = listInFrame(new QComboBox(fraGSTCombo), QStringLiteral("cboOthers2"), 13);
    cboOthers2Cgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboOthers2Cgst"), 14);
    cboOthers2Sgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboOthers2Sgst"), 15);
    for (QComboBox* others : {cboOthers1, cboOthers2}) {
        others->setEditable(true);
        others->setInsertPolicy(QComboBox::NoInsert);
        others->addItems({QStringLiteral("Insurance"), QStringLiteral("Freight"), QStringLiteral("Others")});
    }
    cboOthers1->setEditText(QStringLiteral("Others1"));
    cboOthers2->setEditText(QStringLiteral("Others2"));
    for (QComboBox* cgst : {cboGoodsCgst, cboOthers1Cgst, cboOthers2Cgst})
        cgst->setEditText(QStringLiteral("CGST/ IGST"));
    // SGST is charged at the CGST rate: its list follows the CGST choice
    for (QComboBox* sgst : {cboGoodsSgst, cboOthers1Sgst, cboOthers2Sgst}) {
        sgst->setEditText(QStringLiteral("SGST"));
        sgst->setEnabled(false);
    }
    cboOthers1Hsn = named(new QComboBox(m_page), QStringLiteral("cboOthers1Hsn"));
    cboOthers2Hsn = named(new QComboBox(m_page), QStringLiteral("cboOthers2Hsn"));
    for (auto [combo, row] : {std::pair{cboOthers1Hsn, 10}, std::pair{cboOthers2Hsn, 13}}) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        place(combo, HsnCol.left, rowTop(row), HsnCol.width);
    }
    txtShortExcess = box(QStringLiteral("txtShortExcess"), DescCol.left, rowTop(16), DescCol.width);
    txtShortExcess->setText(QStringLiteral("Short & Excess"));

    // totals
    const int totalsTop = GridBottom + 50;
    label(QStringLiteral("Total"), DescCol.left, totalsTop, 2000)->setFont(bold);
    txtTotalQuantity = box(QStringLiteral("txtTotalQuantity"), QtyCol.left, totalsTop, QtyCol.width, true);
    txtTotalQuantity->setAlignment(Qt::AlignRight);
    label(QStringLiteral("Goods Value"), RateCol.left, totalsTop, RateCol.width + PerCol.width - 40, Qt::AlignRight);
    txtTotalGoodsAmount = box(QStringLiteral("txtTotalGoodsAmount"), AmountCol.left, totalsTop, AmountCol.width, true);
    txtTotalGoodsAmount->setAlignment(Qt::AlignRight);
    const int taxTotalsTop = totalsTop + 350;
    lblTotalCGST = named(label(QStringLiteral("Total CGST"), 100, taxTotalsTop, 1200), QStringLiteral("lblTotalCGST"));
    txtTotalCgst = box(QStringLiteral("txtTotalCgst"), 1320, taxTotalsTop, 1200, true);
    txtTotalCgst->setAlignment(Qt::AlignRight);
    lblTotalSGST = named(label(QStringLiteral("Total SGST"), 2700, taxTotalsTop, 1200), QStringLiteral("lblTotalSGST"));
    txtTotalSgst = box(QStringLiteral("txtTotalSgst"), 3920, taxTotalsTop, 1200, true);
    txtTotalSgst->setAlignment(Qt::AlignRight);
    label(QStringLiteral("Total Amount"), QtyCol.left, taxTotalsTop, PerCol.left + 180 - QtyCol.left, Qt::AlignRight)
        ->setFont(bold);
    label(QStringLiteral("Rs."), PerCol.left + 200, taxTotalsTop, 480, Qt::AlignRight)->setFont(bold);
    txtTotalAmount = box(QStringLiteral("txtTotalAmount"), AmountCol.left, taxTotalsTop, AmountCol.width, true);
    txtTotalAmount->setAlignment(Qt::AlignRight);
    txtTotalAmount->setFont(bold);

    label(QStringLiteral("Amount Chargeable (in Words)"), 100, 11920, 4000);
    label(QStringLiteral("E. && O.E").replace(QLatin1String("&&"), QLatin1String("&")), AmountCol.left, 11920,
          AmountCol.width, Qt::AlignRight);
    txtAmountInWords = box(QStringLiteral("txtAmountInWords"), 100, 12230, ContentWidth - 200, true);
    txtAmountInWords->setFont(bold);

    auto* declaration = label(QStringLiteral("Declaration"), 100, 12700, 3000);
    QFont underlined = pageFont;
    underlined.setUnderline(true);
    declaration->setFont(underlined);
    auto* declarationText = label(QStringLiteral("We Declare that this invoice shows the actual price of the goods described "
                                                 "and that all particulars are true and correct."),
                                  100, 13000, 5600);
    declarationText->setWordWrap(true);
    place(declarationText, 100, 13000, 5600, 600);
    lblCompanyName = named(label(QString(), 6000, 12700, 4300, Qt::AlignRight), QStringLiteral("lblCompanyName"));
    lblCompanyName->setFont(bold);
    label(QStringLiteral("Authorised Signatory"), 6000, 13850, 4300, Qt::AlignRight);
    label(QStringLiteral("This is a Computer Generated Invoice"), 0, 14300, ContentWidth, Qt::AlignHCenter);

    // the lists lie above the printed boxes beneath them
    for (QWidget* w : std::initializer_list<QWidget*>{cboBuyerName, cboBuyerNameD, fraGSTCombo, cboOthers1Hsn, cboOthers2Hsn})
        w->raise();
}

void frmTaxInvoice::buildEntryRow()
{
    fraDescriptionOfGoods = named(new QGroupBox(this), QStringLiteral("fraDescriptionOfGoods"));
    auto* grid = new QGridLayout(fraDescriptionOfGoods);
    const QStringList captions{QStringLiteral("S.No."),    QStringLiteral("Description of Goods"),
                               QStringLiteral("HSN/ SAC"), QStringLiteral("Quantity"),
                               QStringLiteral("Rate (Rs.)"), QStringLiteral("per"),
                               QStringLiteral("Amount")};
    for (int c = 0; c < captions.size(); ++c)
        grid->addWidget(new QLabel(captions[c], fraDescriptionOfGoods), 0, c);

    auto entry = [&](Row& array, const char* stem, bool readOnly) {
        auto* b = named(new QLineEdit(fraDescriptionOfGoods), QStringLiteral("%1_0").arg(QLatin1String(stem)));
        b->setReadOnly(readOnly);
        array[0] = b;
        return b;
    };
    entry(txtSNo, "txtSNo", true)->setMaximumWidth(50);
    cboDescriptionOfGoods = named(new QComboBox(fraDescriptionOfGoods), QStringLiteral("cboDescriptionOfGoods"));
    makeLongList(cboDescriptionOfGoods);
    cboHsn = named(new QComboBox(fraDescriptionOfGoods), QStringLiteral("cboHsn"));
    cboHsn->setEditable(true);
    cboHsn->setInsertPolicy(QComboBox::NoInsert);
    makeLongList(cboHsn);
    cboHsn->setMinimumContentsLength(8);
    entry(txtQuantity, "txtQuantity", false);
    entry(txtRate, "txtRate", false);
    cboPer = named(new QComboBox(fraDescriptionOfGoods), QStringLiteral("cboPer"));
    cboPer->setEditable(true);
    cboPer->setInsertPolicy(QComboBox::NoInsert);
    cboPer->addItem(QStringLiteral("Nos."));
    cboPer->setCurrentIndex(-1);
    entry(txtAmount, "txtAmount", true); // always quantity times rate
    cmdAdd = named(new QPushButton(QStringLiteral("Add"), fraDescriptionOfGoods), QStringLiteral("cmdAdd"));
    cmdAdd->setToolTip(QStringLiteral("Add Items"));
    cmdAdd->setAutoDefault(true); // Enter presses it

    const std::array<QWidget*, 8> row{txtSNo[0], cboDescriptionOfGoods, cboHsn, txtQuantity[0],
                                      txtRate[0], cboPer, txtAmount[0], cmdAdd};
    for (int c = 0; c < int(row.size()); ++c)
        grid->addWidget(row[c], 1, c);
    grid->setColumnStretch(1, 4);
    grid->setColumnStretch(2, 1);

    connect(cmdAdd, &QPushButton::clicked, this, &frmTaxInvoice::cmdAdd_Click);
    connect(cboDescriptionOfGoods, &QComboBox::activated, this, &frmTaxInvoice::cboDescriptionOfGoods_Click);
    connect(cboBuyerName, &QComboBox::activated, this, &frmTaxInvoice::cboBuyerName_Click);
    connect(cboBuyerNameD, &QComboBox::activated, this, &frmTaxInvoice::cboBuyerNameD_Click);
    connect(cboGoodsCgst, &QComboBox::activated, this, &frmTaxInvoice::cboGoodsCgst_Click);
    connect(cboOthers1Cgst, &QComboBox::activated, this, &frmTaxInvoice::cboOthers1Cgst_Click);
    connect(cboOthers2Cgst, &QComboBox::activated, this, &frmTaxInvoice::cboOthers2Cgst_Click);
    // the tax of an extra charge follows its amount
    for (int row : {10, 13, 16})
        connect(txtAmount[row], &QLineEdit::textEdited, this, [this] {
            recomputeTaxes();
            RefreshTotals();
        });
}

void frmTaxInvoice::buildCommandButtons()
{
    fraCommandButton = named(new QGroupBox(this), QStringLiteral("fraCommandButton"));
    auto* column = new QVBoxLayout(fraCommandButton);
    auto button = [&](const QString& name, const QString& caption, const QString& tip) {
        auto* b = named(new QPushButton(caption, fraCommandButton), name);
        b->setToolTip(tip);
        b->setAutoDefault(true); // Enter presses the button that has the focus
        column->addWidget(b);
        return b;
    };
    cmdNewInvoice = button(QStringLiteral("cmdNewInvoice"), QStringLiteral("&New Invoice"), QStringLiteral("Create a New Invoice"));
    cmdSave = button(QStringLiteral("cmdSave"), QStringLiteral("&Save"), QStringLiteral("Save the Invoice"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("Cance&l"), QStringLiteral("Cancel New Member"));
    cmdPrint = button(QStringLiteral("cmdPrint"), QStringLiteral("&Print"), QStringLiteral("Print and Save Invoice"));
    cmdInvoiceReport = button(QStringLiteral("cmdInvoiceReport"), QStringLiteral("Print Invoice"), QString());
    cmdClose = button(QStringLiteral("cmdClose"), QStringLiteral("&Close"), QStringLiteral("Close Curent Window"));

    connect(cmdNewInvoice, &QPushButton::clicked, this, &frmTaxInvoice::cmdNewInvoice_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmTaxInvoice::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTaxInvoice::cmdCancel_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmTaxInvoice::cmdClose_Click);
}

// The fields in working order. Qt's own tab chain loses its way around the
// editable lists, so Tab follows this list itself (focusNextPrevChild).
void frmTaxInvoice::setTabOrders()
{
    m_tabChain = {cboBuyerName, txtInvoiceDate, txtOrderNo, txtOrderDate, txtSuppliersRef,
                  txtDispatchedThrough, cboBuyerNameD, txtBuyerAddressD, txtBuyerDistD,
                  txtBuyerStateD, txtBuyerPinD, cboDescriptionOfGoods, cboHsn, txtQuantity[0],
                  txtRate[0], cboPer, txtAmount[0], cmdAdd, cboGoodsCgst, cboOthers1,
                  cboOthers1Hsn, txtRate[10], txtPer[10], txtAmount[10], cboOthers1Cgst,
                  cboOthers2, cboOthers2Hsn, txtRate[13], txtPer[13], txtAmount[13],
                  cboOthers2Cgst, txtShortExcess, txtAmount[16], txtTotalAmount, cmdNewInvoice,
                  cmdSave, cmdCancel, cmdPrint, cmdInvoiceReport, cmdClose};
}

bool frmTaxInvoice::focusNextPrevChild(bool next)
{
    QWidget* current = focusWidget();
    const auto at = std::find_if(m_tabChain.begin(), m_tabChain.end(),
                                 [&](QWidget* w) { return w == current || w->isAncestorOf(current); });
    if (!current || at == m_tabChain.end())
        return QWidget::focusNextPrevChild(next);
    const int count = int(m_tabChain.size());
    const int start = int(at - m_tabChain.begin());
    for (int step = 1; step < count; ++step) {
        QWidget* candidate = m_tabChain[(start + (next ? step : count - step)) % count];
        if (!candidate->isEnabled() || !candidate->isVisibleTo(this) || !(candidate->focusPolicy() & Qt::TabFocus))
            continue;
        candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        if (m_page->isAncestorOf(candidate))
            m_scroll->ensureWidgetVisible(candidate);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void frmTaxInvoice::watchFocus()
{
    for (QLineEdit* amount : txtAmount)
        if (amount)
            amount->installEventFilter(this);
    txtShortExcess->installEventFilter(this);
    txtTotalAmount->installEventFilter(this);
    txtTotalGoodsAmount->installEventFilter(this);
}

// A goods line is entered with Enter alone: from the goods list to the
// quantity, on to the rate and to Add, which Enter then presses.
void frmTaxInvoice::watchEnter()
{
    const std::array<std::pair<QWidget*, QWidget*>, 6> moves{{{cboDescriptionOfGoods, txtQuantity[0]},
                                                              {cboHsn, txtQuantity[0]},
                                                              {txtQuantity[0], txtRate[0]},
                                                              {txtRate[0], cmdAdd},
                                                              {cboPer, cmdAdd},
                                                              {txtAmount[0], cmdAdd}}};
    for (auto [from, to] : moves) {
        m_enterGoesTo.insert(from, to);
        from->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(from); combo && combo->lineEdit()) {
            m_enterGoesTo.insert(combo->lineEdit(), to);
            combo->lineEdit()->installEventFilter(this);
        }
    }
}

bool frmTaxInvoice::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_enterGoesTo.contains(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_enterGoesTo.value(watched)->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress && watched == txtTotalGoodsAmount) {
        txtTotalGoodsAmount_Click();
    } else if (event->type() == QEvent::FocusIn) {
        // Focus coming back after a message box is not the operator's move.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return QWidget::eventFilter(watched, event);
        if (watched == txtShortExcess) {
            txtShortExcess_GotFocus();
        } else if (watched == txtTotalAmount) {
            txtTotalAmount_GotFocus();
        } else {
            for (int i = 0; i <= GridRows; ++i)
                if (watched == txtAmount[i])
                    txtAmount_GotFocus(i);
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- loading and lists

void frmTaxInvoice::Form_Load()
{
    HideGoodsTextBox();
    Guarded([this] { SetCompanyDatabase(); });
    setButtons(true, false, false, false, false, true);
}

void frmTaxInvoice::HideGoodsTextBox()
{
    for (int row = 1; row <= GoodsRows; ++row)
        for (Row* array : {&txtSNo, &txtDescriptionOfGoods, &txtHsn, &txtQuantity, &txtRate, &txtPer, &txtAmount})
            (*array)[row]->setVisible(false);
}

// Shows the first company as the seller; false when there is none.
bool frmTaxInvoice::SetCompanyDatabase()
{
    datCompany.bind(DbFile::Master, QStringLiteral("Company"));
    datCompany.moveFirst();
    if (datCompany.eof())
        return false;
    ShowCompanyDetails();
    return true;
}

void frmTaxInvoice::ShowCompanyDetails()
{
    txtCompanyName->setText(datCompany.text(QStringLiteral("Name")));
    lblCompanyName->setText(QStringLiteral("For ") + txtCompanyName->text());
    txtAddress->setPlainText(datCompany.text(QStringLiteral("address")));
    txtDist->setText(datCompany.text(QStringLiteral("Dist")));
    txtState->setText(datCompany.text(QStringLiteral("State")));
    CompanyState = txtState->text();
    txtPin->setText(datCompany.text(QStringLiteral("Pin")));
    txtGstin->setText(datCompany.text(QStringLiteral("Gstin")));
}

// Both buyer lists, each entry kept with the key of the record it shows. The
// placeholder record (serial 0) is no buyer.
void frmTaxInvoice::SetBuyerDatabase()
{
    cboBuyerName->clear();
    m_buyerKeys.clear();
    datBuyer.bind(DbFile::Customer, QStringLiteral("CustomerDetails"));
    datBuyer.setFields({QStringLiteral("sno"), QStringLiteral("Name")});
    m_buyersReadInFull = false;
    QStringList names;
    for (datBuyer.moveFirst(); !datBuyer.eof(); datBuyer.moveNext()) {
        const QString name = datBuyer.text(QStringLiteral("Name"));
        if (name.isEmpty() && datBuyer.value(QStringLiteral("sno")).toLongLong() == 0)
            continue;
        names << name;
        m_buyerKeys.push_back(datBuyer.key());
    }
    cboBuyerName->addItems(names); // the delivery list shares this list
    cboBuyerName->setCurrentIndex(-1);
    clearCombo(cboBuyerNameD);
}

void frmTaxInvoice::SetItemDatabase()
{
    cboDescriptionOfGoods->clear();
    cboHsn->clear();
    m_itemKeys.clear();
    datStock.bind(DbFile::ItemStock, QStringLiteral("Stock"));
    datStock.setFields({QStringLiteral("sno"), QStringLiteral("ItemName"), QStringLiteral("ItemHsn")});
    m_itemsReadInFull = false;
    QStringList names;
    QStringList hsns;
    for (datStock.moveFirst(); !datStock.eof(); datStock.moveNext()) {
        const QString name = datStock.text(QStringLiteral("ItemName"));
        if (name.isEmpty() && datStock.value(QStringLiteral("sno")).toLongLong() == 0)
            continue;
        names << name;
        hsns << datStock.text(QStringLiteral("ItemHsn"));
        m_itemKeys.push_back(datStock.key());
    }
    names << QStringLiteral("End of List");
    cboDescriptionOfGoods->addItems(names);
    cboHsn->addItems(hsns);
    cboDescriptionOfGoods->setCurrentIndex(-1);
    clearCombo(cboHsn);
}

void frmTaxInvoice::SetBuyerInvoiceData()
{
    datBuyerInvoice.bind(DbFile::Invoice, QStringLiteral("BuyerInvoice"));
}

void frmTaxInvoice::SetGoodsInvoiceData()
{
    datGoodsInvoice.bind(DbFile::Invoice, QStringLiteral("GoodsInvoice"));
}

void frmTaxInvoice::ClearControl()
{
    for (QLineEdit* box : m_page->findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(box->parentWidget()))
            box->clear();
    for (QLineEdit* box : fraDescriptionOfGoods->findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(box->parentWidget()))
            box->clear();
    for (QPlainTextEdit* box : m_page->findChildren<QPlainTextEdit*>())
        box->clear();
    for (QComboBox* combo : findChildren<QComboBox*>())
        clearCombo(combo);
}

// ---------------------------------------------------------------- choosing

void frmTaxInvoice::cboBuyerName_Click(int index)
{
    if (index < 0 || index >= int(m_buyerKeys.size()))
        return;
    if (!Guarded([&] { showBuyer(m_buyerKeys[index]); }))
        return;
    txtSNo[0]->setText(QStringLiteral("1"));
    decideTaxMode();
    txtOrderNo->setFocus();
}

// The lists are read with only the fields they show; the records behind them
// are read in full when an entry is first picked.
bool frmTaxInvoice::moveToEntry(RecordSource& source, bool& readInFull, qint64 key)
{
    if (!readInFull) {
        source.bind(source.file(), source.table());
        readInFull = true;
    }
    return source.moveToKey(key);
}

void frmTaxInvoice::showBuyer(qint64 key)
{
    if (!moveToEntry(datBuyer, m_buyersReadInFull, key))
        return;
    BuyerBid = datBuyer.text(QStringLiteral("bid"));
    txtBuyerAddress->setPlainText(datBuyer.text(QStringLiteral("address")));
    txtBuyerAddressD->setPlainText(datBuyer.text(QStringLiteral("address")));
    txtBuyerDist->setText(datBuyer.text(QStringLiteral("Dist")));
    txtBuyerDistD->setText(datBuyer.text(QStringLiteral("Dist")));
    txtBuyerState->setText(datBuyer.text(QStringLiteral("State")));
    txtBuyerStateD->setText(datBuyer.text(QStringLiteral("State")));
    BuyerState = txtBuyerState->text();
    txtBuyerPin->setText(datBuyer.text(QStringLiteral("Pin")));
    txtBuyerPinD->setText(datBuyer.text(QStringLiteral("Pin")));
    txtBuyerGstin->setText(datBuyer.text(QStringLiteral("Gstin")));
    cboBuyerNameD->setEditText(cboBuyerName->currentText());
}

void frmTaxInvoice::cboBuyerNameD_Click(int index)
{
    if (index < 0 || index >= int(m_buyerKeys.size()))
        return;
    Guarded([&] {
        if (!moveToEntry(datBuyer, m_buyersReadInFull, m_buyerKeys[index]))
            return;
        txtBuyerAddressD->setPlainText(datBuyer.text(QStringLiteral("address")));
        txtBuyerDistD->setText(datBuyer.text(QStringLiteral("Dist")));
        txtBuyerStateD->setText(datBuyer.text(QStringLiteral("State")));
        txtBuyerPinD->setText(datBuyer.text(QStringLiteral("Pin")));
    });
}

void frmTaxInvoice::cboDescriptionOfGoods_Click(int index)
{
    const bool endOfList = index < 0 || index >= int(m_itemKeys.size());
    if (!endOfList) {
        Guarded([&] {
            if (!moveToEntry(datStock, m_itemsReadInFull, m_itemKeys[index]))
                return;
            setComboText(cboHsn, datStock.text(QStringLiteral("ItemHsn")));
            txtQuantity[0]->setText(datStock.text(QStringLiteral("Quantity")));
            CurrentItemCode = datStock.text(QStringLiteral("itemcode"));
            txtRate[0]->setText(datStock.text(QStringLiteral("Rate")));
            setComboText(cboPer, datStock.text(QStringLiteral("Per")));
        });
    } else {
        txtTotalGoodsAmount->setText(FormatAmount(GoodsTotal));
    }
    updateAddButton();
    cmdPrint->setEnabled(m_pending); // Print saves: only an open invoice can be printed
}

// Add is usable only while an invoice is pending, the end of the goods list
// is not what is chosen, and a goods row is still free.
void frmTaxInvoice::updateAddButton()
{
    const bool endOfList = cboDescriptionOfGoods->currentIndex() == int(m_itemKeys.size());
    cmdAdd->setEnabled(m_pending && !endOfList && LineCount < GoodsRows);
}

void frmTaxInvoice::computeLineAmount()
{
    LineQuantity = Val(txtQuantity[0]->text());
    LineRate = Val(txtRate[0]->text());
    LineAmount = LineQuantity * LineRate;
    txtAmount[0]->setText(FormatAmount(LineAmount));
}

void frmTaxInvoice::txtAmount_GotFocus(int)
{
    computeLineAmount();
}

void frmTaxInvoice::cmdAdd_Click()
{
    if (!m_pending || LineCount >= GoodsRows)
        return;
    // The line is what the entry row holds now, whatever was shown before.
    if (!txtQuantity[0]->text().isEmpty() && !txtRate[0]->text().isEmpty())
        computeLineAmount();
    const bool blank = comboText(cboDescriptionOfGoods).isEmpty() || comboText(cboHsn).isEmpty()
        || txtQuantity[0]->text().isEmpty() || txtRate[0]->text().isEmpty() || comboText(cboPer).isEmpty()
        || txtAmount[0]->text().isEmpty();
    if (blank) {
        MsgBox(QStringLiteral("Fill all the Details "));
        cboDescriptionOfGoods->setFocus();
        return;
    }
    // A line cannot be taken back, so one too large to carry is not added.
    if (!WithinAmountLimit(LineQuantity) || !WithinAmountLimit(LineRate) || !WithinAmountLimit(LineAmount)) {
        MsgBox(TooLarge(QStringLiteral("The quantity, rate or amount of this line")));
        txtQuantity[0]->setFocus();
        return;
    }
    const int n = ++LineCount;
    const std::array<std::pair<Row*, QString>, 7> cells{{{&txtSNo, QString::number(n)},
                                                         {&txtDescriptionOfGoods, comboText(cboDescriptionOfGoods)},
                                                         {&txtHsn, comboText(cboHsn)},
                                                         {&txtQuantity, NumberAsEntered(txtQuantity[0]->text(), LineQuantity)},
                                                         {&txtRate, NumberAsEntered(txtRate[0]->text(), LineRate)},
                                                         {&txtPer, comboText(cboPer)},
                                                         {&txtAmount, FormatAmount(LineAmount)}}};
    for (const auto& [array, text] : cells) {
        (*array)[n]->setVisible(true);
        (*array)[n]->setText(text);
    }
    m_scroll->ensureWidgetVisible(txtAmount[n]); // the operator sees the line land
    QuantityTotal += LineQuantity;
    GoodsTotal += LineAmount;
    txtSNo[0]->setText(QString::number(n + 1));
    StockItemCodes.push_back(CurrentItemCode);
    StockQuantities.push_back(LineQuantity);
    cboDescriptionOfGoods->setFocus();
    if (LineCount == GoodsRows) {
        cboDescriptionOfGoods->setEnabled(false);
        txtTotalGoodsAmount->setText(FormatAmount(GoodsTotal));
    }
    updateAddButton();
    recomputeTaxes();
    RefreshTotals();
}

// ---------------------------------------------------------------- GST

void frmTaxInvoice::IgstList()
{
    for (QComboBox* combo : {cboGoodsCgst, cboOthers1Cgst, cboOthers2Cgst}) {
        combo->clear();
        combo->addItems(zelva::IgstList());
        clearCombo(combo);
    }
}

void frmTaxInvoice::CgstList()
{
    for (QComboBox* combo : {cboGoodsCgst, cboOthers1Cgst, cboOthers2Cgst}) {
        combo->clear();
        combo->addItems(zelva::CgstList());
        clearCombo(combo);
    }
}

void frmTaxInvoice::SgstList()
{
    for (QComboBox* combo : {cboGoodsSgst, cboOthers1Sgst, cboOthers2Sgst}) {
        combo->clear();
        combo->addItems(zelva::SgstList());
        clearCombo(combo);
    }
}

void frmTaxInvoice::HideSgstItem()
{
    for (QComboBox* combo : {cboGoodsSgst, cboOthers1Sgst, cboOthers2Sgst})
        combo->setVisible(false);
    for (int row : {9, 12, 15})
        for (Row* array : {&txtHsn, &txtRate, &txtPer, &txtAmount})
            (*array)[row]->setVisible(false);
    lblTotalCGST->setText(QStringLiteral("Total IGST"));
    lblTotalSGST->setVisible(false);
    txtTotalSgst->setVisible(false);
}

void frmTaxInvoice::ShowSgstItem()
{
    for (QComboBox* combo : {cboGoodsSgst, cboOthers1Sgst, cboOthers2Sgst})
        combo->setVisible(true);
    for (int row : {9, 12, 15})
        for (Row* array : {&txtHsn, &txtRate, &txtPer, &txtAmount})
            (*array)[row]->setVisible(true);
    lblTotalCGST->setText(QStringLiteral("Total CGST"));
    lblTotalSGST->setVisible(true);
    txtTotalSgst->setVisible(true);
}

// A buyer of the company's own State pays CGST plus SGST, any other IGST. The
// rate choices and tax rows of the other mode are cleared, so that nothing of
// it is charged unseen; a buyer of the same kind keeps the choices made.
void frmTaxInvoice::decideTaxMode()
{
    BuyerState = txtBuyerState->text();
    const zelva::TaxMode mode = DecideTaxMode(BuyerState, CompanyState);
    if (mode == TaxMode)
        return;
    clearTaxRows();
    if (mode == zelva::TaxMode::Igst) {
        IgstList();
        HideSgstItem();
    } else {
        CgstList();
        SgstList();
        ShowSgstItem();
    }
    TaxMode = mode;
    RefreshTotals();
}

void frmTaxInvoice::clearTaxRows()
{
    for (TaxLine& line : m_tax) {
        line.position = -1;
        line.rate = 0;
        line.tax = 0;
        clearCombo(line.cgstCombo);
        clearCombo(line.sgstCombo);
        for (int row : {line.cgstRow, line.sgstRow}) {
            txtRate[row]->clear();
            txtPer[row]->clear();
            txtAmount[row]->clear();
        }
    }
    TotalIgst = TotalCgst = TotalSgst = 0;
    txtTotalCgst->clear();
    txtTotalSgst->clear();
}

double frmTaxInvoice::baseAmount(TaxBase base) const
{
    switch (base) {
    case Goods: return GoodsTotal;
    case Others1: return Val(txtAmount[10]->text());
    case Others2: return Val(txtAmount[13]->text());
    }
    return 0;
}

// Rate, "%" and the tax of one base into its tax rows; in CGST mode the SGST
// row repeats them under the matching SGST label.
void frmTaxInvoice::applyTax(TaxLine& line, double base)
{
    if (line.position < 0 || TaxMode == zelva::TaxMode::None)
        return;
    line.rate = RateAt(TaxMode, line.position);
    line.tax = TaxOn(base, line.rate);
    std::vector<int> rows{line.cgstRow};
    if (TaxMode == zelva::TaxMode::Cgst) {
        line.sgstCombo->setEditText(SgstLabelFor(line.cgstCombo->currentText()));
        rows.push_back(line.sgstRow);
    }
    for (int row : rows) {
        txtRate[row]->setText(RateText(line.rate));
        txtPer[row]->setText(QStringLiteral("%"));
        txtAmount[row]->setText(FormatAmount(line.tax));
    }
}

void frmTaxInvoice::chooseRate(TaxBase base, int position)
{
    if (TaxMode == zelva::TaxMode::None || position < 0)
        return;
    m_tax[base].position = position;
    applyTax(m_tax[base], baseAmount(base));
    RefreshTotals();
}

void frmTaxInvoice::cboGoodsCgst_Click(int index) { chooseRate(Goods, index); }
void frmTaxInvoice::cboOthers1Cgst_Click(int index) { chooseRate(Others1, index); }
void frmTaxInvoice::cboOthers2Cgst_Click(int index) { chooseRate(Others2, index); }

// Every chosen rate charged again on its base as it is now.
void frmTaxInvoice::recomputeTaxes()
{
    for (TaxBase base : {Goods, Others1, Others2})
        applyTax(m_tax[base], baseAmount(base));
}

void frmTaxInvoice::alltotal(bool askForBuyer)
{
    TotalsInput input;
    input.mode = TaxMode;
    input.goodsTax = m_tax[Goods].tax;
    input.others1Tax = m_tax[Others1].tax;
    input.others2Tax = m_tax[Others2].tax;
    input.goodsTotal = GoodsTotal;
    for (int row = 1; row <= GoodsRows; ++row)
        input.quantityTexts[row - 1] = txtQuantity[row]->text();
    for (int row = 8; row <= GridRows; ++row)
        input.chargeAmountTexts[row - 8] = txtAmount[row]->text();
    const Totals totals = ComputeTotals(input);

    if (TaxMode == zelva::TaxMode::Cgst) {
        TotalCgst = totals.totalCgst;
        TotalSgst = totals.totalSgst;
        txtTotalCgst->setText(FormatAmount(TotalCgst));
        txtTotalSgst->setText(FormatAmount(TotalSgst));
    } else if (TaxMode == zelva::TaxMode::Igst) {
        TotalIgst = totals.totalIgst;
        txtTotalCgst->setText(FormatAmount(TotalIgst));
    } else if (askForBuyer) {
        MsgBox(QStringLiteral("Select Buyer"));
    }
    QuantityTotal = totals.quantityTotal;
    txtTotalQuantity->setText(Str(QuantityTotal));
    GrandTotal = totals.grandTotal;
    txtTotalAmount->setText(FormatAmount(GrandTotal));
}

void frmTaxInvoice::ConvertCurrencyToEnglish(double amount)
{
    txtAmountInWords->setText(AmountInWords(amount));
}

void frmTaxInvoice::RefreshTotals()
{
    recomputeTaxes();
    alltotal(false);
    txtTotalGoodsAmount->setText(FormatAmount(GoodsTotal));
    ConvertCurrencyToEnglish(GrandTotal);
}

void frmTaxInvoice::txtShortExcess_GotFocus()
{
    txtShortExcess->setText(QStringLiteral("Short & Excess"));
    alltotal(true);
    ConvertCurrencyToEnglish(GrandTotal);
}

void frmTaxInvoice::txtTotalGoodsAmount_Click()
{
    txtTotalGoodsAmount->setText(FormatAmount(GoodsTotal));
}

void frmTaxInvoice::txtTotalAmount_GotFocus()
{
    alltotal(true);
    ConvertCurrencyToEnglish(GrandTotal);
    cmdPrint->setEnabled(m_pending);
}

// ---------------------------------------------------------------- new, check, save, cancel

void frmTaxInvoice::resetInvoiceValues()
{
    GoodsTotal = GrandTotal = 0;
    for (TaxLine& line : m_tax) {
        line.position = -1;
        line.rate = 0;
        line.tax = 0;
    }
    LineCount = 0;
    TotalIgst = TotalCgst = TotalSgst = 0;
    LineAmount = LineQuantity = LineRate = 0;
    QuantityTotal = 0;
    StockItemCodes.clear();
    StockQuantities.clear();
    StockUpdateIndex = 0;
    TaxMode = zelva::TaxMode::None;
    BuyerBid.clear();
    BuyerState.clear();
    CurrentItemCode.clear();
}

void frmTaxInvoice::setInvoiceSerial(qint64 serial)
{
    InvoiceSno = serial;
    InvoiceNumber = RecordCode(CodeKind::Invoice, serial);
    txtInvoiceNo->setText(InvoiceNumber);
}

void frmTaxInvoice::cmdNewInvoice_Click()
{
    if (m_pending)
        return;
    bool hasCompany = false;
    if (!Guarded([&] { hasCompany = SetCompanyDatabase(); }))
        return;
    if (!hasCompany) {
        MsgBox(QStringLiteral("Enter the company details first (Update Company Details): the invoice is issued "
                              "in the name of the company."));
        return;
    }
    ClearControl();
    const bool started = Guarded([this] {
        ShowCompanyDetails();
        SetBuyerInvoiceData();
        SetGoodsInvoiceData();
        SetBuyerDatabase();
        SetItemDatabase();
        HideGoodsTextBox();
        resetInvoiceValues();
        for (QComboBox* combo : {cboGoodsCgst, cboGoodsSgst, cboOthers1Cgst, cboOthers1Sgst, cboOthers2Cgst, cboOthers2Sgst})
            combo->clear(); // filled when the buyer decides the tax
        setInvoiceSerial(datBuyerInvoice.nextSerial(QStringLiteral("sno")));
        m_numberAtNew = InvoiceNumber;
        datBuyerInvoice.addNew();
        datGoodsInvoice.addNew();
    });
    if (!started)
        return;
    txtInvoiceDate->setText(DateText(QDate::currentDate()));
    txtOrderDate->setText(txtInvoiceDate->text());
    txtShortExcess->setText(QStringLiteral("Short & Excess"));
    m_pending = true;
    cboDescriptionOfGoods->setEnabled(true);
    cboBuyerName->setFocus();
    setButtons(false, true, true, false, true, false);
}

bool frmTaxInvoice::CheckForEmptyControl()
{
    fillIfEmpty(txtOrderNo, NotApplicable);
    fillIfEmpty(txtOrderDate, txtInvoiceDate->text());
    fillIfEmpty(txtSuppliersRef, NotApplicable);
    fillIfEmpty(txtDispatchedThrough, NotApplicable);

    if (comboText(cboBuyerName).isEmpty()) {
        MsgBox(QStringLiteral(" Select Buyer Name "));
        cboBuyerName->setFocus();
        return false;
    }
    fillIfEmpty(txtBuyerAddress, NotApplicable);
    for (QLineEdit* box : {txtBuyerDist, txtBuyerState, txtBuyerPin, txtBuyerGstin})
        fillIfEmpty(box, NotApplicable);
    fillIfEmpty(cboBuyerNameD, comboText(cboBuyerName));
    fillIfEmpty(txtBuyerAddressD, txtBuyerAddress->toPlainText());
    fillIfEmpty(txtBuyerDistD, txtBuyerDist->text());
    fillIfEmpty(txtBuyerStateD, txtBuyerState->text());
    fillIfEmpty(txtBuyerPinD, txtBuyerPin->text());

    if (txtDescriptionOfGoods[1]->text().isEmpty()) {
        MsgBox(QStringLiteral(" Select the Goods "));
        cboDescriptionOfGoods->setFocus();
        return false;
    }
    for (int row = 2; row <= GoodsRows; ++row)
        fillIfEmpty(txtDescriptionOfGoods[row], NotApplicable);
    for (QComboBox* combo : {cboGoodsCgst, cboGoodsSgst, cboOthers1, cboOthers1Cgst, cboOthers1Sgst, cboOthers2,
                             cboOthers2Cgst, cboOthers2Sgst})
        fillIfEmpty(combo, NotApplicable);
    fillIfEmpty(txtShortExcess, NotApplicable);
    for (QLineEdit* hsn : txtHsn)
        if (hsn && hsn != txtHsn[0])
            fillIfEmpty(hsn, NotApplicable);
    fillIfEmpty(cboOthers1Hsn, NotApplicable);
    fillIfEmpty(cboOthers2Hsn, NotApplicable);
    for (int row = 1; row <= GoodsRows; ++row)
        fillIfEmpty(txtQuantity[row], QStringLiteral("0"));
    fillIfEmpty(txtTotalQuantity, Str(QuantityTotal));
    for (int row = 1; row <= 15; ++row)
        fillIfEmpty(txtPer[row], NotApplicable);

    if (txtAmount[1]->text().isEmpty()) {
        MsgBox(QStringLiteral(" Amount cannot be Blank "));
        txtAmount[1]->setFocus();
        return false;
    }
    for (int row = 2; row <= GridRows; ++row)
        fillIfEmpty(txtAmount[row], QStringLiteral("0"));
    fillIfEmpty(txtTotalGoodsAmount, Str(GoodsTotal));
    fillIfEmpty(txtTotalAmount, Str(GrandTotal));

    if (txtRate[1]->text().isEmpty()) {
        MsgBox(QStringLiteral(" Rate cannot be Blank "));
        txtRate[1]->setFocus();
        return false;
    }
    for (int row = 2; row <= 15; ++row)
        fillIfEmpty(txtRate[row], QStringLiteral("0"));
    return true;
}

// The screen into the two pending records, field by field.
void frmTaxInvoice::Insert()
{
    if (datBuyerInvoice.mode() != RecordSource::Mode::Adding)
        datBuyerInvoice.addNew();
    if (datGoodsInvoice.mode() != RecordSource::Mode::Adding)
        datGoodsInvoice.addNew();

    RecordSource& b = datBuyerInvoice;
    b.setValue(QStringLiteral("sno"), InvoiceSno);
    b.setValue(QStringLiteral("InvoiceNo"), txtInvoiceNo->text());
    b.setValue(QStringLiteral("InvoiceDate"), txtInvoiceDate->text());
    b.setValue(QStringLiteral("OrderNo"), txtOrderNo->text());
    b.setValue(QStringLiteral("OrderDate"), txtOrderDate->text());
    b.setValue(QStringLiteral("SuppliersRef"), txtSuppliersRef->text());
    b.setValue(QStringLiteral("DispatchedThrough"), txtDispatchedThrough->text());
    b.setValue(QStringLiteral("SalerCompany"), txtCompanyName->text());
    b.setValue(QStringLiteral("SalerGstin"), txtGstin->text());
    b.setValue(QStringLiteral("bid"), BuyerBid);
    b.setValue(QStringLiteral("BuyerName"), comboText(cboBuyerName));
    b.setValue(QStringLiteral("BuyerAddress"), txtBuyerAddress->toPlainText());
    b.setValue(QStringLiteral("BuyerDist"), txtBuyerDist->text());
    b.setValue(QStringLiteral("buyerstate"), txtBuyerState->text());
    b.setValue(QStringLiteral("BuyerPin"), txtBuyerPin->text());
    b.setValue(QStringLiteral("BuyerGstin"), txtBuyerGstin->text());
    b.setValue(QStringLiteral("BuyerNameD"), comboText(cboBuyerNameD));
    b.setValue(QStringLiteral("DeliveryAddress"), txtBuyerAddressD->toPlainText());
    b.setValue(QStringLiteral("Dist"), txtBuyerDistD->text());
    b.setValue(QStringLiteral("State"), txtBuyerStateD->text());
    b.setValue(QStringLiteral("Pin"), txtBuyerPinD->text());
    b.setValue(QStringLiteral("Time"), TimeTextHM(QTime::currentTime()));

    RecordSource& g = datGoodsInvoice;
    auto field = [](const char* stem, int row) { return QStringLiteral("%1%2").arg(QLatin1String(stem)).arg(row); };
    g.setValue(QStringLiteral("sno"), InvoiceSno);
    g.setValue(QStringLiteral("InvoiceNo"), txtInvoiceNo->text());
    for (int row = 1; row <= GoodsRows; ++row)
        g.setValue(field("DescriptionOfGoods", row), txtDescriptionOfGoods[row]->text());
    const std::array<QComboBox*, 8> descriptions{cboGoodsCgst, cboGoodsSgst, cboOthers1, cboOthers1Cgst,
                                                 cboOthers1Sgst, cboOthers2, cboOthers2Cgst, cboOthers2Sgst};
    for (int row = 8; row <= 15; ++row)
        g.setValue(field("DescriptionOfGoods", row), comboText(descriptions[row - 8]));
    g.setValue(field("DescriptionOfGoods", 16), txtShortExcess->text());
    for (int row = 1; row <= GridRows; ++row) {
        QString hsn = txtHsn[row] ? txtHsn[row]->text() : QString();
        if (row == 10)
            hsn = comboText(cboOthers1Hsn);
        if (row == 13)
            hsn = comboText(cboOthers2Hsn);
        g.setValue(field("Hsn", row), hsn);
    }
    for (int row = 1; row <= GoodsRows; ++row)
        g.setValue(field("Quantity", row), Val(txtQuantity[row]->text()));
    g.setValue(QStringLiteral("TotalQuantity"), Val(txtTotalQuantity->text()));
    for (int row = 1; row <= 15; ++row)
        g.setValue(field("Per", row), txtPer[row]->text());
    for (int row = 1; row <= GridRows; ++row)
        g.setValue(field("Amount", row), txtAmount[row]->text());
    g.setValue(QStringLiteral("TotalGoodsAmount"), GoodsTotal);
    g.setValue(QStringLiteral("totalamount"), GrandTotal);
    g.setValue(QStringLiteral("TIgst"), TotalIgst);
    g.setValue(QStringLiteral("TCgst"), TotalCgst);
    g.setValue(QStringLiteral("TSgst"), TotalSgst);
    for (int row = 1; row <= 15; ++row)
        g.setValue(field(row <= 3 ? "Rate" : "rate", row), txtRate[row]->text());
}

// Takes each added line's quantity off its stock item, found by item code,
// from slot updateIndex on. Stock may go below zero; a code no longer in
// stock deducts nothing.
void frmTaxInvoice::UpdateItemStockQuantity(int& updateIndex)
{
    for (; updateIndex < int(StockItemCodes.size()); ++updateIndex) {
        datItemStock.bind(DbFile::ItemStock, QStringLiteral("Stock"));
        datItemStock.setFilter(QStringLiteral("itemcode"), StockItemCodes[updateIndex]);
        datItemStock.moveFirst(); // the first record of that code, in table order
        if (datItemStock.eof())
            continue;
        datItemStock.edit();
        const double onHand = datItemStock.value(QStringLiteral("Quantity")).toDouble();
        datItemStock.setValue(QStringLiteral("Quantity"), onHand - StockQuantities[updateIndex]);
        datItemStock.update();
    }
}

// Writes both records and the stock deduction in one transaction: all of it
// or nothing. The serial taken at New Invoice is confirmed free first; if
// another invoice took it meanwhile, this one takes the next free number.
void frmTaxInvoice::cmdSave_Click()
{
    if (!m_pending)
        return;
    if (!CheckForEmptyControl())
        return;
    RefreshTotals();
    if (!WithinAmountLimit(GrandTotal)) {
        MsgBox(TooLarge(QStringLiteral("The total of this invoice")));
        return;
    }

    int updateIndex = StockUpdateIndex;
    try {
        Transaction transaction(m_db, QStringLiteral("save the invoice"));
        const qint64 free = datBuyerInvoice.nextSerial(QStringLiteral("sno"));
        if (free > InvoiceSno)
            setInvoiceSerial(free);
        Insert();
        datBuyerInvoice.update();
        datGoodsInvoice.update();
        UpdateItemStockQuantity(updateIndex);
        transaction.commit();
    } catch (const DataError& error) {
        // Rolled back: the invoice stays on screen to be saved again.
        datItemStock.cancelUpdate();
        MsgBox(error.message() + QStringLiteral("\nThe invoice is not saved and no stock was taken off. "
                                                "It stays on screen to be saved again."));
        return;
    }
    StockUpdateIndex = updateIndex;
    m_pending = false;
    if (InvoiceNumber != m_numberAtNew)
        MsgBox(QStringLiteral("Invoice number %1 was taken by another invoice meanwhile. This invoice is saved as %2.")
                   .arg(m_numberAtNew, InvoiceNumber));
    MsgBox(QStringLiteral("Saved Successfully"));
    setButtons(true, false, false, false, false, true);
}

void frmTaxInvoice::cmdCancel_Click()
{
    Guarded([this] {
        datBuyerInvoice.cancelUpdate();
        datGoodsInvoice.cancelUpdate();
        datBuyerInvoice.requery();
        datGoodsInvoice.requery();
    });
    m_pending = false;
    setButtons(true, false, false, false, false, true);
    ClearControl();
    cmdClose->setEnabled(true);
}

void frmTaxInvoice::cmdClose_Click()
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void frmTaxInvoice::setButtons(bool newInvoice, bool save, bool cancel, bool print, bool add, bool close)
{
    cmdNewInvoice->setEnabled(newInvoice);
    cmdSave->setEnabled(save);
    cmdCancel->setEnabled(cancel);
    cmdPrint->setEnabled(print);
    cmdAdd->setEnabled(add);
    cmdClose->setEnabled(close);
}

// The tax invoice's screen: the A4 page as it is printed (seller, references,
// buyer and delivery, the 16-row grid with its tax and charge lists, totals
// and the foot), the goods entry row, the buttons, and the keyboard paths.
#include "invoice/frmtaxinvoice.h"

#include "platform/twips.h"
#include "ui/formboxes.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
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
constexpr int RightBlockLeft = BlockSplit + 100;

int px(int twips) { return TwipsToDevice(twips, ScreenDpi); }

int rowTop(int row) { return GridFirstRowTop + (row - 1) * RowPitch; }

void place(QWidget* w, int left, int top, int width, int height = RowHeight)
{
    w->setGeometry(px(Margin + left), px(Margin + top), px(width), px(height));
}

QLabel* addLabel(QWidget* page, QAnyStringView caption, int left, int top, int width,
                 Qt::Alignment align = Qt::AlignLeft)
{
    auto* label = new QLabel(caption.toString(), page);
    label->setAlignment(align | Qt::AlignVCenter);
    place(label, left, top, width);
    return label;
}

QLineEdit* addBox(QWidget* page, QAnyStringView name, int left, int top, int width, bool readOnly = false,
                  Qt::Alignment align = {})
{
    auto* box = Named(new QLineEdit(page), name.toString());
    box->setReadOnly(readOnly);
    if (align)
        box->setAlignment(align);
    place(box, left, top, width);
    return box;
}

// A caption and the box it names, on one line of the page.
QLineEdit* addLabelled(QWidget* page, QAnyStringView caption, int labelLeft, int top, int labelWidth,
                       QAnyStringView name, int boxLeft, int boxWidth, bool readOnly = false)
{
    addLabel(page, caption, labelLeft, top, labelWidth);
    return addBox(page, name, boxLeft, top, boxWidth, readOnly);
}

QPlainTextEdit* addLines(QWidget* page, QAnyStringView name, int left, int top, int width, bool readOnly)
{
    auto* box = Named(new QPlainTextEdit(page), name.toString());
    box->setReadOnly(readOnly);
    box->setTabChangesFocus(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->document()->setDocumentMargin(1);
    place(box, left, top, width, 560);
    return box;
}

QFont styled(const QWidget* page, bool bold, bool underline = false, double scale = 1)
{
    QFont font = page->font();
    font.setBold(bold);
    font.setUnderline(underline);
    if (scale != 1)
        font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

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
    // A click on the text opens the list when the button is let go: opened on
    // the press, the list would take the same click's release for a click
    // beside it and close at once.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == lineEdit() && isEnabled()) {
            switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                return true;
            case QEvent::MouseButtonRelease:
                showPopup();
                return true;
            default:
                break;
            }
        }
        return QComboBox::eventFilter(watched, event);
    }
};

} // namespace

// The whole width of the page, and a height that leaves room in a 1280x800
// main window for its menu, toolbar and status bar; the page scrolls.
QSize frmTaxInvoice::sizeHint() const
{
    constexpr int OpeningHeight = 660;
    const int pageArea
        = m_page->width() + m_scroll->verticalScrollBar()->sizeHint().width() + 2 * m_scroll->frameWidth();
    const auto* grid = static_cast<QGridLayout*>(layout());
    const QMargins margins = grid->contentsMargins();
    const int pageAndButtons = margins.left() + pageArea + grid->horizontalSpacing()
        + fraCommandButton->sizeHint().width() + margins.right();
    return {std::max(QWidget::sizeHint().width(), pageAndButtons), OpeningHeight};
}

// The page scrolls beside the buttons; the entry row stays beneath both.
void frmTaxInvoice::buildWindow()
{
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
}

void frmTaxInvoice::buildPage()
{
    m_page = Named(new InvoicePage, QStringLiteral("invoicePage"));
    m_page->setFixedSize(px(PageWidth), px(PageHeight));
    m_page->setStyleSheet(QStringLiteral(
        "QLineEdit, QPlainTextEdit { border: none; background: transparent; }"
        "QLineEdit:focus, QPlainTextEdit:focus { background: #fff8d0; }"
        "QLabel { background: transparent; }"));

    lblTitle = Named(addLabel(m_page, "Tax Invoice", 0, 0, ContentWidth, Qt::AlignHCenter), QStringLiteral("lblTitle"));
    lblTitle->setFont(styled(m_page, true, true, 1.3));
    lblCopy = Named(addLabel(m_page, "Original Copy", 7800, 0, 2580, Qt::AlignRight), QStringLiteral("lblCopy"));

    buildSellerAndReferences();
    buildBuyerAndDelivery();
    buildGrid();
    buildTaxLists();
    buildTotalsAndFoot();

    // the lists lie above the printed boxes beneath them
    for (QWidget* list : std::initializer_list<QWidget*>{cboBuyerName, cboBuyerNameD, fraGSTCombo, cboOthers1Hsn,
                                                         cboOthers2Hsn})
        list->raise();
}

void frmTaxInvoice::buildSellerAndReferences()
{
    QWidget* p = m_page;
    txtCompanyName = addBox(p, "txtCompanyName", 100, 450, 5100, true);
    txtCompanyName->setFont(styled(p, true));
    txtAddress = addLines(p, "txtAddress", 100, 780, 5100, true);
    txtDist = addLabelled(p, "Dist.:", 100, 1370, 600, "txtDist", 720, 4400, true);
    txtState = addLabelled(p, "State:", 100, 1650, 600, "txtState", 720, 2300, true);
    txtPin = addLabelled(p, "Pin:", 3100, 1650, 450, "txtPin", 3560, 1600, true);
    txtGstin = addLabelled(p, "GSTIN/ UIN:", 100, 1880, 1100, "txtGstin", 1220, 3900, true);
    cboCompany = Named(new QComboBox(p), QStringLiteral("cboCompany"));
    cboCompany->hide(); // the invoice is always issued by the first company

    const int left = RightBlockLeft;
    txtInvoiceNo = addLabelled(p, "Invoice No.:", left, 450, 1200, "txtInvoiceNo", left + 1220, 1500, true);
    txtInvoiceNo->setFont(styled(p, true));
    txtInvoiceDate = addLabelled(p, "Date:", left + 2850, 450, 550, "txtInvoiceDate", left + 3420, 1500);
    txtOrderNo = addLabelled(p, "Order No.:", left, 800, 1200, "txtOrderNo", left + 1220, 1550);
    txtOrderDate = addLabelled(p, "Date:", left + 2850, 800, 550, "txtOrderDate", left + 3420, 1500);
    txtSuppliersRef = addLabelled(p, "Supplier's Ref.:", left, 1150, 1500, "txtSuppliersRef", left + 1520, 3400);
    txtDispatchedThrough
        = addLabelled(p, "Dispatched Through:", left, 1500, 2100, "txtDispatchedThrough", left + 2120, 2800);
}

// The printed name boxes lie beneath the lists; the delivery list shows the
// buyers' own list, read once.
void frmTaxInvoice::buildBuyerAndDelivery()
{
    QWidget* p = m_page;
    addLabel(p, "Buyer", 100, 2220, 3000)->setFont(styled(p, true));
    txtBuyerName = addBox(p, "txtBuyerName", 100, 2520, 5100, true);
    cboBuyerName = Named(new QComboBox(p), QStringLiteral("cboBuyerName"));
    MakeLongList(cboBuyerName);
    place(cboBuyerName, 100, 2520, 5100);
    txtBuyerAddress = addLines(p, "txtBuyerAddress", 100, 2880, 5100, true);
    txtBuyerDist = addLabelled(p, "Dist.:", 100, 3470, 600, "txtBuyerDist", 720, 4400, true);
    txtBuyerState = addLabelled(p, "State:", 100, 3750, 600, "txtBuyerState", 720, 2300, true);
    txtBuyerPin = addLabelled(p, "Pin:", 3100, 3750, 450, "txtBuyerPin", 3560, 1600, true);
    txtBuyerGstin = addLabelled(p, "GSTIN/ UIN:", 100, 4010, 1100, "txtBuyerGstin", 1220, 3900, true);

    const int left = RightBlockLeft;
    addLabel(p, "Delivery Address", left, 2220, 3000)->setFont(styled(p, true));
    txtBuyerNameD = addBox(p, "txtBuyerNameD", left, 2520, 4900, true);
    cboBuyerNameD = Named(new QComboBox(p), QStringLiteral("cboBuyerNameD"));
    MakeTypable(cboBuyerNameD);
    cboBuyerNameD->completer()->setCaseSensitivity(Qt::CaseSensitive);
    cboBuyerNameD->setModel(cboBuyerName->model());
    MakeLongList(cboBuyerNameD);
    place(cboBuyerNameD, left, 2520, 4900);
    txtBuyerAddressD = addLines(p, "txtBuyerAddressD", left, 2880, 4900, false);
    txtBuyerDistD = addLabelled(p, "Dist.:", left, 3470, 600, "txtBuyerDistD", left + 620, 4280);
    txtBuyerStateD = addLabelled(p, "State:", left, 3750, 600, "txtBuyerStateD", left + 620, 2300);
    txtBuyerPinD = addLabelled(p, "Pin:", left + 3000, 3750, 450, "txtBuyerPinD", left + 3460, 1440);
}

// Rows 1-7 are goods lines; rows 8-16 take their description from the tax and
// charge lists or the rounding box (buildTaxLists), and rows 10 and 13 their
// HSN from a list. The operator types only into the charge and rounding rows.
void frmTaxInvoice::buildGrid()
{
    const std::array<std::pair<const char*, Column>, 7> heads{{{"S.No.", SNoCol},
                                                               {"Description of Goods", DescCol},
                                                               {"HSN/ SAC", HsnCol},
                                                               {"Quantity", QtyCol},
                                                               {"Rate (Rs.)", RateCol},
                                                               {"per", PerCol},
                                                               {"Amount", AmountCol}}};
    for (const auto& [caption, col] : heads)
        addLabel(m_page, caption, col.left, GridHeadTop, col.width, Qt::AlignHCenter);

    auto cell = [&](Row& array, const char* stem, int row, Column col, bool readOnly, Qt::Alignment align) {
        const QString name = QStringLiteral("%1_%2").arg(QLatin1String(stem)).arg(row);
        array[row] = addBox(m_page, name, col.left, rowTop(row), col.width, readOnly, align);
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
}

// The rate and charge lists of rows 8-15 in their frame, each above the box
// that stands for it on the printed page; then the rounding row's description.
void frmTaxInvoice::buildTaxLists()
{
    auto printed = [&](const char* name, int row, Column col) {
        return addBox(m_page, name, col.left, rowTop(row), col.width, true);
    };
    txtGoodsCgst = printed("txtGoodsCgst", 8, DescCol);
    txtGoodsSgst = printed("txtGoodsSgst", 9, DescCol);
    txtOthers1 = printed("txtOthers1", 10, DescCol);
    txtOthers1Hsn = printed("txtOthers1Hsn", 10, HsnCol);
    txtOthers1Cgst = printed("txtOthers1Cgst", 11, DescCol);
    txtOthers1Sgst = printed("txtOthers1Sgst", 12, DescCol);
    txtOthers2 = printed("txtOthers2", 13, DescCol);
    txtOthers2Hsn = printed("txtOthers2Hsn", 13, HsnCol);
    txtOthers2Cgst = printed("txtOthers2Cgst", 14, DescCol);
    txtOthers2Sgst = printed("txtOthers2Sgst", 15, DescCol);

    fraGSTCombo = Named(new QGroupBox(m_page), QStringLiteral("fraGSTCombo"));
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
        MakeTypable(others);
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
    cboOthers1Hsn = Named(new QComboBox(m_page), QStringLiteral("cboOthers1Hsn"));
    cboOthers2Hsn = Named(new QComboBox(m_page), QStringLiteral("cboOthers2Hsn"));
    for (auto [combo, row] : {std::pair{cboOthers1Hsn, 10}, std::pair{cboOthers2Hsn, 13}}) {
        MakeTypable(combo);
        place(combo, HsnCol.left, rowTop(row), HsnCol.width);
    }
    txtShortExcess = addBox(m_page, "txtShortExcess", DescCol.left, rowTop(16), DescCol.width);
    txtShortExcess->setText(QStringLiteral("Short & Excess"));
}

void frmTaxInvoice::buildTotalsAndFoot()
{
    QWidget* p = m_page;
    const QFont bold = styled(p, true);
    const int totalsTop = GridBottom + 50;
    addLabel(p, "Total", DescCol.left, totalsTop, 2000)->setFont(bold);
    txtTotalQuantity = addBox(p, "txtTotalQuantity", QtyCol.left, totalsTop, QtyCol.width, true, Qt::AlignRight);
    addLabel(p, "Goods Value", RateCol.left, totalsTop, RateCol.width + PerCol.width - 40, Qt::AlignRight);
    txtTotalGoodsAmount = addBox(p, "txtTotalGoodsAmount", AmountCol.left, totalsTop, AmountCol.width,
                                 true, Qt::AlignRight);
    const int taxTotalsTop = totalsTop + 350;
    lblTotalCGST = Named(addLabel(p, "Total CGST", 100, taxTotalsTop, 1200), QStringLiteral("lblTotalCGST"));
    txtTotalCgst = addBox(p, "txtTotalCgst", 1320, taxTotalsTop, 1200, true, Qt::AlignRight);
    lblTotalSGST = Named(addLabel(p, "Total SGST", 2700, taxTotalsTop, 1200), QStringLiteral("lblTotalSGST"));
    txtTotalSgst = addBox(p, "txtTotalSgst", 3920, taxTotalsTop, 1200, true, Qt::AlignRight);
    addLabel(p, "Total Amount", QtyCol.left, taxTotalsTop, PerCol.left + 180 - QtyCol.left, Qt::AlignRight)
        ->setFont(bold);
    addLabel(p, "Rs.", PerCol.left + 200, taxTotalsTop, 480, Qt::AlignRight)->setFont(bold);
    txtTotalAmount = addBox(p, "txtTotalAmount", AmountCol.left, taxTotalsTop, AmountCol.width, true,
                            Qt::AlignRight);
    txtTotalAmount->setFont(bold);

    addLabel(p, "Amount Chargeable (in Words)", 100, 11920, 4000);
    addLabel(p, QStringLiteral("E. && O.E").replace(QLatin1String("&&"), QLatin1String("&")), AmountCol.left, 11920,
             AmountCol.width, Qt::AlignRight);
    txtAmountInWords = addBox(p, "txtAmountInWords", 100, 12230, ContentWidth - 200, true);
    txtAmountInWords->setFont(bold);

    addLabel(p, "Declaration", 100, 12700, 3000)->setFont(styled(p, false, true));
    auto* declaration = addLabel(p, QStringLiteral("We Declare that this invoice shows the actual price of the goods "
                                                   "described and that all particulars are true and correct."),
                                 100, 13000, 5600);
    declaration->setWordWrap(true);
    place(declaration, 100, 13000, 5600, 600);
    lblCompanyName = Named(addLabel(p, QString(), 6000, 12700, 4300, Qt::AlignRight), QStringLiteral("lblCompanyName"));
    lblCompanyName->setFont(bold);
    addLabel(p, "Authorised Signatory", 6000, 13850, 4300, Qt::AlignRight);
    addLabel(p, "This is a Computer Generated Invoice", 0, 14300, ContentWidth, Qt::AlignHCenter);
}

void frmTaxInvoice::buildEntryRow()
{
    fraDescriptionOfGoods = Named(new QGroupBox(this), QStringLiteral("fraDescriptionOfGoods"));
    auto* grid = new QGridLayout(fraDescriptionOfGoods);
    const QStringList captions{QStringLiteral("S.No."),      QStringLiteral("Description of Goods"),
                               QStringLiteral("HSN/ SAC"),   QStringLiteral("Quantity"),
                               QStringLiteral("Rate (Rs.)"), QStringLiteral("per"),
                               QStringLiteral("Amount")};
    for (int c = 0; c < captions.size(); ++c)
        grid->addWidget(new QLabel(captions[c], fraDescriptionOfGoods), 0, c);

    auto entry = [&](Row& array, const char* stem, bool readOnly) {
        auto* box = Named(new QLineEdit(fraDescriptionOfGoods), QStringLiteral("%1_0").arg(QLatin1String(stem)));
        box->setReadOnly(readOnly);
        array[0] = box;
        return box;
    };
    entry(txtSNo, "txtSNo", true)->setMaximumWidth(50);
    cboDescriptionOfGoods = Named(new QComboBox(fraDescriptionOfGoods), QStringLiteral("cboDescriptionOfGoods"));
    MakeLongList(cboDescriptionOfGoods);
    cboHsn = Named(new QComboBox(fraDescriptionOfGoods), QStringLiteral("cboHsn"));
    MakeTypable(cboHsn);
    MakeLongList(cboHsn);
    cboHsn->setMinimumContentsLength(8);
    entry(txtQuantity, "txtQuantity", false);
    entry(txtRate, "txtRate", false);
    cboPer = Named(new QComboBox(fraDescriptionOfGoods), QStringLiteral("cboPer"));
    MakeTypable(cboPer);
    cboPer->addItem(QStringLiteral("Nos."));
    cboPer->setCurrentIndex(-1);
    entry(txtAmount, "txtAmount", true); // always quantity times rate
    cmdAdd = Named(new QPushButton(QStringLiteral("Add"), fraDescriptionOfGoods), QStringLiteral("cmdAdd"));
    cmdAdd->setToolTip(QStringLiteral("Add Items"));
    cmdAdd->setAutoDefault(true); // Enter presses it

    const std::array<QWidget*, 8> row{txtSNo[0], cboDescriptionOfGoods, cboHsn, txtQuantity[0],
                                      txtRate[0], cboPer, txtAmount[0], cmdAdd};
    for (int c = 0; c < int(row.size()); ++c)
        grid->addWidget(row[c], 1, c);
    grid->setColumnStretch(1, 4);
    grid->setColumnStretch(2, 1);
}

void frmTaxInvoice::buildCommandButtons()
{
    fraCommandButton = Named(new QGroupBox(this), QStringLiteral("fraCommandButton"));
    auto* column = new QVBoxLayout(fraCommandButton);
    auto button = [&](const char* name, const char* caption, const char* tip) {
        auto* b = Named(new QPushButton(QString::fromLatin1(caption), fraCommandButton), QString::fromLatin1(name));
        b->setToolTip(QString::fromLatin1(tip));
        b->setAutoDefault(true); // Enter presses the button that has the focus
        column->addWidget(b);
        return b;
    };
    cmdNewInvoice = button("cmdNewInvoice", "&New Invoice", "Create a New Invoice");
    cmdSave = button("cmdSave", "&Save", "Save the Invoice");
    cmdCancel = button("cmdCancel", "Cance&l", "Cancel New Member");
    cmdPrint = button("cmdPrint", "&Print", "Print and Save Invoice");
    cmdInvoiceReport = button("cmdInvoiceReport", "Print Invoice", "");
    cmdClose = button("cmdClose", "&Close", "Close Curent Window");
}

void frmTaxInvoice::connectHandlers()
{
    connect(cmdNewInvoice, &QPushButton::clicked, this, &frmTaxInvoice::cmdNewInvoice_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmTaxInvoice::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTaxInvoice::cmdCancel_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmTaxInvoice::cmdClose_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmTaxInvoice::cmdAdd_Click);
    connect(cboDescriptionOfGoods, &QComboBox::activated, this, &frmTaxInvoice::cboDescriptionOfGoods_Click);
    connect(cboBuyerName, &QComboBox::activated, this, &frmTaxInvoice::cboBuyerName_Click);
    connect(cboBuyerNameD, &QComboBox::activated, this, &frmTaxInvoice::cboBuyerNameD_Click);
    connect(cboGoodsCgst, &QComboBox::activated, this, &frmTaxInvoice::cboGoodsCgst_Click);
    connect(cboOthers1Cgst, &QComboBox::activated, this, &frmTaxInvoice::cboOthers1Cgst_Click);
    connect(cboOthers2Cgst, &QComboBox::activated, this, &frmTaxInvoice::cboOthers2Cgst_Click);
    // the tax of an extra charge follows its amount, and the totals follow both
    for (int row : {10, 13, 16})
        connect(txtAmount[row], &QLineEdit::textEdited, this, &frmTaxInvoice::RefreshTotals);
}

// ---------------------------------------------------------------- keyboard

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
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

// The page scrolls to whatever box takes the focus, by Tab or because a
// handler moved it there (New Invoice to the buyer list, the buyer to the
// order number, a refused Save to the entry it asks for).
void frmTaxInvoice::scrollToFocus(QWidget* focused)
{
    if (focused && m_page->isAncestorOf(focused))
        m_scroll->ensureWidgetVisible(focused);
}

void frmTaxInvoice::watchFocus()
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { scrollToFocus(now); });
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

// A list takes the mouse wheel only while it has the focus: the page is
// scrolled with the wheel, and a list passing under the pointer must not
// change the buyer, the goods or a tax rate unseen. Over the page the wheel
// scrolls the page instead.
void frmTaxInvoice::watchWheel()
{
    for (QComboBox* combo : findChildren<QComboBox*>()) {
        combo->setFocusPolicy(Qt::StrongFocus);
        combo->installEventFilter(this);
    }
}

bool frmTaxInvoice::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        auto* combo = qobject_cast<QComboBox*>(watched);
        if (combo && !combo->hasFocus()) {
            if (m_page->isAncestorOf(combo))
                QCoreApplication::sendEvent(m_scroll->verticalScrollBar(), event);
            return true;
        }
    }
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

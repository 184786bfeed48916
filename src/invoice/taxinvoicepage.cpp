// The tax invoice's page as it is printed: seller, references, buyer and
// delivery, the 16-row grid with its tax and charge lists, totals and the foot.
#include "invoice/frmtaxinvoice.h"

#include "invoice/invoicepageparts.h"
#include "ui/formboxes.h"

#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace zelva;
using namespace zelva::invoicepage;

namespace {

// Grid geometry in twips, relative to the printable area.
constexpr int GridHeadTop = 4400;
constexpr int GridFirstRowTop = 4750;
constexpr int RowPitch = 400;
constexpr int GridBottom = GridFirstRowTop + (InvoiceForm::GridRows - 1) * RowPitch + RowHeight + 20;
constexpr Column SNoCol{0, 560};
constexpr Column DescCol{600, 4640};
constexpr Column HsnCol{5280, 1000};
constexpr Column QtyCol{6320, 780};
constexpr Column RateCol{7140, 900};
constexpr Column PerCol{8080, 700};
constexpr Column AmountCol{8820, 1560};
constexpr int BlockSplit = 5300; // the line between the seller/buyer and the reference/delivery blocks
constexpr int RightBlockLeft = BlockSplit + 100;

int rowTop(int row) { return GridFirstRowTop + (row - 1) * RowPitch; }

// The ruled lines of the printed invoice.
void rule(RuledPage* page)
{
    const int top = 380;
    const int bottom = 14200;
    page->rule(0, top, ContentWidth, top);
    page->rule(0, bottom, ContentWidth, bottom);
    page->rule(0, top, 0, bottom);
    page->rule(ContentWidth, top, ContentWidth, bottom);
    page->rule(0, 2150, ContentWidth, 2150);
    page->rule(BlockSplit, top, BlockSplit, 4350);
    page->rule(0, 4350, ContentWidth, 4350);
    page->rule(0, GridFirstRowTop - 30, ContentWidth, GridFirstRowTop - 30);
    page->rule(0, GridBottom, ContentWidth, GridBottom);
    for (const Column& c : {DescCol, HsnCol, QtyCol, RateCol, PerCol, AmountCol})
        page->rule(c.left - 20, 4350, c.left - 20, GridBottom);
    page->rule(0, 11870, ContentWidth, 11870);
    page->rule(0, 12650, ContentWidth, 12650);
}

} // namespace

void frmTaxInvoice::buildPage()
{
    auto* page = Named(new RuledPage, QStringLiteral("invoicePage"));
    rule(page);
    m_page = page;
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
    for (int row = FirstGoodsRow; row <= GridRows; ++row) {
        const bool goods = row <= LastGoodsRow;
        const bool charge = row == Others1Row || row == Others2Row;
        const bool taxRow = row >= GoodsCgstRow && row <= RatedRows && !charge;
        cell(txtSNo, "txtSNo", row, SNoCol, true, Qt::AlignHCenter);
        if (goods)
            cell(txtDescriptionOfGoods, "txtDescriptionOfGoods", row, DescCol, true, left);
        if (!charge)
            cell(txtHsn, "txtHsn", row, HsnCol, goods, left);
        if (goods)
            cell(txtQuantity, "txtQuantity", row, QtyCol, true, right);
        if (row <= RatedRows) {
            cell(txtRate, "txtRate", row, RateCol, goods || taxRow, right);
            cell(txtPer, "txtPer", row, PerCol, goods || taxRow, left);
        }
        cell(txtAmount, "txtAmount", row, AmountCol, goods || taxRow, right);
    }
}

// The rate and charge lists of the tax and charge rows in their frame, each above the box
// that stands for it on the printed page; then the rounding row's description.
void frmTaxInvoice::buildTaxLists()
{
    auto printed = [&](const char* name, int row, Column col) {
        return addBox(m_page, name, col.left, rowTop(row), col.width, true);
    };
    txtGoodsCgst = printed("txtGoodsCgst", GoodsCgstRow, DescCol);
    txtGoodsSgst = printed("txtGoodsSgst", GoodsSgstRow, DescCol);
    txtOthers1 = printed("txtOthers1", Others1Row, DescCol);
    txtOthers1Hsn = printed("txtOthers1Hsn", Others1Row, HsnCol);
    txtOthers1Cgst = printed("txtOthers1Cgst", Others1CgstRow, DescCol);
    txtOthers1Sgst = printed("txtOthers1Sgst", Others1SgstRow, DescCol);
    txtOthers2 = printed("txtOthers2", Others2Row, DescCol);
    txtOthers2Hsn = printed("txtOthers2Hsn", Others2Row, HsnCol);
    txtOthers2Cgst = printed("txtOthers2Cgst", Others2CgstRow, DescCol);
    txtOthers2Sgst = printed("txtOthers2Sgst", Others2SgstRow, DescCol);

    fraGSTCombo = Named(new QGroupBox(m_page), QStringLiteral("fraGSTCombo"));
    fraGSTCombo->setFlat(true);
    fraGSTCombo->setStyleSheet(QStringLiteral("QGroupBox { border: none; margin: 0; padding: 0; }"));
    place(fraGSTCombo, DescCol.left, rowTop(GoodsCgstRow), DescCol.width,
          rowTop(Others2SgstRow) + RowHeight - rowTop(GoodsCgstRow));
    auto listInFrame = [&](QComboBox* combo, const QString& name, int row) {
        combo->setObjectName(name);
        combo->setGeometry(0, px(rowTop(row)) - px(rowTop(GoodsCgstRow)), px(DescCol.width), px(RowHeight));
        return combo;
    };
    cboGoodsCgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboGoodsCgst"), GoodsCgstRow);
    cboGoodsSgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboGoodsSgst"), GoodsSgstRow);
    cboOthers1 = listInFrame(new QComboBox(fraGSTCombo), QStringLiteral("cboOthers1"), Others1Row);
    cboOthers1Cgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboOthers1Cgst"), Others1CgstRow);
    cboOthers1Sgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboOthers1Sgst"), Others1SgstRow);
    cboOthers2 = listInFrame(new QComboBox(fraGSTCombo), QStringLiteral("cboOthers2"), Others2Row);
    cboOthers2Cgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboOthers2Cgst"), Others2CgstRow);
    cboOthers2Sgst = listInFrame(new PickCombo(fraGSTCombo), QStringLiteral("cboOthers2Sgst"), Others2SgstRow);
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
    for (auto [combo, row] : {std::pair{cboOthers1Hsn, Others1Row}, std::pair{cboOthers2Hsn, Others2Row}}) {
        MakeTypable(combo);
        place(combo, HsnCol.left, rowTop(row), HsnCol.width);
    }
    txtShortExcess = addBox(m_page, "txtShortExcess", DescCol.left, rowTop(ShortExcessRow), DescCol.width);
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

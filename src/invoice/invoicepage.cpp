// What both invoice pages show alike: the frame and title, the seller and the
// references, buyer and delivery, the grid with its tax and charge lists, and
// the foot. Each page places the grid and adds its own columns and totals.
#include "invoice/invoiceform.h"

#include "ui/formboxes.h"

#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <QTextDocument>

#include <algorithm>
#include <cmath>

using namespace zelva;
using namespace zelva::invoicepage;

namespace {

constexpr int BlockSplit = 5300; // the line between the seller/buyer and the reference/delivery blocks
constexpr int RightBlockLeft = BlockSplit + 100;
constexpr int WordsRule = 780; // the rule beneath the amount in words, below the foot's top

// Sets the words' box as tall as two lines of its font, ending a little above
// the rule beneath it, which the operator sees as the box's lower edge: the
// largest amount's two bold lines show and print whole, descenders included.
void holdTwoLinesAbove(QPlainTextEdit* box, int ruleY)
{
    const double margins = 2 * box->document()->documentMargin();
    const int height = int(std::ceil(2 * QFontMetricsF(box->font()).lineSpacing() + margins)) + 1;
    const QRect placed = box->geometry();
    box->setGeometry(placed.x(), ruleY - 2 - height, placed.width(), height);
}

} // namespace

QLabel* InvoiceForm::addHead(QWidget* page, QAnyStringView caption, Column col, int top, int bottom)
{
    QLabel* head = addLabel(page, caption, col.left, top, col.width, Qt::AlignHCenter);
    head->setWordWrap(true); // a narrow column's head takes two lines
    place(head, col.left, top, col.width, std::max(RowHeight, bottom - top));
    return head;
}

// A white A4 page ruled around the blocks and the grid, with the title and the
// copy caption.
RuledPage* InvoiceForm::startPage(const PageGrid& grid)
{
    auto* page = Named(new RuledPage, QStringLiteral("invoicePage"));
    m_page = page;
    m_page->setStyleSheet(QStringLiteral(
        "QLineEdit, QPlainTextEdit { border: none; background: transparent; }"
        "QLineEdit:focus, QPlainTextEdit:focus { background: #fff8d0; }"
        "QLabel { background: transparent; }"));
    const int top = 380;
    const int bottom = grid.footTop + 2330;
    page->rule(0, top, ContentWidth, top);
    page->rule(0, bottom, ContentWidth, bottom);
    page->rule(0, top, 0, bottom);
    page->rule(ContentWidth, top, ContentWidth, bottom);
    page->rule(0, 2150, ContentWidth, 2150);
    page->rule(BlockSplit, top, BlockSplit, 4350);
    page->rule(0, 4350, ContentWidth, 4350);
    page->rule(0, grid.firstRowTop - 30, ContentWidth, grid.firstRowTop - 30);
    page->rule(0, grid.bottom(), ContentWidth, grid.bottom());
    page->rule(0, grid.footTop, ContentWidth, grid.footTop);
    page->rule(0, grid.footTop + WordsRule, ContentWidth, grid.footTop + WordsRule);

    lblTitle = Named(addLabel(m_page, "Tax Invoice", 0, 0, ContentWidth, Qt::AlignHCenter), QStringLiteral("lblTitle"));
    lblTitle->setFont(styled(m_page, true, true, 1.3));
    lblCopy = Named(addLabel(m_page, "Original Copy", 7800, 0, 2580, Qt::AlignRight), QStringLiteral("lblCopy"));
    return page;
}

void InvoiceForm::buildSellerAndReferences(QAnyStringView dispatchCaption)
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
    place(cboCompany, 100, 450, 5100);

    const int left = RightBlockLeft;
    txtInvoiceNo = addLabelled(p, "Invoice No.:", left, 450, 1200, "txtInvoiceNo", left + 1220, 1500, true);
    txtInvoiceNo->setFont(styled(p, true));
    txtInvoiceDate = addLabelled(p, "Date:", left + 2850, 450, 550, "txtInvoiceDate", left + 3420, 1500);
    txtOrderNo = addLabelled(p, "Order No.:", left, 800, 1200, "txtOrderNo", left + 1220, 1550);
    txtOrderDate = addLabelled(p, "Date:", left + 2850, 800, 550, "txtOrderDate", left + 3420, 1500);
    txtSuppliersRef = addLabelled(p, "Supplier's Ref.:", left, 1150, 1500, "txtSuppliersRef", left + 1520, 3400);
    txtDispatchedThrough
        = addLabelled(p, dispatchCaption, left, 1500, 2100, "txtDispatchedThrough", left + 2120, 2800);
    buildTransportOnPage(left, 1810);
}

// The printed name boxes lie beneath the lists; the delivery list shows the
// buyers' own list, read once.
void InvoiceForm::buildBuyerAndDelivery()
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
    ShareEntries(cboBuyerNameD, cboBuyerName);
    MakeLongList(cboBuyerNameD);
    place(cboBuyerNameD, left, 2520, 4900);
    printInPlaceOf(cboBuyerName, txtBuyerName);
    printInPlaceOf(cboBuyerNameD, txtBuyerNameD);
    txtBuyerAddressD = addLines(p, "txtBuyerAddressD", left, 2880, 4900, false);
    txtBuyerDistD = addLabelled(p, "Dist.:", left, 3470, 600, "txtBuyerDistD", left + 620, 4280);
    txtBuyerStateD = addLabelled(p, "State:", left, 3750, 600, "txtBuyerStateD", left + 620, 2300);
    txtBuyerPinD = addLabelled(p, "Pin:", left + 3000, 3750, 450, "txtBuyerPinD", left + 3460, 1440);
}

// Rows 1-7 are goods lines; rows 8-16 take their description from the tax and
// charge lists or the rounding box (buildTaxLists), and rows 10 and 13 their
// HSN from a list. The operator types only into the charge and rounding rows.
void InvoiceForm::buildGrid(const PageGrid& grid, QAnyStringView perCaption)
{
    const std::array<std::pair<QAnyStringView, Column>, 7> heads{{{"S.No.", grid.sNo},
                                                               {"Description of Goods", grid.desc},
                                                               {"HSN/ SAC", grid.hsn},
                                                               {"Quantity", grid.qty},
                                                               {"Rate (Rs.)", grid.rate},
                                                               {perCaption, grid.per},
                                                               {"Amount", grid.amount}}};
    for (const auto& [caption, col] : heads)
        addHead(m_page, caption, col, grid.headTop, grid.firstRowTop - 30);

    auto cell = [&](Row& array, const char* stem, int row, Column col, bool readOnly, Qt::Alignment align) {
        const QString name = QStringLiteral("%1_%2").arg(QLatin1String(stem)).arg(row);
        array[row] = addBox(m_page, name, col.left, grid.rowTop(row), col.width, readOnly, align);
    };
    const auto right = Qt::AlignRight;
    const auto left = Qt::AlignLeft;
    for (int row = FirstGoodsRow; row <= GridRows; ++row) {
        const bool goods = row <= LastGoodsRow;
        const bool charge = row == Others1Row || row == Others2Row;
        const bool taxRow = row >= GoodsCgstRow && row <= RatedRows && !charge;
        cell(txtSNo, "txtSNo", row, grid.sNo, true, Qt::AlignHCenter);
        if (goods)
            cell(txtDescriptionOfGoods, "txtDescriptionOfGoods", row, grid.desc, true, left);
        if (!charge)
            cell(txtHsn, "txtHsn", row, grid.hsn, goods, left);
        if (goods)
            cell(txtQuantity, "txtQuantity", row, grid.qty, true, right);
        if (row <= RatedRows) {
            cell(txtRate, "txtRate", row, grid.rate, goods || taxRow, right);
            cell(txtPer, "txtPer", row, grid.per, goods || taxRow, left);
            txtPer[row]->setMaxLength(LongestPer); // a charge's unit is typed here
        }
        cell(txtAmount, "txtAmount", row, grid.amount, goods || taxRow, right);
    }
}

// The rate and charge lists of the tax and charge rows in their frame, each above the box
// that stands for it on the printed page; then the rounding row's description.
void InvoiceForm::buildTaxLists(const PageGrid& grid)
{
    auto printed = [&](const char* name, int row, Column col) {
        return addBox(m_page, name, col.left, grid.rowTop(row), col.width, true);
    };
    txtGoodsCgst = printed("txtGoodsCgst", GoodsCgstRow, grid.desc);
    txtGoodsSgst = printed("txtGoodsSgst", GoodsSgstRow, grid.desc);
    txtOthers1 = printed("txtOthers1", Others1Row, grid.desc);
    txtOthers1Hsn = printed("txtOthers1Hsn", Others1Row, grid.hsn);
    txtOthers1Cgst = printed("txtOthers1Cgst", Others1CgstRow, grid.desc);
    txtOthers1Sgst = printed("txtOthers1Sgst", Others1SgstRow, grid.desc);
    txtOthers2 = printed("txtOthers2", Others2Row, grid.desc);
    txtOthers2Hsn = printed("txtOthers2Hsn", Others2Row, grid.hsn);
    txtOthers2Cgst = printed("txtOthers2Cgst", Others2CgstRow, grid.desc);
    txtOthers2Sgst = printed("txtOthers2Sgst", Others2SgstRow, grid.desc);

    fraGSTCombo = Named(new QGroupBox(m_page), QStringLiteral("fraGSTCombo"));
    fraGSTCombo->setFlat(true);
    fraGSTCombo->setStyleSheet(QStringLiteral("QGroupBox { border: none; margin: 0; padding: 0; }"));
    place(fraGSTCombo, grid.desc.left, grid.rowTop(GoodsCgstRow), grid.desc.width,
          grid.rowTop(Others2SgstRow) + RowHeight - grid.rowTop(GoodsCgstRow));
    auto listInFrame = [&](QComboBox* combo, const QString& name, int row) {
        combo->setObjectName(name);
        combo->setGeometry(0, px(grid.rowTop(row)) - px(grid.rowTop(GoodsCgstRow)), px(grid.desc.width), px(RowHeight));
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
        place(combo, grid.hsn.left, grid.rowTop(row), grid.hsn.width);
    }
    for (auto [list, printed] : {std::pair{cboGoodsCgst, txtGoodsCgst}, {cboGoodsSgst, txtGoodsSgst},
                                 {cboOthers1, txtOthers1}, {cboOthers1Hsn, txtOthers1Hsn},
                                 {cboOthers1Cgst, txtOthers1Cgst}, {cboOthers1Sgst, txtOthers1Sgst},
                                 {cboOthers2, txtOthers2}, {cboOthers2Hsn, txtOthers2Hsn},
                                 {cboOthers2Cgst, txtOthers2Cgst}, {cboOthers2Sgst, txtOthers2Sgst}})
        printInPlaceOf(list, printed);
    txtShortExcess = addBox(m_page, "txtShortExcess", grid.desc.left, grid.rowTop(ShortExcessRow), grid.desc.width);
    txtShortExcess->setText(QStringLiteral("Short & Excess"));
}

// The amount in words, the declaration and the signatory.
void InvoiceForm::buildFoot(const PageGrid& grid)
{
    QWidget* p = m_page;
    const QFont bold = styled(p, true);
    const int top = grid.footTop;
    addLabel(p, "Amount Chargeable (in Words)", 100, top + 10, 4000);
    addLabel(p, QStringLiteral("E. && O.E").replace(QLatin1String("&&"), QLatin1String("&")), ContentWidth - 1575,
             top + 10, 1560, Qt::AlignRight);
    // The words of the largest amount wrap onto a second line rather than shrink.
    txtAmountInWords = addLines(p, "txtAmountInWords", 100, top + 340, ContentWidth - 200, true, 440);
    txtAmountInWords->setFont(bold);
    holdTwoLinesAbove(txtAmountInWords, px(Margin + top + WordsRule));

    addLabel(p, "Declaration", 100, top + 830, 3000)->setFont(styled(p, false, true));
    auto* declaration = addLabel(p, QStringLiteral("We Declare that this invoice shows the actual price of the goods "
                                                   "described and that all particulars are true and correct."),
                                 100, top + 1130, 5600);
    declaration->setWordWrap(true);
    place(declaration, 100, top + 1130, 5600, 600);
    lblCompanyName = Named(addLabel(p, QString(), 6000, top + 830, 4300, Qt::AlignRight), QStringLiteral("lblCompanyName"));
    lblCompanyName->setFont(bold);
    addLabel(p, "Authorised Signatory", 6000, top + 1980, 4300, Qt::AlignRight);
    buildUpiQr(5750, top + 830);
    m_footTop = top;
    lblComputerGenerated = Named(addLabel(p, "This is a Computer Generated Invoice", 0, top + 2430, ContentWidth,
                                          Qt::AlignHCenter),
                                 QStringLiteral("lblComputerGenerated"));
}

// The lists lie above the printed boxes beneath them.
void InvoiceForm::raiseLists()
{
    for (QWidget* list : std::initializer_list<QWidget*>{cboCompany, cboBuyerName, cboBuyerNameD, fraGSTCombo,
                                                         cboOthers1Hsn, cboOthers2Hsn})
        list->raise();
}

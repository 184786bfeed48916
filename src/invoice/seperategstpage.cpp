// The separate-GST invoice's page as it is printed: the shared blocks, a grid
// with the discount, taxable value, CGST, SGST and total columns of each goods
// line, the totals before and after tax, and the foot with the seal.
#include "invoice/frmtaxinvoiceseperategst.h"

#include "ui/formboxes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

using namespace zelva;
using namespace zelva::invoicepage;

namespace {

// Fourteen columns across the page: each amount column holds twelve digits
// and the paise at the least font, a long description takes two lines.
const InvoiceForm::PageGrid Grid{4380,        4950,        360,         {0, 400},    {420, 1440}, {1880, 560},
                                 {2460, 600}, {3500, 860}, {3080, 400}, {4380, 860}, 12650};
constexpr Column DiscCol{5260, 860};
constexpr Column TaxableCol{6140, 860};
constexpr Column CgstPerCol{7020, 300};
constexpr Column CgstAmtCol{7340, 860};
constexpr Column SgstPerCol{8220, 300};
constexpr Column SgstAmtCol{8540, 860};
constexpr Column TotalCol{9420, 975};
constexpr int TotalsPitch = 300;

} // namespace

void frmTaxInvoiceSeperateGst::buildPage()
{
    RuledPage* page = startPage(Grid);
    // Fourteen columns in the width of the page: a smaller font of narrow
    // letters (Arial's widths) where one is installed.
    QFont font = styled(m_page, false, false, 0.85);
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), font.family()});
    m_page->setFont(font);
    for (const Column& c : {Grid.desc, Grid.hsn, Grid.qty, Grid.per, Grid.rate, Grid.amount, DiscCol, TaxableCol,
                            CgstPerCol, SgstPerCol, TotalCol})
        page->rule(c.left - 10, 4350, c.left - 10, Grid.bottom());
    buildSellerAndReferences("Transportation Mode:");
    buildBuyerAndDelivery();
    buildGrid(Grid, "UOM");
    buildLineColumns();
    buildTaxLists(Grid);
    buildTotals();
    buildFoot(Grid);
    addLabel(m_page, "(Common Seal)", 6000, Grid.footTop + 1450, 4300, Qt::AlignHCenter);
    addLabel(m_page, "Note: UOM stands for Unit of Measure", 100, Grid.footTop + 1950, 5600);
    raiseLists();
}

// The discount is typed; the other columns are computed (showLines).
void frmTaxInvoiceSeperateGst::buildLineColumns()
{
    const int headBottom = Grid.firstRowTop - 30;
    const int split = Grid.headTop + (headBottom - Grid.headTop) / 2;
    addHead(m_page, "Less: Disc", DiscCol, Grid.headTop, headBottom);
    addHead(m_page, "Taxable Value", TaxableCol, Grid.headTop, headBottom);
    lblCgst = Named(addHead(m_page, "CGST", {CgstPerCol.left, CgstAmtCol.left + CgstAmtCol.width - CgstPerCol.left},
                            Grid.headTop, split),
                    QStringLiteral("lblCgst"));
    lblSgst = Named(addHead(m_page, "SGST", {SgstPerCol.left, SgstAmtCol.left + SgstAmtCol.width - SgstPerCol.left},
                            Grid.headTop, split),
                    QStringLiteral("lblSgst"));
    for (const Column& c : {CgstPerCol, SgstPerCol})
        addHead(m_page, "Per.", c, split, headBottom);
    for (const Column& c : {CgstAmtCol, SgstAmtCol})
        addHead(m_page, "Amt.", c, split, headBottom);
    addHead(m_page, "Total", TotalCol, Grid.headTop, headBottom);

    const std::array<std::tuple<Row*, const char*, Column>, 7> columns{{{&txtDisc, "txtDisc", DiscCol},
                                                                        {&txtTaxableValue, "txtTaxableValue", TaxableCol},
                                                                        {&txtCgstPer, "txtCgstPer", CgstPerCol},
                                                                        {&txtCgstAmt, "txtCgstAmt", CgstAmtCol},
                                                                        {&txtSgstPer, "txtSgstPer", SgstPerCol},
                                                                        {&txtSgstAmt, "txtSgstAmt", SgstAmtCol},
                                                                        {&txtTotal, "txtTotal", TotalCol}}};
    for (const auto& [column, stem, col] : columns)
        for (int row = FirstGoodsRow; row <= LastGoodsRow; ++row)
            (*column)[row] = addBox(m_page, QStringLiteral("%1_%2").arg(QLatin1String(stem)).arg(row), col.left,
                                    Grid.rowTop(row), col.width, column != &txtDisc, Qt::AlignRight);
}

void frmTaxInvoiceSeperateGst::buildTotals()
{
    QWidget* p = m_page;
    const QFont bold = styled(p, true);
    const int top = Grid.bottom() + 50;
    auto line = [&](int k) { return top + k * TotalsPitch; };
    addLabel(p, "Total", Grid.desc.left, line(0), 2000)->setFont(bold);
    txtTotalQuantity
        = addBox(p, "txtTotalQuantity", Grid.qty.left, line(0), Grid.qty.width, true, Qt::AlignRight);
    txtTotalGoodsAmount
        = addBox(p, "txtTotalGoodsAmount", TaxableCol.left, line(0), TaxableCol.width, true, Qt::AlignRight);

    constexpr int LabelLeft = 5740;
    constexpr int LabelWidth = 2960;
    constexpr int BoxLeft = 8760;
    constexpr int BoxWidth = ContentWidth - BoxLeft - 15;
    auto labelled = [&](int k, QAnyStringView caption, QAnyStringView name, QLabel** label = nullptr) {
        QLabel* shown = addLabel(p, caption, LabelLeft, line(k), LabelWidth, Qt::AlignRight);
        if (label)
            *label = Named(shown, name.toString().replace(QLatin1String("txtTotal"), QLatin1String("lblAdd")));
        return addBox(p, name, BoxLeft, line(k), BoxWidth, true, Qt::AlignRight);
    };
    txtTotalBeforeTax = labelled(1, "Total Amount before Tax:", "txtTotalBeforeTax");
    txtTotalCgst = labelled(2, "Add: CGST/ IGST", "txtTotalCgst", &lblAddCgst);
    txtTotalSgst = labelled(3, "Add: SGST", "txtTotalSgst", &lblAddSgst);
    txtTotalAfterTax = labelled(4, "Total Amount After Tax:", "txtTotalAfterTax");
    txtTotalAmount = labelled(5, "Total ", "txtTotalAmount");
    txtTotalAmount->setFont(bold);

    txtTotalGst = addLabelled(p, "Total GST:", 100, line(2), 1700, "txtTotalGst", 1820, 1700, true);
    txtTotalGst->setAlignment(Qt::AlignRight);
    addLabel(p, "Reverse Charge:", 100, line(3), 1700);
    txtReverseChargePrinted = addBox(p, "txtReverseChargePrinted", 1820, line(3), 900, true);
    txtReverseCharge = Named(new QComboBox(p), QStringLiteral("txtReverseCharge"));
    txtReverseCharge->addItems({QStringLiteral("No"), QStringLiteral("Yes")});
    place(txtReverseCharge, 1820, line(3), 900);
    printInPlaceOf(txtReverseCharge, txtReverseChargePrinted);
}

void frmTaxInvoiceSeperateGst::connectDiscounts()
{
    for (int row = FirstGoodsRow; row <= LastGoodsRow; ++row) {
        connect(txtDisc[row], &QLineEdit::textEdited, this, &frmTaxInvoiceSeperateGst::RefreshTotals);
        connect(txtDisc[row], &QLineEdit::editingFinished, this, [this, row] { txtDisc_LostFocus(row); });
    }
}

// The company list first, the discounts after the goods entry, the reverse
// charge after the rounding.
void frmTaxInvoiceSeperateGst::extendTabOrder()
{
    m_tabChain.insert(m_tabChain.begin(), cboCompany);
    auto after = [this](QWidget* anchor, const std::vector<QWidget*>& widgets) {
        const auto at = std::find(m_tabChain.begin(), m_tabChain.end(), anchor) + 1;
        m_tabChain.insert(at, widgets.begin(), widgets.end());
    };
    after(txtAmount[ShortExcessRow], {txtReverseCharge});
    after(cmdAdd, std::vector<QWidget*>(txtDisc.begin() + FirstGoodsRow, txtDisc.begin() + LastGoodsRow + 1));
}

// The tax invoice's page as it is printed: seller, references, buyer and
// delivery, the 16-row grid with its tax and charge lists, the totals with
// the tax totals beneath the grid, and the foot.
#include "invoice/frmtaxinvoice.h"

#include "ui/formboxes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace zelva;
using namespace zelva::invoicepage;

namespace {

// The rate and amount columns hold twelve digits and the paise at the page's font.
const InvoiceForm::PageGrid Grid{4400,        4750,         400,         {0, 560},    {600, 3620}, {4260, 1000},
                                 {5300, 780}, {6120, 1740}, {7900, 700}, {8640, 1740}, 11870};

} // namespace

void frmTaxInvoice::buildPage()
{
    RuledPage* page = startPage(Grid);
    for (const Column& c : {Grid.desc, Grid.hsn, Grid.qty, Grid.rate, Grid.per, Grid.amount})
        page->rule(c.left - 20, 4350, c.left - 20, Grid.bottom());
    buildSellerAndReferences("Dispatched Through:");
    cboCompany->hide(); // the invoice is issued by the first company
    buildBuyerAndDelivery();
    buildGrid(Grid, "per");
    buildTaxLists(Grid);
    buildTotals();
    buildFoot(Grid);
    // beneath the frame, which ends 2330 twips below the foot's top
    m_taxByRate = std::make_unique<TaxByRateTable>(m_page, Grid.footTop + 2330 + 60);
    raiseLists();
}

void frmTaxInvoice::buildTotals()
{
    QWidget* p = m_page;
    const QFont bold = styled(p, true);
    const int totalsTop = Grid.bottom() + 50;
    addLabel(p, "Total", Grid.desc.left, totalsTop, 2000)->setFont(bold);
    txtTotalQuantity = addBox(p, "txtTotalQuantity", Grid.qty.left, totalsTop, Grid.qty.width, true, Qt::AlignRight);
    addLabel(p, "Goods Value", Grid.rate.left, totalsTop, Grid.rate.width + Grid.per.width - 40, Qt::AlignRight);
    txtTotalGoodsAmount = addBox(p, "txtTotalGoodsAmount", Grid.amount.left, totalsTop, Grid.amount.width, true,
                                 Qt::AlignRight);
    const int taxTotalsTop = totalsTop + 350;
    lblTotalCGST = Named(addLabel(p, "Total CGST", 100, taxTotalsTop, 1200), QStringLiteral("lblTotalCGST"));
    txtTotalCgst = addBox(p, "txtTotalCgst", 1320, taxTotalsTop, 1200, true, Qt::AlignRight);
    lblTotalSGST = Named(addLabel(p, "Total SGST", 2700, taxTotalsTop, 1200), QStringLiteral("lblTotalSGST"));
    txtTotalSgst = addBox(p, "txtTotalSgst", 3920, taxTotalsTop, 1200, true, Qt::AlignRight);
    addLabel(p, "Total Amount", Grid.qty.left, taxTotalsTop, Grid.per.left + 180 - Grid.qty.left, Qt::AlignRight)
        ->setFont(bold);
    addLabel(p, "Rs.", Grid.per.left + 200, taxTotalsTop, 480, Qt::AlignRight)->setFont(bold);
    txtTotalAmount = addBox(p, "txtTotalAmount", Grid.amount.left, taxTotalsTop, Grid.amount.width, true,
                            Qt::AlignRight);
    txtTotalAmount->setFont(bold);
}

// The CGST total is captioned for the tax it holds; the SGST total's caption
// goes with its box.
void frmTaxInvoice::showTaxCaptions(bool cgstAndSgst)
{
    lblTotalCGST->setText(cgstAndSgst ? QStringLiteral("Total CGST") : QStringLiteral("Total IGST"));
    lblTotalSGST->setVisible(cgstAndSgst);
}

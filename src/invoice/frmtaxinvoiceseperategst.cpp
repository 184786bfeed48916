// The separate-GST invoice's own behaviour: the discount of each line, and the
// per-line taxes and totals computed from what the invoice form charges.
#include "invoice/frmtaxinvoiceseperategst.h"

#include "platform/money.h"
#include "platform/textnum.h"
#include "ui/formboxes.h"
#include "ui/message.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cmath>

using namespace zelva;

frmTaxInvoiceSeperateGst::frmTaxInvoiceSeperateGst(Database& db, QWidget* parent)
    : InvoiceForm(db, parent)
{
    setObjectName(QStringLiteral("frmTaxInvoiceSeperateGst"));
    setWindowTitle(QStringLiteral("Tax Invoice"));
    setUp();
    connectDiscounts();
    extendTabOrder();
}

// Nothing is shown before New Invoice, which lists the companies and shows
// the first.
void frmTaxInvoiceSeperateGst::Form_Load() { setPending(false); }

std::vector<InvoiceForm::Row*> frmTaxInvoiceSeperateGst::goodsColumns()
{
    std::vector<Row*> columns = InvoiceForm::goodsColumns();
    columns.insert(columns.end(),
                   {&txtDisc, &txtTaxableValue, &txtCgstPer, &txtCgstAmt, &txtSgstPer, &txtSgstAmt, &txtTotal});
    return columns;
}

// A new invoice is not charged under reverse charge unless the operator says so.
void frmTaxInvoiceSeperateGst::ClearControl()
{
    InvoiceForm::ClearControl();
    m_linesShown = 0;
    txtReverseCharge->setCurrentIndex(0);
}

// The discount as typed; the invoice keeps it within the line's amount.
Paise frmTaxInvoiceSeperateGst::discountTyped(int row) const
{
    double typed = 0;
    if (!zelva::ReadNumber(txtDisc[row]->text(), typed)) // a box that is no number takes nothing off
        return 0;
    return ToPaise(std::clamp(typed, -AmountLimit, AmountLimit)); // and kept within the line's amount
}

// Each line's discount is read by the one rule for number boxes before the
// charges are; a discount left blank is none.
bool frmTaxInvoiceSeperateGst::CheckNumbers()
{
    for (int row = FirstGoodsRow; row <= lineCount(); ++row) {
        FillIfEmpty(txtDisc[row], QStringLiteral("0"));
        double unused = 0;
        if (!ReadNumber(txtDisc[row]->text(), QStringLiteral("Less: Disc of line %1").arg(row), unused)) {
            txtDisc[row]->setFocus();
            return false;
        }
    }
    return InvoiceForm::CheckNumbers();
}

// A discount outside the line's amount is told and set to what is charged.
void frmTaxInvoiceSeperateGst::txtDisc_LostFocus(int row)
{
    if (row > lineCount())
        return;
    const Paise typed = discountTyped(row);
    const Paise charged = ChargedDiscount(typed, lineAmount(row));
    if (txtDisc[row]->text().trimmed().isEmpty() || typed == charged)
        return;
    MsgBox(typed < 0 ? QStringLiteral("The discount cannot be less than nothing.")
                     : QStringLiteral("The discount cannot be more than the line amount."));
    txtDisc[row]->setText(Str(ToRupees(charged)));
    RefreshTotals();
}

// In CGST mode the CGST and SGST columns, in IGST mode the first alone,
// headed for the tax it holds.
void frmTaxInvoiceSeperateGst::showTaxCaptions(bool cgstAndSgst)
{
    lblCgst->setText(cgstAndSgst ? QStringLiteral("CGST") : QStringLiteral("IGST"));
    lblAddCgst->setText(cgstAndSgst ? QStringLiteral("Add: CGST") : QStringLiteral("Add: IGST"));
    lblSgst->setVisible(cgstAndSgst);
    lblAddSgst->setVisible(cgstAndSgst);
}

void frmTaxInvoiceSeperateGst::totalsShown() { showLines(); }

// Each line's taxable value, its share of the goods tax rows and its total,
// then the totals beneath the grid from the rows as shown, so that every
// column and total on the page adds up to the paisa.
void frmTaxInvoiceSeperateGst::showLines()
{
    const Invoice& invoice = shownInvoice();
    const int lines = lineCount();
    const bool split = taxMode() == TaxMode::Cgst;
    for (int row = m_linesShown + 1; row <= lines; ++row)
        txtDisc[row]->setText(QStringLiteral("0")); // a line comes without a discount
    m_linesShown = lines;
    for (int row = FirstGoodsRow; row <= lines && row <= int(invoice.lines.size()); ++row) {
        const InvoiceLine& line = invoice.lines[row - FirstGoodsRow];
        txtTaxableValue[row]->setText(BoxAmountText(line.taxable()));
        const double rate = LineHeadRate(invoice, line);
        const QString rateText = rate >= 0 ? RateText(rate) : QString();
        txtCgstPer[row]->setText(rateText);
        txtCgstAmt[row]->setText(rate >= 0 ? BoxAmountText(line.firstTax) : QString());
        txtSgstPer[row]->setText(split ? rateText : QString());
        txtSgstAmt[row]->setText(split && rate >= 0 ? BoxAmountText(line.sgst) : QString());
        txtSgstPer[row]->setVisible(split);
        txtSgstAmt[row]->setVisible(split);
        txtTotal[row]->setText(BoxAmountText(line.total()));
    }
    txtTotalBeforeTax->setText(BoxAmountText(invoice.beforeTax()));
    txtTotalCgst->setText(BoxAmountText(invoice.firstTaxShown()));
    txtTotalSgst->setText(split ? BoxAmountText(invoice.sgstShown()) : QString());
    txtTotalGst->setText(BoxAmountText(invoice.taxShown()));
    txtTotalAfterTax->setText(BoxAmountText(invoice.beforeTax() + invoice.taxShown()));
}

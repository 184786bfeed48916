// The separate-GST invoice's own behaviour: the discount of each line, and the
// per-line taxes and totals computed from what the invoice form charges.
#include "invoice/frmtaxinvoiceseperategst.h"

#include "platform/textnum.h"
#include "ui/formboxes.h"
#include "ui/message.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cmath>

using namespace zelva;

namespace {

long long Paise(const QString& amount) { return std::llround(Val(amount) * 100); }

QString PaiseText(long long paise) { return FormatAmount(double(paise) / 100); }

} // namespace

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

// The discount as typed, never below nothing nor above the line's amount.
double frmTaxInvoiceSeperateGst::discountOf(int row) const
{
    return std::clamp(Val(txtDisc[row]->text()), 0.0, std::max(0.0, lineAmount(row)));
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

double frmTaxInvoiceSeperateGst::taxableValue(int row) const { return lineAmount(row) - discountOf(row); }

// A discount outside the line's amount is told and set to what is charged.
void frmTaxInvoiceSeperateGst::txtDisc_LostFocus(int row)
{
    if (row > lineCount())
        return;
    const double typed = Val(txtDisc[row]->text());
    const double charged = discountOf(row);
    if (txtDisc[row]->text().trimmed().isEmpty() || typed == charged)
        return;
    MsgBox(typed < 0 ? QStringLiteral("The discount cannot be less than nothing.")
                     : QStringLiteral("The discount cannot be more than the line amount."));
    txtDisc[row]->setText(Str(charged));
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
    const int lines = lineCount();
    const bool split = taxMode() == TaxMode::Cgst;
    const double rate = goodsRate();
    for (int row = m_linesShown + 1; row <= lines; ++row)
        txtDisc[row]->setText(QStringLiteral("0")); // a line comes without a discount
    m_linesShown = lines;
    std::vector<double> taxable;
    for (int row = FirstGoodsRow; row <= lines; ++row)
        taxable.push_back(taxableValue(row));
    std::vector<long long> cgst(taxable.size(), 0);
    std::vector<long long> sgst(taxable.size(), 0);
    if (rate >= 0) {
        cgst = SplitTaxPaise(taxable, rate, Paise(txtAmount[GoodsCgstRow]->text()));
        if (split)
            sgst = SplitTaxPaise(taxable, rate, Paise(txtAmount[GoodsSgstRow]->text()));
    }
    for (int row = FirstGoodsRow; row <= lines; ++row) {
        const std::size_t i = row - FirstGoodsRow;
        txtTaxableValue[row]->setText(FormatAmount(taxable[i]));
        const QString rateText = rate >= 0 ? RateText(rate) : QString();
        txtCgstPer[row]->setText(rateText);
        txtCgstAmt[row]->setText(rate >= 0 ? PaiseText(cgst[i]) : QString());
        txtSgstPer[row]->setText(split ? rateText : QString());
        txtSgstAmt[row]->setText(split && rate >= 0 ? PaiseText(sgst[i]) : QString());
        txtSgstPer[row]->setVisible(split);
        txtSgstAmt[row]->setVisible(split);
        txtTotal[row]->setText(FormatAmount(taxable[i] + double(cgst[i] + sgst[i]) / 100));
    }

    double beforeTax = Val(txtAmount[Others1Row]->text()) + Val(txtAmount[Others2Row]->text());
    for (double value : taxable)
        beforeTax += value;
    long long cgstPaise = 0;
    long long sgstPaise = 0;
    for (int row : {GoodsCgstRow, Others1CgstRow, Others2CgstRow})
        cgstPaise += Paise(txtAmount[row]->text());
    if (split)
        for (int row : {GoodsSgstRow, Others1SgstRow, Others2SgstRow})
            sgstPaise += Paise(txtAmount[row]->text());
    txtTotalBeforeTax->setText(FormatAmount(beforeTax));
    txtTotalCgst->setText(PaiseText(cgstPaise));
    txtTotalSgst->setText(split ? PaiseText(sgstPaise) : QString());
    txtTotalGst->setText(PaiseText(cgstPaise + sgstPaise));
    txtTotalAfterTax->setText(FormatAmount(beforeTax + double(cgstPaise + sgstPaise) / 100));
}

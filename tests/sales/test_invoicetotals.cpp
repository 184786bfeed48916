// The invoice's rules, worked on values: taxes on the three bases in both
// layouts, discounts, each line's share of the goods' tax, the rounding row,
// and totals that add up to the paisa.
#include "sales/invoice.h"

#include <QtTest>

using namespace zelva;

namespace {

struct Line {
    double quantity;
    double rate;
    Paise discount;
};

// An invoice of the given lines, whole goods rate and charges.
Invoice invoiceOf(TaxMode mode, const std::vector<Line>& lines, std::optional<double> goodsRate, Paise others1 = 0,
                  std::optional<double> others1Rate = std::nullopt, Paise rounding = 0)
{
    Invoice invoice;
    invoice.mode = mode;
    for (const Line& l : lines) {
        InvoiceLine line;
        line.quantity = l.quantity;
        line.rate = l.rate;
        line.amount = LineAmount(l.quantity, l.rate);
        line.discount = l.discount;
        invoice.lines.push_back(line);
    }
    invoice.taxes[TaxOnGoods].rate = goodsRate;
    invoice.charges[0] = {QStringLiteral("Freight"), QStringLiteral("9965"), QStringLiteral("N.A."), 0, others1};
    invoice.taxes[TaxOnOthers1].rate = others1Rate;
    invoice.rounding = {QStringLiteral("Short & Excess"), QStringLiteral("N.A."), QString(), 0, rounding};
    return invoice;
}

QString amounts(const std::vector<Paise>& paise)
{
    QStringList texts;
    for (Paise p : paise)
        texts << AmountText(p);
    return texts.join(QLatin1Char(' '));
}

} // namespace

class InvoiceTotalsTest : public QObject {
    Q_OBJECT
private slots:
    void workedExamples_data();
    void workedExamples();
    void discountsStayWithinTheLine();
    void noModeChargesNoTax();
    void ratesOnOneBill_data();
    void ratesOnOneBill();
    void lineRatesSettle();
};

// Shown: the tax rows as the grid shows them (CGST or IGST row, SGST row, for
// the goods then Others1), each line's share of the goods' rows, the kept
// tax total (the rows' sum, as printed), the grand total and its words.
void InvoiceTotalsTest::workedExamples_data()
{
    QTest::addColumn<Invoice>("invoice");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("lineShares"); // first tax, then SGST
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("grand");
    QTest::addColumn<QString>("words");
    // Karnataka to Karnataka: 3 x 45.35, 2 x 385.15 less 350.00, 7 x 62.45 at
    // CGST 9%; Freight 149.50 at CGST 6%; Short & Excess 0.22.
    QTest::newRow("CGST, discount, freight, rounding")
        << invoiceOf(TaxMode::Cgst, {{3, 45.35, 0}, {2, 385.15, 35000}, {7, 62.45, 0}}, 18, 14950, 12, 22)
        << "89.42 89.42 8.97 8.97" << "12.24 37.83 39.35 12.24 37.83 39.35" << "98.39" << "1340.00"
        << "Rupees One Thousand Three Hundred Forty Only";
    QTest::newRow("CGST 2.5% of 333.33") << invoiceOf(TaxMode::Cgst, {{1, 333.33, 0}}, 5) << "8.33 8.33 0.00 0.00"
                                         << "8.33 8.33" << "8.33" << "349.99"
                                         << "Rupees Three Hundred Forty Nine and Ninety Nine Paise Only";
    QTest::newRow("freight 100 at IGST 5%, short by 40 paise")
        << invoiceOf(TaxMode::Igst, {{1, 333.33, 0}}, 5, 10000, 5, -40) << "16.67 0.00 5.00 0.00" << "16.67 0.00"
        << "21.67" << "454.60" << "Rupees Four Hundred Fifty Four and Sixty  Paise Only";
    QTest::newRow("crores at IGST 28%") << invoiceOf(TaxMode::Igst, {{10, 1234567.89, 0}}, 28)
                                        << "3456790.09 0.00 0.00 0.00" << "3456790.09 0.00" << "3456790.09"
                                        << "15802468.99"
                                        << "Rupees One Crore Fifty Eight lakh Two Thousand Four Hundred Sixty Eight "
                                           "and Ninety Nine Paise Only";
    // the lines' own shares (0.00 0.01 0.00) fall a paisa short of 18% of 0.11;
    // that paisa goes to the largest line, here the middle one
    QTest::newRow("leftover paisa to the largest line")
        << invoiceOf(TaxMode::Igst, {{1, 0.02, 0}, {1, 0.07, 0}, {1, 0.02, 0}}, 18) << "0.02 0.00 0.00 0.00"
        << "0.00 0.02 0.00 0.00 0.00 0.00" << "0.02" << "0.13" << "Thirteen Paise Only";
}

void InvoiceTotalsTest::workedExamples()
{
    QFETCH(Invoice, invoice);
    QFETCH(QString, rows);
    QFETCH(QString, lineShares);
    QFETCH(QString, kept);
    QFETCH(QString, grand);
    QFETCH(QString, words);
    ComputeTotals(invoice);
    const bool cgst = invoice.mode == TaxMode::Cgst;
    QCOMPARE(amounts({invoice.taxes[TaxOnGoods].first.amount, invoice.taxes[TaxOnGoods].second.amount,
                      invoice.taxes[TaxOnOthers1].first.amount, invoice.taxes[TaxOnOthers1].second.amount}),
             rows);
    std::vector<Paise> shares;
    for (const InvoiceLine& line : invoice.lines)
        shares.push_back(line.firstTax);
    for (const InvoiceLine& line : invoice.lines)
        shares.push_back(line.sgst);
    QCOMPARE(amounts(shares), lineShares);
    QCOMPARE(AmountText(cgst ? invoice.totals.cgst : invoice.totals.igst), kept);
    QCOMPARE(AmountText(cgst ? invoice.totals.sgst : invoice.totals.cgst), cgst ? kept : QString("0.00"));
    QCOMPARE(AmountText(invoice.totals.grand), grand);
    QCOMPARE(invoice.totals.words, words);

    // every figure adds up: the lines to the goods rows, the page to its total
    Paise linesTax = 0;
    Paise lineTotals = 0;
    for (const InvoiceLine& line : invoice.lines) {
        linesTax += line.firstTax + line.sgst;
        lineTotals += line.total();
    }
    QCOMPARE(linesTax, invoice.taxes[TaxOnGoods].first.amount + invoice.taxes[TaxOnGoods].second.amount);
    QCOMPARE(lineTotals, invoice.totals.goods + linesTax);
    QCOMPARE(invoice.beforeTax() + invoice.taxShown() + invoice.rounding.amount, invoice.totals.grand);
    const QString rate = RateText(HeadRate(*invoice.taxes[TaxOnGoods].rate, invoice.mode));
    QCOMPARE(invoice.taxes[TaxOnGoods].first.description, (cgst ? "CGST @ " : "IGST @ ") + rate + "%");
    QCOMPARE(invoice.taxes[TaxOnGoods].second.description, cgst ? "SGST @ " + rate + "%" : QString());
}

// A discount above the line's amount is the amount; below nothing, nothing.
void InvoiceTotalsTest::discountsStayWithinTheLine()
{
    Invoice invoice = invoiceOf(TaxMode::Igst, {{1, 100, 50000}, {2, 10, -500}, {1, 80, 2550}}, 18);
    ComputeTotals(invoice);
    QCOMPARE(invoice.lines[0].discount, Paise(10000));
    QCOMPARE(invoice.lines[1].discount, Paise(0));
    QCOMPARE(invoice.lines[2].taxable(), Paise(5450));
    QCOMPARE(AmountText(invoice.totals.goods), QString("74.50"));
    QCOMPARE(AmountText(invoice.taxes[TaxOnGoods].first.amount), QString("13.41")); // 18% of 74.50
}

// Before a buyer decides the tax, nothing is charged; the typed rows still count.
void InvoiceTotalsTest::noModeChargesNoTax()
{
    Invoice invoice = invoiceOf(TaxMode::None, {{2, 1000, 0}}, 18, 10000, 12, -40);
    ComputeTotals(invoice);
    QCOMPARE(invoice.taxShown(), Paise(0));
    QCOMPARE(invoice.totals.cgst + invoice.totals.igst, Paise(0));
    QCOMPARE(AmountText(invoice.totals.grand), QString("2099.60"));
    QCOMPARE(invoice.taxes[TaxOnGoods].first, GridLine{});
}

namespace {

// Lines each at its own whole rate: quantity, rate per unit, GST rate.
struct RatedLine {
    double quantity;
    double rate;
    std::optional<double> gstRate;
};

Invoice ratedInvoice(TaxMode mode, const std::vector<RatedLine>& lines)
{
    Invoice invoice = invoiceOf(mode, {}, std::nullopt);
    for (const RatedLine& l : lines) {
        InvoiceLine line;
        line.quantity = l.quantity;
        line.rate = l.rate;
        line.amount = LineAmount(l.quantity, l.rate);
        line.gstRate = l.gstRate;
        invoice.lines.push_back(line);
    }
    return invoice;
}

// "rate: taxable tax" for each rate, the tax as "IGST" or "CGST+SGST".
QString byRateText(const Invoice& invoice)
{
    QStringList texts;
    for (const RateTax& r : GoodsTaxByRate(invoice)) {
        const QString tax = invoice.mode == TaxMode::Igst
                                ? AmountText(r.tax.igst)
                                : AmountText(r.tax.cgst) + QLatin1Char('+') + AmountText(r.tax.sgst);
        texts << QStringLiteral("%1: %2 %3").arg(RateText(r.gstRate), AmountText(r.taxable), tax);
    }
    return texts.join(QStringLiteral("; "));
}

} // namespace

// 3 x 45.35 and 7 x 62.45 at 5%, 2 x 385.15 and 1 x 99.99 at 18%, 1250.00 at
// 40%, the rates interleaved: each rate's tax on the sum of its lines, each
// line's share within its rate, rows 8 and 9 the sums.
void InvoiceTotalsTest::ratesOnOneBill_data()
{
    QTest::addColumn<Invoice>("invoice");
    QTest::addColumn<QString>("byRate");
    QTest::addColumn<QString>("lineShares"); // first tax, then SGST
    QTest::addColumn<QString>("rows");       // rows 8 and 9
    QTest::addColumn<QString>("grand");
    const std::vector<RatedLine> basket{{3, 45.35, 5}, {2, 385.15, 18}, {1, 1250, 40}, {7, 62.45, 5}, {1, 99.99, 18}};
    QTest::newRow("5, 18 and 40% to another State")
        << ratedInvoice(TaxMode::Igst, basket) << "5: 573.20 28.66; 18: 870.29 156.65; 40: 1250.00 500.00"
        << "6.80 138.65 500.00 21.86 18.00 0.00 0.00 0.00 0.00 0.00" << "685.31 0.00" << "3378.80";
    QTest::newRow("5, 18 and 40% in the company's State")
        << ratedInvoice(TaxMode::Cgst, basket)
        << "5: 573.20 14.33+14.33; 18: 870.29 78.33+78.33; 40: 1250.00 250.00+250.00"
        << "3.40 69.33 250.00 10.93 9.00 3.40 69.33 250.00 10.93 9.00" << "342.66 342.66" << "3378.81";
    // 18% of 0.09 is 0.02: the leftover paisa goes to 0.07, the largest line
    // at 18%, not to 100.00, the largest of the bill
    QTest::newRow("leftover paisa to the largest line of its rate")
        << ratedInvoice(TaxMode::Igst, {{1, 100, 5}, {1, 0.02, 18}, {1, 0.07, 18}})
        << "5: 100.00 5.00; 18: 0.09 0.02" << "5.00 0.00 0.02 0.00 0.00 0.00" << "5.02 0.00" << "105.11";
    QTest::newRow("3% jewellery") << ratedInvoice(TaxMode::Cgst, {{1, 48765.40, 3}, {2, 1212.50, 3}})
                                  << "3: 51190.40 767.86+767.86" << "731.48 36.38 731.48 36.38"
                                  << "767.86 767.86" << "52726.12";
}

void InvoiceTotalsTest::ratesOnOneBill()
{
    QFETCH(Invoice, invoice);
    QFETCH(QString, byRate);
    QFETCH(QString, lineShares);
    QFETCH(QString, rows);
    QFETCH(QString, grand);
    ComputeTotals(invoice);
    QCOMPARE(byRateText(invoice), byRate);
    std::vector<Paise> shares;
    for (const InvoiceLine& line : invoice.lines)
        shares.push_back(line.firstTax);
    for (const InvoiceLine& line : invoice.lines)
        shares.push_back(line.sgst);
    QCOMPARE(amounts(shares), lineShares);
    const ChargedTax& goods = invoice.taxes[TaxOnGoods];
    QCOMPARE(amounts({goods.first.amount, goods.second.amount}), rows);
    QCOMPARE(AmountText(invoice.totals.grand), grand);

    // the rates' taxes add up to the rows, the rows to the kept totals
    TaxHeads sum;
    for (const RateTax& r : GoodsTaxByRate(invoice))
        sum += r.tax;
    QCOMPARE(sum, invoice.taxRows(TaxOnGoods));
    QCOMPARE(sum.igst, invoice.totals.igst);
    QCOMPARE(sum.cgst, invoice.totals.cgst);
    QCOMPARE(sum.sgst, invoice.totals.sgst);
    const bool mixed = GoodsTaxByRate(invoice).size() > 1;
    QCOMPARE(goods.rated(), !mixed);
    if (mixed)
        QCOMPARE(goods.first.description, MixedRatesLabel(invoice.mode));
    // worked out again, nothing changes
    Invoice again = invoice;
    ComputeTotals(again);
    QCOMPARE(again, invoice);
}

// A line without a rate of its own takes the goods rate; lines that share one
// rate give exactly what that rate chosen for the goods gives; a line with no
// rate at all among rated ones is charged nothing and leaves the goods unrated.
void InvoiceTotalsTest::lineRatesSettle()
{
    Invoice chosen = invoiceOf(TaxMode::Cgst, {{3, 45.35, 0}, {2, 385.15, 35000}, {7, 62.45, 0}}, 18, 14950, 12, 22);
    ComputeTotals(chosen);
    for (const InvoiceLine& line : chosen.lines)
        QCOMPARE(LineGstRate(chosen, line), std::optional<double>(18));

    Invoice own = invoiceOf(TaxMode::Cgst, {{3, 45.35, 0}, {2, 385.15, 35000}, {7, 62.45, 0}}, std::nullopt, 14950,
                            12, 22);
    for (InvoiceLine& line : own.lines)
        line.gstRate = 18;
    ComputeTotals(own);
    QCOMPARE(own, chosen);
    QCOMPARE(own.taxes[TaxOnGoods].first.description, QString("CGST @ 9%"));

    Invoice mixed = chosen;
    mixed.lines[0].gstRate = 5;
    mixed.lines[2].gstRate.reset();
    mixed.taxes[TaxOnGoods].rate.reset();
    ComputeTotals(mixed);
    QCOMPARE(mixed.taxes[TaxOnGoods].rate, std::nullopt);
    QCOMPARE(byRateText(mixed), QString("5: 136.05 3.40+3.40; 18: 420.30 37.83+37.83"));
    QCOMPARE(amounts({mixed.lines[2].firstTax, mixed.lines[2].sgst}), QString("0.00 0.00"));
    QCOMPARE(mixed.lines[2].gstRate, std::nullopt);
}

QTEST_GUILESS_MAIN(InvoiceTotalsTest)
#include "test_invoicetotals.moc"

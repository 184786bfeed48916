// What the invoice carries for the portals and the payer: transport details
// typed on the form, kept with the invoice and printed on its page; the pay
// QR of the company's UPI ID on the printed copies; and on a reprint of a
// registered invoice its IRN, acknowledgement and signed QR code, each code
// read back from the rendered page.
#include "invoice/frmtaxinvoice.h"
#include "invoice/frmtaxinvoiceseperategst.h"
#include "invoice/rptinvoice.h"

#include "invoice/shop.h"
#include "sales/companypayment.h"
#include "sales/invoiceextras.h"
#include "support/formdriver.h"
#include "support/qrdecode.h"
#include "ui/printing.h"
#include "ui/qrcode.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPdfWriter>
#include <QProcess>
#include <QtTest>
#include <algorithm>

using namespace testing;
using namespace zelva;

namespace {

void addShop(Database& db, const QString& upiId)
{
    db.run("INSERT INTO Master.Company (Name, address, Dist, State, Pin, Gstin, sno, CompanyId) VALUES "
           "('Zelva & Sons', '4 Market Road', 'Bengaluru Urban', 'Karnataka', '560001', '29AAAAA0000A1Z5', 1, "
           "'C00001')",
           {}, "add company", DbFile::Master);
    Transaction t(db, "add the UPI ID");
    StoreCompanyPaymentWithin(db, 1, {upiId, DefaultEwayBillLimit});
    t.commit();
    addBuyer(db, 4, "Mysore Mart", "Karnataka");
    addItem(db, 1, "Brush", 45.35, 100);
    addItem(db, 2, "Paint", 385.15, 100);
}

QString pdfText(const QString& pdf)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", pdf, "-"});
    pdftotext.waitForFinished();
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

template <typename Form>
void enterSale(Form& form)
{
    click(form.cmdNewInvoice);
    QVERIFY(pick(form.cboBuyerName, "Mysore Mart"));
    for (auto [item, quantity] : {std::pair{"Brush", "3"}, {"Paint", "2"}}) {
        QVERIFY(pick(form.cboDescriptionOfGoods, item));
        typeInto(form.txtQuantity[0], quantity);
        click(form.cmdAdd);
    }
    QVERIFY(pick(form.cboGoodsCgst, "CGST @ 9%"));
}

void typeTransport(InvoiceForm& form, const QString& vehicle)
{
    QVERIFY(pick(form.cboTransMode, "Road"));
    typeInto(form.txtDistanceKm, "120");
    typeInto(form.txtVehicleNo, vehicle);
    typeInto(form.txtTransporterName, "Metro Movers");
}

constexpr int PrintDpi = 200;

int storedCount(const QString& folder, const char* table)
{
    return valueInFile(folder, DbFile::Invoice, QString("SELECT COUNT(*) FROM %1").arg(table)).toInt();
}

} // namespace

class EInvoicePageTest : public QObject {
    Q_OBJECT

private slots:
    // The three copies each carry the pay QR of the total under "Scan to
    // pay", and the transport on one line; the invoice keeps the details.
    void printedCopiesCarryThePayQr_data()
    {
        QTest::addColumn<bool>("separateGst");
        QTest::newRow("tax invoice") << false;
        QTest::newRow("separate-GST invoice") << true;
    }

    void printedCopiesCarryThePayQr()
    {
        QFETCH(bool, separateGst);
        TempData data;
        addShop(*data.db, "zelva.sons@okbank");
        MessageRecorder messages;
        std::unique_ptr<InvoiceForm> form;
        if (separateGst)
            form = std::make_unique<frmTaxInvoiceSeperateGst>(*data.db);
        else
            form = std::make_unique<frmTaxInvoice>(*data.db);
        form->show();
        if (separateGst) {
            auto& separate = static_cast<frmTaxInvoiceSeperateGst&>(*form);
            enterSale(separate);
            QVERIFY(pick(separate.cboCompany, "Zelva & Sons"));
            typeInto(separate.txtDisc[2], "20.30");
        } else {
            enterSale(static_cast<frmTaxInvoice&>(*form));
        }
        typeTransport(*form, "ka 01 ab 1234");
        const QString total = separateGst ? "1045.53" : "1069.49"; // 906.35 (886.05) and 81.57 (79.74) twice
        SetPdfOnly(true);
        click(form->cmdPrint);
        SetPdfOnly(false);
        QCOMPARE(messages.last(), QString("Saved Successfully"));
        QCOMPARE(form->txtTotalAmount->text(), total);
        const QString pdf = data.folder() + "/Prints/A00001.pdf";
        const QString text = pdfText(pdf);
        QCOMPARE(text.count("Scan to pay"), 3);
        QCOMPARE(text.count("Road, 120 km; Vehicle KA01AB1234; Metro Movers"), 3);
        const QString pay = "upi://pay?pa=zelva.sons@okbank&pn=Zelva%20%26%20Sons&am=" + total + "&cu=INR&tn=A00001";
        QCOMPARE(DecodeQrCodes(RenderPdfPage(pdf, 3, 200)), QStringList{pay});
        QCOMPARE(rowsInFile(data.folder(), DbFile::Invoice,
                            "SELECT InvoiceNo, TransMode, DistanceKm, VehicleNo, TransporterName FROM InvoiceTransport"),
                 (QList<QVariantList>{{"A00001", "Road", 120.0, "KA01AB1234", "Metro Movers"}}));
    }

    // A vehicle number of no Indian form stops the save, and nothing is kept.
    void wrongVehicleNumberSavesNothing()
    {
        TempData data;
        addShop(*data.db, QString());
        MessageRecorder messages;
        frmTaxInvoice form(*data.db);
        form.show();
        enterSale(form);
        typeTransport(form, "KA01AB12345");
        QVERIFY(!form.qrUpi->isVisible()); // no UPI ID, no pay QR
        click(form.cmdSave);
        QVERIFY2(messages.last().contains("KA01AB12345 is not an Indian registration number"), qPrintable(messages.last()));
        QCOMPARE(storedCount(data.folder(), "BuyerInvoice WHERE sno <> 0"), 0);
        QCOMPARE(storedCount(data.folder(), "InvoiceTransport"), 0);
        typeInto(form.txtVehicleNo, "KA01AB1234");
        click(form.cmdSave);
        QCOMPARE(messages.last(), QString("Saved Successfully"));
        QCOMPARE(storedCount(data.folder(), "InvoiceTransport"), 1);
    }

    // A reprint of a registered invoice shows its IRN and acknowledgement,
    // and its signed QR code reads back from a 200-dpi image of the page as
    // exactly the stored text, beside the pay QR, drawn large enough for that
    // print and a phone, over nothing else on the page.
    void reprintCarriesTheSignedQr()
    {
        TempData data;
        addShop(*data.db, "zelva.sons@okbank");
        MessageRecorder messages;
        frmTaxInvoice form(*data.db);
        form.show();
        enterSale(form);
        click(form.cmdSave);
        QString signedText = "eyJhbGciOiJSUzI1NiJ9.";
        for (int i = 0; i < 860; ++i) // a token of about 900 characters, as the portal signs them
            signedText += QChar("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-"[(i * 11) % 64]);
        signedText += ".c2ln";
        const InvoiceRegistration irn{QString(64, 'f'), "112610012345678", "2026-12-07 11:40:00", signedText, {}, {}, {}};
        QCOMPARE(StoreRegistration(*data.db, "A00001", irn), QString());

        const std::optional<Invoice> invoice = LoadInvoice(*data.db, "A00001");
        const QString pdf = data.folder() + "/reprint.pdf";
        {
            QPdfWriter writer(pdf);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setResolution(300);
            QCOMPARE(report::RenderReport(writer, rptInvoice(), {InvoiceReportRow(*invoice, "zelva.sons@okbank")}), 1);
        }
        const QString text = pdfText(pdf);
        QVERIFY(text.contains("IRN: " + QString(64, 'f')));
        QVERIFY(text.contains("Ack No.: 112610012345678"));
        QVERIFY(text.contains("Scan to pay"));
        const QImage page = RenderPdfPage(pdf, 1, PrintDpi); // as a 200-dpi print or a phone reads it
        QStringList codes = DecodeQrCodes(page);
        codes.sort();
        QCOMPARE(codes, QStringList({signedText, "upi://pay?pa=zelva.sons@okbank&pn=Zelva%20%26%20Sons&am=" +
                                                     form.txtTotalAmount->text() + "&cu=INR&tn=A00001"}));

        // the page whole: no text on it under either QR code, nor either code over the other
        const report::ReportLayout layout = rptInvoice();
        const std::vector<report::ReportPage> placed =
            report::PaginateReport(layout, {InvoiceReportRow(*invoice, "zelva.sons@okbank")}, report::Paper{});
        QCOMPARE(placed.size(), size_t(1));
        QCOMPARE(placed[0].qrCodes.size(), size_t(2));
        for (const report::PlacedQr& qr : placed[0].qrCodes) {
            for (const report::PlacedText& placedText : placed[0].texts)
                QVERIFY2(placedText.text.isEmpty() || !placedText.rect.intersects(qr.rect), qPrintable(placedText.text));
            for (const report::Rule& rule : placed[0].rules)
                QVERIFY(!qr.rect.intersects(QRectF(rule.left, rule.top, rule.width, 1)));
        }
        QVERIFY(!placed[0].qrCodes[0].rect.intersects(placed[0].qrCodes[1].rect));

        // version 24 (113 modules a side) for this token; each module as drawn
        // on the 200-dpi image at least 0.35 mm, with four of quiet zone
        const QrModules modules = EncodeQr(signedText);
        QCOMPARE((modules.size - 17) / 4, 24);
        const auto signedBox = std::find_if(placed[0].qrCodes.begin(), placed[0].qrCodes.end(),
                                            [&](const report::PlacedQr& qr) { return qr.text == signedText; });
        QVERIFY(signedBox != placed[0].qrCodes.end());
        const double pixelsPerTwip = report::FitScale(layout, report::Paper{}) * PrintDpi / 1440.0;
        const QRectF square(signedBox->rect.topLeft() * pixelsPerTwip, signedBox->rect.size() * pixelsPerTwip);
        const QRect drawn = InkBounds(page, square.toAlignedRect());
        const double modulePixels = double(drawn.width()) / modules.size;
        const double moduleMm = modulePixels / PrintDpi * 25.4;
        QVERIFY2(moduleMm >= 0.35 && moduleMm < 0.45, qPrintable(QString::number(moduleMm)));
        QVERIFY2(qAbs(drawn.width() - drawn.height()) <= 2, "the code is square");
        const double quiet = 4 * modulePixels - 2; // a pixel of rounding each side
        QVERIFY(drawn.left() - square.left() >= quiet && square.right() - drawn.right() >= quiet);
        QVERIFY(drawn.top() - square.top() >= quiet && square.bottom() - drawn.bottom() >= quiet);
        QVERIFY(InkBounds(page, square.toAlignedRect().adjusted(-6, -6, 6, 6)) == drawn); // and nothing drawn at its edge
        for (const char* shown : {"Declaration", "Authorised Signatory", "Scan to pay", "Delivery Address", "GSTIN/ UIN"})
            QVERIFY2(text.contains(shown), shown);
    }
};

QTEST_MAIN(EInvoicePageTest)
#include "test_einvoicepage.moc"

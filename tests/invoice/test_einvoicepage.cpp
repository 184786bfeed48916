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
    // and its signed QR code reads back as exactly the stored text, beside
    // the pay QR.
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
        QStringList codes = DecodeQrCodes(RenderPdfPage(pdf, 1, 200)); // as a 200-dpi print or a phone reads it
        codes.sort();
        QCOMPARE(codes, QStringList({signedText, "upi://pay?pa=zelva.sons@okbank&pn=Zelva%20%26%20Sons&am=" +
                                                     form.txtTotalAmount->text() + "&cu=INR&tn=A00001"}));
    }
};

QTEST_MAIN(EInvoicePageTest)
#include "test_einvoicepage.moc"

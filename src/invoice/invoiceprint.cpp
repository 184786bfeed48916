// Print (three copies of the invoice page, then Save) and Print Invoice (the
// invoice report over every saved invoice).
#include "invoice/invoiceform.h"

#include "data/dataerror.h"
#include "data/datafolder.h"
#include "data/serials.h"
#include "invoice/rptinvoice.h"
#include "sales/companypayment.h"
#include "sales/invoicestore.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/printing.h"
#include "ui/reportwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace zelva;

// The number on the printed copies must be the number stored: when another
// invoice took this one's serial meanwhile, the next free number is taken and
// shown before anything is printed.
bool InvoiceForm::takeFreeNumber()
{
    qint64 free = 0;
    if (!Guarded<DataError>(
            [&] { free = NextSerial(m_db, DbFile::Invoice, QStringLiteral("BuyerInvoice"), QStringLiteral("sno")); }))
        return false;
    if (free > InvoiceSno)
        setInvoiceSerial(free);
    return true;
}

// What each selection box shows goes into the plain box beneath it.
void InvoiceForm::copyPrintSubstitutes()
{
    for (const auto& [printed, combo] : m_printSubstitutes)
        printed->setText(combo->currentText());
}

// The lists lying on the page itself go away; the rate lists go with their frame.
void InvoiceForm::showSelectionBoxes(bool visible)
{
    if (visible)
        fraGSTCombo->setVisible(true);
    for (const auto& [printed, combo] : m_printSubstitutes)
        if (combo->parentWidget() == m_page)
            combo->setVisible(visible);
    // the company list is on the page only where the seller may be picked
    if (!visible)
        m_companyListShown = !cboCompany->isHidden();
    cboCompany->setVisible(visible && m_companyListShown);
    if (!visible)
        fraGSTCombo->setVisible(false);
}

// Before anything is hidden (a hidden box hands its focus on, maybe to a box
// on the page). Returns the widget that had the focus, to have it back.
QWidget* InvoiceForm::takeFocusOff()
{
    QWidget* focused = QApplication::focusWidget();
    if (focused && isAncestorOf(focused))
        focused->clearFocus();
    else
        focused = nullptr;
    for (QLineEdit* box : m_page->findChildren<QLineEdit*>())
        box->deselect();
    for (QPlainTextEdit* box : m_page->findChildren<QPlainTextEdit*>()) {
        QTextCursor cursor = box->textCursor();
        cursor.clearSelection();
        box->setTextCursor(cursor);
    }
    return focused;
}

// One page per copy, each the whole invoice page under its copy caption.
bool InvoiceForm::printCopies()
{
    static const std::array<QString, 3> captions{QStringLiteral("Original Copy"), QStringLiteral("Duplicate Copy"),
                                                 QStringLiteral("Receiving Copy")};
    const auto caption = [this](int copy) { lblCopy->setText(captions[copy]); };
    return PrintWidgetPages(m_page, int(captions.size()), caption, InvoiceNumber, PrintsFolder(m_db.folder())).printed;
}

void InvoiceForm::cmdPrint_Click()
{
    if (!readyToSave() || !takeFreeNumber())
        return; // the check has said what is missing; nothing is printed
    QWidget* const focused = takeFocusOff();
    fraDescriptionOfGoods->setVisible(false);
    fraCommandButton->setVisible(false);
    copyPrintSubstitutes();
    showSelectionBoxes(false);
    const bool printed = printCopies(); // a failure has been told; the invoice stays pending, unsaved
    showSelectionBoxes(true);
    fraDescriptionOfGoods->setVisible(true);
    fraCommandButton->setVisible(true);
    // The operator's place is kept; coming back is not the operator's move.
    if (focused && focused->isEnabled() && focused->isVisibleTo(this))
        focused->setFocus(Qt::ActiveWindowFocusReason);
    if (printed)
        cmdPrint->setEnabled(false);
    if (printed) {
        const QString destroy =
            QStringLiteral("\nThe printed copies carry invoice number %1, which is not saved: destroy them, and "
                           "print the invoice again.")
                .arg(InvoiceNumber);
        if (!storeInvoice(Renumber::Refused, destroy))
            cmdPrint->setEnabled(true);
    }
}

void InvoiceForm::cmdInvoiceReport_Click()
{
    report::ReportRows rows;
    const bool read = Guarded<DataError>([&] { rows = InvoiceReportRows(LoadAllInvoices(m_db), LoadFirstCompanyPayment(m_db).upiId); });
    if (!read || rows.empty())
        return; // no invoice saved yet: nothing to open, nothing to say
    // The invoice on screen when it is saved, else the last one saved.
    int startRow = int(rows.size()) - 1;
    for (int i = 0; i < int(rows.size()); ++i)
        if (!m_pending && rows[i].value(QStringLiteral("InvoiceNo")).toString() == txtInvoiceNo->text())
            startRow = i;
    auto* window = ReportWindow::Open(this, rptInvoice(), std::move(rows), PrintsFolder(m_db.folder()), startRow);
    window->setObjectName(QStringLiteral("rptInvoice"));
}

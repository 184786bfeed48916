// A barcode scanned into an invoice form: the item's line added with a
// quantity of 1, or one more on its line; and the warning when the lines
// take an item to or below its reorder level.
#include "invoice/invoiceform.h"

#include "data/dataerror.h"
#include "platform/money.h"
#include "platform/textnum.h"
#include "sales/barcodes.h"
#include "sales/countersettings.h"
#include "sales/reorderlevel.h"
#include "ui/formboxes.h"
#include "ui/guard.h"
#include "ui/message.h"
#include "ui/scancatcher.h"
#include "ui/statusnote.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>

using namespace zelva;

void InvoiceForm::watchScans()
{
    // The setting is read at each scan: Company Details may change it while the form is open.
    const auto anywhere = [this] {
        bool on = false;
        Guarded<DataError>([&] {
            on = (m_companyKeys.empty() ? LoadFirstCompanyCounterSettings(m_db)
                                        : LoadCounterSettings(m_db, datCompany.value(QStringLiteral("sno")).toLongLong()))
                     .scanAnywhere;
        });
        return on;
    };
    m_scans = new ScanCatcher(this, cboDescriptionOfGoods, [this](const QString& code) { return codeScanned(code); },
                              anywhere);
}

bool InvoiceForm::codeScanned(const QString& code)
{
    if (!m_pending) {
        StatusNote(QStringLiteral("No invoice is open: the scan of %1 was ignored. Press New Invoice first.").arg(code));
        return true;
    }
    if (const QString misread = BarcodeRefusal(code); !misread.isEmpty()) {
        MsgBox(misread + QStringLiteral(" Nothing is added: scan it again."));
        return true;
    }
    Guarded<DataError>([&] {
        std::optional<LineItem> item = LoadLineItemOfBarcode(m_db, code);
        int index = item ? listIndexOfItem(item->itemCode) : -1;
        if (item && index < 0) { // an item added since New Invoice (the stock form, another counter)
            SetItemDatabase();
            index = listIndexOfItem(item->itemCode);
        }
        if (index < 0) {
            MsgBox(QStringLiteral("No item has the barcode \"%1\": nothing is added.").arg(code));
            return;
        }
        for (size_t line = 0; line < m_lines.size(); ++line)
            if (m_lines[line].itemCode == item->itemCode) {
                addOneMore(FirstGoodsRow + int(line), *item);
                return;
            }
        if (LineCount >= LastGoodsRow) {
            MsgBox(QStringLiteral("The invoice is full: it holds %1 lines. The scan of \"%2\" is not added; start a "
                                  "new invoice for it.")
                       .arg(GoodsRows)
                       .arg(code));
            return;
        }
        cboDescriptionOfGoods->setCurrentIndex(index);
        pickGoods(index, std::move(item));
        txtQuantity[EntryRow]->setText(QStringLiteral("1"));
        cmdAdd_Click();
    });
    return true;
}

// The goods list's entry of an item, by an index made once for each filling of the list.
int InvoiceForm::listIndexOfItem(const QString& itemCode)
{
    if (m_indexedFilling != m_itemListFillings) {
        m_listIndexOfItem.clear();
        m_listIndexOfItem.reserve(m_itemCodes.size());
        for (int i = 0; i < int(m_itemCodes.size()); ++i)
            m_listIndexOfItem.insert(m_itemCodes[i], i);
        m_indexedFilling = m_itemListFillings;
    }
    return m_listIndexOfItem.value(itemCode, -1);
}

void InvoiceForm::addOneMore(int row, const LineItem& item)
{
    InvoiceLine& line = m_lines[size_t(row - FirstGoodsRow)];
    const double quantity = line.quantity + 1;
    if (!WithinAmountLimit(quantity * line.rate)) {
        MsgBox(AmountTooLarge(QStringLiteral("The amount of line %1").arg(row)));
        return;
    }
    line.quantity = quantity;
    line.amount = zelva::LineAmount(quantity, line.rate);
    txtQuantity[row]->setText(Str(quantity));
    txtAmount[row]->setText(BoxAmountText(line.amount));
    m_scroll->ensureWidgetVisible(txtAmount[row]);
    warnOfReorderLevel(item);
    RefreshTotals();
}

void InvoiceForm::warnOfReorderLevel(const LineItem& item)
{
    double taken = 0;
    for (const InvoiceLine& line : m_lines)
        if (line.itemCode == item.itemCode)
            taken += line.quantity;
    if (const QString warning = ReorderWarning(item.name, item.onHand.value_or(0) - taken, item.reorderLevel); !warning.isEmpty())
        MsgBox(warning);
}

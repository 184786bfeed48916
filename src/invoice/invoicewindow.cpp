// The window around an invoice page: the page scrolls beside the buttons, the
// goods entry row stays beneath both; the handlers and the keyboard paths.
#include "invoice/invoiceform.h"

#include "invoice/invoicepageparts.h"
#include "ui/formboxes.h"
#include "ui/formhooks.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

using namespace zelva;

// The whole width of the page, and a height that leaves room in a 1280x800
// main window for its menu, toolbar and status bar; the page scrolls.
QSize InvoiceForm::sizeHint() const
{
    constexpr int OpeningHeight = 660;
    const int pageArea
        = m_page->width() + m_scroll->verticalScrollBar()->sizeHint().width() + 2 * m_scroll->frameWidth();
    const auto* grid = static_cast<QGridLayout*>(layout());
    const QMargins margins = grid->contentsMargins();
    const int pageAndButtons = margins.left() + pageArea + grid->horizontalSpacing()
        + fraCommandButton->sizeHint().width() + margins.right();
    return {std::max(QWidget::sizeHint().width(), pageAndButtons), OpeningHeight};
}

// The page scrolls beside the buttons; the entry row stays beneath both.
void InvoiceForm::buildWindow()
{
    buildPage();
    buildEntryRow();
    buildCommandButtons();
    buildTransport();

    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_page);
    m_scroll->setAlignment(Qt::AlignHCenter);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_scroll, 0, 0);
    layout->addWidget(fraCommandButton, 0, 1, Qt::AlignTop);
    layout->addWidget(fraDescriptionOfGoods, 1, 0, 1, 2);
    layout->addWidget(fraTransport, 2, 0, 1, 2);
    layout->setRowStretch(0, 1);
    layout->setColumnStretch(0, 1);
    resize(sizeHint());
}

void InvoiceForm::buildEntryRow()
{
    fraDescriptionOfGoods = Named(new QGroupBox(this), QStringLiteral("fraDescriptionOfGoods"));
    auto* grid = new QGridLayout(fraDescriptionOfGoods);
    const QStringList captions{QStringLiteral("S.No."),      QStringLiteral("Description of Goods"),
                               QStringLiteral("HSN/ SAC"),   QStringLiteral("Quantity"),
                               QStringLiteral("Rate (Rs.)"), QStringLiteral("per"),
                               QStringLiteral("Amount"),     QStringLiteral("GST %")};
    for (int c = 0; c < captions.size(); ++c)
        grid->addWidget(new QLabel(captions[c], fraDescriptionOfGoods), 0, c);

    auto entry = [&](Row& array, const char* stem, bool readOnly) {
        auto* box = Named(new QLineEdit(fraDescriptionOfGoods), QStringLiteral("%1_0").arg(QLatin1String(stem)));
        box->setReadOnly(readOnly);
        array[EntryRow] = box;
        return box;
    };
    entry(txtSNo, "txtSNo", true)->setMaximumWidth(50);
    cboDescriptionOfGoods = Named(new QComboBox(fraDescriptionOfGoods), QStringLiteral("cboDescriptionOfGoods"));
    MakeLongList(cboDescriptionOfGoods);
    cboHsn = Named(new QComboBox(fraDescriptionOfGoods), QStringLiteral("cboHsn"));
    MakeTypable(cboHsn);
    MakeLongList(cboHsn);
    cboHsn->setMinimumContentsLength(8);
    entry(txtQuantity, "txtQuantity", false);
    entry(txtRate, "txtRate", false);
    cboPer = Named(new QComboBox(fraDescriptionOfGoods), QStringLiteral("cboPer"));
    MakeTypable(cboPer);
    cboPer->addItem(QStringLiteral("Nos."));
    cboPer->setCurrentIndex(-1);
    cboPer->lineEdit()->setMaxLength(LongestPer);
    entry(txtAmount, "txtAmount", true); // always quantity times rate
    cboLineGst = Named(new QComboBox(fraDescriptionOfGoods), QStringLiteral("cboLineGst"));
    cboLineGst->setToolTip(QStringLiteral("The line's GST rate: its item's, or another in force on the invoice's date"));
    cboLineGst->setMinimumContentsLength(5);
    cboLineGst->addItem(QString());
    cmdAdd = Named(new QPushButton(QStringLiteral("Add"), fraDescriptionOfGoods), QStringLiteral("cmdAdd"));
    cmdAdd->setToolTip(QStringLiteral("Add Items"));
    cmdAdd->setAutoDefault(true); // Enter presses it

    const std::array<QWidget*, 9> row{txtSNo[EntryRow], cboDescriptionOfGoods, cboHsn, txtQuantity[EntryRow],
                                      txtRate[EntryRow], cboPer, txtAmount[EntryRow], cboLineGst, cmdAdd};
    for (int c = 0; c < int(row.size()); ++c)
        grid->addWidget(row[c], 1, c);
    grid->setColumnStretch(1, 4);
    grid->setColumnStretch(2, 1);
}

void InvoiceForm::buildCommandButtons()
{
    fraCommandButton = Named(new QGroupBox(this), QStringLiteral("fraCommandButton"));
    auto* column = new QVBoxLayout(fraCommandButton);
    auto button = [&](const char* name, const char* caption, const char* tip) {
        auto* b = Named(new QPushButton(QString::fromLatin1(caption), fraCommandButton), QString::fromLatin1(name));
        b->setToolTip(QString::fromLatin1(tip));
        b->setAutoDefault(true); // Enter presses the button that has the focus
        column->addWidget(b);
        return b;
    };
    cmdNewInvoice = button("cmdNewInvoice", "&New Invoice", "Create a New Invoice");
    cmdSave = button("cmdSave", "&Save", "Save the Invoice");
    cmdCancel = button("cmdCancel", "Cance&l", "Cancel New Member");
    cmdPrint = button("cmdPrint", "&Print", "Print and Save Invoice");
    cmdInvoiceReport = button("cmdInvoiceReport", "Print Invoice", "");
    cmdClose = button("cmdClose", "&Close", "Close Curent Window");
    buildPaidNow(column);
}

void InvoiceForm::connectHandlers()
{
    connect(cmdNewInvoice, &QPushButton::clicked, this, &InvoiceForm::cmdNewInvoice_Click);
    connect(cmdSave, &QPushButton::clicked, this, &InvoiceForm::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &InvoiceForm::cmdCancel_Click);
    connect(cmdClose, &QPushButton::clicked, this, &InvoiceForm::cmdClose_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &InvoiceForm::cmdAdd_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &InvoiceForm::cmdPrint_Click);
    connect(cmdInvoiceReport, &QPushButton::clicked, this, &InvoiceForm::cmdInvoiceReport_Click);
    connect(cboDescriptionOfGoods, &QComboBox::activated, this, &InvoiceForm::cboDescriptionOfGoods_Click);
    connect(cboCompany, &QComboBox::activated, this, &InvoiceForm::cboCompany_Click);
    connect(cboBuyerName, &QComboBox::activated, this, &InvoiceForm::cboBuyerName_Click);
    connect(cboBuyerNameD, &QComboBox::activated, this, &InvoiceForm::cboBuyerNameD_Click);
    connect(cboGoodsCgst, &QComboBox::activated, this, &InvoiceForm::cboGoodsCgst_Click);
    connect(cboOthers1Cgst, &QComboBox::activated, this, &InvoiceForm::cboOthers1Cgst_Click);
    connect(cboOthers2Cgst, &QComboBox::activated, this, &InvoiceForm::cboOthers2Cgst_Click);
    // a late entry's rates are those in force on its own date
    connect(txtInvoiceDate, &QLineEdit::editingFinished, this, &InvoiceForm::offerRatesOfDate);
    // the tax of an extra charge follows its amount, and the totals follow both
    for (int row : {Others1Row, Others2Row, ShortExcessRow})
        connect(txtAmount[row], &QLineEdit::textEdited, this, &InvoiceForm::RefreshTotals);
}

// ---------------------------------------------------------------- keyboard

// The fields in working order. Qt's own tab chain loses its way around the
// editable lists, so Tab follows this list itself (focusNextPrevChild). Most
// invoices travel without transport details: they follow the totals (and
// the frame's access key reaches them at once).
void InvoiceForm::setTabOrders()
{
    m_tabChain = {cboBuyerName, txtInvoiceDate, txtOrderNo, txtOrderDate, txtSuppliersRef,
                  txtDispatchedThrough, cboBuyerNameD, txtBuyerAddressD, txtBuyerDistD,
                  txtBuyerStateD, txtBuyerPinD, cboDescriptionOfGoods, cboHsn, txtQuantity[EntryRow],
                  txtRate[EntryRow], cboPer, txtAmount[EntryRow], cboLineGst, cmdAdd, cboGoodsCgst, cboOthers1,
                  cboOthers1Hsn, txtRate[Others1Row], txtPer[Others1Row], txtAmount[Others1Row], cboOthers1Cgst,
                  cboOthers2, cboOthers2Hsn, txtRate[Others2Row], txtPer[Others2Row], txtAmount[Others2Row],
                  cboOthers2Cgst, txtShortExcess, txtAmount[ShortExcessRow], txtTotalAmount, cboTransMode,
                  txtDistanceKm, txtVehicleNo, txtTransporterId, txtTransporterName, txtTransDocNo, txtTransDocDate,
                  cmdNewInvoice, cmdSave, cmdCancel, cmdPrint, cmdInvoiceReport, cmdClose};
}

bool InvoiceForm::focusNextPrevChild(bool next)
{
    QWidget* current = focusWidget();
    const auto at = std::find_if(m_tabChain.begin(), m_tabChain.end(),
                                 [&](QWidget* w) { return w == current || w->isAncestorOf(current); });
    if (!current || at == m_tabChain.end())
        return QWidget::focusNextPrevChild(next);
    const int count = int(m_tabChain.size());
    const int start = int(at - m_tabChain.begin());
    for (int step = 1; step < count; ++step) {
        QWidget* candidate = m_tabChain[(start + (next ? step : count - step)) % count];
        if (!candidate->isEnabled() || !candidate->isVisibleTo(this) || !(candidate->focusPolicy() & Qt::TabFocus))
            continue;
        candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

// The page scrolls to whatever box takes the focus, by Tab or because a
// handler moved it there (New Invoice to the buyer list, the buyer to the
// order number, a refused Save to the entry it asks for).
void InvoiceForm::scrollToFocus(QWidget* focused)
{
    if (focused && m_page->isAncestorOf(focused))
        m_scroll->ensureWidgetVisible(focused);
}

void InvoiceForm::watchFocus()
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { scrollToFocus(now); });
    for (QLineEdit* amount : txtAmount)
        if (amount)
            amount->installEventFilter(this);
    txtShortExcess->installEventFilter(this);
    txtTotalAmount->installEventFilter(this);
    txtTotalGoodsAmount->installEventFilter(this);
}

// A goods line is entered with Enter alone: from the goods list to the
// quantity, on to the rate and to Add, which Enter then presses.
void InvoiceForm::watchEnter()
{
    const std::array<std::pair<QWidget*, QWidget*>, 6> moves{{{cboDescriptionOfGoods, txtQuantity[EntryRow]},
                                                              {cboHsn, txtQuantity[EntryRow]},
                                                              {txtQuantity[EntryRow], txtRate[EntryRow]},
                                                              {txtRate[EntryRow], cmdAdd},
                                                              {cboPer, cmdAdd},
                                                              {txtAmount[EntryRow], cmdAdd}}};
    for (auto [from, to] : moves) {
        m_enterGoesTo.insert(from, to);
        from->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(from); combo && combo->lineEdit()) {
            m_enterGoesTo.insert(combo->lineEdit(), to);
            combo->lineEdit()->installEventFilter(this);
        }
    }
}

// A list takes the mouse wheel only while it has the focus: the page is
// scrolled with the wheel, and a list passing under the pointer must not
// change the buyer, the goods or a tax rate unseen. Over the page the wheel
// scrolls the page instead.
void InvoiceForm::watchWheel()
{
    for (QComboBox* combo : findChildren<QComboBox*>()) {
        combo->setFocusPolicy(Qt::StrongFocus);
        combo->installEventFilter(this);
    }
}

// The arrow keys walk the buyer, delivery, goods and rate lists without
// picking; Enter or Tab picks. Installed last, so it sees a key before the
// form's own Enter path (goods list to quantity) moves on.
void InvoiceForm::watchListKeys()
{
    for (QComboBox* list :
         {cboBuyerName, cboBuyerNameD, cboDescriptionOfGoods, cboGoodsCgst, cboOthers1Cgst, cboOthers2Cgst})
        PickOnEnterOrTab(list);
}

bool InvoiceForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        auto* combo = qobject_cast<QComboBox*>(watched);
        if (combo && !combo->hasFocus()) {
            if (m_page->isAncestorOf(combo))
                QCoreApplication::sendEvent(m_scroll->verticalScrollBar(), event);
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && m_enterGoesTo.contains(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_enterGoesTo.value(watched)->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress && watched == txtTotalGoodsAmount) {
        txtTotalGoodsAmount_Click();
    } else if (event->type() == QEvent::FocusIn) {
        // Focus coming back after a message box is not the operator's move.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return QWidget::eventFilter(watched, event);
        if (watched == txtShortExcess) {
            txtShortExcess_GotFocus();
        } else if (watched == txtTotalAmount) {
            txtTotalAmount_GotFocus();
        } else {
            for (int i = 0; i <= GridRows; ++i)
                if (watched == txtAmount[i])
                    txtAmount_GotFocus(i);
        }
    }
    return QWidget::eventFilter(watched, event);
}

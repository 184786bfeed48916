#include "shell/frmLogin.h"

#include "data/audittrail.h"
#include "data/dataerror.h"
#include "shell/frmZelvaBillingSystem.h"
#include "shell/icons.h"
#include "shell/module1.h"
#include "shell/operators.h"
#include "ui/guard.h"
#include "ui/message.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
const QString LoginTitle = QStringLiteral("Login");
}

frmLogin::frmLogin(zelva::Database& db, QWidget* parent)
    : QDialog(parent)
    , datLogin(db)
    , Image1(new QLabel(this))
    , lblTitle(new QLabel(QStringLiteral("Zelva Billing System"), this))
    , lblNotice(new QLabel(this))
    , Frame1(new QGroupBox(this))
    , lblLabels { new QLabel(QStringLiteral("&User Name:"), Frame1), new QLabel(QStringLiteral("&Password:"), Frame1) }
    , txtUserName(new QLineEdit(Frame1))
    , txtPassword(new QLineEdit(Frame1))
    , lblConfirmPassword(new QLabel(QStringLiteral("Password &again:"), Frame1))
    , txtConfirmPassword(new QLineEdit(Frame1))
    , cmdOK(new QPushButton(QStringLiteral("&OK"), this))
    , cmdCancel(new QPushButton(QStringLiteral("&Cancel"), this))
    , m_db(db)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(LoginTitle);
    setWindowIcon(zelva::ProgramIcon());
    Image1->setObjectName(QStringLiteral("Image1"));
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lblLabels[0]->setObjectName(QStringLiteral("lblLabels_0"));
    lblLabels[1]->setObjectName(QStringLiteral("lblLabels_1"));
    txtUserName->setObjectName(QStringLiteral("txtUserName"));
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    lblConfirmPassword->setObjectName(QStringLiteral("lblConfirmPassword"));
    txtConfirmPassword->setObjectName(QStringLiteral("txtConfirmPassword"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    Image1->setPixmap(zelva::ProgramIcon().pixmap(48, 48));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblNotice->setWordWrap(true);
    lblNotice->setTextInteractionFlags(Qt::TextSelectableByMouse); // the command in it can be copied

    for (QLineEdit* password : { txtPassword, txtConfirmPassword }) {
        password->setEchoMode(QLineEdit::Password);
        password->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*" for each character
    }
    lblNotice->setTextFormat(Qt::PlainText);
    lblLabels[0]->setBuddy(txtUserName);
    lblLabels[1]->setBuddy(txtPassword);
    lblConfirmPassword->setBuddy(txtConfirmPassword);
    cmdOK->setDefault(true);
    cmdCancel->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogin::cmdCancel_Click);
    Frame1->installEventFilter(this);

    auto* heading = new QHBoxLayout;
    heading->addWidget(Image1);
    heading->addWidget(lblTitle, 1);
    auto* grid = new QGridLayout(Frame1);
    grid->addWidget(lblLabels[0], 0, 0);
    grid->addWidget(txtUserName, 0, 1);
    grid->addWidget(lblLabels[1], 1, 0);
    grid->addWidget(txtPassword, 1, 1);
    grid->addWidget(lblConfirmPassword, 2, 0);
    grid->addWidget(txtConfirmPassword, 2, 1);
    grid->setColumnMinimumWidth(1, 220);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(lblNotice);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(txtUserName, txtPassword);
    setTabOrder(txtPassword, txtConfirmPassword);
    setTabOrder(txtConfirmPassword, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    ShowLoginTableState();
}

frmLogin::~frmLogin() = default;

void frmLogin::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    txtUserName->setFocus();
}

bool frmLogin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Frame1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            cmdOK->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// An empty Login table turns the form into the first operator's set-up; a
// table whose records no one can log in with says how to add an operator.
void frmLogin::ShowLoginTableState()
{
    zelva::LoginTable state = zelva::LoginTable::Ready;
    zelva::Guarded<zelva::DataError>([&] { state = zelva::ReadLoginTable(m_db); });
    m_creatingFirstOperator = state == zelva::LoginTable::Empty;
    lblConfirmPassword->setVisible(m_creatingFirstOperator);
    txtConfirmPassword->setVisible(m_creatingFirstOperator);
    switch (state) {
    case zelva::LoginTable::Empty:
        lblNotice->setText(QStringLiteral("No operator has been set up yet. Choose the user name and password of "
                                          "the first operator, type the password twice and press OK."));
        break;
    case zelva::LoginTable::NoUsableOperator:
        // The command names this data folder or server: without it the operator would land in the default one.
        lblNotice->setText(QStringLiteral("No operator of the Login table has a password this program can check. "
                                          "Add one from the command line: zelva %1 \"%2\" --add-operator NAME")
                               .arg(m_db.onServer() ? QStringLiteral("--server") : QStringLiteral("--data-dir"),
                                    m_db.onServer() ? m_db.serverUrl() : QDir::toNativeSeparators(m_db.folder())));
        break;
    case zelva::LoginTable::Ready:
        lblNotice->clear();
        break;
    }
    lblNotice->setVisible(!lblNotice->text().isEmpty());
}

void frmLogin::SetLoginDatabase() { datLogin.bind(zelva::DbFile::Zlv, QStringLiteral("Login")); }

void frmLogin::cmdOK_Click()
{
    if (m_found) // logged in already: the form is hidden for good
        return;
    if (m_creatingFirstOperator) {
        CreateFirstOperator();
        return;
    }
    bool found = false;
    const bool readable = zelva::Guarded<zelva::DataError>([&] { found = FindOperator(); });
    if (found) {
        hide();
        m_found = true;
        ShowMainWindow();
        return;
    }
    if (readable)
        zelva::MsgBox(QStringLiteral("Invalid Password, try again!"), LoginTitle);
    txtPassword->setFocus();
}

// Scans the Login table afresh, so an operator added while the form is open is found.
bool frmLogin::FindOperator()
{
    SetLoginDatabase();
    m_userName = txtUserName->text();
    m_password = txtPassword->text();
    datLogin.requery();
    for (datLogin.moveFirst(); !datLogin.eof(); datLogin.moveNext()) {
        if (zelva::RecordAdmits(datLogin.value(QStringLiteral("username")), datLogin.value(QStringLiteral("Password")),
                m_userName, m_password))
            return true;
    }
    return false;
}

void frmLogin::CreateFirstOperator()
{
    m_userName = txtUserName->text();
    m_password = txtPassword->text();
    const QString refusal = zelva::NewOperatorRefusal(m_userName, m_password);
    if (!refusal.isEmpty()) {
        // When the user name would do with any password, the password is what is missing.
        const bool nameAccepted = zelva::NewOperatorRefusal(m_userName, QStringLiteral("-")).isEmpty();
        refuse(refusal, nameAccepted ? txtPassword : txtUserName);
        return;
    }
    if (txtConfirmPassword->text() != m_password) {
        // Both boxes start afresh: the operator cannot see which one is mistyped.
        txtPassword->clear();
        txtConfirmPassword->clear();
        refuse(QStringLiteral("The two passwords differ; type the password again in both boxes."), txtPassword);
        return;
    }
    QString added;
    if (!zelva::Guarded<zelva::DataError>([&] { added = zelva::AddOperator(m_db, m_userName, m_password, zelva::AddWhen::TableEmpty); }))
        return;
    if (!added.isEmpty()) {
        ShowLoginTableState();
        refuse(added, txtUserName);
        return;
    }
    hide();
    m_found = true;
    ShowMainWindow();
}

void frmLogin::refuse(const QString& text, QLineEdit* focus)
{
    zelva::MsgBox(text, LoginTitle);
    focus->setFocus();
    focus->selectAll();
}

void frmLogin::ShowMainWindow()
{
    m_mainWindow = std::make_unique<frmZelvaBillingSystem>(m_db);
    m_mainWindow->showAsLeft();
    zelva::SetLoggedInUser(m_userName);
    m_mainWindow->panel(2)->setText(zelva::LoggedInUser());
    QString broken;
    zelva::Guarded<zelva::DataError>([&] { broken = zelva::CheckAuditTrailAtLogin(m_db); });
    if (!broken.isEmpty())
        zelva::MsgBox(broken);
}

void frmLogin::cmdCancel_Click()
{
    hide();
    zelva::EndProgram();
}

void frmLogin::reject() { cmdCancel->click(); }

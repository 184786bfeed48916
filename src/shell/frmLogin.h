#pragma once
// The login form, the program's first window: checks the user name and
// password against the Login table and opens the main window. On a data
// folder without any operator it creates the first one instead.
#include "data/database.h"
#include "data/recordsource.h"

#include <QDialog>
#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class frmZelvaBillingSystem;

class frmLogin : public QDialog {
    Q_OBJECT
public:
    explicit frmLogin(zelva::Database& db, QWidget* parent = nullptr);
    ~frmLogin() override;

    // The main window once an operator has logged in; nullptr before.
    frmZelvaBillingSystem* mainWindow() const { return m_mainWindow.get(); }
    // True while the Login table has no record and OK creates the first operator.
    bool creatingFirstOperator() const { return m_creatingFirstOperator; }

    zelva::RecordSource datLogin;
    QLabel* Image1;
    QLabel* lblTitle;
    QLabel* lblNotice;
    QGroupBox* Frame1;
    std::array<QLabel*, 2> lblLabels;
    QLineEdit* txtUserName;
    QLineEdit* txtPassword;
    QLabel* lblConfirmPassword;
    QLineEdit* txtConfirmPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    // Esc and the close box press Cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    // Some desktop themes make a group box take Enter for itself; Enter in
    // the boxes must still press OK.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetLoginDatabase();
    bool FindOperator();
    void CreateFirstOperator();
    void ShowMainWindow();
    void ShowLoginTableState();
    void refuse(const QString& text, QLineEdit* focus);

    zelva::Database& m_db;
    QString m_userName;
    QString m_password;
    bool m_found = false;
    bool m_creatingFirstOperator = false;
    bool m_centred = false;
    std::unique_ptr<frmZelvaBillingSystem> m_mainWindow;
};

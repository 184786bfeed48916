#pragma once
// The About box: the product's title and version, and a Close button.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class frmabout : public QDialog {
    Q_OBJECT
public:
    explicit frmabout(QWidget* parent = nullptr);

    QFrame* Frame1;
    QLabel* Image1;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QPushButton* cmdok;

public slots:
    void cmdok_Click();
    // Esc presses Close.
    void reject() override;
};

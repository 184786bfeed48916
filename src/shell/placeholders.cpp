#include "shell/placeholders.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace zelva {

PlaceholderWindow::PlaceholderWindow(const QString& formName, const QString& caption, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(formName);
    setWindowTitle(caption);
    setMinimumSize(480, 320);
}

PlaceholderDialog::PlaceholderDialog(const QString& formName, const QString& caption, QWidget* parent)
    : QDialog(parent)
    , cmdClose(new QPushButton(QStringLiteral("&Close"), this))
{
    setObjectName(formName);
    setWindowTitle(caption);
    setMinimumSize(360, 200);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QHBoxLayout(this);
    layout->addStretch();
    layout->addWidget(cmdClose, 0, Qt::AlignBottom);
}

} // namespace zelva

#pragma once
// Plain windows for the forms that have no screen of their own yet: a child
// window, or a modal dialog with a Close button, each with the form's caption.
#include <QDialog>
#include <QWidget>

class QPushButton;

namespace zelva {

class PlaceholderWindow : public QWidget {
    Q_OBJECT
public:
    PlaceholderWindow(const QString& formName, const QString& caption, QWidget* parent = nullptr);
};

class PlaceholderDialog : public QDialog {
    Q_OBJECT
public:
    PlaceholderDialog(const QString& formName, const QString& caption, QWidget* parent = nullptr);
    QPushButton* cmdClose;
};

} // namespace zelva

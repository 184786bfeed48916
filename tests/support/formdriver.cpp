#include "support/formdriver.h"

#include "ui/message.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QUuid>

namespace testing {

MessageRecorder::MessageRecorder()
{
    zelva::SetMessageHook([this](const QString& text, const QString& title) {
        m_texts << text;
        m_titles << title;
    });
}

MessageRecorder::~MessageRecorder()
{
    zelva::SetMessageHook({});
}

QStringList MessageRecorder::texts() const { return m_texts; }
QStringList MessageRecorder::titles() const { return m_titles; }

void MessageRecorder::clear()
{
    m_texts.clear();
    m_titles.clear();
}

TempData::TempData()
    : db(zelva::Database::open(dir.path(), 200))
{
}

bool showsAsTyped(const QLabel* label)
{
    return label->textFormat() == Qt::PlainText || !Qt::mightBeRichText(label->text());
}

static void giveFocus(QWidget* widget)
{
    QWidget* window = widget->window();
    if (!window->isVisible())
        window->show();
    QApplication::setActiveWindow(window);
    widget->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}

void focusIn(QWidget* widget)
{
    giveFocus(widget);
}

void focusOut(QWidget* widget)
{
    if (widget->hasFocus())
        widget->clearFocus();
    QApplication::processEvents();
}

void typeInto(QLineEdit* box, const QString& text)
{
    giveFocus(box);
    box->selectAll();
    if (!box->isReadOnly())
        box->del();
    QTest::keyClicks(box, text);
}

void typeInto(QPlainTextEdit* box, const QString& text)
{
    giveFocus(box);
    box->selectAll();
    if (!box->isReadOnly())
        box->textCursor().removeSelectedText();
    QTest::keyClicks(box, text);
}

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
}

bool pick(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    QApplication::processEvents();
    return true;
}

void pickRow(QListWidget* list, int row)
{
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
    QApplication::processEvents();
}

QList<QVariantList> rowsInFile(const QString& dataFolder, zelva::DbFile file, const QString& sql, const QVariantList& values)
{
    const QString name = QUuid::createUuid().toString();
    QList<QVariantList> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dataFolder + QLatin1Char('/') + zelva::RelativePath(file));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            query.prepare(sql);
            for (const QVariant& v : values)
                query.addBindValue(v);
            if (query.exec()) {
                while (query.next()) {
                    QVariantList row;
                    for (int i = 0; i < query.record().count(); ++i)
                        row << query.value(i);
                    rows << row;
                }
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

QVariant valueInFile(const QString& dataFolder, zelva::DbFile file, const QString& sql, const QVariantList& values)
{
    const auto rows = rowsInFile(dataFolder, file, sql, values);
    return rows.isEmpty() || rows.first().isEmpty() ? QVariant() : rows.first().first();
}

} // namespace testing

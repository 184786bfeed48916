// Text <-> number conversions, amounts, dates, times, messages and twips as
// every form uses them.
#include "platform/datetext.h"
#include "platform/message.h"
#include "platform/textnum.h"
#include "platform/twips.h"

#include <QtTest>
#include <limits>

using namespace zelva;

class TextNumTest : public QObject {
    Q_OBJECT
private slots:
    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("whole") << "12" << 12.0;
        QTest::newRow("letters after the number") << "12a" << 12.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("blanks, sign, exponent, tail") << " -3.5e2x" << -350.0;
        QTest::newRow("thousands separator stops it") << "1,000" << 1.0;
        QTest::newRow("plus sign") << "+7.25" << 7.25;
        QTest::newRow("negative point first") << "-.5" << -0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("exponent without digits") << "12e" << 12.0;
        QTest::newRow("exponent with sign") << "5e+3" << 5000.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("lone minus") << "-" << 0.0;
        QTest::newRow("two signs") << "+-5" << 0.0;
        QTest::newRow("blank between sign and digits") << "- 5" << 0.0;
        QTest::newRow("tab and newline before") << "\t\n42" << 42.0;
        QTest::newRow("comma is no decimal point") << "2,5" << 2.0;
        QTest::newRow("not a hexadecimal") << "0x1A" << 0.0;
        QTest::newRow("infinity is no number") << "inf" << 0.0;
        QTest::newRow("too large") << "1e400" << 0.0;
        QTest::newRow("non-ASCII digit stops it") << QString::fromUtf8("1\u0663") << 1.0;
        QTest::newRow("blank inside stops it") << "1 000" << 1.0;
        QTest::newRow("rupee amount") << "1234.56" << 1234.56;
    }
    void val()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(Val(text), expected);
    }

    void valNeverNegativeZero()
    {
        QVERIFY(!std::signbit(Val("-0")));
        QCOMPARE(Str(Val("-0")), QString("0"));
    }

    void str_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("half") << 0.5 << ".5";
        QTest::newRow("negative half") << -0.5 << "-.5";
        QTest::newRow("no trailing zeros") << 1234.5 << "1234.5";
        QTest::newRow("whole") << 42.0 << "42";
        QTest::newRow("negative") << -3.25 << "-3.25";
        QTest::newRow("binary fraction") << 0.1 + 0.2 << ".3";
        QTest::newRow("stored 2.675") << 2.675 << "2.675";
        QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
        QTest::newRow("sixteen digits") << 1234567890123456.0 << "1.23456789012346E+15";
        QTest::newRow("1e15") << 1e15 << "1E+15";
        QTest::newRow("crores") << 1234567890.12 << "1234567890.12";
        QTest::newRow("small") << 0.0001 << ".0001";
        QTest::newRow("smaller") << 0.00001 << "1E-05";
        QTest::newRow("negative smaller") << -0.00001 << "-1E-05";
        QTest::newRow("third") << 1.0 / 3.0 << ".333333333333333";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "0";
    }
    void str()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(Str(value), expected);
    }

    void strAndValRoundTrip()
    {
        for (double v : {0.5, 1234.5, -3.25, 99999.99, 1e-7, 12345678901.25})
            QCOMPARE(Val(Str(v)), v);
    }

    void formatAmount_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2.675 rounds up") << 2.675 << "2.68";
        QTest::newRow("1.005 rounds up") << 1.005 << "1.01";
        QTest::newRow("zero") << 0.0 << ".00";
        QTest::newRow("half") << 0.5 << ".50";
        QTest::newRow("no thousands separator") << 1234.5 << "1234.50";
        QTest::newRow("crores") << 123456789.5 << "123456789.50";
        QTest::newRow("hundred crore") << 1234567890.0 << "1234567890.00";
        QTest::newRow("negative") << -2.675 << "-2.68";
        QTest::newRow("negative below one") << -0.5 << "-.50";
        QTest::newRow("tiny negative is zero") << -0.001 << ".00";
        QTest::newRow("a paisa") << 0.01 << ".01";
        QTest::newRow("half a paisa") << 0.005 << ".01";
        QTest::newRow("below half a paisa") << 0.0049 << ".00";
        QTest::newRow("rounds to one") << 0.995 << "1.00";
        QTest::newRow("carry through nines") << 999.995 << "1000.00";
        QTest::newRow("binary sum") << 0.1 + 0.2 << ".30";
        QTest::newRow("18% of 1234.25") << 1234.25 * 18 / 100 << "222.17";
        QTest::newRow("9% of 111.5") << 111.5 * 9 / 100 << "10.04";
        QTest::newRow("large with paise") << 99999999999.995 << "100000000000.00";
        QTest::newRow("1e15") << 1e15 << "1000000000000000.00";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << ".00";
    }
    void formatAmount()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(FormatAmount(value), expected);
    }

    void roundAmount_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("expected");
        QTest::newRow("2.675") << 2.675 << 2 << 2.68;
        QTest::newRow("1.005") << 1.005 << 2 << 1.01;
        QTest::newRow("negative half away from zero") << -2.5 << 0 << -3.0;
        QTest::newRow("half away from zero") << 2.5 << 0 << 3.0;
        QTest::newRow("already round") << 10.04 << 2 << 10.04;
        QTest::newRow("to tens") << 125.0 << -1 << 130.0;
        QTest::newRow("zero") << 0.0 << 2 << 0.0;
    }
    void roundAmount()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(double, expected);
        QCOMPARE(RoundAmount(value, decimals), expected);
    }

    void roundAmountAgreesWithFormat()
    {
        for (double v : {2.675, 1.005, 0.125, 7.345, 1234.565, -8.015})
            QCOMPARE(FormatAmount(RoundAmount(v)), FormatAmount(v));
    }

    void dateAndTimeTexts()
    {
        const QString sep = DateSeparator();
        QCOMPARE(sep.size(), 1);
        QCOMPARE(DateText(QDate(2026, 12, 5)), QStringList({"05", "12", "2026"}).join(sep));
        QCOMPARE(DateText(QDate(999, 1, 9)), QStringList({"09", "01", "0999"}).join(sep));
        QCOMPARE(DateText(QDate()), QString());
        QCOMPARE(TimeTextHM(QTime(9, 5, 7)), QString("09:05"));
        QCOMPARE(TimeTextHM(QTime(21, 45)), QString("21:45"));
        QCOMPARE(TimeTextHMS(QTime(9, 5, 7)), QString("09:05:07"));
        QCOMPARE(TimeTextHMS(QTime(23, 59, 59)), QString("23:59:59"));
        QCOMPARE(TimeTextHMS(QTime(0, 0, 0)), QString("00:00:00"));
        QCOMPARE(TimeTextHM(QTime()), QString());
    }

    void dateSeparatorOfThisLocale()
    {
        // The tests run in the C locale, which names no separator of its own.
        if (QLocale::system().name() != QLatin1String("C"))
            QSKIP("only the C locale's separator is known here");
        QCOMPARE(DateSeparator(), QString("/"));
    }

    void messagesGoToTheHook()
    {
        QStringList seen;
        SetMessageHook([&](const QString& text, const QString& title) { seen << title + "|" + text; });
        MsgBox("Saved Successfully");
        MsgBox(" Enter Name ", "Stock");
        SetMessageHook({});
        QCOMPARE(seen, QStringList({"Zelva Billing System|Saved Successfully", "Stock| Enter Name "}));
    }

    void twipsToDevice()
    {
        QCOMPARE(TwipsToDevice(1440, 96), 96);
        QCOMPARE(TwipsToDevice(720, 300), 150);
        QCOMPARE(TwipsToDevice(15, 96), 1);
        QCOMPARE(TwipsToDevice(-1440, 72), -72);
        QCOMPARE(TwipsToDevice(0, 600), 0);
    }
};

QTEST_GUILESS_MAIN(TextNumTest)
#include "test_textnum.moc"

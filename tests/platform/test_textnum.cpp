// Text <-> number conversions, amounts, dates, times and twips as
// every form uses them.
#include "platform/datetext.h"
#include "platform/textnum.h"
#include "platform/twips.h"

#include <QtTest>
#include <limits>

using namespace zelva;

namespace {
const double NaN = std::numeric_limits<double>::quiet_NaN();
}

class TextNumTest : public QObject {
    Q_OBJECT
private slots:
    // Val reads the number a text begins with (0 when none); a typed number
    // is the whole text or nothing ("1,000" must not become 1). Neither gives "-0".
    void valAndReadNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("val");
        QTest::addColumn<bool>("taken"); // by ReadNumber, as val
        const auto row = [](const char* name, const QString& text, double val, bool taken) {
            QTest::newRow(name) << text << val << taken;
        };
        row("letters after the number", "12a", 12, false);
        row("no number", "abc", 0, false);
        row("empty", "", 0, false);
        row("only blanks", "   ", 0, false);
        row("blanks around", "  12.5\t", 12.5, true);
        row("point first", ".5", 0.5, true);
        row("exponent", "1e3", 1000, true);
        row("blanks, sign, exponent, tail", " -3.5e2x", -350, false);
        row("plus sign", "+7.25", 7.25, true);
        row("trailing point", "5.", 5, true);
        row("exponent without digits", "12e", 12, false);
        row("lone point", ".", 0, false);
        row("two signs", "+-5", 0, false);
        row("blank between sign and digits", "- 5", 0, false);
        row("blank inside", "1 000", 1, false);
        row("two numbers", "1.2.3", 1.2, false);
        row("comma is no decimal point", "2,5", 2, false);
        row("thousands comma", "1,000", 1, false);
        row("not a hexadecimal", "0x1A", 0, false);
        row("infinity is no number", "inf", 0, false);
        row("too large", "1e400", 0, false);
        row("non-ASCII digit stops it", QString::fromUtf8("1\u0663"), 1, false);
        row("minus zero", "-0", 0, true);
    }
    void valAndReadNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, val);
        QFETCH(bool, taken);
        QCOMPARE(Val(text), val);
        QCOMPARE(std::signbit(Val(text)), std::signbit(val));
        double out = 77;
        QCOMPARE(ReadNumber(text, out), taken);
        QCOMPARE(out, taken ? val : 77.0);
        QCOMPARE(std::signbit(out), false);
    }

    void str_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("half") << 0.5 << ".5";
        QTest::newRow("no trailing zeros") << 1234.5 << "1234.5";
        QTest::newRow("binary fraction") << 0.1 + 0.2 << ".3";
        QTest::newRow("stored 2.675") << 2.675 << "2.675";
        QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
        QTest::newRow("sixteen digits") << 1234567890123456.0 << "1.23456789012346E+15";
        QTest::newRow("1e15") << 1e15 << "1E+15";
        QTest::newRow("crores") << 1234567890.12 << "1234567890.12";
        QTest::newRow("smaller") << -0.00001 << "-1E-05";
        QTest::newRow("third") << 1.0 / 3.0 << ".333333333333333";
        QTest::newRow("not a number") << NaN << "0";
    }
    void str()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(Str(value), expected);
    }

    // RoundAmount gives the number FormatAmount shows.
    void formatAmount_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2.675 rounds up") << 2.675 << "2.68";
        QTest::newRow("1.005 rounds up") << 1.005 << "1.01";
        QTest::newRow("no thousands separator") << 1234.5 << "1234.50";
        QTest::newRow("hundred crore") << 1234567890.0 << "1234567890.00";
        QTest::newRow("negative") << -2.675 << "-2.68";
        QTest::newRow("negative below one") << -0.5 << "-.50";
        QTest::newRow("tiny negative is zero") << -0.001 << ".00";
        QTest::newRow("half a paisa") << 0.005 << ".01";
        QTest::newRow("below half a paisa") << 0.0049 << ".00";
        QTest::newRow("carry through nines") << 999.995 << "1000.00";
        QTest::newRow("binary sum") << 0.1 + 0.2 << ".30";
        QTest::newRow("18% of 1234.25") << 1234.25 * 18 / 100 << "222.17";
        QTest::newRow("9% of 111.5") << 111.5 * 9 / 100 << "10.04";
        QTest::newRow("large with paise") << 99999999999.995 << "100000000000.00";
        QTest::newRow("1e15") << 1e15 << "1000000000000000.00";
        QTest::newRow("not a number") << NaN << ".00";
    }
    void formatAmount()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(FormatAmount(value), expected);
        if (std::isfinite(value))
            QCOMPARE(RoundAmount(value), Val(expected));
    }

    void roundAmountToOtherPlaces()
    {
        QCOMPARE(RoundAmount(2.5, 0), 3.0);
        QCOMPARE(RoundAmount(-2.5, 0), -3.0);
        QCOMPARE(RoundAmount(125.0, -1), 130.0);
    }

    void dateAndTimeTexts()
    {
        const QString sep = DateSeparator();
        if (QLocale::system().name() == QLatin1String("C"))
            QCOMPARE(sep, QString("/")); // a locale that names no separator of its own
        QCOMPARE(DateText(QDate(2026, 12, 5)), QString("05/12/2026").replace("/", sep));
        QCOMPARE(DateText(QDate(999, 1, 9)), QString("09/01/0999").replace("/", sep));
        QCOMPARE(DateText(QDate()), QString());
        QCOMPARE(TimeTextHM(QTime(21, 45, 7)), QString("21:45"));
        QCOMPARE(TimeTextHMS(QTime(9, 5, 7)), QString("09:05:07"));
        QCOMPARE(TimeTextHMS(QTime(0, 0, 0)), QString("00:00:00"));
        QCOMPARE(TimeTextHM(QTime()), QString());

        QCOMPARE(ReadDateText(" 05/12/2026 "), QDate(2026, 12, 5));
        QCOMPARE(ReadDateText("5" + sep + "12" + sep + "2026"), QDate(2026, 12, 5));
        QCOMPARE(ReadDateText("29/02/2028"), QDate(2028, 2, 29));
        for (const char* refused : {"31/02/2026", "29/02/2027", "05/13/2026", "2026-12-05", "05/12/26", "05/12/2026x", ""})
            QVERIFY2(!ReadDateText(refused).isValid(), refused);
    }

    // Kept dates read as the files compare them: any one separator, one-digit
    // parts, blanks around; what names no calendar day is no date.
    void keptDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("day");
        QTest::newRow("as written") << "05/08/2026" << QDate(2026, 8, 5);
        QTest::newRow("dashes, one digit") << "5-8-2026" << QDate(2026, 8, 5);
        QTest::newRow("dots, blanks around") << " 17.11.2026 " << QDate(2026, 11, 17);
        QTest::newRow("leap day") << "29/02/2028" << QDate(2028, 2, 29);
        QTest::newRow("no such day") << "31/02/2026" << QDate();
        QTest::newRow("month 13") << "05/13/2026" << QDate();
        QTest::newRow("year first") << "2026-12-05" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void keptDates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, day);
        QCOMPARE(ReadKeptDate(text), day);
    }

    void twipsToDevice()
    {
        QCOMPARE(TwipsToDevice(1440, 96), 96);
        QCOMPARE(TwipsToDevice(720, 300), 150);
        QCOMPARE(TwipsToDevice(15, 96), 1); // rounded, not cut
        QCOMPARE(TwipsToDevice(-1440, 72), -72);
    }
};

QTEST_GUILESS_MAIN(TextNumTest)
#include "test_textnum.moc"


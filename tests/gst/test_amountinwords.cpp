#include "gst/amountinwords.h"

#include <QtTest>

using zelva::AmountInWords;

class AmountInWordsTest : public QObject {
    Q_OBJECT
private slots:
    void spelled_data()
    {
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("words");
        const struct {
            double amount;
            const char* words;
        } rows[] = {
            {1, "Rupee One Only"},
            {1.01, "Rupee One and One Paise Only"},
            {0.5, "Fifty  Paise Only"},
            {21, "Rupees Twenty One Only"},
            {1000, "Rupees One Thousand  Only"},
            {20000, "Rupees Twenty  Thousand  Only"},
            {250000.75, "Rupees Two lakh Fifty  Thousand  and Seventy Five Paise Only"},
            {1234567.89, "Rupees Twelve lakh Thirty Four Thousand Five Hundred Sixty Seven and Eighty Nine Paise Only"},
            {12345678, "Rupees One Crore Twenty Three lakh Forty Five Thousand Six Hundred Seventy Eight Only"},
            {105.1, "Rupees One Hundred Five and Ten Paise Only"},
            {5.05, "Rupees Five and Five Paise Only"},
            // edges
            {0, " Only"},
            {0.01, "One Paise Only"},
            {1001, "Rupees One Thousand One Only"},
            {500, "Rupees Five Hundred Only"},
            {10.999, "Rupees Ten and Ninety Nine Paise Only"},
            {100000, "Rupees One lakh  Only"},
            {999999999.99,
             "Rupees Ninety Nine Crore Ninety Nine lakh Ninety Nine Thousand Nine Hundred Ninety Nine and Ninety Nine Paise Only"},
            // from 100 crore on, the crores are counted in full words
            {1234567890,
             "Rupees One Hundred Twenty Three Crore Forty Five lakh Sixty Seven Thousand Eight Hundred Ninety Only"},
            {1000000000, "Rupees One Hundred Crore  Only"},
            {12345670000000, "Rupees Twelve lakh Thirty Four Thousand Five Hundred Sixty Seven Crore  Only"},
            // a negative amount
            {-5, "Minus Rupees Five Only"},
            {-0.5, "Minus Fifty  Paise Only"},
        };
        for (const auto& row : rows)
            QTest::newRow(row.words) << row.amount << QString::fromLatin1(row.words);
        // every teen word, as rupees after a hundred and as paise
        const char* teens[] = {"Ten", "Eleven", "Twelve", "Thirteen", "Fourteen", "Fifteen", "Sixteen", "Seventeen",
                               "Eighteen", "Nineteen"};
        for (int i = 0; i < 10; ++i)
            QTest::newRow(teens[i]) << (110 + i + (10 + i) / 100.0)
                                    << QString("Rupees One Hundred %1 and %1 Paise Only").arg(teens[i]);
    }
    void spelled()
    {
        QFETCH(double, amount);
        QFETCH(QString, words);
        QCOMPARE(AmountInWords(amount), words);
    }

    void spellingSteps()
    {
        QCOMPARE(zelva::SpellTens("20"), QString("Twenty "));
        QCOMPARE(zelva::SpellTens("07"), QString("Seven"));
        QCOMPARE(zelva::SpellTens("00"), QString());
        QCOMPARE(zelva::SpellHundreds("120"), QString("One Hundred Twenty"));
        QCOMPARE(zelva::SpellHundreds("000"), QString());
        QCOMPARE(zelva::SpellDigit("0"), QString());
    }
};

QTEST_GUILESS_MAIN(AmountInWordsTest)
#include "test_amountinwords.moc"

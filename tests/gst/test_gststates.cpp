#include "gst/gststates.h"

#include <QtTest>

using namespace zelva;

class GstStatesTest : public QObject {
    Q_OBJECT
private slots:
    // Known numbers pass (case and blanks around do not matter); each kind of
    // slip is named. 29AAACI1681G1ZM is printed in places as an example, but
    // its check character is wrong: the rule gives L.
    void gstinCheck_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QStringList>("problemStarts"); // empty: valid

        QTest::newRow("published example") << "27AAPFU0939F1ZV" << true << QStringList {};
        QTest::newRow("lower case, blanks around") << " 27aapfu0939f1zv " << true << QStringList {};
        QTest::newRow("Tamil Nadu") << "33ARUNT1234A1Z2" << true << QStringList {};
        QTest::newRow("Puducherry, check letter O") << "34PONDY5678B1ZO" << true << QStringList {};
        QTest::newRow("entity number 2") << "07BHARA4321K2ZO" << true << QStringList {};
        QTest::newRow("N.A.") << "N.A." << false << QStringList {};
        QTest::newRow("blank") << "   " << false << QStringList {};
        QTest::newRow("wrong check character") << "29AAACI1681G1ZM" << true
                                               << QStringList { "The check character (the last one) does not fit the "
                                                                "others: it should be \"L\"" };
        QTest::newRow("two digits swapped") << "27AAPFU0993F1ZV" << true << QStringList { "The check character" };
        QTest::newRow("one character short") << "27AAPFU0939F1Z" << true << QStringList { "A GSTIN has 15 characters" };
        QTest::newRow("blank inside") << "27AAPFU 0939F1ZV" << true << QStringList { "A GSTIN has 15 characters" };
        // the check character fits, so only the prefix is wrong
        QTest::newRow("no such State code") << "40AAPFU0939F1Z" + QString(GstinCheckCharacter("40AAPFU0939F1Z")) << true
                                            << QStringList { "It must begin with the two-digit code" };
        QTest::newRow("digit in the PAN letters") << "27AAPF10939F1Z" + QString(GstinCheckCharacter("27AAPF10939F1Z"))
                                                  << true << QStringList { "Characters 3 to 12 must be a PAN" };
        QTest::newRow("entity number 0") << "27AAPFU0939F0Z" + QString(GstinCheckCharacter("27AAPFU0939F0Z")) << true
                                         << QStringList { "The 13th character" };
        QTest::newRow("Y for Z") << "27AAPFU0939F1YX" << true << QStringList { "The 14th character must be Z" };
        QTest::newRow("letter O for zero, check wrong")
            << "27AAPFUO939F1ZV" << true << QStringList { "Characters 3 to 12", "The check character" };
        QTest::newRow("not a letter or digit") << "27AAPFU0939F1Z-" << true << QStringList { "The check character" };
        QTest::newRow("symbol among the first fourteen")
            << "27AAPFU0939F1#V" << true << QStringList { "The 14th character", "Only digits and letters" };
    }
    void gstinCheck()
    {
        QFETCH(QString, typed);
        QFETCH(bool, present);
        QFETCH(QStringList, problemStarts);
        const GstinCheck check = CheckGstin(typed);
        QCOMPARE(check.present, present);
        QCOMPARE(check.valid(), present && problemStarts.isEmpty());
        QCOMPARE(check.problems.size(), problemStarts.size());
        for (int i = 0; i < problemStarts.size(); ++i)
            QVERIFY2(check.problems[i].startsWith(problemStarts[i]), qPrintable(check.problems[i]));
        QCOMPARE(check.warning().isEmpty(), check.problems.isEmpty());
    }

    // Typed States reach their code however they are written; a code in front
    // must agree with the name; what the list does not know gets a warning.
    void stateMatching_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("code"); // "" when unknown
        const auto row = [](const char* name, const char* typed, const char* code) {
            QTest::newRow(name) << QString(typed) << QString(code);
        };
        row("exact", "Tamil Nadu", "33");
        row("case and blanks", "  tamil   NADU ", "33");
        row("no blank", "TamilNadu", "33");
        row("Orissa", "Orissa", "21");
        row("Odisha", "ODISHA", "21");
        row("Pondicherry", "pondicherry", "34");
        row("Puducherry", "Puducherry", "34");
        row("ampersand", "Jammu & Kashmir", "01");
        row("andaman with dots", "Andaman & Nicobar Is.lands", "35");
        row("merged territory", "Dadra and Nagar Haveli and Daman and Diu", "26");
        row("new Andhra Pradesh", "Andhra Pradesh", "37");
        row("Ladakh", "Ladakh", "38");
        row("Other Territory", "other territory", "97");
        row("code and name", "33-Tamil Nadu", "33");
        row("code alone", "07", "07");
        row("code and name disagree", "33-Kerala", "");
        row("unknown code", "40", "");
        row("three digits", "333", "");
        row("a city", "Bangalore", "");
        row("N.A.", "N.A.", "");
        row("blank", "", "");
    }
    void stateMatching()
    {
        QFETCH(QString, typed);
        QFETCH(QString, code);
        const GstState* state = FindGstState(typed);
        QCOMPARE(state ? state->code : QString(), code);
        QCOMPARE(StateProblem(typed).isEmpty(), !code.isEmpty());
    }

    // Every code is two digits, in order, once; each name finds its own code.
    void stateListIsConsistent()
    {
        QString previous;
        for (const GstState& state : GstStates()) {
            QCOMPARE(state.code.size(), 2);
            QVERIFY(state.code > previous);
            previous = state.code;
            QCOMPARE(FindGstState(state.name), &state);
            QCOMPARE(GstStateOfCode(state.code), &state);
        }
        QCOMPARE(GstStates().front().code, QString("01"));
        QCOMPARE(PlaceOfSupplyText(*GstStateOfCode("97")), QString("97-Other Territory"));
    }
};

QTEST_GUILESS_MAIN(GstStatesTest)
#include "test_gststates.moc"

#pragma once
// The Credit/Debit Note register of a period: every note dated in it, with
// its invoice, buyer, reason and figures, the credit notes and the debit
// notes added up apart, and the net (debits less credits) they make to the
// sales; as CSV text and an Excel sheet. No window: the register's window
// shows these lines.
#include "registers/savednote.h"
#include "registers/xlsxfile.h"

namespace zelva {

struct NoteFigures {
    int notes = 0;
    Paise taxable = 0;
    TaxHeads tax;
    Paise total = 0;
    // adds the note's figures times sign (1, or -1 to take them off)
    void add(const SavedNote& note, int sign = 1);
};

struct NoteRegister {
    Period period;
    std::vector<SavedNote> notes; // in the order they were saved
    NoteFigures credit;
    NoteFigures debit;
    NoteFigures net; // debit notes added, credit notes taken off
};

NoteRegister BuildNoteRegister(const Period& period, std::vector<SavedNote> notes);
// Throws DataError.
NoteRegister LoadNoteRegister(const Database& db, const Period& period);

// The columns' captions, and each note's texts under them (amounts as
// AmountText, unsigned: the Kind column says which way).
QStringList NoteRegisterCaptions();
QStringList NoteRegisterTexts(const SavedNote& note);
// The amounts under the captions from "Taxable Value" on: a note's as kept
// (unsigned), the figures' as added up.
QList<Paise> NoteRegisterAmounts(const SavedNote& note);
QList<Paise> NoteRegisterAmounts(const NoteFigures& figures);
QString NoteRegisterCsv(const NoteRegister& noteRegister);
XlsxSheet NoteRegisterSheet(const NoteRegister& noteRegister);

} // namespace zelva

#include "data/serverdialect.h"

#include "data/schema.h"

#include <QHash>
#include <QSet>
#include <vector>

namespace zelva {

namespace {

struct Token {
    enum class Kind { Word, Space, Other } kind;
    QString text;
};

bool isWordStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

// Words, blanks and the rest; a '...' literal or "..." name is one Other token.
std::vector<Token> tokens(const QString& sql)
{
    std::vector<Token> out;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        qsizetype end = i + 1;
        Token::Kind kind = Token::Kind::Other;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A doubled quote inside stays inside.
            while (end < sql.size() && (sql[end] != c || (end + 1 < sql.size() && sql[end + 1] == c)))
                end += sql[end] == c ? 2 : 1;
            end = std::min(end + 1, sql.size());
        } else if (isWordStart(c)) {
            kind = Token::Kind::Word;
            while (end < sql.size() && isWordChar(sql[end]))
                ++end;
        } else if (c.isSpace()) {
            kind = Token::Kind::Space;
            while (end < sql.size() && sql[end].isSpace())
                ++end;
        } else if (c.isDigit()) {
            while (end < sql.size() && (sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('.')))
                ++end;
        }
        out.push_back({kind, sql.mid(i, end - i)});
        i = end;
    }
    return out;
}

// Every name of the layout: exact spellings, and by lower case the first spelling.
struct Names {
    QSet<QString> exact;
    QHash<QString, QString> byLower;
    void add(const QString& name)
    {
        exact.insert(name);
        if (!byLower.contains(name.toLower()))
            byLower.insert(name.toLower(), name);
    }
};

const Names& knownNames()
{
    static const Names names = [] {
        Names n;
        for (const TableDef& table : AllTables()) {
            n.add(table.name);
            for (const FieldDef& field : table.fields)
                n.add(field.name);
        }
        for (DbFile file : AllDbFiles())
            n.add(SchemaName(file));
        for (const char* name : {"PrintInvoice", "MonthlyReport", "PurchaseRegister", "Sno", "Purchasedd",
                                 "Purchasemm", "Purchaseyy", "SalerAddress", "SalerDist", "SalerState", "SalerPin", "Cancelled"})
            n.add(QLatin1String(name));
        return n;
    }();
    return names;
}

bool allUpper(const QString& word) { return word.size() > 1 && word == word.toUpper(); }

QString quotedName(const QString& word)
{
    const Names& names = knownNames();
    if (names.exact.contains(word))
        return QLatin1Char('"') + word + QLatin1Char('"');
    // An upper-case word that is not a name is a keyword (SELECT, INTEGER).
    const auto found = names.byLower.constFind(word.toLower());
    if (found != names.byLower.constEnd() && !allUpper(word))
        return QLatin1Char('"') + *found + QLatin1Char('"');
    return word;
}

// The index of the next token that is not blank, from i on; size() when none.
size_t nextSolid(const std::vector<Token>& t, size_t i)
{
    while (i < t.size() && t[i].kind == Token::Kind::Space)
        ++i;
    return i;
}

bool isWord(const std::vector<Token>& t, size_t i, const char* word)
{
    return i < t.size() && t[i].kind == Token::Kind::Word && t[i].text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isText(const std::vector<Token>& t, size_t i, const char* text)
{
    return i < t.size() && t[i].text == QLatin1String(text);
}

// Whether the parenthesis at open closes on "AS INTEGER )".
bool castsToInteger(const std::vector<Token>& t, size_t open)
{
    int depth = 0;
    std::vector<size_t> solid; // the last solid tokens seen
    for (size_t i = open; i < t.size(); ++i) {
        if (t[i].kind == Token::Kind::Space)
            continue;
        if (t[i].text == QLatin1String("("))
            ++depth;
        else if (t[i].text == QLatin1String(")") && --depth == 0)
            return solid.size() >= 2 && isWord(t, solid[solid.size() - 2], "AS") && isWord(t, solid.back(), "INTEGER");
        solid.push_back(i);
    }
    return false;
}

} // namespace

QString ServerSql(const QString& sql)
{
    const std::vector<Token> t = tokens(sql);
    QString out;
    enum class Paren { Plain, CastToInteger, OtherCast };
    std::vector<Paren> castParens; // for each open parenthesis: whose it is
    bool afterAs = false;
    for (size_t i = 0; i < t.size(); ++i) {
        const Token& token = t[i];
        if (token.kind == Token::Kind::Space) {
            out += token.text;
            continue;
        }
        const bool alias = afterAs;
        afterAs = false;
        if (token.kind == Token::Kind::Other) {
            if (token.text == QLatin1String("("))
                castParens.push_back(Paren::Plain);
            else if (token.text == QLatin1String(")") && !castParens.empty())
                castParens.pop_back();
            out += token.text;
            continue;
        }
        if (isWord(t, i, "CAST") && isText(t, nextSolid(t, i + 1), "(")) {
            i = nextSolid(t, i + 1);
            const bool toInteger = castsToInteger(t, i);
            out += toInteger ? QStringLiteral("zelva_int(") : token.text + QLatin1Char('(');
            castParens.push_back(toInteger ? Paren::CastToInteger : Paren::OtherCast);
            continue;
        }
        if (isWord(t, i, "AS")) {
            const size_t type = nextSolid(t, i + 1);
            const Paren inside = castParens.empty() ? Paren::Plain : castParens.back();
            if (inside == Paren::CastToInteger && isWord(t, type, "INTEGER") && isText(t, nextSolid(t, type + 1), ")")) {
                while (out.endsWith(QLatin1Char(' ')))
                    out.chop(1);
                i = type;
                continue;
            }
            afterAs = inside == Paren::Plain; // in a CAST, a type follows, not an alias
            out += token.text;
            continue;
        }
        const bool qualifier = !out.isEmpty() && out.back() == QLatin1Char('.');
        if (alias && !qualifier && token.text != token.text.toLower())
            out += QLatin1Char('"') + token.text + QLatin1Char('"');
        else
            out += quotedName(token.text);
    }
    return out;
}

QStringList ServerFunctionsSql()
{
    return {
        // The leading whole number of a text, as CAST(text AS INTEGER) reads it
        // on the files: blanks skipped, a sign allowed, 0 when there is none.
        QStringLiteral("CREATE OR REPLACE FUNCTION \"main\".zelva_int(text) RETURNS bigint LANGUAGE sql IMMUTABLE "
                       "STRICT PARALLEL SAFE AS $$ SELECT coalesce(substring(ltrim($1, E' \\t\\n\\r') FROM "
                       "'^[+-]?[0-9]{1,18}')::bigint, 0) $$"),
        // ROUND(number, places) on a double, as on the files.
        QStringLiteral("CREATE OR REPLACE FUNCTION \"main\".round(double precision, integer) RETURNS double precision "
                       "LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT pg_catalog.round($1::numeric, "
                       "$2)::double precision $$"),
        QStringLiteral("CREATE OR REPLACE FUNCTION \"main\".instr(text, text) RETURNS integer LANGUAGE sql IMMUTABLE "
                       "STRICT PARALLEL SAFE AS $$ SELECT pg_catalog.strpos($1, $2) $$"),
    };
}

} // namespace zelva

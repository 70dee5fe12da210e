#include "KvUnitSource.h"

#include <gtest/gtest.h>

namespace {

// Units written with LF; each case is also run with CRLF, which must come out as CRLF.
const char* const Unit = "unit U;\n"
                         "interface\n"
                         "type\n"
                         "  TF = class(TForm)\n"
                         "    EdPhone: TKvEdit; { end of EdPhone }\n"
                         "    LaA, LaB: TLabel;\n"
                         "    type TInner = class(TObject)\n"
                         "      Hidden: Integer;\n"
                         "      procedure Inner;\n"
                         "    end;\n"
                         "    procedure EdPhoneChange(Sender: TObject);\n"
                         "  private\n"
                         "    FNote: string; // 'end'\n"
                         "  end;\n"
                         "  {$IFDEF DEBUG} TG = class(TFrame) end; {$ENDIF}\n"
                         "implementation\n"
                         "procedure TF.EdPhoneChange(Sender: TObject);\n"
                         "begin\n"
                         "  ShowMessage('end; EdPhoneChange');\n"
                         "end;\n"
                         "end.\n";

struct TRow
{
    const char* Name;
    std::function<QString(const QString&)> Edit;
    QList<std::pair<const char*, const char*>> Replace; // in the unit text, what becomes what
};

QString Crlf(QString Text)
{
    return Text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

TEST(KvUnitSource, EditsChangeOnlyTheirOwnLinesWithEitherLineBreak)
{
    using namespace KvUnitSource;
    const QList<TRow> rows = {
        {"add field", [](const QString& T) { return AddField(T, "TF", "BtOk", "TKvButton"); },
         {{"    LaA, LaB: TLabel;\n", "    LaA, LaB: TLabel;\n    BtOk: TKvButton;\n"}}},
        {"add existing field", [](const QString& T) { return AddField(T, "TF", "edphone", "TKvEdit"); }, {}},
        {"remove field", [](const QString& T) { return RemoveField(T, "TF", "EdPhone"); },
         {{"    EdPhone: TKvEdit; { end of EdPhone }\n", ""}}},
        {"remove one of two", [](const QString& T) { return RemoveField(T, "TF", "LaB"); }, {{"LaA, LaB:", "LaA:"}}},
        {"remove first of two", [](const QString& T) { return RemoveField(T, "TF", "LaA"); }, {{"LaA, LaB:", "LaB:"}}},
        {"remove a nested class's field", [](const QString& T) { return RemoveField(T, "TF", "Hidden"); }, {}},
        {"rename field", [](const QString& T) { return RenameField(T, "TF", "EdPhone", "EdTel"); },
         {{"    EdPhone: TKvEdit;", "    EdTel: TKvEdit;"}}},
        {"rename method", [](const QString& T) { return RenameMethod(T, "TF", "EdPhoneChange", "EdTelChange"); },
         {{"    procedure EdPhoneChange(", "    procedure EdTelChange("},
          {"procedure TF.EdPhoneChange(", "procedure TF.EdTelChange("}}},
        {"add method", [](const QString& T) { return AddMethod(T, "TF", "Go", "Sender: TObject"); },
         {{"    procedure EdPhoneChange(Sender: TObject);\n  private",
           "    procedure EdPhoneChange(Sender: TObject);\n    procedure Go(Sender: TObject);\n  private"},
          {"end;\nend.\n", "end;\n\nprocedure TF.Go(Sender: TObject);\nbegin\n\nend;\n\nend.\n"}}},
    };
    for (const bool crlf : {false, true}) {
        for (const TRow& row : rows) {
            SCOPED_TRACE(std::string(row.Name) + (crlf ? " (CRLF)" : " (LF)"));
            QString expected = QString::fromLatin1(Unit);
            for (const auto& [from, to] : row.Replace) {
                ASSERT_TRUE(expected.contains(QString::fromLatin1(from)));
                expected.replace(QString::fromLatin1(from), QString::fromLatin1(to));
            }
            const QString input = crlf ? Crlf(QString::fromLatin1(Unit)) : QString::fromLatin1(Unit);
            EXPECT_EQ(row.Edit(input), crlf ? Crlf(expected) : expected);
        }
    }
}

TEST(KvUnitSource, ReadsTheClassPastNestedTypesCommentsAndStrings)
{
    using namespace KvUnitSource;
    const QString unit = QString::fromLatin1(Unit);
    EXPECT_EQ(FieldNames(unit, "TF"), QStringList({"EdPhone", "LaA", "LaB"}));
    EXPECT_EQ(FindClassAncestor(unit, "TF"), "TForm"); // not the one inside the directive
    EXPECT_TRUE(MethodExists(unit, "TF", "edphonechange"));
    EXPECT_FALSE(MethodExists(unit, "TF", "Inner")); // the nested class's
    EXPECT_FALSE(MethodExists(unit, "TF", "ShowMessage"));

    // The code of a handler starts inside its body, past local routines and their bodies.
    const QString local = QString(unit).replace(
        "Sender: TObject);\nbegin\n",
        "Sender: TObject);\n  procedure Local;\n  begin\n    try Beep; finally end;\n  end;\nvar I: Integer;\nbegin\n");
    for (const QString& text : {unit, local, Crlf(local)}) {
        const qsizetype at = MethodCodePosition(text, "TF", "EdPhoneChange");
        EXPECT_TRUE(text.mid(at).startsWith("  ShowMessage('end; EdPhoneChange');")) << text.mid(at).toStdString();
    }
    EXPECT_TRUE(unit.mid(MethodCodePosition(QString(unit).remove(unit.indexOf("procedure TF."), 200), "TF", "edphonechange"))
                    .startsWith("    procedure EdPhoneChange(")); // declared only
    EXPECT_EQ(MethodCodePosition(unit, "TF", "Inner"), -1);
}

TEST(KvUnitSource, WhatCannotBeChangedIsRefusedWithTheReason)
{
    using namespace KvUnitSource;
    const QString unit = QString::fromLatin1(Unit);
    const std::pair<const char*, std::function<void()>> refused[] = {
        {"no class", [&] { AddField(unit, "TOther", "A", "TB"); }},
        {"unterminated string", [&] { AddField(QString(unit).replace("PhoneChange')", "PhoneChange)"), "TF", "A", "TB"); }},
        {"name taken by a method", [&] { RenameField(unit, "TF", "EdPhone", "EdPhoneChange"); }},
        {"name taken by a field", [&] { RenameMethod(unit, "TF", "EdPhoneChange", "LaA"); }},
        {"not an identifier", [&] { AddMethod(unit, "TF", "Two words", ""); }},
        {"no final end", [&] { AddMethod(QString(unit).remove("end.\n"), "TF", "Go", ""); }},
    };
    for (const auto& [name, edit] : refused) {
        SCOPED_TRACE(name);
        EXPECT_THROW(edit(), EUnitSourceError);
    }
}

} // namespace

TEST(KvUnitSource, HandlersMatchAnEventByTheKindsAndTypesOfTheirParameters)
{
    const QString Text = QStringLiteral("unit U;\ninterface\ntype\n"
                                        "  TF = class(TForm)\n"
                                        "    procedure Click(Sender: TObject);\n"
                                        "    procedure KeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);\n"
                                        "    procedure OtherKey(Who: TObject; var K: word; S: TShiftState);\n"
                                        "    procedure NotVar(Sender: TObject; Key: Word; Shift: TShiftState);\n"
                                        "    function Ask(Sender: TObject): Boolean;\n"
                                        "    class procedure Shared(Sender: TObject);\n"
                                        "  private\n"
                                        "    procedure Later(Sender: TObject);\n"
                                        "  end;\n"
                                        "implementation\nend.\n");
    const QString F = QStringLiteral("TF");
    EXPECT_EQ(KvUnitSource::MatchingMethods(Text, F, QStringLiteral("Sender: TObject")),
              (QStringList{"Click", "Later"}));
    EXPECT_EQ(KvUnitSource::MatchingMethods(Text, F, QStringLiteral("Sender: TObject; var Key: Word; Shift: TShiftState")),
              (QStringList{"KeyDown", "OtherKey"}));
    EXPECT_EQ(KvUnitSource::MatchingMethods(Text, F, QStringLiteral("Sender: TObject"), QStringLiteral("Boolean")),
              (QStringList{"Ask"}));
    EXPECT_TRUE(KvUnitSource::MatchingMethods(Text, F, QStringLiteral("Sender: TObject; X, Y: Integer")).isEmpty());
    EXPECT_TRUE(KvUnitSource::MatchingMethods(QStringLiteral("unit U; type TF = class("), F,
                                              QStringLiteral("Sender: TObject"))
                    .isEmpty());
}

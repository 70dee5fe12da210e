#include "KvSetupSettings.h"

#include "KvShortCuts.h"

const QList<TKvShortCutBox>& KvShortCutBoxes()
{
    static const QList<TKvShortCutBox> Boxes{
        {"CBInsert", skInsertRecord},  {"CBEdit", skEditRecord},         {"CBPost", skPostRecord},
        {"CBRefresh", skRefresh},      {"CBDelete", skDeleteRecord},     {"CBFirst", skFirstRecord},
        {"CBLast", skLastRecord},      {"CBNext", skNextRecord},         {"CBPrior", skPriorRecord},
        {"CBAppend", skAppendRecord},  {"CBBtnRelation", skBtnRelation}, {"CBBtnMaint", skBtnMaint},
        {"CBBtnCalendar", skBtnCalendar}, {"CBBtnCalculator", skBtnCalculator},
        {"CBBtnCustom1", skBtnCustom1}, {"CBBtnCustom2", skBtnCustom2}};
    return Boxes;
}

QStringList KvShortCutPickList()
{
    QStringList Texts;
    for (int ShortCut : KvStandardShortCuts())
        Texts << ShortCutToText(ShortCut);
    return Texts;
}

void KvSetShortCutText(TKvPkgSetup* Pkg, TKvSetupShortCut Key, const QString& Text)
{
    Pkg->SetShortCut(Key, quint16(TextToShortCut(Text)));
}

QStringList KvDeleteTypeNames()
{
    return {QStringLiteral("dltNone"), QStringLiteral("dltBoth"), QStringLiteral("dltControls"),
            QStringLiteral("dltGrids")};
}

void KvApplyDataBaseEngine(TKvPkgSetupDataBase& D)
{
    switch (D.DataBaseEngine) {
    case KvSetupTypes::deSystem: {
        const TKvPkgLanguageLocale System = TKvPkgLanguageLocale::System();
        D.DateFormat = System.DateFormat;
        D.DateSeparator = System.DateSeparator;
        D.TimeSeparator = System.TimeSeparator;
        D.NumericDecimalSeparator = System.NumericDecimalSeparator;
        D.QuotedNumber = true;
        D.SQLSyntax = false;
        break;
    }
    case KvSetupTypes::deStandard:
        D.DateFormat = KvSystemDateFormat();
        D.DateSeparator = u'/';
        D.TimeSeparator = u':';
        D.NumericDecimalSeparator = u'.';
        D.QuotedNumber = false;
        D.SQLSyntax = false;
        break;
    default:
        break;
    }
}

QString KvSeparatorText(QChar Separator)
{
    return Separator.isNull() ? QString() : QString(Separator);
}

QChar KvSeparatorOf(const QString& Text)
{
    return Text.isEmpty() ? QChar() : Text.at(0);
}

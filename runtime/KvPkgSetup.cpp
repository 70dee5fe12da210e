#include "KvPkgSetup.h"

#include "KvPkgFormat.h"
#include "KvShortCuts.h"

// Content of the setup format (version 1): the keys (two booleans, i32 delete type, u32 count
// and the 16-bit shortcuts), then the database settings (i32 engine, i32 date format, three
// separators as u16, two booleans, the syntax text).

namespace {

struct TSetupContent : TKvPkgInfo::TContent
{
    TKvPkgSetupKeys Keys;
    TKvPkgSetupDataBase DataBase;
};

void CheckKeys(const TKvPkgSetupKeys& Keys)
{
    if (Keys.DeleteType < 0 || Keys.DeleteType > 3)
        throw EKvPkgError(QStringLiteral("Delete type %1 is not valid (0 to 3)").arg(Keys.DeleteType));
}

void CheckDataBase(const TKvPkgSetupDataBase& D)
{
    if (D.DataBaseEngine < 0 || D.DataBaseEngine > 2)
        throw EKvPkgError(QStringLiteral("Database engine %1 is not valid (0 to 2)").arg(D.DataBaseEngine));
    if (D.DateFormat < 0 || D.DateFormat > 2)
        throw EKvPkgError(QStringLiteral("Date format %1 is not valid (0 to 2)").arg(D.DateFormat));
    for (QChar c : {D.DateSeparator, D.TimeSeparator, D.NumericDecimalSeparator})
        if (c.isLetterOrNumber())
            throw EKvPkgError(QStringLiteral("'%1' cannot separate the parts of a value").arg(c));
}

} // namespace

int KvSystemDateFormat()
{
    return TKvPkgLanguageLocale::System().DateFormat;
}

TKvPkgSetupKeys KvDefaultSetupKeys()
{
    TKvPkgSetupKeys k;
    const char* const Defaults[KvSetupShortCutCount] = {
        "F2", "F3", "F10", "F5", "Ctrl+Del", "Ctrl+Home", "Ctrl+End", "Ctrl+PgDn", "Ctrl+PgUp", "Ctrl+Ins",
        "F4", "F6", "F7", "F8", "F11", "F12"};
    for (int i = 0; i < KvSetupShortCutCount; ++i)
        k.ShortCuts[i] = quint16(TextToShortCut(QLatin1String(Defaults[i])));
    return k;
}

TKvPkgSetup::TKvPkgSetup(TComponent* AOwner) : TKvPkgInfo(AOwner), FKeys(KvDefaultSetupKeys()) {}

TKvPkgSetup::~TKvPkgSetup() = default;

void TKvPkgSetup::SetKeys(const TKvPkgSetupKeys& Value)
{
    CheckKeys(Value);
    if (Value == FKeys)
        return;
    FKeys = Value;
    SetModified(true);
}

void TKvPkgSetup::SetShortCut(TKvSetupShortCut Key, quint16 Value)
{
    TKvPkgSetupKeys keys = FKeys;
    keys.ShortCuts.at(Key) = Value;
    SetKeys(keys);
}

void TKvPkgSetup::SetDataBase(const TKvPkgSetupDataBase& Value)
{
    CheckDataBase(Value);
    if (Value == FDataBase)
        return;
    FDataBase = Value;
    SetModified(true);
}

void TKvPkgSetup::Clear()
{
    SetKeys(KvDefaultSetupKeys());
    SetDataBase(TKvPkgSetupDataBase());
}

std::unique_ptr<TKvPkgInfo::TContent> TKvPkgSetup::ReadContent(TKvPkgReader& R, quint16) const
{
    auto c = std::make_unique<TSetupContent>();
    c->Keys.InsertMode = KvReadBool(R);
    c->Keys.ActionEnter = KvReadBool(R);
    c->Keys.DeleteType = KvReadRange(R, 0, 3, "Delete type");
    const qint64 countAt = R.Position();
    if (R.ReadU32() != KvSetupShortCutCount)
        R.FailAt(QStringLiteral("%1 shortcuts expected").arg(KvSetupShortCutCount), countAt);
    for (quint16& k : c->Keys.ShortCuts)
        k = R.ReadU16();
    TKvPkgSetupDataBase& d = c->DataBase;
    d.DataBaseEngine = KvReadRange(R, 0, 2, "Database engine");
    d.DateFormat = KvReadRange(R, 0, 2, "Date format");
    const qint64 at = R.Position();
    d.DateSeparator = QChar(R.ReadU16());
    d.TimeSeparator = QChar(R.ReadU16());
    d.NumericDecimalSeparator = QChar(R.ReadU16());
    d.QuotedNumber = KvReadBool(R);
    d.SQLSyntax = KvReadBool(R);
    d.SyntaxText = R.ReadString();
    try {
        CheckDataBase(d);
    } catch (const EKvPkgError& e) {
        R.FailAt(e.Message, at);
    }
    return c;
}

void TKvPkgSetup::CommitContent(TContent& Content)
{
    auto& c = static_cast<TSetupContent&>(Content);
    FKeys = c.Keys;
    FDataBase = c.DataBase;
}

void TKvPkgSetup::WriteContent(TKvPkgWriter& W) const
{
    KvWriteBool(W, FKeys.InsertMode);
    KvWriteBool(W, FKeys.ActionEnter);
    W.WriteI32(FKeys.DeleteType);
    W.WriteU32(KvSetupShortCutCount);
    for (quint16 k : FKeys.ShortCuts)
        W.WriteU16(k);
    W.WriteI32(FDataBase.DataBaseEngine);
    W.WriteI32(FDataBase.DateFormat);
    W.WriteU16(FDataBase.DateSeparator.unicode());
    W.WriteU16(FDataBase.TimeSeparator.unicode());
    W.WriteU16(FDataBase.NumericDecimalSeparator.unicode());
    KvWriteBool(W, FDataBase.QuotedNumber);
    KvWriteBool(W, FDataBase.SQLSyntax);
    W.WriteString(FDataBase.SyntaxText);
}

QString KvReadPkgSetupDescription(const QString& FileName)
{
    return KvReadPkgDescription(FileName, QByteArrayLiteral("SETP"));
}

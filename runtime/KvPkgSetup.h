#pragma once

#include "KvPkgLanguage.h"

#include <QChar>

#include <array>

// Setup packages: the shortcut keys of the library's controls and the settings of the database
// syntax its data controls write.

namespace KvSetupTypes {
Q_NAMESPACE
// How the data controls write dates and numbers into statements: with the settings of the
// package, with the system's regional settings and quoted numbers, or in the standard SQL style.
enum TKvDataBaseEngine { deCustom, deSystem, deStandard };
Q_ENUM_NS(TKvDataBaseEngine)
} // namespace KvSetupTypes

// The system's date order as a TKvDateFormat value.
int KvSystemDateFormat();

// The shortcuts, in the order the package keeps them.
enum TKvSetupShortCut {
    skInsertRecord, skEditRecord, skPostRecord, skRefresh, skDeleteRecord, skFirstRecord, skLastRecord,
    skNextRecord, skPriorRecord, skAppendRecord, skBtnRelation, skBtnMaint, skBtnCalendar, skBtnCalculator,
    skBtnCustom1, skBtnCustom2
};
constexpr int KvSetupShortCutCount = 16;

struct TKvPkgSetupKeys
{
    bool InsertMode = true;
    bool ActionEnter = true;
    // 0 dltNone, 1 dltBoth, 2 dltControls, 3 dltGrids.
    int DeleteType = 1;
    // Key plus modifiers as a 16-bit shortcut value; 0 for none.
    std::array<quint16, KvSetupShortCutCount> ShortCuts{};
    bool operator==(const TKvPkgSetupKeys&) const = default;
};

struct TKvPkgSetupDataBase
{
    // TKvDataBaseEngine.
    int DataBaseEngine = 0;
    // TKvDateFormat.
    int DateFormat = 0;
    // A null separator writes the parts of a value without one.
    QChar DateSeparator = u'/';
    QChar TimeSeparator = u':';
    QChar NumericDecimalSeparator = u'.';
    bool QuotedNumber = false;
    bool SQLSyntax = true;
    // Extra clauses the data controls add to the statements they build.
    QString SyntaxText;
    bool operator==(const TKvPkgSetupDataBase&) const = default;
};

class TKvPkgSetup : public TKvPkgInfo
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvPkgSetup(TComponent* AOwner = nullptr);
    ~TKvPkgSetup() override;

    const TKvPkgSetupKeys& Keys() const { return FKeys; }
    // Raises for a delete type outside 0 to 3; nothing changes then.
    void SetKeys(const TKvPkgSetupKeys& Value);
    quint16 ShortCut(TKvSetupShortCut Key) const { return FKeys.ShortCuts.at(Key); }
    void SetShortCut(TKvSetupShortCut Key, quint16 Value);
    const TKvPkgSetupDataBase& DataBase() const { return FDataBase; }
    // Raises for an engine or date format outside 0 to 2 and for a letter or digit as separator.
    void SetDataBase(const TKvPkgSetupDataBase& Value);

    QString DefaultExt() const override { return QStringLiteral("stp"); }
    // Back to the library's default keys and database settings.
    void Clear() override;

protected:
    QByteArray FileTag() const override { return QByteArrayLiteral("SETP"); }
    std::unique_ptr<TContent> ReadContent(TKvPkgReader& Reader, quint16 Version) const override;
    void CommitContent(TContent& Content) override;
    void WriteContent(TKvPkgWriter& Writer) const override;

private:
    TKvPkgSetupKeys FKeys;
    TKvPkgSetupDataBase FDataBase;
};

TKvPkgSetupKeys KvDefaultSetupKeys();
QString KvReadPkgSetupDescription(const QString& FileName);

#pragma once

#include "Classes.h"

#include <QMetaType>
#include <QString>

// Types shared by the library's components: the value kinds of data-aware controls, masks,
// modal results, multi-line text, pens, and references to other components.

namespace KvTypes {
Q_NAMESPACE

// What a control's Value holds; the mask and the variant editors format by it. 5 is the
// logical kind, which no mask serves.
enum TKvDataType : quint8 { dtInteger, dtFloat, dtCurrency, dtString, dtDateTime, dtBoolean, dtMemo };
Q_ENUM_NS(TKvDataType)

// Where a mask takes its decimals and year style from: its own settings, the field it edits,
// or the locale of the language package.
enum TKvMaskTake : quint8 { mtkMask, mtkField, mtkLocale };
Q_ENUM_NS(TKvMaskTake)

// The default and dyLong write four-digit years, dyShort two.
enum TKvDateYear : quint8 { dyDefault, dyShort, dyLong };
Q_ENUM_NS(TKvDateYear)

// A menu item that stands for a window command of the form; the order is the system menu's.
enum TKvMenuItemDefaultAction : quint8 { daNone, daRestore, daMove, daSize, daMinimize, daMaximize, daClose };
Q_ENUM_NS(TKvMenuItemDefaultAction)

// What a data button does to its data source.
enum TKvDbAction : quint8 { dbaNone, dbaFirst, dbaPrior, dbaNext, dbaLast, dbaInsert, dbaDelete, dbaEdit, dbaPost,
                            dbaCancel, dbaRefresh };
Q_ENUM_NS(TKvDbAction)

enum TKvPenStyle : quint8 { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
Q_ENUM_NS(TKvPenStyle)

enum TKvShapeType : quint8 { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
Q_ENUM_NS(TKvShapeType)

enum TKvAlignment : quint8 { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TKvAlignment)

enum TKvOrientation : quint8 { orVertical, orHorizontal };
Q_ENUM_NS(TKvOrientation)

} // namespace KvTypes

using TKvDataType = KvTypes::TKvDataType;
using TKvMaskTake = KvTypes::TKvMaskTake;
using TKvDateYear = KvTypes::TKvDateYear;
using TKvMenuItemDefaultAction = KvTypes::TKvMenuItemDefaultAction;

// Any integer is a modal result; 0 to 19 have names (the buttons' property editor shows them).
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;
constexpr TModalResult mrHelp = 9;

// A text property that may span lines. It is a type of its own so that the designer can give
// such properties their own editor; forms store it as a plain string.
class TKvMultiLine
{
public:
    TKvMultiLine() = default;
    TKvMultiLine(const QString& Value) : FText(Value) {}
    QString Text() const { return FText; }
    bool operator==(const TKvMultiLine& Other) const = default;

private:
    QString FText;
};
Q_DECLARE_METATYPE(TKvMultiLine)

// Registers the conversions form streams and editors use; repeated calls do nothing.
void KvRegisterTypes();

// How an edit control formats and checks its input. Text holds the option letters, then
// optionally ";" and a picture, then ";" and the space character; empty means the data type's
// default mask.
class TKvMask : public TPersistent
{
    Q_OBJECT
    // Stored by the edit that owns the mask, as its own DataType.
    Q_PROPERTY(KvTypes::TKvDataType DataType READ DataType WRITE SetDataType STORED false)
    Q_PROPERTY(KvTypes::TKvMaskTake Take READ Take WRITE SetTake)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(int Decimals READ Decimals WRITE SetDecimals)
    Q_PROPERTY(KvTypes::TKvDateYear YearStyle READ YearStyle WRITE SetYearStyle)
    Q_PROPERTY(QString Text READ Text WRITE SetText)

public:
    static constexpr int MaxSize = 9999999; // what a seven-digit size box can hold
    static constexpr int MaxDecimals = 15;

    Q_INVOKABLE explicit TKvMask(QObject* Owner = nullptr, TKvDataType ADataType = KvTypes::dtString);

    TKvDataType DataType() const { return FDataType; }
    void SetDataType(TKvDataType Value);
    TKvMaskTake Take() const { return FTake; }
    void SetTake(TKvMaskTake Value);
    int Size() const { return FSize; }
    // Raise EConvertError outside 0..MaxSize and 0..MaxDecimals.
    void SetSize(int Value);
    int Decimals() const { return FDecimals; }
    void SetDecimals(int Value);
    TKvDateYear YearStyle() const { return FYearStyle; }
    void SetYearStyle(TKvDateYear Value);
    QString Text() const { return FText; }
    void SetText(const QString& Value);

    // A data-bound edit takes its data type from its field: its mask reports that the type
    // cannot be chosen.
    bool AllowDataType() const { return FAllowDataType; }
    void SetAllowDataType(bool Value) { FAllowDataType = Value; }

    // The option letters of the data type's default mask.
    static QString DefaultOptions(TKvDataType ADataType);
    // Everything but the data-type lock, which belongs to the control.
    void Assign(TPersistent* Source) override;

signals:
    void Changed();

private:
    void DoChanged() { emit Changed(); }

    TKvDataType FDataType;
    TKvMaskTake FTake = KvTypes::mtkMask;
    int FSize = 0;
    int FDecimals = 0;
    TKvDateYear FYearStyle = KvTypes::dyDefault;
    QString FText;
    bool FAllowDataType = true;
};

// The outline of a shape.
class TKvPen : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(KvTypes::TKvPenStyle Style READ Style WRITE SetStyle)

public:
    Q_INVOKABLE explicit TKvPen(QObject* Owner = nullptr);

    // An RGB value 0x00BBGGRR, as colours are stored in forms.
    int Color() const { return FColor; }
    void SetColor(int Value);
    int Width() const { return FWidth; }
    // At least 1.
    void SetWidth(int Value);
    KvTypes::TKvPenStyle Style() const { return FStyle; }
    void SetStyle(KvTypes::TKvPenStyle Value);

    void Assign(TPersistent* Source) override;

signals:
    void Changed();

private:
    int FColor = 0;
    int FWidth = 1;
    KvTypes::TKvPenStyle FStyle = KvTypes::psSolid;
};

// A published reference to a component, possibly of another form: the holder clears it in
// Notification(opRemove) through Removed. A component of the holder's owner needs no free
// notification, as the owner passes its notifications on to all it owns.
template <class T>
class TKvComponentRef
{
public:
    T* Get() const { return FRef; }
    void Set(TComponent* Self, T* Value)
    {
        if (Value == FRef)
            return;
        FRef = Value;
        if (Value && (!Value->Owner() || Value->Owner() != Self->Owner()))
            Value->FreeNotification(Self);
    }
    bool Removed(const TComponent* Component)
    {
        if (!Component || Component != FRef)
            return false;
        FRef = nullptr;
        return true;
    }

private:
    T* FRef = nullptr;
};

// The first name of the form "KvTabSheet1" (class name without its leading T, then a number)
// that no component of Owner carries.
QString KvUniqueComponentName(const TComponent* Owner, const QString& ClassName);

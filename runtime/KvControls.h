#pragma once

#include "Controls.h"
#include "KvReferences.h"
#include "KvTypes.h"
#include "Variants.h"

// The bases of the library's visual controls: every one can take its caption and hint from a
// label of a strings package, its colours and font from sets of the display package, and can
// be restricted by a privilege.

class TKvGraphicControl : public TControl
{
    Q_OBJECT
    Q_PROPERTY(TKvMemoryLabel* MemoryLabel READ MemoryLabel)
    Q_PROPERTY(TKvSetColor* SetColor READ SetColor)
    Q_PROPERTY(TKvSetFont* SetFont READ SetFont)
    Q_PROPERTY(TKvPrivilege* Privilege READ Privilege)

public:
    Q_INVOKABLE explicit TKvGraphicControl(TComponent* AOwner = nullptr);

    TKvMemoryLabel* MemoryLabel() const { return FMemoryLabel; }
    TKvSetColor* SetColor() const { return FSetColor; }
    TKvSetFont* SetFont() const { return FSetFont; }
    TKvPrivilege* Privilege() const { return FPrivilege; }

protected:
    // The default sets are Prefix + "Color" and Prefix + "Font".
    void NameDefaultSets(const QString& Prefix) { KvNameDefaultSets(Prefix, FSetColor, FSetFont, nullptr); }

private:
    TKvMemoryLabel* FMemoryLabel;
    TKvSetColor* FSetColor;
    TKvSetFont* FSetFont;
    TKvPrivilege* FPrivilege;
};

class TKvWinControl : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(TKvMemoryLabel* MemoryLabel READ MemoryLabel)
    Q_PROPERTY(TKvSetColor* SetColor READ SetColor)
    Q_PROPERTY(TKvSetFont* SetFont READ SetFont)
    Q_PROPERTY(TKvSetBackGround* SetBackGround READ SetBackGround)
    Q_PROPERTY(TKvPrivilege* Privilege READ Privilege)

public:
    Q_INVOKABLE explicit TKvWinControl(TComponent* AOwner = nullptr);

    TKvMemoryLabel* MemoryLabel() const { return FMemoryLabel; }
    TKvSetColor* SetColor() const { return FSetColor; }
    TKvSetFont* SetFont() const { return FSetFont; }
    TKvSetBackGround* SetBackGround() const { return FSetBackGround; }
    TKvPrivilege* Privilege() const { return FPrivilege; }

protected:
    // The default sets are Prefix + "Color", Prefix + "Font" and Prefix + "BackGround".
    void NameDefaultSets(const QString& Prefix)
    {
        KvNameDefaultSets(Prefix, FSetColor, FSetFont, FSetBackGround);
    }

private:
    TKvMemoryLabel* FMemoryLabel;
    TKvSetColor* FSetColor;
    TKvSetFont* FSetFont;
    TKvSetBackGround* FSetBackGround;
    TKvPrivilege* FPrivilege;
};

// A control that holds a value of a data type; "{NULL}" and conversions belong to the editors
// and to the display, the control stores the variant as it was given.
class TKvCustomValueControl : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(Variant Value READ GetValue WRITE SetValue)
    Q_PROPERTY(KvTypes::TKvDataType DataType READ GetDataType WRITE SetDataType)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)

public:
    Q_INVOKABLE explicit TKvCustomValueControl(TComponent* AOwner = nullptr);

    virtual Variant GetValue() const { return FValue; }
    virtual void SetValue(const Variant& Value);
    virtual TKvDataType GetDataType() const { return FDataType; }
    virtual void SetDataType(TKvDataType Value) { FDataType = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }

signals:
    void ValueChanged();

private:
    Variant FValue;
    TKvDataType FDataType = KvTypes::dtString;
    bool FReadOnly = false;
};

// A label or caption shown through the control's label reference when it finds its label.
QString KvDisplayCaption(const TKvMemoryLabel* Reference, const QString& Caption);

#pragma once

#include "Classes.h"

#include <QPointer>
#include <QStringList>

// Data access as forms store it: data sets with their field definitions and their persistent
// field objects, and data sources that link data-aware controls to a data set. There is no
// database behind them: the designer needs the names a data set offers, and forms that hold
// them must load as live components and be written back as they were.

class TDataSet;

namespace DB {
Q_NAMESPACE

enum TFieldType {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate,
    ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo,
    ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint, ftADT,
    ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant, ftInterface, ftIDispatch, ftGuid,
    ftTimeStamp, ftFMTBcd, ftFixedWideChar, ftWideMemo, ftOraTimeStamp, ftOraInterval, ftLongWord,
    ftShortint, ftByte, ftExtended, ftConnection, ftParams, ftStream, ftTimeStampOffset, ftObject,
    ftSingle
};
Q_ENUM_NS(TFieldType)
enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
Q_ENUM_NS(TFieldKind)

} // namespace DB
using TFieldType = DB::TFieldType;
using TFieldKind = DB::TFieldKind;

// One column a data set's table or query has.
class TFieldDef : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(DB::TFieldType DataType READ DataType WRITE SetDataType)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)

public:
    Q_INVOKABLE explicit TFieldDef(TCollection* Collection = nullptr);

    QString Name() const { return FName; }
    void SetName(const QString& Value);
    TFieldType DataType() const { return FDataType; }
    void SetDataType(TFieldType Value) { FDataType = Value; }
    int Size() const { return FSize; }
    // Raises EInvalidOperation for a negative size.
    void SetSize(int Value);
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value) { FPrecision = Value; }

    QString GetDisplayName() const override { return FName; }

private:
    QString FName;
    TFieldType FDataType = DB::ftUnknown;
    int FSize = 0;
    int FPrecision = 0;
};

class TFieldDefs : public TCollection
{
    Q_OBJECT

public:
    explicit TFieldDefs(TDataSet* DataSet);

    TFieldDef* Items(int Index) const { return static_cast<TFieldDef*>(TCollection::Items(Index)); }
    TFieldDef* AddFieldDef(const QString& Name, TFieldType DataType, int Size = 0);
    // Case-insensitive, as field names are; none when there is no such definition.
    TFieldDef* Find(const QString& Name) const;
    void GetItemNames(QStringList& List) const;
};

// A persistent field: a component of the form (named after its data set and field) that the
// data set writes as its child.
class TField : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(DB::TFieldKind FieldKind READ FieldKind WRITE SetFieldKind)
    Q_PROPERTY(QString DisplayLabel READ DisplayLabel WRITE SetDisplayLabel)
    Q_PROPERTY(bool Required READ Required WRITE SetRequired)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    Q_INVOKABLE explicit TField(TComponent* AOwner = nullptr);
    ~TField() override;

    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value) { FFieldName = Value; }
    TFieldKind FieldKind() const { return FFieldKind; }
    void SetFieldKind(TFieldKind Value) { FFieldKind = Value; }
    // Empty for the field name.
    QString DisplayLabel() const { return FDisplayLabel; }
    void SetDisplayLabel(const QString& Value) { FDisplayLabel = Value; }
    // What a grid's title shows: the label, else the field name.
    QString DisplayName() const { return FDisplayLabel.isEmpty() ? FFieldName : FDisplayLabel; }
    bool Required() const { return FRequired; }
    void SetRequired(bool Value) { FRequired = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }

    TDataSet* DataSet() const { return FDataSet; }
    // Leaves the previous data set's fields and joins the end of Value's (none: no data set).
    void SetDataSet(TDataSet* Value);

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    // A parent that is no data set (a component nobody registered) leaves the field alone.
    void SetParentComponent(TComponent* Value) override;

private:
    QString FFieldName;
    TFieldKind FFieldKind = DB::fkData;
    QString FDisplayLabel;
    bool FRequired = false;
    bool FReadOnly = false;
    bool FVisible = true;
    TDataSet* FDataSet = nullptr;
};

// Fields with a size: the length of a string, the bytes of a BCD.
class TSizedField : public TField
{
    Q_OBJECT
    Q_PROPERTY(int Size READ Size WRITE SetSize)

public:
    Q_INVOKABLE explicit TSizedField(TComponent* AOwner = nullptr);

    int Size() const { return FSize; }
    // Raises EInvalidOperation for a negative size.
    void SetSize(int Value);

protected:
    int FSize = 0;
};

// The field of each data type.
class TStringField : public TSizedField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TStringField(TComponent* AOwner = nullptr);
};
class TWideStringField : public TStringField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TWideStringField(TComponent* AOwner = nullptr);
};
class TNumericField : public TField
{
    Q_OBJECT
    Q_PROPERTY(QString DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)

public:
    Q_INVOKABLE explicit TNumericField(TComponent* AOwner = nullptr);
    QString DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& Value) { FDisplayFormat = Value; }

private:
    QString FDisplayFormat;
};
class TIntegerField : public TNumericField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TIntegerField(TComponent* AOwner = nullptr);
};
class TSmallintField : public TIntegerField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TSmallintField(TComponent* AOwner = nullptr);
};
class TWordField : public TIntegerField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TWordField(TComponent* AOwner = nullptr);
};
class TAutoIncField : public TIntegerField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TAutoIncField(TComponent* AOwner = nullptr);
};
class TLargeintField : public TNumericField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TLargeintField(TComponent* AOwner = nullptr);
};
class TFloatField : public TNumericField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TFloatField(TComponent* AOwner = nullptr);
};
class TCurrencyField : public TFloatField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TCurrencyField(TComponent* AOwner = nullptr);
};
class TBCDField : public TNumericField
{
    Q_OBJECT
    Q_PROPERTY(int Size READ Size WRITE SetSize)

public:
    Q_INVOKABLE explicit TBCDField(TComponent* AOwner = nullptr);
    int Size() const { return FSize; }
    void SetSize(int Value) { FSize = Value; }

private:
    int FSize = 4;
};
class TFMTBCDField : public TBCDField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TFMTBCDField(TComponent* AOwner = nullptr);
};
class TBooleanField : public TField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TBooleanField(TComponent* AOwner = nullptr);
};
class TDateTimeField : public TField
{
    Q_OBJECT
    Q_PROPERTY(QString DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)

public:
    Q_INVOKABLE explicit TDateTimeField(TComponent* AOwner = nullptr);
    QString DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& Value) { FDisplayFormat = Value; }

private:
    QString FDisplayFormat;
};
class TDateField : public TDateTimeField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TDateField(TComponent* AOwner = nullptr);
};
class TTimeField : public TDateTimeField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TTimeField(TComponent* AOwner = nullptr);
};
class TBlobField : public TSizedField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TBlobField(TComponent* AOwner = nullptr);
};
class TMemoField : public TBlobField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TMemoField(TComponent* AOwner = nullptr);
};
class TWideMemoField : public TBlobField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TWideMemoField(TComponent* AOwner = nullptr);
};
class TGraphicField : public TBlobField
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TGraphicField(TComponent* AOwner = nullptr);
};

// The field objects of a data set, in their order.
class TFields
{
public:
    int Count() const { return int(FList.size()); }
    TField* Fields(int Index) const { return FList.at(Index); }
    int IndexOf(const TField* Field) const { return int(FList.indexOf(const_cast<TField*>(Field))); }
    // Case-insensitive; none when no field has that name.
    TField* FindField(const QString& FieldName) const;
    void GetFieldNames(QStringList& List) const;

private:
    friend class TField;
    friend class TDataSet;
    QList<TField*> FList;
};

class TDataSet : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(TFieldDefs* FieldDefs READ FieldDefs)

public:
    Q_INVOKABLE explicit TDataSet(TComponent* AOwner = nullptr);
    ~TDataSet() override;

    // Whether the form opens the data set when it runs; nothing is opened here.
    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    TFieldDefs* FieldDefs() const { return FFieldDefs; }
    const TFields& Fields() const { return FFields; }
    // The names of the field definitions: the columns the data set's table or query has.
    void GetFieldNames(QStringList& List) const;
    TField* FindField(const QString& FieldName) const { return FFields.FindField(FieldName); }

    // The fields Root owns, written as the data set's children.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

private:
    friend class TField;
    bool FActive = false;
    TFieldDefs* FFieldDefs;
    TFields FFields;
};

// Kinds of data sets forms hold; what they add to a data set (connections, commands,
// parameters) is kept as the form wrote it.
class TClientDataSet : public TDataSet
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TClientDataSet(TComponent* AOwner = nullptr);
};
class TTable : public TDataSet
{
    Q_OBJECT
    Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)

public:
    Q_INVOKABLE explicit TTable(TComponent* AOwner = nullptr);
    QString TableName() const { return FTableName; }
    void SetTableName(const QString& Value) { FTableName = Value; }

private:
    QString FTableName;
};
class TQuery : public TDataSet
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TQuery(TComponent* AOwner = nullptr);
};

// Links data-aware controls to a data set.
class TDataSource : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(TDataSet* DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(bool AutoEdit READ AutoEdit WRITE SetAutoEdit)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

public:
    Q_INVOKABLE explicit TDataSource(TComponent* AOwner = nullptr);

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);
    bool AutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool Value) { FAutoEdit = Value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TDataSet* FDataSet = nullptr;
    bool FAutoEdit = true;
    bool FEnabled = true;
};

// Registers the data access classes for streaming. Repeated calls do nothing.
void RegisterDBClasses();

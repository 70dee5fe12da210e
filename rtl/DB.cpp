#include "DB.h"

#include "SysUtils.h"

TFieldDef::TFieldDef(TCollection* Collection) : TCollectionItem(Collection) {}

void TFieldDef::SetName(const QString& Value)
{
    if (Value == FName)
        return;
    FName = Value;
    Changed(false);
}

void TFieldDef::SetSize(int Value)
{
    if (Value < 0)
        throw EInvalidOperation(QStringLiteral("Field size %1 is not valid").arg(Value));
    FSize = Value;
}

TFieldDefs::TFieldDefs(TDataSet* DataSet) : TCollection(&TFieldDef::staticMetaObject, DataSet) {}

TFieldDef* TFieldDefs::AddFieldDef(const QString& Name, TFieldType DataType, int Size)
{
    auto* Def = static_cast<TFieldDef*>(Add());
    Def->SetName(Name);
    Def->SetDataType(DataType);
    Def->SetSize(Size);
    return Def;
}

TFieldDef* TFieldDefs::Find(const QString& Name) const
{
    for (int I = 0; I < Count(); ++I)
        if (Items(I)->Name().compare(Name, Qt::CaseInsensitive) == 0)
            return Items(I);
    return nullptr;
}

void TFieldDefs::GetItemNames(QStringList& List) const
{
    for (int I = 0; I < Count(); ++I)
        List << Items(I)->Name();
}

// ---------------------------------------------------------------------------------------------

TField::TField(TComponent* AOwner) : TComponent(AOwner) {}

TField::~TField()
{
    SetDataSet(nullptr);
}

void TField::SetDataSet(TDataSet* Value)
{
    if (Value == FDataSet)
        return;
    if (FDataSet)
        FDataSet->FFields.FList.removeOne(this);
    FDataSet = Value;
    if (FDataSet)
        FDataSet->FFields.FList.append(this);
}

TComponent* TField::GetParentComponent() const
{
    return FDataSet;
}

void TField::SetParentComponent(TComponent* Value)
{
    if (auto* Set = qobject_cast<TDataSet*>(Value))
        SetDataSet(Set);
}

TSizedField::TSizedField(TComponent* AOwner) : TField(AOwner) {}

void TSizedField::SetSize(int Value)
{
    if (Value < 0)
        throw EInvalidOperation(QStringLiteral("Field size %1 is not valid").arg(Value));
    FSize = Value;
}

TStringField::TStringField(TComponent* AOwner) : TSizedField(AOwner)
{
    FSize = 20;
}
TWideStringField::TWideStringField(TComponent* AOwner) : TStringField(AOwner) {}
TNumericField::TNumericField(TComponent* AOwner) : TField(AOwner) {}
TIntegerField::TIntegerField(TComponent* AOwner) : TNumericField(AOwner) {}
TSmallintField::TSmallintField(TComponent* AOwner) : TIntegerField(AOwner) {}
TWordField::TWordField(TComponent* AOwner) : TIntegerField(AOwner) {}
TAutoIncField::TAutoIncField(TComponent* AOwner) : TIntegerField(AOwner) {}
TLargeintField::TLargeintField(TComponent* AOwner) : TNumericField(AOwner) {}
TFloatField::TFloatField(TComponent* AOwner) : TNumericField(AOwner) {}
TCurrencyField::TCurrencyField(TComponent* AOwner) : TFloatField(AOwner) {}
TBCDField::TBCDField(TComponent* AOwner) : TNumericField(AOwner) {}
TFMTBCDField::TFMTBCDField(TComponent* AOwner) : TBCDField(AOwner) {}
TBooleanField::TBooleanField(TComponent* AOwner) : TField(AOwner) {}
TDateTimeField::TDateTimeField(TComponent* AOwner) : TField(AOwner) {}
TDateField::TDateField(TComponent* AOwner) : TDateTimeField(AOwner) {}
TTimeField::TTimeField(TComponent* AOwner) : TDateTimeField(AOwner) {}
TBlobField::TBlobField(TComponent* AOwner) : TSizedField(AOwner) {}
TMemoField::TMemoField(TComponent* AOwner) : TBlobField(AOwner) {}
TWideMemoField::TWideMemoField(TComponent* AOwner) : TBlobField(AOwner) {}
TGraphicField::TGraphicField(TComponent* AOwner) : TBlobField(AOwner) {}

// ---------------------------------------------------------------------------------------------

TField* TFields::FindField(const QString& FieldName) const
{
    for (TField* Field : FList)
        if (Field->FieldName().compare(FieldName, Qt::CaseInsensitive) == 0)
            return Field;
    return nullptr;
}

void TFields::GetFieldNames(QStringList& List) const
{
    for (const TField* Field : FList)
        List << Field->FieldName();
}

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner), FFieldDefs(new TFieldDefs(this)) {}

TDataSet::~TDataSet()
{
    Destroying();
    // The fields stay with their owner, without a data set.
    while (!FFields.FList.isEmpty())
        FFields.FList.last()->SetDataSet(nullptr);
    delete FFieldDefs;
}

void TDataSet::GetFieldNames(QStringList& List) const
{
    FFieldDefs->GetItemNames(List);
}

void TDataSet::GetChildren(const TGetChildProc& Proc, TComponent* Root) const
{
    // A data set can be a module's root (a module class named like one): its own components first.
    TComponent::GetChildren(Proc, Root);
    for (TField* Field : FFields.FList)
        if (Field->Owner() == Root)
            Proc(Field);
}

TClientDataSet::TClientDataSet(TComponent* AOwner) : TDataSet(AOwner) {}
TTable::TTable(TComponent* AOwner) : TDataSet(AOwner) {}
TQuery::TQuery(TComponent* AOwner) : TDataSet(AOwner) {}

// ---------------------------------------------------------------------------------------------

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

void TDataSource::SetDataSet(TDataSet* Value)
{
    if (Value == FDataSet)
        return;
    if (FDataSet)
        FDataSet->RemoveFreeNotification(this);
    FDataSet = Value;
    if (FDataSet)
        FDataSet->FreeNotification(this);
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent == FDataSet)
        FDataSet = nullptr;
    TComponent::Notification(AComponent, Operation);
}

void RegisterDBClasses()
{
    static const bool Done = [] {
        RegisterClasses({&TDataSource::staticMetaObject,    &TDataSet::staticMetaObject,
                         &TClientDataSet::staticMetaObject, &TTable::staticMetaObject,
                         &TQuery::staticMetaObject,         &TField::staticMetaObject,
                         &TStringField::staticMetaObject,   &TWideStringField::staticMetaObject,
                         &TIntegerField::staticMetaObject,  &TSmallintField::staticMetaObject,
                         &TWordField::staticMetaObject,     &TAutoIncField::staticMetaObject,
                         &TLargeintField::staticMetaObject, &TFloatField::staticMetaObject,
                         &TCurrencyField::staticMetaObject, &TBCDField::staticMetaObject,
                         &TFMTBCDField::staticMetaObject,   &TBooleanField::staticMetaObject,
                         &TDateTimeField::staticMetaObject, &TDateField::staticMetaObject,
                         &TTimeField::staticMetaObject,     &TBlobField::staticMetaObject,
                         &TMemoField::staticMetaObject,     &TWideMemoField::staticMetaObject,
                         &TGraphicField::staticMetaObject});
        return true;
    }();
    Q_UNUSED(Done);
}

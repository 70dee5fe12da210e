#include "DesignEditors.h"

#include "Classes.h"
#include "DesignRegistry.h"

#include <QMetaEnum>

#include <cmath>
#include <limits>
#include <type_traits>

namespace {

const QString TrueName = QStringLiteral("True");
const QString FalseName = QStringLiteral("False");
const QString NullText = QStringLiteral("(Null)");

qsizetype IndexOfText(const QStringList& List, const QString& Text)
{
    for (qsizetype I = 0; I < List.size(); ++I)
        if (List.at(I).compare(Text, Qt::CaseInsensitive) == 0)
            return I;
    return -1;
}

[[noreturn]] void InvalidPropertyValue()
{
    throw EPropertyError(QStringLiteral("Invalid property value"));
}

bool TryParseInteger(const QString& Text, qint64& Result)
{
    const QString S = Text.trimmed();
    bool Ok = false;
    if (S.startsWith(u'$'))
        Result = S.mid(1).toLongLong(&Ok, 16);
    else if (S.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        Result = S.mid(2).toLongLong(&Ok, 16);
    else
        Result = S.toLongLong(&Ok, 10);
    return Ok;
}

qint64 ParseInteger(const QString& Text)
{
    qint64 Result = 0;
    if (!TryParseInteger(Text, Result))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(Text));
    return Result;
}

bool TryParseFloat(const QString& Text, double& Result)
{
    bool Ok = false;
    Result = Text.trimmed().toDouble(&Ok); // '.' whatever the locale
    return Ok && std::isfinite(Result);
}

bool ParseBoolean(const QString& Text)
{
    if (Text.compare(TrueName, Qt::CaseInsensitive) == 0)
        return true;
    if (Text.compare(FalseName, Qt::CaseInsensitive) == 0)
        return false;
    InvalidPropertyValue();
}

bool IsUnsigned(QMetaType Type)
{
    switch (Type.id()) {
    case QMetaType::UInt: case QMetaType::UShort: case QMetaType::UChar: case QMetaType::ULong:
    case QMetaType::ULongLong:
        return true;
    case QMetaType::Char:
        return !std::is_signed_v<char>;
    default:
        return false;
    }
}

// The values the property's storage holds.
void OrdinalRange(const TPropInfo& Info, qint64& Min, qint64& Max)
{
    const QMetaType Type = Info.Prop.metaType();
    const int Bits = int(Type.sizeOf()) * 8;
    if (Bits <= 0 || Bits >= 64) {
        Min = IsUnsigned(Type) ? 0 : std::numeric_limits<qint64>::min();
        Max = std::numeric_limits<qint64>::max();
    } else if (IsUnsigned(Type)) {
        Min = 0;
        Max = (qint64(1) << Bits) - 1;
    } else {
        Min = -(qint64(1) << (Bits - 1));
        Max = (qint64(1) << (Bits - 1)) - 1;
    }
}

void CheckRange(const TPropInfo& Info, qint64 Value)
{
    qint64 Min = 0;
    qint64 Max = 0;
    OrdinalRange(Info, Min, Max);
    if (Value < Min || Value > Max)
        throw EPropertyError(QStringLiteral("Value must be between %1 and %2").arg(Min).arg(Max));
}

void WriteProp(QObject* Instance, const TPropInfo& Info, const QVariant& Value)
{
    if (!Info.Prop.write(Instance, Value))
        InvalidPropertyValue();
}

const QMetaObject* DeclaredClass(const TPropInfo& Info)
{
    if (Info.ClassType)
        return Info.ClassType;
    const QMetaType Type = Info.Prop.metaType();
    return (Type.flags() & QMetaType::PointerToQObject) ? Type.metaObject() : nullptr;
}

bool IsComponentName(const TPropInfo& Prop)
{
    return Prop.Name == QLatin1String("Name")
        && InheritsFrom(Prop.Prop.enclosingMetaObject(), &TComponent::staticMetaObject);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TPropertyEditor

void TPropertyEditor::Initialize(IDesigner* ADesigner, const QList<TPersistent*>& ASelection,
                                 const TPropInfo& APropInfo)
{
    QList<TPropInfo> Infos;
    for (TPersistent* Instance : ASelection) {
        if (!Instance)
            throw EPropertyError(QStringLiteral("Cannot edit %1 of nil").arg(APropInfo.Name));
        const QMetaObject* Class = Instance->metaObject();
        if (InheritsFrom(Class, APropInfo.Prop.enclosingMetaObject())) {
            Infos << APropInfo;
        } else if (const TPropInfo* Own = GetPropInfo(Class, APropInfo.Name)) {
            Infos << *Own;
        } else {
            throw EPropertyError(QStringLiteral("%1 has no property %2").arg(Instance->ClassName(), APropInfo.Name));
        }
    }
    FDesigner = ADesigner;
    FSelection = ASelection;
    FPropInfos = std::move(Infos);
    FPropInfo = APropInfo;
}

TPropertyAttributes TPropertyEditor::GetAttributes() const
{
    return paMultiSelect | paRevertable;
}

bool TPropertyEditor::AllEqual() const
{
    if (PropCount() <= 1)
        return true;
    const QString First = GetValueAt(0);
    for (int I = 1; I < PropCount(); ++I)
        if (GetValueAt(I) != First)
            return false;
    return true;
}

QString TPropertyEditor::GetValue() const
{
    return GetValueAt(0);
}

QString TPropertyEditor::GetValueAt(int Index) const
{
    GetComponent(Index);
    return QStringLiteral("(Unknown)");
}

QString TPropertyEditor::GetVisualValue() const
{
    return AllEqual() ? GetValue() : QString();
}

void TPropertyEditor::GetValues(const TGetStrProc&) const {}

void TPropertyEditor::SetValue(const QString&) {}

void TPropertyEditor::Edit()
{
    const TPropertyAttributes Attributes = GetAttributes();
    if (!(Attributes & paValueList) || (Attributes & paReadOnly))
        return;
    QStringList Values;
    GetValues([&Values](const QString& S) { Values << S; });
    if (Values.isEmpty())
        return;
    if (Attributes & paSortList)
        Values.sort(Qt::CaseInsensitive);
    const qsizetype Current = IndexOfText(Values, GetValue());
    SetValue(Values.at((Current + 1) % Values.size()));
}

void TPropertyEditor::GetProperties(const TGetPropProc&) const {}

QString TPropertyEditor::GetName() const
{
    return FPropInfo.Name;
}

TPersistent* TPropertyEditor::GetComponent(int Index) const
{
    if (Index < 0 || Index >= FSelection.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FSelection.at(Index);
}

const TPropInfo& TPropertyEditor::PropInfoAt(int Index) const
{
    GetComponent(Index);
    return FPropInfos.at(Index);
}

void TPropertyEditor::Modified()
{
    if (FDesigner)
        FDesigner->Modified();
}

qint64 TPropertyEditor::GetOrdValueAt(int Index) const
{
    return GetOrdProp(GetComponent(Index), PropInfoAt(Index));
}

double TPropertyEditor::GetFloatValueAt(int Index) const
{
    return PropInfoAt(Index).Prop.read(GetComponent(Index)).toDouble();
}

QString TPropertyEditor::GetStrValueAt(int Index) const
{
    return PropInfoAt(Index).Prop.read(GetComponent(Index)).toString();
}

Variant TPropertyEditor::GetVarValueAt(int Index) const
{
    return PropInfoAt(Index).Prop.read(GetComponent(Index)).value<Variant>();
}

TMethod TPropertyEditor::GetMethodValueAt(int Index) const
{
    return PropInfoAt(Index).Prop.read(GetComponent(Index)).value<TMethod>();
}

QObject* TPropertyEditor::GetObjectValueAt(int Index) const
{
    return GetObjectProp(GetComponent(Index), PropInfoAt(Index));
}

void TPropertyEditor::WriteEach(const TWriteProc& Write)
{
    for (const TPropInfo& Info : std::as_const(FPropInfos))
        if (!Info.Prop.isWritable())
            throw EPropertyError(QStringLiteral("Property %1 is read-only").arg(Info.Name));
    int Written = 0;
    try {
        for (int I = 0; I < FSelection.size(); ++I) {
            Write(FSelection.at(I), FPropInfos.at(I), I);
            ++Written;
        }
    } catch (...) {
        if (Written > 0)
            Modified();
        throw;
    }
    Modified();
}

void TPropertyEditor::SetOrdValue(qint64 Value)
{
    WriteEach([Value](QObject* Instance, const TPropInfo& Info, int) { SetOrdProp(Instance, Info, Value); });
}

void TPropertyEditor::SetFloatValue(double Value)
{
    WriteEach([Value](QObject* Instance, const TPropInfo& Info, int) {
        WriteProp(Instance, Info, Info.Kind == TTypeKind::tkSingle ? QVariant(float(Value)) : QVariant(Value));
    });
}

void TPropertyEditor::SetStrValue(const QString& Value)
{
    WriteEach([&Value](QObject* Instance, const TPropInfo& Info, int) { WriteProp(Instance, Info, QVariant(Value)); });
}

void TPropertyEditor::SetVarValue(const Variant& Value)
{
    WriteEach([&Value](QObject* Instance, const TPropInfo& Info, int) {
        WriteProp(Instance, Info, QVariant::fromValue(Value));
    });
}

void TPropertyEditor::SetMethodValue(const TMethod& Value)
{
    WriteEach([&Value](QObject* Instance, const TPropInfo& Info, int) {
        WriteProp(Instance, Info, QVariant::fromValue(Value));
    });
}

void TPropertyEditor::SetObjectValue(QObject* Value)
{
    // The stream would store a pointer of the wrong class without complaint.
    for (const TPropInfo& Info : std::as_const(FPropInfos))
        if (Value && !Value->metaObject()->inherits(DeclaredClass(Info)))
            InvalidPropertyValue();
    WriteEach([Value](QObject* Instance, const TPropInfo& Info, int) { SetObjectProp(Instance, Info, Value); });
}

// ---------------------------------------------------------------------------------------------
// Ordinals

TPropertyAttributes TOrdinalProperty::GetAttributes() const
{
    return paMultiSelect | paRevertable;
}

TPropertyAttributes TIntegerProperty::GetAttributes() const
{
    return TOrdinalProperty::GetAttributes() | (PropInfo().Idents ? paValueList : TPropertyAttributes());
}

QString TIntegerProperty::GetValueAt(int Index) const
{
    const qint64 V = GetOrdValueAt(Index);
    const QString Name = PropInfoAt(Index).Idents ? IntToIdent(*PropInfoAt(Index).Idents, V) : QString();
    return Name.isEmpty() ? QString::number(V) : Name;
}

void TIntegerProperty::GetValues(const TGetStrProc& Proc) const
{
    if (const TIntegerIdents* Idents = PropInfo().Idents)
        for (int I = 0; I < Idents->Count; ++I)
            Proc(QString::fromLatin1(Idents->Map[I].Name));
}

void TIntegerProperty::SetValue(const QString& Value)
{
    qint64 V = 0;
    if (!PropInfo().Idents || !IdentToInt(*PropInfo().Idents, Value.trimmed(), V))
        V = ParseInteger(Value);
    for (int I = 0; I < PropCount(); ++I)
        CheckRange(PropInfoAt(I), V);
    SetOrdValue(V);
}

TPropertyAttributes TInt64Property::GetAttributes() const
{
    return paMultiSelect | paRevertable;
}

QString TInt64Property::GetValueAt(int Index) const
{
    const qint64 V = GetOrdValueAt(Index);
    return IsUnsigned(PropInfoAt(Index).Prop.metaType()) ? QString::number(quint64(V)) : QString::number(V);
}

void TInt64Property::SetValue(const QString& Value)
{
    const qint64 V = ParseInteger(Value);
    for (int I = 0; I < PropCount(); ++I)
        CheckRange(PropInfoAt(I), V);
    SetOrdValue(V);
}

TPropertyAttributes TFloatProperty::GetAttributes() const
{
    return paMultiSelect | paRevertable;
}

QString TFloatProperty::GetValueAt(int Index) const
{
    const double V = GetFloatValueAt(Index);
    // A float shown with a double's digits would read 0.100000001490116.
    if (PropInfoAt(Index).Kind == TTypeKind::tkSingle)
        return Variant(QString::number(V, 'g', 7).toDouble()).AsString();
    return Variant(V).AsString();
}

void TFloatProperty::SetValue(const QString& Value)
{
    double V = 0;
    if (!TryParseFloat(Value, V))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(Value));
    for (int I = 0; I < PropCount(); ++I)
        if (PropInfoAt(I).Kind == TTypeKind::tkSingle && !std::isfinite(float(V)))
            throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(Value));
    SetFloatValue(V);
}

TPropertyAttributes TStringProperty::GetAttributes() const
{
    return paMultiSelect | paRevertable;
}

QString TStringProperty::GetValueAt(int Index) const
{
    return GetStrValueAt(Index);
}

void TStringProperty::SetValue(const QString& Value)
{
    SetStrValue(Value);
}

TPropertyAttributes TComponentNameProperty::GetAttributes() const
{
    return TStringProperty::GetAttributes() & ~TPropertyAttributes(paMultiSelect);
}

void TComponentNameProperty::SetValue(const QString& Value)
{
    // Through the designer, so that the unit's field and handlers follow the new name.
    auto* Component = qobject_cast<TComponent*>(GetComponent(0));
    if (Component && Designer()) {
        Designer()->RenameComponent(Component, Value);
        return;
    }
    WriteEach([&Value](QObject* Instance, const TPropInfo&, int) {
        if (auto* Component = qobject_cast<TComponent*>(Instance))
            Component->SetName(Value);
    });
}

TPropertyAttributes TEnumProperty::GetAttributes() const
{
    return paMultiSelect | paValueList | paRevertable;
}

QString TEnumProperty::GetValueAt(int Index) const
{
    const qint64 V = GetOrdValueAt(Index);
    const QString Name = GetEnumName(PropInfoAt(Index), V);
    return Name.isEmpty() ? QString::number(V) : Name;
}

void TEnumProperty::GetValues(const TGetStrProc& Proc) const
{
    const QMetaEnum Enum = PropInfo().Prop.enumerator();
    for (int I = 0; I < Enum.keyCount(); ++I)
        Proc(QString::fromLatin1(Enum.key(I)));
}

void TEnumProperty::SetValue(const QString& Value)
{
    qint64 V = 0;
    if (!GetEnumValue(PropInfo(), Value, V))
        InvalidPropertyValue();
    SetOrdValue(V);
}

TPropertyAttributes TBoolProperty::GetAttributes() const
{
    return paMultiSelect | paValueList | paRevertable;
}

QString TBoolProperty::GetValueAt(int Index) const
{
    return GetOrdValueAt(Index) ? TrueName : FalseName;
}

void TBoolProperty::GetValues(const TGetStrProc& Proc) const
{
    Proc(FalseName);
    Proc(TrueName);
}

void TBoolProperty::SetValue(const QString& Value)
{
    SetOrdValue(ParseBoolean(Value) ? 1 : 0);
}

TPropertyAttributes TSetProperty::GetAttributes() const
{
    return paMultiSelect | paSubProperties | paReadOnly | paRevertable;
}

QString TSetProperty::GetValueAt(int Index) const
{
    return u'[' + SetToNames(PropInfoAt(Index), GetOrdValueAt(Index)).join(u',') + u']';
}

void TSetProperty::SetValue(const QString& Value)
{
    QString Text = Value.trimmed();
    if (Text.startsWith(u'[') != Text.endsWith(u']') || (Text.startsWith(u'[') && Text.size() < 2))
        InvalidPropertyValue();
    if (Text.startsWith(u'['))
        Text = Text.mid(1, Text.size() - 2);
    qint64 Bits = 0;
    for (const QString& Element : Text.split(u',', Qt::SkipEmptyParts)) {
        qint64 V = 0;
        if (!GetEnumValue(PropInfo(), Element.trimmed(), V))
            InvalidPropertyValue();
        Bits |= V;
    }
    SetOrdValue(Bits);
}

void TSetProperty::GetProperties(const TGetPropProc& Proc) const
{
    QList<TPersistent*> Selection;
    for (int I = 0; I < PropCount(); ++I)
        Selection << GetComponent(I);
    const QMetaEnum Enum = PropInfo().Prop.enumerator();
    for (int I = 0; I < Enum.keyCount(); ++I) {
        const quint64 Bit = quint32(Enum.value(I));
        if (Bit == 0 || (Bit & (Bit - 1)) != 0)
            continue; // combinations and "none" are not members
        auto Element = std::make_unique<TSetElementProperty>(QString::fromLatin1(Enum.key(I)), qint64(Bit));
        Element->Initialize(Designer(), Selection, PropInfo());
        Proc(std::move(Element));
    }
}

TPropertyAttributes TSetElementProperty::GetAttributes() const
{
    return paMultiSelect | paValueList | paSortList;
}

QString TSetElementProperty::GetValueAt(int Index) const
{
    return (GetOrdValueAt(Index) & FBit) ? TrueName : FalseName;
}

void TSetElementProperty::GetValues(const TGetStrProc& Proc) const
{
    Proc(FalseName);
    Proc(TrueName);
}

void TSetElementProperty::SetValue(const QString& Value)
{
    const bool Include = ParseBoolean(Value);
    WriteEach([this, Include](QObject* Instance, const TPropInfo& Info, int) {
        const qint64 Bits = GetOrdProp(Instance, Info);
        SetOrdProp(Instance, Info, Include ? (Bits | FBit) : (Bits & ~FBit));
    });
}

// ---------------------------------------------------------------------------------------------
// Objects

TPropertyAttributes TClassProperty::GetAttributes() const
{
    return paMultiSelect | paSubProperties | paReadOnly;
}

QString TClassProperty::GetValueAt(int Index) const
{
    const QMetaObject* Class = DeclaredClass(PropInfoAt(Index));
    return u'(' + (Class ? QString::fromLatin1(Class->className()) : QString()) + u')';
}

void TClassProperty::GetProperties(const TGetPropProc& Proc) const
{
    QList<TPersistent*> Objects;
    for (int I = 0; I < PropCount(); ++I) {
        auto* Object = qobject_cast<TPersistent*>(GetObjectValueAt(I));
        if (!Object)
            return;
        Objects << Object;
    }
    for (auto& Editor : GetEditorsForSelection(Objects, Designer()))
        Proc(std::move(Editor));
}

TPropertyAttributes TComponentProperty::GetAttributes() const
{
    return paMultiSelect | paValueList | paSortList | paRevertable;
}

QString TComponentProperty::GetValueAt(int Index) const
{
    const auto* Component = qobject_cast<TComponent*>(GetObjectValueAt(Index));
    if (!Component)
        return QString();
    const TComponent* Root = Designer() ? Designer()->GetRoot() : nullptr;
    const TComponent* Owner = Component->Owner();
    if (Root && Component != Root && Owner != Root && Owner && !Owner->GetName().isEmpty())
        return Owner->GetName() + u'.' + Component->GetName();
    return Component->GetName();
}

void TComponentProperty::GetValues(const TGetStrProc& Proc) const
{
    if (!Designer())
        return;
    for (const QString& Name : Designer()->GetComponentNames(DeclaredClass(PropInfo())))
        Proc(Name);
}

void TComponentProperty::SetValue(const QString& Value)
{
    if (Value.isEmpty()) {
        SetObjectValue(nullptr);
        return;
    }
    TComponent* Component = Designer() ? Designer()->GetComponent(Value) : nullptr;
    if (!Component)
        InvalidPropertyValue();
    SetObjectValue(Component);
}

// ---------------------------------------------------------------------------------------------
// Events

TPropertyAttributes TMethodProperty::GetAttributes() const
{
    return paMultiSelect | paRevertable;
}

QString TMethodProperty::GetValueAt(int Index) const
{
    const TMethod Method = GetMethodValueAt(Index);
    if (Method.IsEmpty())
        return QString();
    return Designer() ? Designer()->GetMethodName(Method) : Method.Name;
}

void TMethodProperty::SetValue(const QString& Value)
{
    if (Value.isEmpty()) {
        SetMethodValue(TMethod());
        return;
    }
    if (!TComponent::IsValidIdent(Value))
        throw EPropertyError(QStringLiteral("'%1' is not a valid identifier").arg(Value));
    if (AllEqual() && GetValue() == Value)
        return;
    SetMethodValue(Designer() ? Designer()->CreateMethod(Value, GetEventTypeName()) : TMethod{Value});
}

void TMethodProperty::Edit()
{
    if (!Designer())
        return;
    QString Name = GetValue();
    if (Name.isEmpty()) {
        const QString Proposed = GetFormMethodName();
        SetValue(Proposed);
        Name = GetValue();
        if (Name.isEmpty())
            Name = Proposed;
    }
    Designer()->ShowMethod(Name);
}

QString TMethodProperty::GetEventTypeName() const
{
    const QMetaObject* Class = GetComponent(0)->metaObject();
    const int Index = Class->indexOfClassInfo(PropInfo().Name.toLatin1().constData());
    return Index >= 0 ? QString::fromLatin1(Class->classInfo(Index).value()) : QStringLiteral("TNotifyEvent");
}

QString TMethodProperty::GetFormMethodName() const
{
    TPersistent* Instance = GetComponent(0);
    const TComponent* Root = Designer() ? Designer()->GetRoot() : nullptr;
    QString Base;
    if (Root && Instance == Root) {
        // The root's own class (TForm), not the form's (TForm1): FormCreate.
        Base = QString::fromLatin1(Instance->metaObject()->className());
        if (Base.startsWith(u'T'))
            Base.remove(0, 1);
    } else if (auto* Component = qobject_cast<TComponent*>(Instance)) {
        Base = Component->GetName();
    } else {
        Base = Instance->GetNamePath();
        if (Root && !Root->GetName().isEmpty() && Base.startsWith(Root->GetName() + u'.', Qt::CaseInsensitive))
            Base.remove(0, Root->GetName().size() + 1);
        Base.removeIf([](QChar C) { return QStringView(u".[]->").contains(C); });
    }
    if (Base.isEmpty())
        throw EPropertyError(QStringLiteral("Cannot create a method for an unnamed component"));
    return Base + GetTrimmedEventName();
}

QString TMethodProperty::GetTrimmedEventName() const
{
    const QString Name = GetName();
    return Name.startsWith(QLatin1String("On"), Qt::CaseInsensitive) ? Name.mid(2) : Name;
}

// ---------------------------------------------------------------------------------------------
// Variants

TPropertyAttributes TVariantProperty::GetAttributes() const
{
    return paMultiSelect | paRevertable;
}

QString TVariantProperty::GetValueAt(int Index) const
{
    const Variant V = GetVarValueAt(Index);
    if (V.IsNull())
        return NullText;
    try {
        return V.AsString();
    } catch (const EConvertError&) {
        return QString(); // a date outside the calendar
    }
}

void TVariantProperty::SetValue(const QString& Value)
{
    Variant New;
    if (Value.compare(NullText, Qt::CaseInsensitive) == 0) {
        New = Variant::Null();
    } else if (!Value.isEmpty()) {
        New = Variant(Value);
        const Variant Old = GetVarValue();
        qint64 I = 0;
        double D = 0;
        switch (Old.VarType()) {
        case TVarType::varInteger:
            if (TryParseInteger(Value, I))
                New = Variant(I);
            break;
        case TVarType::varDouble:
            if (TryParseFloat(Value, D))
                New = Variant(D);
            break;
        case TVarType::varBoolean:
            if (Value.compare(TrueName, Qt::CaseInsensitive) == 0 || Value.compare(FalseName, Qt::CaseInsensitive) == 0)
                New = Variant(Value.compare(TrueName, Qt::CaseInsensitive) == 0);
            break;
        case TVarType::varDate:
            try {
                New = Variant::FromDate(Variant(Value).AsDate());
            } catch (const EConvertError&) {
            }
            break;
        default:
            break;
        }
    }
    SetVarValue(New);
}

// ---------------------------------------------------------------------------------------------
// Finding editors

TPropertyEditorClass GetDefaultPropertyEditorClass(const TPropInfo& Prop)
{
    switch (Prop.Kind) {
    case TTypeKind::tkInteger: return PropertyEditorClass<TIntegerProperty>();
    case TTypeKind::tkInt64: return PropertyEditorClass<TInt64Property>();
    case TTypeKind::tkFloat:
    case TTypeKind::tkSingle: return PropertyEditorClass<TFloatProperty>();
    case TTypeKind::tkString:
        return IsComponentName(Prop) ? PropertyEditorClass<TComponentNameProperty>()
                                     : PropertyEditorClass<TStringProperty>();
    case TTypeKind::tkBoolean: return PropertyEditorClass<TBoolProperty>();
    case TTypeKind::tkEnumeration: return PropertyEditorClass<TEnumProperty>();
    case TTypeKind::tkSet: return PropertyEditorClass<TSetProperty>();
    case TTypeKind::tkVariant: return PropertyEditorClass<TVariantProperty>();
    case TTypeKind::tkMethod: return PropertyEditorClass<TMethodProperty>();
    case TTypeKind::tkClass:
        return Prop.IsComponentRef() ? PropertyEditorClass<TComponentProperty>() : PropertyEditorClass<TClassProperty>();
    case TTypeKind::tkStringList:
    case TTypeKind::tkBinary:
    case TTypeKind::tkUnknown:
        break;
    }
    return {};
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(IDesigner* Designer, const QList<TPersistent*>& Selection,
                                                      const TPropInfo& Prop)
{
    if (Selection.isEmpty() || !Selection.first())
        return nullptr;
    const TPropertyEditorClass EditorClass = FindPropertyEditorClass(Selection.first()->metaObject(), Prop);
    if (!EditorClass)
        return nullptr;
    std::unique_ptr<TPropertyEditor> Editor = EditorClass.Create();
    Editor->Initialize(Designer, Selection, Prop);
    return Editor;
}

std::vector<std::unique_ptr<TPropertyEditor>> GetEditorsForSelection(const QList<TPersistent*>& Selection,
                                                                     IDesigner* Designer)
{
    std::vector<std::unique_ptr<TPropertyEditor>> Editors;
    if (Selection.isEmpty() || Selection.contains(nullptr))
        return Editors;
    auto Editable = [](const TPropInfo& Info) {
        return Info.Prop.isReadable() && Info.Prop.isDesignable()
            && (Info.Prop.isWritable() || Info.Kind == TTypeKind::tkClass);
    };
    const QMetaObject* FirstClass = Selection.first()->metaObject();
    for (const TPropInfo& Info : GetPropList(FirstClass)) {
        if (!Editable(Info))
            continue;
        const TPropertyEditorClass EditorClass = FindPropertyEditorClass(FirstClass, Info);
        if (!EditorClass)
            continue;
        bool Common = true;
        for (qsizetype I = 1; Common && I < Selection.size(); ++I) {
            const QMetaObject* Class = Selection.at(I)->metaObject();
            if (Class == FirstClass)
                continue;
            const TPropInfo* Other = GetPropInfo(Class, Info.Name);
            Common = Other && Editable(*Other) && Other->Kind == Info.Kind
                && Other->Prop.metaType() == Info.Prop.metaType()
                && FindPropertyEditorClass(Class, *Other) == EditorClass;
        }
        if (!Common)
            continue;
        std::unique_ptr<TPropertyEditor> Editor = EditorClass.Create();
        Editor->Initialize(Designer, Selection, Info);
        if (Selection.size() > 1 && !(Editor->GetAttributes() & paMultiSelect))
            continue;
        Editors.push_back(std::move(Editor));
    }
    return Editors;
}

// ---------------------------------------------------------------------------------------------
// Component editors

QString TComponentEditor::GetVerb(int) const
{
    return QString();
}

void TComponentEditor::ExecuteVerb(int) {}

void TComponentEditor::Edit()
{
    if (GetVerbCount() > 0)
        ExecuteVerb(0);
}

void TDefaultEditor::Edit()
{
    static const QStringList Preferred{QStringLiteral("OnClick"), QStringLiteral("OnChange"),
                                       QStringLiteral("OnCreate")};
    std::vector<std::unique_ptr<TPropertyEditor>> Editors = GetEditorsForSelection({Component()}, GetDesigner());
    TPropertyEditor* First = nullptr;
    TPropertyEditor* Best = nullptr;
    qsizetype BestRank = -1;
    for (const auto& Editor : Editors) {
        if (Editor->PropInfo().Kind != TTypeKind::tkMethod)
            continue;
        if (!First)
            First = Editor.get();
        const qsizetype Rank = IndexOfText(Preferred, Editor->GetName());
        if (Rank >= 0 && Rank > BestRank) {
            Best = Editor.get();
            BestRank = Rank;
        }
    }
    if (TPropertyEditor* Target = Best ? Best : First)
        Target->Edit();
}

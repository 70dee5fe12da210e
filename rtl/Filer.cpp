#include "Filer.h"

#include "Classes.h"
#include "SysUtils.h"
#include "TypInfo.h"
#include "Variants.h"

#include <cmath>

using namespace KvFormBinary;

namespace {

constexpr int MaxObjectNesting = 200;

std::function<TComponent*(const QString&)>& GlobalFinder()
{
    static std::function<TComponent*(const QString&)> finder;
    return finder;
}

QString PathOf(const TPersistent* Instance)
{
    const QString path = Instance->GetNamePath();
    return path.isEmpty() ? Instance->ClassName() : path;
}

} // namespace

bool IsSubComponent(const QObject* Instance, const TPropInfo& Info, const QObject* Value)
{
    const auto* sub = qobject_cast<const TComponent*>(Value);
    return sub && Info.IsComponentRef() && !Info.Prop.isWritable() && sub->Owner() == Instance;
}

void SetFindGlobalComponent(std::function<TComponent*(const QString&)> Finder)
{
    GlobalFinder() = std::move(Finder);
}

// ---------------------------------------------------------------------------------------------
// TReader

TReader::TReader(const QByteArray& Stream) : R(ObjectResourceToBinary(Stream)) {}

TReader::~TReader() = default;

bool TReader::HandleError(const Exception& E) { return OnError && OnError(E); }

bool TReader::ReadBoolean()
{
    const qint64 at = R.Position();
    switch (R.ReadValue()) {
    case vaTrue:
        return true;
    case vaFalse:
        return false;
    default:
        R.FailAt(QStringLiteral("Boolean value expected"), at);
    }
}

QString TReader::ReadIdent()
{
    const QByteArrayView v = R.ReadIdent();
    return QString::fromUtf8(v.data(), v.size());
}

Variant TReader::ReadVariant()
{
    const qint64 at = R.Position();
    switch (R.NextValue()) {
    case vaNil:
        R.ReadValue();
        return Variant();
    case vaNull:
        R.ReadValue();
        return Variant::Null();
    case vaInt8: case vaInt16: case vaInt32: case vaInt64:
        return Variant(R.ReadInt64());
    case vaExtended: case vaDouble: case vaSingle:
        return Variant(double(R.ReadFloat()));
    case vaCurrency:
        return Variant(double(R.ReadCurrencyRaw()) / 10000.0);
    case vaDate:
        return Variant::FromDate(R.ReadDate());
    case vaString: case vaLString: case vaWString: case vaUTF8String:
        return Variant(R.ReadString());
    case vaTrue: case vaFalse:
        return Variant(ReadBoolean());
    default:
        R.FailAt(QStringLiteral("Invalid variant value"), at);
    }
}

void TReader::DefineProperty(const QString& Name, const TReaderProc& ReadData, const TWriterProc&, bool)
{
    if (!FPropName.isEmpty() && ReadData && Name.compare(FPropName, Qt::CaseInsensitive) == 0) {
        FPropName.clear();
        ReadData(this);
    }
}

void TReader::DefineBinaryProperty(const QString& Name, const TReadBinaryProc& ReadData, const TWriteBinaryProc&,
                                   bool)
{
    if (!FPropName.isEmpty() && ReadData && Name.compare(FPropName, Qt::CaseInsensitive) == 0) {
        FPropName.clear();
        ReadData(R.ReadBinary());
    }
}

TComponent* TReader::ReadRootComponent(TComponent* Root, const QMetaObject* AncestorClass)
{
    R.ReadSignature();
    const TObjectHeader h = R.ReadHeader();
    const QString className = QString::fromUtf8(h.ClassName);
    bool created = false;
    if (!Root) {
        const QMetaObject* cls = GetClass(className);
        if (!cls) {
            if (!AncestorClass)
                throw EClassNotFound(QStringLiteral("Class %1 not found").arg(className));
            cls = AncestorClass;
        }
        Root = CreateComponent(cls, nullptr);
        created = true;
    }
    if (className.compare(QString::fromLatin1(Root->metaObject()->className()), Qt::CaseInsensitive) != 0)
        Root->SetDesignClassName(className);
    FRoot = Root;
    try {
        Root->IncludeState(csLoading | csReading);
        FLoaded << Root;
        if (!h.ObjectName.isEmpty())
            Root->SetName(QString::fromUtf8(h.ObjectName));
        ReadProperties(Root);
        ReadChildren(Root, Root);
        ResolveFixups();
        FinishLoading();
    } catch (...) {
        DestroyCreated();
        if (created)
            delete Root;
        else
            Root->ExcludeState(csLoading | csReading);
        throw;
    }
    return Root;
}

TComponent* TReader::ReadComponent(TComponent* Owner, TComponent* Parent)
{
    R.ReadSignature();
    FRoot = Owner;
    TComponent* result = nullptr;
    try {
        result = ReadObject(Parent ? Parent : Owner, Owner);
        ResolveFixups();
        FinishLoading();
    } catch (...) {
        DestroyCreated();
        throw;
    }
    return result;
}

QList<TComponent*> TReader::ReadComponents(TComponent* Owner, TComponent* Parent)
{
    FRoot = Owner;
    QList<QPointer<TComponent>> read;
    try {
        while (!R.AtEnd()) {
            R.ReadSignature();
            read << ReadObject(Parent ? Parent : Owner, Owner);
        }
        ResolveFixups();
        FinishLoading();
    } catch (...) {
        DestroyCreated();
        throw;
    }
    QList<TComponent*> result;
    for (const QPointer<TComponent>& c : std::as_const(read))
        if (c)
            result << c; // null when OnError skipped it
    return result;
}

void TReader::ReadChildren(TComponent* Parent, TComponent* Owner)
{
    while (!R.EndOfList())
        ReadObject(Parent, Owner);
    R.ReadListEnd();
}

void TReader::SkipObjectBody()
{
    if (++FDepth > MaxObjectNesting)
        R.Fail(QStringLiteral("Nesting too deep"));
    while (!R.EndOfList()) {
        R.ReadStr();
        R.SkipValue();
    }
    R.ReadListEnd();
    while (!R.EndOfList()) {
        R.ReadHeader();
        SkipObjectBody();
    }
    R.ReadListEnd();
    --FDepth;
}

TComponent* TReader::ReadObject(TComponent* Parent, TComponent* Owner)
{
    const qint64 at = R.Position();
    if (++FDepth > MaxObjectNesting)
        R.Fail(QStringLiteral("Nesting too deep"));
    const TObjectHeader h = R.ReadHeader();
    const QString name = QString::fromUtf8(h.ObjectName);
    TComponent* c = nullptr;
    try {
        if (h.Flags & ffInherited) {
            c = Owner->FindComponent(name);
            if (!c)
                throw EReadError(QStringLiteral("Ancestor for '%1' not found").arg(name), at);
        } else {
            c = CreateComponent(FindClass(QString::fromUtf8(h.ClassName)), Owner);
            FCreated << c;
            c->IncludeState(csLoading | csReading);
            if (h.Flags & ffInline)
                c->SetInline(true);
            const QString newName = OnSetName ? OnSetName(c, name) : name;
            c->SetName(newName);
            if (newName != name && !name.isEmpty())
                FRenamed.insert(name.toCaseFolded(), c); // references among pasted components follow them
            c->SetParentComponent(Parent->GetChildParent());
        }
    } catch (const Exception& e) {
        if (c && !(h.Flags & ffInherited)) {
            FCreated.removeAll(c);
            delete c;
        }
        const EReadError wrapped(QStringLiteral("Error creating %1: %2")
                                     .arg(name.isEmpty() ? QString::fromUtf8(h.ClassName) : name, e.Message),
                                 at);
        if (!HandleError(wrapped))
            throw wrapped;
        SkipObjectBody();
        --FDepth;
        return nullptr;
    }
    c->IncludeState(csLoading | csReading);
    FLoaded << c;
    ReadProperties(c);
    TComponent* childOwner = (h.Flags & ffInline) ? c : (c->GetChildOwner() ? c->GetChildOwner() : Owner);
    ReadChildren(c, childOwner);
    --FDepth;
    return c;
}

void TReader::ReadProperties(TPersistent* Instance)
{
    while (!R.EndOfList())
        ReadProperty(Instance);
    R.ReadListEnd();
}

void TReader::ReadProperty(TPersistent* Instance)
{
    const qint64 at = R.Position();
    const QByteArrayView rawName = R.ReadStr();
    const QString name = QString::fromUtf8(rawName.data(), rawName.size());
    const qint64 valueAt = R.Position();
    try {
        // Dotted names walk through owned sub-objects (Font.Name).
        QObject* target = Instance;
        const QStringList parts = name.split(QLatin1Char('.'));
        for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
            const TPropInfo* info = GetPropInfo(target->metaObject(), parts.at(i));
            QObject* next = info && info->Kind == TTypeKind::tkClass ? GetObjectProp(target, *info) : nullptr;
            if (!info || info->Kind != TTypeKind::tkClass
                || (info->IsComponentRef() && !IsSubComponent(target, *info, next)))
                throw EReadError(QStringLiteral("Property %1 does not exist").arg(parts.mid(0, i + 1).join('.')));
            target = next;
            if (!target)
                throw EReadError(QStringLiteral("Property %1 is not assigned").arg(parts.mid(0, i + 1).join('.')));
        }
        const TPropInfo* info = GetPropInfo(target->metaObject(), parts.last());
        if (info) {
            ReadPropValue(target, *info);
        } else {
            FPropName = parts.last();
            if (auto* persistent = qobject_cast<TPersistent*>(target))
                persistent->DefineProperties(this);
            if (!FPropName.isEmpty()) {
                FPropName.clear();
                throw EReadError(QStringLiteral("Property %1 does not exist").arg(name));
            }
        }
    } catch (const Exception& e) {
        FPropName.clear();
        const EReadError wrapped(QStringLiteral("Error reading %1.%2: %3").arg(PathOf(Instance), name, e.Message),
                                 at);
        if (!HandleError(wrapped))
            throw wrapped;
        R.SetPosition(valueAt);
        R.SkipValue();
    }
}

void TReader::ReadPropValue(QObject* Instance, const TPropInfo& Info)
{
    const QMetaProperty& prop = Info.Prop;
    if (Info.Kind != TTypeKind::tkClass && !prop.isWritable())
        throw EReadError(QStringLiteral("Property %1 is read-only").arg(Info.Name));
    auto invalid = [&]() { return EReadError(QStringLiteral("Invalid property value")); };
    switch (Info.Kind) {
    case TTypeKind::tkInteger: {
        const TValueType t = R.NextValue();
        if (t != vaInt8 && t != vaInt16 && t != vaInt32 && t != vaInt64)
            throw invalid();
        const qint64 v = R.ReadInt64();
        const int size = prop.metaType().sizeOf();
        if (size < 8 && (v < -(qint64(1) << (size * 8 - 1)) || v >= (qint64(1) << (size * 8))))
            throw EReadError(QStringLiteral("%1 is not a valid value for %2").arg(v).arg(Info.Name));
        SetOrdProp(Instance, Info, v);
        break;
    }
    case TTypeKind::tkInt64: {
        const TValueType t = R.NextValue();
        if (t != vaInt8 && t != vaInt16 && t != vaInt32 && t != vaInt64)
            throw invalid();
        SetOrdProp(Instance, Info, R.ReadInt64());
        break;
    }
    case TTypeKind::tkFloat:
        prop.write(Instance, QVariant(double(R.ReadFloat())));
        break;
    case TTypeKind::tkSingle:
        prop.write(Instance, QVariant(float(R.ReadFloat())));
        break;
    case TTypeKind::tkString: {
        const TValueType t = R.NextValue();
        if (t != vaString && t != vaLString && t != vaWString && t != vaUTF8String)
            throw invalid();
        prop.write(Instance, QVariant(R.ReadString()));
        break;
    }
    case TTypeKind::tkBoolean:
        prop.write(Instance, QVariant(ReadBoolean()));
        break;
    case TTypeKind::tkEnumeration: {
        if (R.NextValue() != vaIdent)
            throw invalid();
        const QString ident = ReadIdent();
        qint64 v = 0;
        if (!GetEnumValue(Info, ident, v))
            throw EReadError(QStringLiteral("'%1' is not a value of %2").arg(ident, Info.Name));
        SetOrdProp(Instance, Info, v);
        break;
    }
    case TTypeKind::tkSet: {
        R.CheckValue(vaSet);
        qint64 bits = 0;
        for (;;) {
            const QByteArrayView element = R.ReadStr();
            if (element.isEmpty())
                break;
            qint64 v = 0;
            if (!GetEnumValue(Info, QString::fromUtf8(element.data(), element.size()), v))
                throw EReadError(QStringLiteral("'%1' is not a member of %2")
                                     .arg(QString::fromUtf8(element.data(), element.size()), Info.Name));
            bits |= v;
        }
        SetOrdProp(Instance, Info, bits);
        break;
    }
    case TTypeKind::tkVariant:
        prop.write(Instance, QVariant::fromValue(ReadVariant()));
        break;
    case TTypeKind::tkMethod: {
        TMethod m;
        if (R.NextValue() == vaNil)
            R.ReadValue();
        else if (R.NextValue() == vaIdent)
            m.Name = ReadIdent();
        else
            throw invalid();
        prop.write(Instance, QVariant::fromValue(m));
        break;
    }
    case TTypeKind::tkStringList: {
        QStringList list;
        R.CheckValue(vaList);
        while (!R.EndOfList())
            list << R.ReadString();
        R.ReadListEnd();
        prop.write(Instance, QVariant(list));
        break;
    }
    case TTypeKind::tkBinary:
        prop.write(Instance, QVariant(R.ReadBinary()));
        break;
    case TTypeKind::tkClass:
        if (Info.IsComponentRef()) {
            if (!prop.isWritable())
                throw EReadError(QStringLiteral("Property %1 is read-only").arg(Info.Name));
            if (R.NextValue() == vaNil) {
                R.ReadValue();
                SetObjectProp(Instance, Info, nullptr);
            } else if (R.NextValue() == vaIdent) {
                auto* persistent = qobject_cast<TPersistent*>(Instance);
                FFixups.append({Instance, &Info, ReadIdent(),
                                (persistent ? PathOf(persistent) : QString()) + QLatin1Char('.') + Info.Name});
            } else {
                throw invalid();
            }
        } else if (auto* collection = qobject_cast<TCollection*>(GetObjectProp(Instance, Info))) {
            ReadCollection(collection);
        } else {
            throw invalid();
        }
        break;
    case TTypeKind::tkUnknown:
        throw EReadError(QStringLiteral("Property %1 has a type that cannot be read").arg(Info.Name));
    }
}

void TReader::ReadCollection(TCollection* Collection)
{
    R.CheckValue(vaCollection);
    Collection->BeginUpdate();
    struct TEndUpdate
    {
        TCollection* C;
        ~TEndUpdate() { C->EndUpdate(); }
    } guard{Collection};
    Collection->Clear();
    while (!R.EndOfList()) {
        const TValueType t = R.NextValue();
        if (t == vaInt8 || t == vaInt16 || t == vaInt32)
            R.ReadInt64(); // item order, meaningful only against an ancestor form
        R.CheckValue(vaList);
        ReadProperties(Collection->Add());
    }
    R.ReadListEnd();
}

TComponent* TReader::FindReference(const QString& Name) const
{
    const QStringList parts = Name.split(QLatin1Char('.'));
    auto isRoot = [this](const QString& n) {
        return FRoot && !FRoot->GetName().isEmpty() && n.compare(FRoot->GetName(), Qt::CaseInsensitive) == 0;
    };
    if (parts.size() == 1) {
        if (TComponent* renamed = FRenamed.value(Name.toCaseFolded()))
            return renamed;
        return isRoot(Name) ? FRoot : FRoot->FindComponent(Name);
    }
    TComponent* c = isRoot(parts.first()) ? FRoot : (GlobalFinder() ? GlobalFinder()(parts.first()) : nullptr);
    for (qsizetype i = 1; c && i < parts.size(); ++i)
        c = c->FindComponent(parts.at(i));
    return c;
}

void TReader::ResolveFixups()
{
    for (const TFixup& f : std::as_const(FFixups)) {
        if (!f.Instance)
            continue;
        TComponent* ref = FindReference(f.Name);
        if (ref && InheritsFrom(ref->metaObject(), f.Info->ClassType))
            SetObjectProp(f.Instance, *f.Info, ref);
        else
            FUnresolved << QStringLiteral("%1 -> %2").arg(f.Where, f.Name);
    }
    FFixups.clear();
}

void TReader::FinishLoading()
{
    const QList<QPointer<TComponent>> loaded = std::exchange(FLoaded, {});
    FCreated.clear();
    for (const QPointer<TComponent>& c : loaded)
        if (c)
            c->ExcludeState(csReading);
    for (const QPointer<TComponent>& c : loaded)
        if (c)
            c->Loaded();
}

void TReader::DestroyCreated()
{
    for (qsizetype i = FCreated.size() - 1; i >= 0; --i)
        delete FCreated.at(i).data(); // null when its owner went first
    FCreated.clear();
    for (const QPointer<TComponent>& c : std::as_const(FLoaded))
        if (c)
            c->ExcludeState(csLoading | csReading);
    FLoaded.clear();
}

// ---------------------------------------------------------------------------------------------
// TWriter

TWriter::TWriter() = default;

TWriter::~TWriter()
{
    for (qsizetype i = FOwnedDefaults.size() - 1; i >= 0; --i)
        delete FOwnedDefaults.at(i);
}

QByteArray TWriter::WriteRootComponent(TComponent* Root)
{
    FRoot = Root;
    W.WriteSignature();
    WriteObject(Root);
    return W.Take();
}

QByteArray TWriter::WriteComponent(TComponent* Component, TComponent* Root)
{
    FRoot = Root;
    W.WriteSignature();
    WriteObject(Component);
    return W.Take();
}

void TWriter::WriteIdent(const QString& Value) { W.WriteIdent(Value.toUtf8()); }

void TWriter::WriteVariant(const Variant& Value)
{
    switch (Value.VarType()) {
    case TVarType::varEmpty:
        W.WriteValue(vaNil);
        break;
    case TVarType::varNull:
        W.WriteValue(vaNull);
        break;
    case TVarType::varInteger:
        W.WriteInteger(Value.AsInteger());
        break;
    case TVarType::varDouble:
        W.WriteExtended(Value.AsFloat());
        break;
    case TVarType::varString:
        W.WriteString(Value.AsString());
        break;
    case TVarType::varBoolean:
        W.WriteBoolean(Value.AsBoolean());
        break;
    case TVarType::varDate:
        W.WriteDate(Value.AsDate());
        break;
    }
}

void TWriter::DefineProperty(const QString& Name, const TReaderProc&, const TWriterProc& WriteData, bool HasData)
{
    if (HasData && WriteData) {
        WritePropName(FPrefix + Name);
        WriteData(this);
    }
}

void TWriter::DefineBinaryProperty(const QString& Name, const TReadBinaryProc&, const TWriteBinaryProc& WriteData,
                                   bool HasData)
{
    if (HasData && WriteData) {
        WritePropName(FPrefix + Name);
        W.WriteBinary(WriteData());
    }
}

void TWriter::WritePropName(const QString& Name)
{
    const QByteArray utf8 = Name.toUtf8();
    if (utf8.size() > 255)
        throw EWriteError(QStringLiteral("Property name %1 is longer than 255 bytes").arg(Name));
    W.WriteStr(utf8);
}

const QObject* TWriter::DefaultOf(const QMetaObject* AClass)
{
    const auto it = FDefaults.constFind(AClass);
    if (it != FDefaults.cend())
        return *it;
    QObject* def = nullptr;
    try {
        if (InheritsFrom(AClass, &TComponent::staticMetaObject)) {
            def = CreateComponent(AClass, nullptr);
            FOwnedDefaults << def;
        } else if (InheritsFrom(AClass, &TCollectionItem::staticMetaObject)) {
            auto* scratch = new TCollection(AClass);
            FOwnedDefaults << scratch;
            def = scratch->Add();
        }
    } catch (const Exception&) {
        def = nullptr; // without a default every stored value is written
    }
    FDefaults.insert(AClass, def);
    return def;
}

QString TWriter::ReferenceName(const TComponent* Ref) const
{
    if (Ref->GetName().isEmpty())
        return QString();
    if (Ref == FRoot || Ref->Owner() == FRoot || !Ref->Owner() || Ref->Owner()->GetName().isEmpty())
        return Ref->GetName();
    return Ref->Owner()->GetName() + QLatin1Char('.') + Ref->GetName();
}

void TWriter::WriteObject(TComponent* Component)
{
    const int flags = (Component != FRoot && (Component->ComponentState() & csInline)) ? ffInline : 0;
    const QByteArray className = Component->ClassName().toUtf8();
    const QByteArray name = Component->GetName().toUtf8();
    if (className.size() >= 0xF0 || name.size() > 255)
        throw EWriteError(QStringLiteral("Name or class name of %1 is too long").arg(Component->GetName()));
    W.WritePrefix(flags, 0);
    W.WriteStr(className);
    W.WriteStr(name);
    const bool wasWriting = Component->ComponentState() & csWriting;
    Component->IncludeState(csWriting);
    try {
        WriteProperties(Component, DefaultOf(Component->metaObject()), QString());
        W.WriteListEnd();
        Component->GetChildren([this](TComponent* child) { WriteObject(child); }, FRoot);
        W.WriteListEnd();
    } catch (...) {
        if (!wasWriting)
            Component->ExcludeState(csWriting);
        throw;
    }
    if (!wasWriting)
        Component->ExcludeState(csWriting);
}

void TWriter::WriteProperties(TPersistent* Instance, const QObject* Default, const QString& Prefix)
{
    if (Default && Default->metaObject() != Instance->metaObject())
        Default = nullptr;
    const bool isComponent = qobject_cast<TComponent*>(Instance) != nullptr;
    for (const TPropInfo& info : GetPropList(Instance->metaObject())) {
        const QMetaProperty& prop = info.Prop;
        if (!prop.isReadable() || !prop.isStored())
            continue;
        if (isComponent && Prefix.isEmpty() && info.Name == QLatin1String("Name"))
            continue; // written in the object header
        const QString name = Prefix + info.Name;
        if (info.Kind == TTypeKind::tkClass) {
            if (info.IsComponentRef()) {
                if (!prop.isWritable()) {
                    auto* sub = qobject_cast<TComponent*>(GetObjectProp(Instance, info));
                    if (IsSubComponent(Instance, info, sub))
                        WriteProperties(sub, Default ? GetObjectProp(Default, info) : nullptr,
                                        name + QLatin1Char('.'));
                    continue;
                }
                const auto* ref = static_cast<TComponent*>(GetObjectProp(Instance, info));
                const QObject* defRef = Default ? GetObjectProp(Default, info) : nullptr;
                if (ref == defRef)
                    continue;
                if (!ref) {
                    WritePropName(name);
                    W.WriteValue(vaNil);
                    continue;
                }
                const QString refName = ReferenceName(ref);
                if (refName.isEmpty())
                    continue; // an unnamed component cannot be referred to in a form
                WritePropName(name);
                WriteIdent(refName);
                continue;
            }
            QObject* obj = GetObjectProp(Instance, info);
            if (!obj)
                continue;
            const QObject* defObj = Default ? GetObjectProp(Default, info) : nullptr;
            if (auto* collection = qobject_cast<TCollection*>(obj)) {
                WriteCollection(name, collection, qobject_cast<const TCollection*>(defObj));
            } else if (auto* sub = qobject_cast<TPersistent*>(obj)) {
                WriteProperties(sub, defObj, name + QLatin1Char('.'));
            }
            continue;
        }
        if (!prop.isWritable() || info.Kind == TTypeKind::tkUnknown)
            continue;
        const QVariant value = prop.read(Instance);
        if (Default) {
            if (prop.read(Default) == value)
                continue;
        } else if ((info.Kind == TTypeKind::tkString && value.toString().isEmpty())
                   || (info.Kind == TTypeKind::tkMethod && value.value<TMethod>().IsEmpty())) {
            continue;
        }
        WritePropName(name);
        switch (info.Kind) {
        case TTypeKind::tkInteger:
        case TTypeKind::tkInt64:
            W.WriteInteger(GetOrdProp(Instance, info));
            break;
        case TTypeKind::tkFloat: {
            const double v = value.toDouble();
            if (!std::isfinite(v))
                throw EWriteError(QStringLiteral("%1.%2 is not a finite number").arg(PathOf(Instance), info.Name));
            W.WriteExtended(v);
            break;
        }
        case TTypeKind::tkSingle:
            W.WriteSingle(value.toFloat());
            break;
        case TTypeKind::tkString:
            W.WriteString(value.toString());
            break;
        case TTypeKind::tkBoolean:
            W.WriteBoolean(value.toBool());
            break;
        case TTypeKind::tkEnumeration: {
            const qint64 v = GetOrdProp(Instance, info);
            const QString key = GetEnumName(info, v);
            if (key.isEmpty())
                throw EWriteError(QStringLiteral("%1.%2 holds %3, which is not a value of its type")
                                      .arg(PathOf(Instance), info.Name).arg(v));
            W.WriteValue(vaIdent);
            W.WriteStr(key.toUtf8());
            break;
        }
        case TTypeKind::tkSet:
            W.WriteValue(vaSet);
            for (const QString& member : SetToNames(info, GetOrdProp(Instance, info)))
                W.WriteStr(member.toUtf8());
            W.WriteStr(QByteArray());
            break;
        case TTypeKind::tkVariant:
            WriteVariant(value.value<Variant>());
            break;
        case TTypeKind::tkMethod: {
            const TMethod m = value.value<TMethod>();
            if (m.IsEmpty())
                W.WriteValue(vaNil);
            else
                WriteIdent(m.Name);
            break;
        }
        case TTypeKind::tkStringList:
            W.WriteListBegin();
            for (const QString& s : value.toStringList())
                W.WriteString(s);
            W.WriteListEnd();
            break;
        case TTypeKind::tkBinary:
            W.WriteBinary(value.toByteArray());
            break;
        case TTypeKind::tkClass:
        case TTypeKind::tkUnknown:
            break;
        }
    }
    const QString savedPrefix = std::exchange(FPrefix, Prefix);
    Instance->DefineProperties(this);
    FPrefix = savedPrefix;
}

void TWriter::WriteCollection(const QString& Name, TCollection* Collection, const TCollection* Default)
{
    if (Collection->Count() == 0 && (!Default || Default->Count() == 0))
        return;
    WritePropName(Name);
    W.WriteValue(vaCollection);
    for (int i = 0; i < Collection->Count(); ++i) {
        TCollectionItem* item = Collection->Items(i);
        W.WriteListBegin();
        WriteProperties(item, DefaultOf(item->metaObject()), QString());
        W.WriteListEnd();
    }
    W.WriteListEnd();
}

// ---------------------------------------------------------------------------------------------

TComponent* ReadComponentStream(const QByteArray& Data, TComponent* Root, const QMetaObject* AncestorClass)
{
    const QByteArray binary =
        TestStreamFormat(Data) == TStreamOriginalFormat::sofText ? ObjectTextToBinary(Data) : Data;
    TReader reader(binary);
    return reader.ReadRootComponent(Root, AncestorClass);
}

QByteArray WriteComponentStream(TComponent* Root)
{
    TWriter writer;
    return writer.WriteRootComponent(Root);
}

QByteArray WriteComponentText(TComponent* Root, TLineBreak LineBreak)
{
    return ObjectBinaryToText(WriteComponentStream(Root), LineBreak);
}

#include "Filer.h"
#include "FormTextPlace.h"

#include "Classes.h"
#include "Controls.h"
#include "PropAccess.h"
#include "SysUtils.h"
#include "TypInfo.h"
#include "Variants.h"

#include <QMutex>
#include <QScopeGuard>
#include <QSet>
#include <QVarLengthArray>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

using namespace KvFormBinary;

namespace {

constexpr int MaxObjectNesting = 200;

std::function<TComponent*(const QString&)>& GlobalFinder()
{
    static std::function<TComponent*(const QString&)> finder;
    return finder;
}

// Classes of the frames being read inline on this thread, the innermost last.
QStringList& FramesBeingRead()
{
    thread_local QStringList frames;
    return frames;
}

// What an ancestor form holds is written by a descendant only where it differs.
void MarkFromAncestor(TComponent* Owner)
{
    for (int i = 0; i < Owner->ComponentCount(); ++i) {
        TComponent* c = Owner->Components(i);
        if (!c->StreamRecord())
            c->SetStreamRecord(std::make_shared<TStreamRecord>());
        TStreamRecord* rec = c->StreamRecord();
        if (!rec->Entries.isEmpty())
            rec->Ancestor = std::make_shared<const TStreamRecord>(*rec);
        rec->FromAncestor = true;
        rec->Entries.clear();
        rec->Flags = ffInherited | (rec->Flags & ffInline);
        rec->Position = 0;
        MarkFromAncestor(c);
    }
}

// The length-prefixed name at At.
QByteArrayView NameAt(QByteArrayView Stream, qsizetype At)
{
    return Stream.sliced(At + 1, uchar(Stream[At]));
}

bool SameName(QByteArrayView A, QByteArrayView B)
{
    auto ascii = [](QByteArrayView S) { return std::all_of(S.begin(), S.end(), [](char C) { return uchar(C) < 0x80; }); };
    if (!ascii(A) || !ascii(B))
        return QString::fromUtf8(A).compare(QString::fromUtf8(B), Qt::CaseInsensitive) == 0;
    if (A.size() != B.size())
        return false;
    auto lower = [](char C) { return C >= 'A' && C <= 'Z' ? char(C + 32) : C; };
    for (qsizetype i = 0; i < A.size(); ++i)
        if (lower(A[i]) != lower(B[i]))
            return false;
    return true;
}

// Both sides mostly list names in the same order, so the search starts after the last one found.
qsizetype FindName(QByteArrayView Stream, const QList<TStreamRecord::TRange>& Ranges, QByteArrayView Name,
                   qsizetype& Hint)
{
    const qsizetype n = Ranges.size();
    for (qsizetype k = 0; k < n; ++k) {
        const qsizetype i = (Hint + k) % n;
        if (SameName(NameAt(Stream, Ranges.at(i).NameAt), Name)) {
            Hint = i + 1;
            return i;
        }
    }
    return -1;
}

QByteArrayView ValueOf(QByteArrayView Stream, const TStreamRecord::TRange& R)
{
    return Stream.sliced(R.ValueAt, R.End - R.ValueAt);
}

// Names the text format could not hold, as the converter refuses them.
QString BadHeader(const TObjectHeader& H)
{
    if (H.ClassName.size() >= 0xF0 || !IsFormIdent(H.ClassName, false))
        return QStringLiteral("Invalid class name");
    if (!H.ObjectName.isEmpty() && !IsFormIdent(H.ObjectName, false))
        return QStringLiteral("Invalid object name");
    return QString();
}

QString PathOf(const TPersistent* Instance)
{
    const QString path = Instance->GetNamePath();
    return path.isEmpty() ? Instance->ClassName() : path;
}

// The values of an instance's properties that a writer compares, by position in GetPropList;
// invalid for the others.
QList<QVariant> ComparedValues(const QObject* Instance)
{
    QList<QVariant> values;
    for (const TPropInfo& info : GetPropList(Instance->metaObject()))
        values << (info.Prop.isReadable() && info.Prop.isStored() && info.Prop.isWritable()
                           && info.Kind != TTypeKind::tkClass && info.Kind != TTypeKind::tkUnknown
                       ? KvReadProperty(info.Prop, Instance)
                       : QVariant());
    return values;
}

// New instances of the form bases and placeholders, which nearly every form written needs, made
// once for the whole program (never destroyed, as their classes are not) with their values. Other
// classes get new instances per writer: making one may announce it to the rest of the program
// (an application component, a package).
class TSharedDefaults
{
public:
    // Null for a class whose defaults are not shared.
    static const QObject* Of(const QMetaObject* AClass)
    {
        static const QMetaObject* const Shared[] = {&TForm::staticMetaObject, &TFrame::staticMetaObject,
                                                    &TDataModule::staticMetaObject, &TPlaceholderControl::staticMetaObject,
                                                    &TPlaceholderComponent::staticMetaObject};
        if (std::find(std::begin(Shared), std::end(Shared), AClass) == std::end(Shared))
            return nullptr;
        TSharedDefaults& d = Get();
        QMutexLocker lock(&d.FLock);
        QObject*& def = d.FInstances[AClass];
        if (!def)
            def = CreateComponent(AClass, nullptr);
        return def;
    }

    // Of a shared default or of one of its sub-objects; none for another object.
    static std::optional<QList<QVariant>> Values(const QObject* Default)
    {
        TSharedDefaults& d = Get();
        QMutexLocker lock(&d.FLock);
        const auto it = d.FValues.constFind(Default);
        if (it != d.FValues.cend())
            return *it;
        const QObject* top = Default;
        while (top->parent())
            top = top->parent();
        if (!d.FInstances.contains(top->metaObject()) || d.FInstances.value(top->metaObject()) != top)
            return std::nullopt;
        return *d.FValues.insert(Default, ComparedValues(Default));
    }

private:
    QMutex FLock;
    QHash<const QMetaObject*, QObject*> FInstances;
    QHash<const QObject*, QList<QVariant>> FValues;

    static TSharedDefaults& Get()
    {
        static auto& defaults = *new TSharedDefaults;
        return defaults;
    }
};

} // namespace

bool IsSubComponent(const QObject* Instance, const TPropInfo& Info, const QObject* Value)
{
    const auto* sub = qobject_cast<const TComponent*>(Value);
    return sub && Info.IsComponentRef() && !Info.Prop.isWritable() && sub->Owner() == Instance;
}

QString TStreamRecord::EntryName(const TEntry& E) const
{
    return QString::fromUtf8(Stream.constData() + E.NameAt + 1, E.ValueAt - E.NameAt - 1);
}

QList<std::pair<QString, QString>> KeptProperties(const TPersistent* Instance)
{
    QList<std::pair<QString, QString>> result;
    QSet<QString> listed;
    for (const TStreamRecord* rec = Instance ? Instance->StreamRecord() : nullptr; rec; rec = rec->Ancestor.get()) {
        for (const TStreamRecord::TEntry& e : rec->Entries) {
            if (!e.Kept || listed.contains(FoldCase(rec->EntryName(e))))
                continue;
            listed.insert(FoldCase(rec->EntryName(e)));
            // A one-property object converted to text shows the value as a form file would.
            QByteArray stream("TPF0\x01X\x00", 7);
            stream += rec->Range(e.NameAt, e.End);
            stream += QByteArray("\x00\x00", 2);
            QString value;
            try {
                const QString text = QString::fromUtf8(ObjectBinaryToText(stream, TLineBreak::LF));
                const qsizetype eq = text.indexOf(QLatin1String(" = "));
                const qsizetype end = text.lastIndexOf(QLatin1String("\nend"));
                value = eq < 0 ? QString() : text.mid(eq + 3, end - eq - 3).trimmed();
            } catch (const Exception&) {
            }
            result.append({rec->EntryName(e), value});
        }
    }
    return result;
}

QString KeptString(const TPersistent* Instance, const QString& Name)
{
    for (const TStreamRecord* rec = Instance ? Instance->StreamRecord() : nullptr; rec; rec = rec->Ancestor.get()) {
        for (const TStreamRecord::TEntry& e : rec->Entries) {
            if (!e.Kept || rec->EntryName(e).compare(Name, Qt::CaseInsensitive) != 0)
                continue;
            try {
                TBinaryReader r(rec->Range(e.ValueAt, e.End));
                const TValueType t = r.NextValue();
                if (rec->CodePage && (t == vaString || t == vaLString))
                    return rec->CodePage->Decode(r.ReadAnsiString());
                if (t == vaString || t == vaLString || t == vaWString || t == vaUTF8String)
                    return r.ReadString();
            } catch (const Exception&) {
            }
            return QString(); // kept, but not as a string
        }
    }
    return QString();
}

void SetFindGlobalComponent(std::function<TComponent*(const QString&)> Finder)
{
    GlobalFinder() = std::move(Finder);
}

// ---------------------------------------------------------------------------------------------
// TReader

TReader::TReader(const QByteArray& Stream) : FData(ObjectResourceToBinary(Stream)), R(FData) {}

TReader::~TReader() = default;

bool TReader::HandleError(const Exception& E) { return OnError && OnError(E); }

QString TReader::ReadString()
{
    const TValueType t = R.NextValue();
    if (CodePage && (t == vaString || t == vaLString))
        return CodePage->Decode(R.ReadAnsiString());
    return R.ReadString();
}

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
        return Variant(ReadString());
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
    const qint64 at = R.Position();
    const TObjectHeader h = R.ReadHeader();
    if (const QString bad = BadHeader(h); !bad.isEmpty())
        R.FailAt(bad, at);
    const QString className = QString::fromUtf8(h.ClassName);
    bool created = false;
    if (!Root) {
        const QMetaObject* cls = GetClass(className);
        // A root is its form's own class, of the kind its unit declares (AncestorClass): a
        // registered class of another kind only shares its name (a web module "Ttable").
        if (cls && AncestorClass && !InheritsFrom(cls, AncestorClass))
            cls = nullptr;
        if (!cls && !AncestorClass && KeepAsWritten)
            AncestorClass = &TForm::staticMetaObject;
        if (!cls) {
            if (!AncestorClass)
                throw EClassNotFound(QStringLiteral("Class %1 not found").arg(className));
            cls = AncestorClass;
        }
        Root = CreateComponent(cls, nullptr);
        created = true;
    }
    if (className != QLatin1String(Root->metaObject()->className())) // as written, also in its letter case
        Root->SetDesignClassName(className);
    FRoot = Root;
    try {
        Root->IncludeState(csLoading | csReading);
        FLoaded << Root;
        if (TStreamRecord* rec = NewRecord(Root)) {
            rec->Flags = h.Flags;
            rec->Position = h.Position;
        }
        if (!h.ObjectName.isEmpty())
            Root->SetName(QString::fromUtf8(h.ObjectName));
        ReadProperties(Root);
        ReadChildren(Root, Root);
        // Bytes after the root would be dropped by the next save.
        if (!R.AtEnd())
            R.Fail(QStringLiteral("Unexpected data after the end of the form"));
        CheckPlacement();
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
        CheckPlacement();
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
        CheckPlacement();
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

TStreamRecord* TReader::NewRecord(TPersistent* Instance)
{
    if (!KeepAsWritten) {
        Instance->SetStreamRecord(nullptr); // from an earlier reading, of another stream
        return nullptr;
    }
    auto rec = std::make_shared<TStreamRecord>();
    if (const TStreamRecord* old = Instance->StreamRecord())
        rec->Ancestor = old->Ancestor; // read again by a descendant form
    rec->Stream = FData;
    rec->Entries.reserve(16); // most objects store fewer properties: no growing on the way
    rec->CodePage = CodePage;
    rec->AnsiStrings = AnsiStrings;
    Instance->SetStreamRecord(rec);
    FRecorded << Instance;
    return rec.get();
}

TComponent* TReader::CreatePlaceholder(const TObjectHeader& Header, TComponent* Parent, TComponent* Owner)
{
    // A control stores its size, a non-visual component at most its place; only controls sit
    // inside controls.
    bool visual = (Header.Flags & ffInline)
        || (qobject_cast<TWinControl*>(Parent) && Parent != FRoot && !(Parent->ComponentState() & csInline));
    if (!visual && !qobject_cast<TPlaceholderComponent*>(Parent)) {
        const qint64 start = R.Position();
        while (!visual && !R.EndOfList()) {
            const QByteArrayView name = R.ReadStr();
            visual = name.compare("Width", Qt::CaseInsensitive) == 0 || name.compare("Height", Qt::CaseInsensitive) == 0;
            R.SkipValue();
        }
        R.SetPosition(start);
    }
    TComponent* c = visual ? static_cast<TComponent*>(new TPlaceholderControl(Owner))
                           : static_cast<TComponent*>(new TPlaceholderComponent(Owner));
    c->SetDesignClassName(QString::fromUtf8(Header.ClassName));
    return c;
}

TComponent* TReader::ReadObject(TComponent* Parent, TComponent* Owner)
{
    const qint64 at = R.Position();
    if (++FDepth > MaxObjectNesting)
        R.Fail(QStringLiteral("Nesting too deep"));
    const TObjectHeader h = R.ReadHeader();
    const QString name = QString::fromUtf8(h.ObjectName);
    TComponent* c = nullptr;
    bool created = false;
    try {
        if (const QString bad = BadHeader(h); !bad.isEmpty())
            throw EReadError(bad);
        if (h.Flags & ffInherited) {
            c = Owner->FindComponent(name);
            // Read twice, the second reading would replace what the first one kept.
            if (c && (c->ComponentState() & csReading))
                throw EReadError(QStringLiteral("Component %1 is written twice").arg(name), at);
            if (!c && !KeepAsWritten)
                throw EReadError(QStringLiteral("Ancestor for '%1' not found").arg(name), at);
        }
        if (!c) {
            const QString className = QString::fromUtf8(h.ClassName);
            const QMetaObject* cls = KeepAsWritten ? GetClass(className) : FindClass(className);
            const QByteArray frame =
                !cls && (h.Flags & ffInline) && FindFrame ? FindFrame(className) : QByteArray();
            if (!frame.isEmpty()) {
                // A frame placed inline opens on its own form; what follows changes it. One placed
                // inside itself, directly or through others, would be read until the stack runs out.
                if (FramesBeingRead().contains(className, Qt::CaseInsensitive))
                    throw EReadError(QStringLiteral("Frame %1 is placed inside itself").arg(className));
                FramesBeingRead() << className;
                const auto popFrame = qScopeGuard([] { FramesBeingRead().removeLast(); });
                c = CreateComponent(&TFrame::staticMetaObject, Owner);
                created = true;
                FCreated << c;
                c->SetInline(true);
                TFormFileShape shape;
                TReader frameReader(FormFileToBinary(frame, &shape));
                frameReader.KeepAsWritten = true;
                frameReader.CodePage = CodePage;
                frameReader.AnsiStrings = shape.Text.Style == TFormTextStyle::Legacy;
                frameReader.FindFrame = FindFrame;
                frameReader.ReadRootComponent(c);
                c->SetDesignClassName(className);
                MarkFromAncestor(c);
            } else {
                c = cls && InheritsFrom(cls, &TComponent::staticMetaObject) ? CreateComponent(cls, Owner)
                    : KeepAsWritten ? CreatePlaceholder(h, Parent, Owner)
                                    : CreateComponent(cls, Owner);
                created = true;
                FCreated << c;
                // Classes are found whatever the letter case; the name stays as written.
                if (KeepAsWritten && c->ClassName() != className)
                    c->SetDesignClassName(className);
            }
            c->IncludeState(csLoading | csReading);
            if (h.Flags & ffInline)
                c->SetInline(true);
            const QString newName = OnSetName ? OnSetName(c, name) : name;
            c->SetName(newName);
            if (newName != name && !name.isEmpty())
                FRenamed.insert(FoldCase(name), c); // references among pasted components follow them
            c->SetParentComponent(Parent->GetChildParent());
        }
    } catch (const Exception& e) {
        if (c && created) {
            FCreated.removeAll(c);
            delete c;
        }
        // An offset inside is one of a frame's own form: the place is where the frame is placed.
        const auto* inner = dynamic_cast<const EReadError*>(&e);
        const EReadError wrapped(QStringLiteral("Error creating %1: %2")
                                     .arg(name.isEmpty() ? QString::fromUtf8(h.ClassName) : name,
                                          inner ? inner->Reason : e.Message),
                                 at);
        if (!HandleError(wrapped))
            throw wrapped;
        SkipObjectBody();
        --FDepth;
        return nullptr;
    }
    c->IncludeState(csLoading | csReading);
    FLoaded << c;
    if (TStreamRecord* rec = NewRecord(c)) {
        rec->Flags = h.Flags;
        rec->Position = h.Position;
        rec->ReadUnder = Parent;
        if (TStreamRecord* parentRec = Parent->StreamRecord())
            parentRec->Children << c;
        FPlaced.append({c, Parent, at});
    }
    ReadProperties(c);
    TComponent* childOwner = (h.Flags & ffInline) ? c : (c->GetChildOwner() ? c->GetChildOwner() : Owner);
    ReadChildren(c, childOwner);
    --FDepth;
    return c;
}

void TReader::ReadProperties(TPersistent* Instance)
{
    TStreamRecord* rec = KeepAsWritten ? Instance->StreamRecord() : nullptr;
    while (!R.EndOfList())
        ReadProperty(Instance, rec);
    R.ReadListEnd();
}

void TReader::ReadProperty(TPersistent* Instance, TStreamRecord* Record)
{
    const qint64 at = R.Position();
    const QByteArrayView rawName = R.ReadStr();
    // What could not be written as text is not read either: the form could not be converted.
    if (!IsFormIdent(rawName, true))
        R.FailAt(QStringLiteral("Invalid property name"), at);
    // Names are nearly always ASCII: widened on the stack. The string refers to this buffer, so
    // whatever keeps it makes its own copy (arg, left, toString do).
    char16_t wide[256];
    const bool ascii = std::all_of(rawName.begin(), rawName.end(), [](char C) { return uchar(C) < 0x80; });
    if (ascii)
        std::copy(rawName.begin(), rawName.end(), wide);
    const QString name = ascii ? QString::fromRawData(reinterpret_cast<const QChar*>(wide), rawName.size())
                               : QString::fromUtf8(rawName.data(), rawName.size());
    const qint64 valueAt = R.Position();
    // What nobody reads is kept as written; found without an exception, as most properties of a
    // placeholder are.
    auto keep = [&](bool Kept) {
        if (Kept) {
            R.SetPosition(valueAt);
            R.SkipValue();
        }
        Record->Entries.append({qint32(at), qint32(valueAt), qint32(R.Position()), Kept});
    };
    // A component's name is the one of its header; a Name among its properties stays as written,
    // or the next save would move it into the header.
    if (Record && qobject_cast<TComponent*>(Instance) && name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
        return keep(true);
    try {
        // Dotted names walk through owned sub-objects (Font.Name).
        QObject* target = Instance;
        qsizetype start = 0;
        for (qsizetype dot; (dot = name.indexOf(QLatin1Char('.'), start)) >= 0; start = dot + 1) {
            const TPropInfo* info = GetPropInfo(target->metaObject(), QStringView(name).sliced(start, dot - start));
            QObject* next = info && info->Kind == TTypeKind::tkClass ? GetObjectProp(target, *info) : nullptr;
            const bool exists = info && info->Kind == TTypeKind::tkClass
                && !(info->IsComponentRef() && !IsSubComponent(target, *info, next));
            if (!exists || !next) {
                if (Record)
                    return keep(true);
                throw EReadError(QStringLiteral("Property %1 %2").arg(
                    name.left(dot), exists ? QStringLiteral("is not assigned") : QStringLiteral("does not exist")));
            }
            target = next;
        }
        const QStringView last = QStringView(name).sliced(start);
        const TPropInfo* info = GetPropInfo(target->metaObject(), last);
        if (info) {
            ReadPropValue(target, *info);
        } else {
            FPropName = last.toString();
            if (auto* persistent = qobject_cast<TPersistent*>(target))
                persistent->DefineProperties(this);
            if (!FPropName.isEmpty()) {
                FPropName.clear();
                if (Record)
                    return keep(true);
                throw EReadError(QStringLiteral("Property %1 does not exist").arg(name));
            }
        }
    } catch (const Exception& e) {
        FPropName.clear();
        if (Record)
            return keep(true); // a value that does not fit
        const EReadError wrapped(QStringLiteral("Error reading %1.%2: %3").arg(PathOf(Instance), name, e.Message),
                                 at);
        if (!HandleError(wrapped))
            throw wrapped;
        R.SetPosition(valueAt);
        R.SkipValue();
        return;
    }
    if (Record)
        keep(false);
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
        if (t == vaIdent && Info.Idents) {
            const QString ident = ReadIdent();
            qint64 v = 0;
            if (!IdentToInt(*Info.Idents, ident, v))
                throw EReadError(QStringLiteral("'%1' is not a value of %2").arg(ident, Info.Name));
            SetOrdProp(Instance, Info, v);
            break;
        }
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
        KvWriteProperty(prop, Instance, QVariant(double(R.ReadFloat())));
        break;
    case TTypeKind::tkSingle:
        KvWriteProperty(prop, Instance, QVariant(float(R.ReadFloat())));
        break;
    case TTypeKind::tkString: {
        const TValueType t = R.NextValue();
        if (t != vaString && t != vaLString && t != vaWString && t != vaUTF8String)
            throw invalid();
        KvWriteProperty(prop, Instance, QVariant(ReadString()));
        break;
    }
    case TTypeKind::tkBoolean:
        KvWriteProperty(prop, Instance, QVariant(ReadBoolean()));
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
        KvWriteProperty(prop, Instance, QVariant::fromValue(ReadVariant()));
        break;
    case TTypeKind::tkMethod: {
        TMethod m;
        if (R.NextValue() == vaNil)
            R.ReadValue();
        else if (R.NextValue() == vaIdent)
            m.Name = ReadIdent();
        else
            throw invalid();
        KvWriteProperty(prop, Instance, QVariant::fromValue(m));
        break;
    }
    case TTypeKind::tkStringList: {
        QStringList list;
        R.CheckValue(vaList);
        while (!R.EndOfList())
            list << ReadString();
        R.ReadListEnd();
        KvWriteProperty(prop, Instance, QVariant(list));
        break;
    }
    case TTypeKind::tkBinary:
        KvWriteProperty(prop, Instance, QVariant(R.ReadBinary()));
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
        const qint64 orderAt = R.Position();
        if (t == vaInt8 || t == vaInt16 || t == vaInt32)
            R.ReadInt64(); // item order, meaningful only against an ancestor form
        const qint64 orderEnd = R.Position();
        R.CheckValue(vaList);
        TCollectionItem* item = Collection->Add();
        if (TStreamRecord* rec = NewRecord(item); rec && orderEnd > orderAt) {
            rec->OrderAt = qint32(orderAt);
            rec->OrderEnd = qint32(orderEnd);
        }
        ReadProperties(item);
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
        if (TComponent* renamed = FRenamed.value(FoldCase(Name)))
            return renamed;
        return isRoot(Name) ? FRoot : FRoot->FindComponent(Name);
    }
    TComponent* c = isRoot(parts.first()) ? FRoot : (GlobalFinder() ? GlobalFinder()(parts.first()) : nullptr);
    for (qsizetype i = 1; c && i < parts.size(); ++i)
        c = c->FindComponent(parts.at(i));
    return c;
}

// A component the writer would find under another parent than the one it was read under (a
// control inside a non-visual component) would move at the next save.
void TReader::CheckPlacement()
{
    const QList<TPlacement> placed = std::exchange(FPlaced, {});
    if (placed.isEmpty())
        return;
    TWriter writer;
    writer.FRoot = FRoot;
    QHash<const TComponent*, const TComponent*> under; // null: found twice
    QList<TComponent*> pending{FRoot};
    while (!pending.isEmpty()) {
        TComponent* parent = pending.takeLast();
        for (TComponent* child : writer.ChildrenToWrite(parent, parent->StreamRecord())) {
            const auto it = under.find(child);
            if (it != under.end()) {
                *it = nullptr;
                continue;
            }
            under.insert(child, parent);
            pending << child;
        }
    }
    auto nameOf = [](const TComponent* c) { return c->GetName().isEmpty() ? c->ClassName() : c->GetName(); };
    for (const TPlacement& p : placed) {
        if (!p.Component || !p.Parent)
            continue;
        // A parent that is not written itself (the item list a menu pastes into) stands for the
        // component that holds it.
        const TComponent* parent = p.Parent;
        if (parent != FRoot && !under.contains(parent))
            parent = p.Component->GetParentComponent();
        if (under.value(p.Component) != parent)
            throw EReadError(QStringLiteral("%1 cannot be placed in %2").arg(nameOf(p.Component), nameOf(p.Parent)),
                             p.At);
    }
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
    SnapshotRecords();
}

void TReader::SnapshotRecords()
{
    const QList<QPointer<TPersistent>> recorded = std::exchange(FRecorded, {});
    if (recorded.isEmpty())
        return;
    TWriter writer;
    writer.FRoot = FRoot;
    // Last read first: a collection's items before the object holding it, whose encoding
    // depends on theirs.
    for (qsizetype i = recorded.size() - 1; i >= 0; --i)
        if (recorded.at(i))
            writer.SnapshotRecord(recorded.at(i));
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
    FRecorded.clear();
    FPlaced.clear();
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

void TWriter::SnapshotRecord(TPersistent* Instance)
{
    TStreamRecord* rec = Instance->StreamRecord();
    if (!rec)
        return;
    try {
        rec->LoadedStream = CollectProperties(Instance, rec->Loaded);
    } catch (const Exception&) {
        // Not writable as it stands: every value of it counts as edited.
        rec->LoadedStream.clear();
        rec->Loaded.clear();
    }
}

QByteArray TWriter::WriteComponent(TComponent* Component, TComponent* Root)
{
    FRoot = Root;
    FCopying = true;
    W.WriteSignature();
    WriteObject(Component);
    FCopying = false;
    return W.Take();
}

void TWriter::WriteRaw(QByteArrayView Bytes)
{
    W.Buffer().append(Bytes.data(), Bytes.size());
}

void TWriter::WriteString(const QString& Value)
{
    if (FCodePage && FAnsiStrings) {
        bool lossless = true;
        const QByteArray bytes = FCodePage->Encode(Value, &lossless);
        if (lossless) {
            W.WriteAnsiString(bytes);
            return;
        }
    }
    W.WriteString(Value);
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
        WriteString(Value.AsString());
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
    QByteArray& out = W.Buffer();
    const qsizetype at = out.size();
    // Names are nearly always ASCII: written straight into the stream.
    bool ascii = Name.size() <= 255;
    if (ascii) {
        out.resize(at + 1 + Name.size());
        char* p = out.data() + at;
        *p++ = char(Name.size());
        for (const QChar c : Name) {
            if (c.unicode() >= 0x80) {
                ascii = false;
                break;
            }
            *p++ = char(c.unicode());
        }
    }
    if (!ascii) {
        out.truncate(at);
        const QByteArray utf8 = Name.toUtf8();
        if (utf8.size() > 255)
            throw EWriteError(QStringLiteral("Property name %1 is longer than 255 bytes").arg(Name));
        W.WriteStr(utf8);
    }
    if (FMarking && FNest == 0)
        FMarks.append({qint32(at), qint32(out.size()), 0});
}

QByteArray TWriter::CollectProperties(TPersistent* Instance, QList<TStreamRecord::TRange>& Ranges)
{
    struct TSaved
    {
        TWriter* Self;
        KvFormBinary::TBinaryWriter Writer;
        QList<TStreamRecord::TRange> Marks;
        bool Marking;
        int Nest;
        QString Prefix;
        const TCodePage* CodePage;
        bool AnsiStrings;
        ~TSaved()
        {
            Self->FCodePage = CodePage;
            Self->FAnsiStrings = AnsiStrings;
            Self->W = std::move(Writer);
            Self->FMarks = std::move(Marks);
            Self->FMarking = Marking;
            Self->FNest = Nest;
            Self->FPrefix = std::move(Prefix);
        }
    } saved{this, std::exchange(W, {}), std::exchange(FMarks, {}),
            std::exchange(FMarking, true), std::exchange(FNest, 0), FPrefix, FCodePage, FAnsiStrings};
    if (const TStreamRecord* rec = Instance->StreamRecord()) {
        FCodePage = rec->CodePage.get();
        FAnsiStrings = rec->AnsiStrings;
    }
    FMarks.reserve(16);
    WriteProperties(Instance, DefaultOf(Instance->metaObject()), QString());
    QByteArray data = W.Take();
    Ranges = std::exchange(FMarks, {});
    for (qsizetype i = 0; i < Ranges.size(); ++i)
        Ranges[i].End = i + 1 < Ranges.size() ? Ranges.at(i + 1).NameAt : qint32(data.size());
    return data;
}

void TWriter::WriteRecorded(TPersistent* Instance, const TStreamRecord& Record)
{
    QList<TStreamRecord::TRange> now;
    const QByteArray data = CollectProperties(Instance, now);
    const QByteArrayView stream(Record.Stream), loaded(Record.LoadedStream);
    QVarLengthArray<bool, 64> seen(now.size());
    std::fill(seen.begin(), seen.end(), false);
    qsizetype nowHint = 0, loadedHint = 0;
    // What was read, in its order: as written unless edited since; what is no longer stored goes.
    for (const TStreamRecord::TEntry& e : Record.Entries) {
        const QByteArrayView name = NameAt(stream, e.NameAt);
        const qsizetype i = FindName(data, now, name, nowHint);
        if (i >= 0)
            seen[i] = true;
        if (e.Kept) {
            WriteRaw(stream.sliced(e.NameAt, e.End - e.NameAt));
            continue;
        }
        const qsizetype l = FindName(loaded, Record.Loaded, name, loadedHint);
        if ((l >= 0) == (i >= 0) && (l < 0 || ValueOf(loaded, Record.Loaded.at(l)) == ValueOf(data, now.at(i)))) {
            WriteRaw(stream.sliced(e.NameAt, e.End - e.NameAt));
        } else if (i >= 0) {
            WriteRaw(stream.sliced(e.NameAt, e.ValueAt - e.NameAt));
            WriteRaw(ValueOf(data, now.at(i)));
        }
    }
    // A copy is a new component: it takes along what it kept from ancestor forms.
    if (FCopying && Record.Ancestor) {
        QList<QByteArrayView> names;
        for (const TStreamRecord::TEntry& e : Record.Entries)
            names << NameAt(stream, e.NameAt);
        for (const TStreamRecord* a = Record.Ancestor.get(); a; a = a->Ancestor.get()) {
            const QByteArrayView from(a->Stream);
            for (const TStreamRecord::TEntry& e : a->Entries) {
                const QByteArrayView name = NameAt(from, e.NameAt);
                if (!e.Kept || std::any_of(names.cbegin(), names.cend(), [&](QByteArrayView n) { return SameName(n, name); }))
                    continue;
                names << name;
                if (qsizetype h = 0; FindName(data, now, name, h) >= 0)
                    continue; // read into the component: written below with its value now
                WriteRaw(from.sliced(e.NameAt, e.End - e.NameAt));
            }
        }
    }
    // Then what was set since.
    for (qsizetype i = 0; i < now.size(); ++i) {
        if (seen[i])
            continue;
        const qsizetype l = FindName(loaded, Record.Loaded, NameAt(data, now.at(i).NameAt), loadedHint);
        if (l >= 0 && ValueOf(loaded, Record.Loaded.at(l)) == ValueOf(data, now.at(i)))
            continue;
        WriteRaw(QByteArrayView(data).sliced(now.at(i).NameAt, now.at(i).End - now.at(i).NameAt));
    }
}

const QObject* TWriter::DefaultOf(const QMetaObject* AClass)
{
    const auto it = FDefaults.constFind(AClass);
    if (it != FDefaults.cend())
        return *it;
    QObject* def = nullptr;
    try {
        if (const QObject* shared = TSharedDefaults::Of(AClass)) {
            def = const_cast<QObject*>(shared); // only read
        } else if (InheritsFrom(AClass, &TComponent::staticMetaObject)) {
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
    const TStreamRecord* rec = Component->StreamRecord();
    if (rec && rec->FromAncestor && Component != FRoot && !FCopying) {
        // Written only when it or something inside it differs from the ancestor.
        KvFormBinary::TBinaryWriter saved = std::exchange(W, {});
        try {
            WriteObjectBody(Component, rec);
        } catch (...) {
            W = std::move(saved);
            throw;
        }
        const QByteArray written = W.Take();
        W = std::move(saved);
        const qsizetype empty = 1 + 2 + Component->ClassName().toUtf8().size() + Component->GetName().toUtf8().size() + 2;
        if (written.size() > empty)
            WriteRaw(written);
        return;
    }
    WriteObjectBody(Component, rec);
}

QList<TComponent*> TWriter::ChildrenToWrite(TComponent* Component, const TStreamRecord* rec) const
{
    QList<TComponent*> children;
    // A frame placed inline writes what it owns as its own form would: its non-visual components too.
    TComponent* root = Component != FRoot && (Component->ComponentState() & csInline) ? Component : FRoot;
    Component->GetChildren(
        [&](TComponent* child) {
            // Unless it was read under another of the frame's components, which lists it.
            const TStreamRecord* r = root != FRoot && !child->HasParent() ? child->StreamRecord() : nullptr;
            if (!r || !r->ReadUnder || r->ReadUnder == Component)
                children << child;
        },
        root);
    if (!rec || rec->Children.isEmpty())
        return children;
    // In the order they were read; those added since after them.
    QHash<const TComponent*, qsizetype> rank;
    for (qsizetype i = 0; i < rec->Children.size(); ++i)
        if (rec->Children.at(i))
            rank.insert(rec->Children.at(i).data(), i);
    // One that no parent claims (a menu item read under a control) stays where it was.
    const QSet<TComponent*> claimed(children.cbegin(), children.cend());
    for (const QPointer<TComponent>& c : rec->Children)
        if (c && !c->GetParentComponent() && (c->HasParent() || c->Owner() != FRoot) && !claimed.contains(c.data()))
            children << c.data();
    std::stable_sort(children.begin(), children.end(), [&rank](TComponent* a, TComponent* b) {
        return rank.value(a, LLONG_MAX) < rank.value(b, LLONG_MAX);
    });
    return children;
}

void TWriter::WriteObjectBody(TComponent* Component, const TStreamRecord* rec)
{
    // A copy is a new component wherever it is pasted: not inherited, not placed by position.
    int flags = rec && !FCopying ? rec->Flags & ~ffInline : 0;
    if (Component != FRoot ? bool(Component->ComponentState() & csInline) : bool(flags & ffInline))
        flags |= ffInline;
    const QByteArray className = Component->ClassName().toUtf8();
    const QByteArray name = Component->GetName().toUtf8();
    if (className.size() >= 0xF0 || name.size() > 255)
        throw EWriteError(QStringLiteral("Name or class name of %1 is too long").arg(Component->GetName()));
    W.WritePrefix(flags, rec && !FCopying ? rec->Position : 0);
    W.WriteStr(className);
    W.WriteStr(name);
    const bool wasWriting = Component->ComponentState() & csWriting;
    Component->IncludeState(csWriting);
    try {
        if (rec)
            WriteRecorded(Component, *rec);
        else
            WriteProperties(Component, DefaultOf(Component->metaObject()), QString());
        W.WriteListEnd();
        for (TComponent* child : ChildrenToWrite(Component, rec))
            WriteObject(child);
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
    const QList<TPropInfo>& props = GetPropList(Instance->metaObject());
    const QList<QVariant>* defaults = nullptr;
    if (Default) {
        auto it = FDefaultValues.find(Default);
        if (it == FDefaultValues.end()) {
            std::optional<QList<QVariant>> shared = TSharedDefaults::Values(Default);
            it = FDefaultValues.emplace(Default, shared ? std::move(*shared) : ComparedValues(Default)).first;
        }
        defaults = &it->second;
    }
    for (qsizetype index = 0; index < props.size(); ++index) {
        const TPropInfo& info = props.at(index);
        const QMetaProperty& prop = info.Prop;
        if (!prop.isReadable() || !prop.isStored() || !Instance->IsPropertyStored(info.Name))
            continue;
        if (isComponent && Prefix.isEmpty() && info.Name == QLatin1String("Name"))
            continue; // written in the object header
        // Made only for what is written: most values are defaults.
        const auto name = [&] { return Prefix.isEmpty() ? info.Name : Prefix + info.Name; };
        if (info.Kind == TTypeKind::tkClass) {
            if (info.IsComponentRef()) {
                if (!prop.isWritable()) {
                    auto* sub = qobject_cast<TComponent*>(GetObjectProp(Instance, info));
                    if (IsSubComponent(Instance, info, sub))
                        WriteProperties(sub, Default ? GetObjectProp(Default, info) : nullptr,
                                        name() + QLatin1Char('.'));
                    continue;
                }
                const auto* ref = static_cast<TComponent*>(GetObjectProp(Instance, info));
                const QObject* defRef = Default ? GetObjectProp(Default, info) : nullptr;
                if (ref == defRef)
                    continue;
                if (!ref) {
                    WritePropName(name());
                    W.WriteValue(vaNil);
                    continue;
                }
                const QString refName = ReferenceName(ref);
                if (refName.isEmpty())
                    continue; // an unnamed component cannot be referred to in a form
                WritePropName(name());
                WriteIdent(refName);
                continue;
            }
            QObject* obj = GetObjectProp(Instance, info);
            if (!obj)
                continue;
            const QObject* defObj = Default ? GetObjectProp(Default, info) : nullptr;
            if (auto* collection = qobject_cast<TCollection*>(obj)) {
                WriteCollection(name(), collection, qobject_cast<const TCollection*>(defObj));
            } else if (auto* sub = qobject_cast<TPersistent*>(obj)) {
                WriteProperties(sub, defObj, name() + QLatin1Char('.'));
            }
            continue;
        }
        if (!prop.isWritable() || info.Kind == TTypeKind::tkUnknown)
            continue;
        const QVariant value = KvReadProperty(prop, Instance);
        if (defaults) {
            if (defaults->at(index) == value)
                continue;
        } else if ((info.Kind == TTypeKind::tkString && value.toString().isEmpty())
                   || (info.Kind == TTypeKind::tkMethod && value.value<TMethod>().IsEmpty())) {
            continue;
        }
        WritePropName(name());
        switch (info.Kind) {
        case TTypeKind::tkInteger:
        case TTypeKind::tkInt64: {
            const qint64 v = OrdValue(value);
            const QString ident = info.Idents ? IntToIdent(*info.Idents, v) : QString();
            if (ident.isEmpty())
                W.WriteInteger(v);
            else
                WriteIdent(ident);
            break;
        }
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
            WriteString(value.toString());
            break;
        case TTypeKind::tkBoolean:
            W.WriteBoolean(value.toBool());
            break;
        case TTypeKind::tkEnumeration: {
            const qint64 v = OrdValue(value);
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
            for (const QString& member : SetToNames(info, OrdValue(value)))
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
                WriteString(s);
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
    ++FNest;
    for (int i = 0; i < Collection->Count(); ++i) {
        TCollectionItem* item = Collection->Items(i);
        const TStreamRecord* rec = item->StreamRecord();
        if (rec && rec->OrderAt >= 0)
            WriteRaw(QByteArrayView(rec->Stream).sliced(rec->OrderAt, rec->OrderEnd - rec->OrderAt));
        W.WriteListBegin();
        if (rec)
            WriteRecorded(item, *rec);
        else
            WriteProperties(item, DefaultOf(item->metaObject()), QString());
        W.WriteListEnd();
    }
    --FNest;
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

// ---------------------------------------------------------------------------------------------

QByteArray FormFileToBinary(const QByteArray& Data, TFormFileShape* Shape)
{
    const bool text = TestStreamFormat(Data) != TStreamOriginalFormat::sofBinary;
    if (Shape) {
        Shape->Format = text ? TStreamOriginalFormat::sofText : TStreamOriginalFormat::sofBinary;
        Shape->Resource = !text && !Data.isEmpty() && uchar(Data.at(0)) == 0xFF;
    }
    return text ? ObjectTextToBinary(Data, Shape ? &Shape->Text : nullptr) : ObjectResourceToBinary(Data);
}

QByteArray BinaryToFormFile(const QByteArray& Binary, const TFormFileShape& Shape)
{
    if (Shape.Format == TStreamOriginalFormat::sofText)
        return ObjectBinaryToText(Binary, Shape.Text);
    if (!Shape.Resource)
        return Binary;
    TBinaryReader r(Binary);
    r.ReadSignature();
    const TObjectHeader h = r.ReadHeader();
    return TBinaryWriter::ResourceHeader(h.ClassName.toUpper(), quint32(Binary.size())) + Binary;
}


TComponent* ReadFormAsWritten(const QByteArray& Binary, const TFormReadOptions& Options)
{
    std::unique_ptr<TComponent> root;
    // Making a code page asks the system whether it knows it: the default one is made once.
    static const std::shared_ptr<const TCodePage> defaultCodePage = std::make_shared<const TCodePage>();
    const std::shared_ptr<const TCodePage> codePage = Options.CodePage ? Options.CodePage : defaultCodePage;
    auto read = [&](const QByteArray& Stream) {
        TReader reader(Stream);
        reader.KeepAsWritten = true;
        reader.CodePage = codePage;
        reader.AnsiStrings = Options.AnsiStrings;
        reader.FindFrame = Options.FindFrame;
        TComponent* c = reader.ReadRootComponent(root.get(), Options.RootClass);
        if (!root)
            root.reset(c);
        if (Options.Unresolved)
            *Options.Unresolved += reader.UnresolvedReferences();
    };
    for (const QByteArray& ancestor : Options.Ancestors) {
        read(ancestor);
        MarkFromAncestor(root.get());
    }
    read(Binary);
    return root.release();
}

qsizetype FailingAncestor(const TFormReadOptions& Options, std::exception_ptr& Error)
{
    TFormReadOptions alone = Options;
    alone.Unresolved = nullptr;
    for (qsizetype i = 0; i < Options.Ancestors.size(); ++i) {
        alone.Ancestors = Options.Ancestors.first(i);
        try {
            delete ReadFormAsWritten(Options.Ancestors.at(i), alone);
        } catch (const Exception&) {
            Error = std::current_exception();
            return i;
        }
    }
    return -1;
}

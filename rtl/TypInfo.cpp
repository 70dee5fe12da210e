#include "TypInfo.h"

#include "Classes.h"
#include "PropAccess.h"
#include "SysUtils.h"
#include "Variants.h"

#include <QHash>
#include <QMetaEnum>
#include <QMutex>
#include <algorithm>
#include <cstring>

namespace {

struct TClassProps
{
    QList<TPropInfo> List;
    QHash<QString, int> Index; // case-folded name -> position in List
};

QHash<int, TIntegerIdents>& IdentRegistry()
{
    static QHash<int, TIntegerIdents> registry;
    return registry;
}

TTypeKind KindOf(const QMetaProperty& prop, const QMetaObject*& classType, const TIntegerIdents*& idents)
{
    if (prop.isEnumType())
        return prop.isFlagType() ? TTypeKind::tkSet : TTypeKind::tkEnumeration;
    const QMetaType type = prop.metaType();
    const auto named = IdentRegistry().constFind(type.id());
    if (named != IdentRegistry().cend()) {
        idents = &*named;
        return TTypeKind::tkInteger;
    }
    if (type == QMetaType::fromType<Variant>())
        return TTypeKind::tkVariant;
    if (type == QMetaType::fromType<TMethod>())
        return TTypeKind::tkMethod;
    switch (type.id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
        return TTypeKind::tkInteger;
    case QMetaType::Long: case QMetaType::ULong:
        return sizeof(long) == 8 ? TTypeKind::tkInt64 : TTypeKind::tkInteger;
    case QMetaType::LongLong: case QMetaType::ULongLong:
        return TTypeKind::tkInt64;
    case QMetaType::Double:
        return TTypeKind::tkFloat;
    case QMetaType::Float:
        return TTypeKind::tkSingle;
    case QMetaType::QString:
        return TTypeKind::tkString;
    case QMetaType::Bool:
        return TTypeKind::tkBoolean;
    case QMetaType::QStringList:
        return TTypeKind::tkStringList;
    case QMetaType::QByteArray:
        return TTypeKind::tkBinary;
    default:
        break;
    }
    if ((type.flags() & QMetaType::PointerToQObject) && type.metaObject()
        && InheritsFrom(type.metaObject(), &TPersistent::staticMetaObject)) {
        classType = type.metaObject();
        return TTypeKind::tkClass;
    }
    // A string type of its own (so that the designer can give it its own editor) that converts
    // to and from QString both ways is stored as a string.
    const QMetaType stringType = QMetaType::fromType<QString>();
    if (QMetaType::hasRegisteredConverterFunction(type, stringType)
        && QMetaType::hasRegisteredConverterFunction(stringType, type))
        return TTypeKind::tkString;
    return TTypeKind::tkUnknown;
}

const TClassProps& ClassProps(const QMetaObject* AClass)
{
    // Reading a form asks for the same class many times in a row.
    thread_local const QMetaObject* lastClass = nullptr;
    thread_local const TClassProps* lastProps = nullptr;
    if (AClass == lastClass)
        return *lastProps;
    static QMutex mutex;
    // Never destroyed: entries live as long as the classes, for the whole program.
    static auto& cache = *new QHash<const QMetaObject*, TClassProps*>;
    QMutexLocker lock(&mutex);
    TClassProps*& entry = cache[AClass];
    if (!entry) {
        entry = new TClassProps;
        const int only = AClass->indexOfClassInfo("KvPublished");
        const QList<QByteArray> published =
            only < 0 ? QList<QByteArray>() : QByteArray(AClass->classInfo(only).value()).split(',');
        for (int i = QObject::staticMetaObject.propertyCount(); i < AClass->propertyCount(); ++i) {
            TPropInfo info;
            info.Prop = AClass->property(i);
            if (only >= 0 && !published.contains(QByteArray(info.Prop.name())))
                continue;
            info.Name = QString::fromLatin1(info.Prop.name());
            info.Kind = KindOf(info.Prop, info.ClassType, info.Idents);
            entry->Index.insert(FoldCase(info.Name), int(entry->List.size()));
            entry->List.append(info);
        }
    }
    lastClass = AClass;
    lastProps = entry;
    return *entry;
}

} // namespace

void RegisterIntegerIdents(QMetaType Type, const TIdentMapEntry* Map, int Count)
{
    IdentRegistry().insert(Type.id(), TIntegerIdents{Map, Count});
}

bool IdentToInt(const TIntegerIdents& Idents, QStringView Name, qint64& Value)
{
    for (int i = 0; i < Idents.Count; ++i)
        if (Name.compare(QLatin1StringView(Idents.Map[i].Name), Qt::CaseInsensitive) == 0) {
            Value = Idents.Map[i].Value;
            return true;
        }
    return false;
}

QString IntToIdent(const TIntegerIdents& Idents, qint64 Value)
{
    for (int i = 0; i < Idents.Count; ++i)
        if (Idents.Map[i].Value == Value)
            return QString::fromLatin1(Idents.Map[i].Name);
    return QString();
}

bool TPropInfo::IsComponentRef() const
{
    return Kind == TTypeKind::tkClass && InheritsFrom(ClassType, &TComponent::staticMetaObject);
}

const QList<TPropInfo>& GetPropList(const QMetaObject* AClass) { return ClassProps(AClass).List; }

const TPropInfo* GetPropInfo(const QMetaObject* AClass, QStringView Name)
{
    const TClassProps& props = ClassProps(AClass);
    // Short ASCII names are folded on the stack: no allocation for a lookup.
    char16_t folded[64];
    const bool onStack = Name.size() <= 64 && std::all_of(Name.begin(), Name.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (onStack)
        std::transform(Name.begin(), Name.end(), folded, [](QChar c) {
            const char16_t u = c.unicode();
            return u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
        });
    const auto it = props.Index.constFind(onStack ? QString::fromRawData(reinterpret_cast<const QChar*>(folded), Name.size())
                                                  : FoldCase(Name));
    return it == props.Index.cend() ? nullptr : &props.List.at(*it);
}

qint64 GetOrdProp(const QObject* Instance, const TPropInfo& Info)
{
    return OrdValue(KvReadProperty(Info.Prop, Instance));
}

qint64 OrdValue(const QVariant& v)
{
    const void* d = v.constData();
    const int id = v.metaType().id();
    const bool isSigned = !(v.metaType().flags() & QMetaType::IsUnsignedEnumeration) && id != QMetaType::UInt
        && id != QMetaType::UShort && id != QMetaType::UChar && id != QMetaType::ULong && id != QMetaType::ULongLong;
    switch (v.metaType().sizeOf()) {
    case 1: return isSigned ? qint64(*static_cast<const qint8*>(d)) : qint64(*static_cast<const quint8*>(d));
    case 2: return isSigned ? qint64(*static_cast<const qint16*>(d)) : qint64(*static_cast<const quint16*>(d));
    case 4: return isSigned ? qint64(*static_cast<const qint32*>(d)) : qint64(*static_cast<const quint32*>(d));
    case 8: return *static_cast<const qint64*>(d);
    default: return 0;
    }
}

void SetOrdProp(QObject* Instance, const TPropInfo& Info, qint64 Value)
{
    const QMetaType type = Info.Prop.metaType();
    unsigned char buf[8];
    switch (type.sizeOf()) {
    case 1: { const qint8 v = qint8(Value); memcpy(buf, &v, 1); break; }
    case 2: { const qint16 v = qint16(Value); memcpy(buf, &v, 2); break; }
    case 4: { const qint32 v = qint32(Value); memcpy(buf, &v, 4); break; }
    case 8: memcpy(buf, &Value, 8); break;
    default: throw EConvertError(QStringLiteral("Property %1 is not an ordinal property").arg(Info.Name));
    }
    KvWriteProperty(Info.Prop, Instance, QVariant(type, buf));
}

QString GetEnumName(const TPropInfo& Info, qint64 Value)
{
    const char* key = Info.Prop.enumerator().valueToKey(int(Value));
    return key ? QString::fromLatin1(key) : QString();
}

bool GetEnumValue(const TPropInfo& Info, QStringView Name, qint64& Value)
{
    const QMetaEnum e = Info.Prop.enumerator();
    for (int i = 0; i < e.keyCount(); ++i) {
        if (Name.compare(QLatin1StringView(e.key(i)), Qt::CaseInsensitive) == 0) {
            Value = e.value(i);
            return true;
        }
    }
    return false;
}

QStringList SetToNames(const TPropInfo& Info, qint64 Value)
{
    // Members are the single-bit values of the flag enumeration, in declaration order.
    QStringList names;
    const QMetaEnum e = Info.Prop.enumerator();
    for (int i = 0; i < e.keyCount(); ++i) {
        const quint64 bit = quint64(quint32(e.value(i)));
        if (bit != 0 && (bit & (bit - 1)) == 0 && (quint64(Value) & bit))
            names << QString::fromLatin1(e.key(i));
    }
    return names;
}

QObject* GetObjectProp(const QObject* Instance, const TPropInfo& Info)
{
    const QVariant v = KvReadProperty(Info.Prop, Instance);
    return v.isValid() ? *static_cast<QObject* const*>(v.constData()) : nullptr;
}

void SetObjectProp(QObject* Instance, const TPropInfo& Info, QObject* Value)
{
    KvWriteProperty(Info.Prop, Instance, QVariant(Info.Prop.metaType(), &Value));
}

#pragma once

#include <QList>
#include <QMetaProperty>
#include <QString>
#include <QVariant>

class QObject;

// An event property holds the name of the handler method bound to it; the form designer
// owns the binding to code.
struct TMethod
{
    QString Name;
    bool IsEmpty() const { return Name.isEmpty(); }
    bool operator==(const TMethod& Other) const = default;
};
Q_DECLARE_METATYPE(TMethod)

enum class TTypeKind {
    tkUnknown,
    tkInteger,     // integer kinds up to 32 bits
    tkInt64,
    tkFloat,       // double
    tkSingle,      // float
    tkString,
    tkBoolean,
    tkEnumeration, // Q_ENUM
    tkSet,         // Q_FLAG
    tkVariant,     // Variant
    tkMethod,      // TMethod
    tkStringList,  // QStringList
    tkBinary,      // QByteArray
    tkClass        // pointer to a TPersistent descendant: owned sub-object or component reference
};

// Names for some values of an integer type (clBtnFace, DEFAULT_CHARSET): forms store the name
// when a value has one and take either.
struct TIdentMapEntry
{
    int Value;
    const char* Name;
};
struct TIntegerIdents
{
    const TIdentMapEntry* Map;
    int Count;
};
// Type is a struct holding one qint32; its properties become integer properties with these names.
void RegisterIntegerIdents(QMetaType Type, const TIdentMapEntry* Map, int Count);
bool IdentToInt(const TIntegerIdents& Idents, QStringView Name, qint64& Value);
QString IntToIdent(const TIntegerIdents& Idents, qint64 Value);

// A published property of a class: a Q_PROPERTY declared on TPersistent or below. A class with
// the class info "KvPublished" (names separated by commas) publishes only those.
struct TPropInfo
{
    QMetaProperty Prop;
    QString Name;
    TTypeKind Kind = TTypeKind::tkUnknown;
    const QMetaObject* ClassType = nullptr; // tkClass: the declared class
    const TIntegerIdents* Idents = nullptr;  // tkInteger with named values
    bool IsComponentRef() const;             // tkClass of a TComponent descendant
};

// In declaration order, ancestors first; cached per class.
const QList<TPropInfo>& GetPropList(const QMetaObject* AClass);
// Case-insensitive, as names in form files are.
const TPropInfo* GetPropInfo(const QMetaObject* AClass, QStringView Name);

// Ordinal access that works for every integer, enumeration and set property, whatever the
// width of its storage.
qint64 GetOrdProp(const QObject* Instance, const TPropInfo& Info);
qint64 OrdValue(const QVariant& Value); // of a value read from such a property
void SetOrdProp(QObject* Instance, const TPropInfo& Info, qint64 Value);
// Names of an enumeration value or of the members of a set value.
QString GetEnumName(const TPropInfo& Info, qint64 Value);
bool GetEnumValue(const TPropInfo& Info, QStringView Name, qint64& Value);
QStringList SetToNames(const TPropInfo& Info, qint64 Value);
QObject* GetObjectProp(const QObject* Instance, const TPropInfo& Info);
void SetObjectProp(QObject* Instance, const TPropInfo& Info, QObject* Value);

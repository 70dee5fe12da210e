// Reading and writing a property straight through the moc function of the class that declares
// it. QMetaProperty::read and write pass through every qt_metacall of the object's class chain,
// which costs more than the access itself when a form of thousands of components is read and
// written; the result is the same.
#pragma once

#include <QMetaProperty>
#include <QVariant>

inline QVariant KvReadProperty(const QMetaProperty& Prop, const QObject* Instance)
{
    const QMetaObject* declaring = Prop.enclosingMetaObject();
    const QMetaType type = Prop.metaType();
    if (!Instance || !declaring || !declaring->d.static_metacall || type == QMetaType::fromType<QVariant>()
        || !Prop.isReadable())
        return Prop.read(Instance);
    QVariant value(type, nullptr);
    int status = -1;
    void* argv[] = {value.data(), &value, &status};
    declaring->d.static_metacall(const_cast<QObject*>(Instance), QMetaObject::ReadProperty,
                                 Prop.relativePropertyIndex(), argv);
    if (status == -1 && argv[0] != value.data())
        return QVariant(type, argv[0]); // handed over by pointer
    return value;
}

inline void KvWriteProperty(const QMetaProperty& Prop, QObject* Instance, QVariant Value)
{
    const QMetaObject* declaring = Prop.enclosingMetaObject();
    const QMetaType type = Prop.metaType();
    // Values needing a conversion take the long way.
    if (!Instance || !declaring || !declaring->d.static_metacall || type == QMetaType::fromType<QVariant>()
        || Value.metaType() != type || !Prop.isWritable()) {
        Prop.write(Instance, std::move(Value));
        return;
    }
    int status = -1;
    int flags = 0;
    void* argv[] = {Value.data(), &Value, &status, &flags};
    declaring->d.static_metacall(Instance, QMetaObject::WriteProperty, Prop.relativePropertyIndex(), argv);
}

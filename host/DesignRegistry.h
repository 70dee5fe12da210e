#pragma once

#include "DesignEditors.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <memory>

// What a design package registers in its Register and the host asks about.

// Palette buttons; registering also makes the classes streamable. Pages keep the order they were
// first named in, classes the order they were registered in; naming a page again appends to it.
void RegisterComponents(const QString& Page, std::initializer_list<const QMetaObject*> Classes);
void RegisterComponents(const QString& Page, const QList<const QMetaObject*>& Classes);
// Streamable components without a palette button.
void RegisterNoIcon(std::initializer_list<const QMetaObject*> Classes);
void RegisterNoIcon(const QList<const QMetaObject*>& Classes);
QStringList PalettePages();
QList<const QMetaObject*> PaletteClasses(const QString& Page);

// Descendants of Class belong to GroupClass's group (the host offers a group's classes together).
void GroupDescendentsWith(const QMetaObject* Class, const QMetaObject* GroupClass);
// The group of Class or of its nearest ancestor that has one; null when none has.
const QMetaObject* ClassGroupOf(const QMetaObject* Class);

// PropertyType is a metatype (int, QString, Variant, an enumeration, TFont*); a pointer to a
// class also serves properties declared as pointers to its descendants. ComponentClass null
// means any class, an empty PropertyName every property of the type. An empty EditorClass
// hides the properties it matches.
void RegisterPropertyEditor(QMetaType PropertyType, const QMetaObject* ComponentClass, const QString& PropertyName,
                            const TPropertyEditorClass& EditorClass);
// Object properties declared as pointers to PropertyClass or a descendant.
void RegisterPropertyEditor(const QMetaObject* PropertyClass, const QMetaObject* ComponentClass,
                            const QString& PropertyName, const TPropertyEditorClass& EditorClass);

// The best registration for Prop of a ComponentClass object: one for a component class beats one
// for any class (the nearest class first), then one naming the property beats one for every
// property of the type, then the nearest property class, then the later registration. The
// default editor of the property's kind when none applies.
TPropertyEditorClass FindPropertyEditorClass(const QMetaObject* ComponentClass, const TPropInfo& Prop);

// A later registration for the same class replaces the earlier one.
void RegisterComponentEditor(const QMetaObject* ComponentClass, const TComponentEditorClass& EditorClass);
// The editor registered for the nearest class, else TDefaultEditor.
std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer);

// Forgets palette pages, groups and editors (not the streamable classes): for unloading a
// package and for tests.
void UnregisterAll();

#pragma once

#include "DesignEditors.h"

#include <QList>
#include <QMetaType>
#include <QString>

// The package's entry point: the host calls Register once after loading the package.
void Register();

// What Register registers, in its order (kvtool and the tests read it).

struct TKvPalettePage
{
    QString Name;
    QList<const QMetaObject*> Classes;
};

struct TKvComponentEditorRow
{
    const QMetaObject* ComponentClass;
    QString EditorName;
    TComponentEditorClass EditorClass;
};

// A property type is a metatype (Type) or, for object properties, a class (TypeClass).
struct TKvPropertyEditorRow
{
    QString TypeName;
    QMetaType Type;
    const QMetaObject* TypeClass;
    const QMetaObject* ComponentClass; // null: any component
    QString PropertyName;              // empty: every property of the type
    QString EditorName;
    TPropertyEditorClass EditorClass;
};

// A class registered without a palette button: How is "RegisterNoIcon", "RegisterClass" or
// "GroupDescendentsWith"; Group is the group class of the last.
struct TKvApartRow
{
    const QMetaObject* Class;
    QString How;
    const QMetaObject* Group;
};

const QList<TKvPalettePage>& KvPalettePages();
const QList<TKvComponentEditorRow>& KvComponentEditorRows();
// The 82 rows; row n of the table is at index n - 1.
const QList<TKvPropertyEditorRow>& KvPropertyEditorRows();
const QList<TKvApartRow>& KvRegisteredApart();

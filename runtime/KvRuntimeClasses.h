#pragma once

#include <QList>

struct QMetaObject;

// The library's component classes and the classes its forms hold besides them: registered for
// form streaming, so that every one can be created by name. Repeated calls do nothing.
void KvRegisterRuntimeClasses();
// The 77 palette classes in palette order, then the menu item, tab sheet, outlook page, edit
// buttons, status panel and pen.
QList<const QMetaObject*> KvRuntimeClasses();

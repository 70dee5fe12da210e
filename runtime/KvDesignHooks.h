#pragma once

#include "Classes.h"

#include <QString>

#include <functional>

// The runtime's way back into the form designer. The design package fills these in when it is
// loaded; at run time (or in a program without the design package) they stay empty and the
// runtime's design-time code does nothing.

// True once the design package is loaded: components may then create children and handlers
// through the hooks below.
extern bool KvDesignMode;

// Gives Component a name unique in its form, built from its class name.
using TKvDgnCreateUniqueName = std::function<void(TComponent* Component)>;
extern TKvDgnCreateUniqueName KvAssignDgnCreateUniqueName;

// A menu item clicked at design time: binds (or creates) its OnClick handler and shows it.
using TKvDsgnCreateMethodMenuClick = std::function<void(TComponent* MenuItem)>;
extern TKvDsgnCreateMethodMenuClick KvDsgnCreateMethodMenuClick;

// The folder of the open project, with its trailing separator.
using TKvDsgnGetProyectName = std::function<QString()>;
extern TKvDsgnGetProyectName KvDsgnGetProyectName;

// Selects Instance in the designer of Component's form.
using TKvDsgnSelectComponent = std::function<void(TComponent* Component, TPersistent* Instance)>;
extern TKvDsgnSelectComponent KvDsgnSelectComponent;

// Has the designer of Component's form create a component of ComponentClass under Parent, at
// the designer's default place and size; gives the new component or null.
using TKvDsgnCreateComponent =
    std::function<TComponent*(TComponent* Component, const QMetaObject* ComponentClass, TComponent* Parent)>;
extern TKvDsgnCreateComponent KvDsgnCreateComponent;

// Marks the form holding Object modified.
using TKvDsgnModified = std::function<void(TPersistent* Object)>;
extern TKvDsgnModified KvDsgnModified;

// Tells the host designer that the form holding Object changed, so that it gets stored. Does
// nothing for a null object or when no designer is hooked in.
void KvDesignerModified(TPersistent* Object);

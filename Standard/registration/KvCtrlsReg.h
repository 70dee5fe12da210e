#pragma once

#include "KvCompEditors.h"
#include "KvPropEditors.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

class IDesigner;
class TKvPkgPrivileges;
class TKvPrivilege;
class TPersistent;

// The unit that ties the runtime library to the form designer: its initialisation switches the
// runtime into design mode and hands it the design hooks; it also holds the package's
// description and palette bitmaps and declares every property and component editor
// (KvPropEditors.h, KvCompEditors.h).

namespace KvCtrlsReg {
// "KvControls Standard Library Suite", from the package's resources.
QString PackageDescription();
}

// A palette bitmap by class name in any letter case; Suffix is "" (palette button), "16" or "32".
// A null image when the package has none of that name.
QImage KvPaletteBitmap(const QString& ClassName, const QString& Suffix = QString());
// The resource path of that bitmap (":/KvCtrls/bitmaps/TKVLABEL16.bmp").
QString KvPaletteBitmapPath(const QString& ClassName, const QString& Suffix = QString());
// Every bitmap name the package carries (without ".bmp"), sorted.
QStringList KvPaletteBitmapNames();

// Package load and unload. Each runs its work once however often the package's start-up asks:
// a counter pairs the calls, and only the first initialisation and the last finalisation act.
void KvCtrlsRegInitialization();
void KvCtrlsRegFinalization();
bool KvCtrlsRegInitialized();

// Exported hooks other code may replace; DefShowPrivileges puts the defaults back.
// ShowPrivileges opens the privileges editor on the package; ShowPrivilege opens the privilege
// picker on Privilege and is true when the developer confirmed. Without an application component
// in the project ShowPrivilege raises "Component TKvCApplication not found" and opens nothing.
using TKvShowPrivileges = std::function<void(TKvPkgPrivileges* PkgPrivileges)>;
using TKvShowPrivilege = std::function<bool(TKvPkgPrivileges* PkgPrivileges, TKvPrivilege* Privilege)>;
extern TKvShowPrivileges ShowPrivileges;
extern TKvShowPrivilege ShowPrivilege;
void DefShowPrivileges();

// The form designer responsible for Object: up its owners (a collection's owner included) to the
// root, which must be a component in design state open in the host; none when a component on
// the way is not being designed, or for null.
IDesigner* KvFindDesigner(TPersistent* Object);

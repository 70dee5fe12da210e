#pragma once

#include <QIcon>
#include <QList>
#include <QString>

struct QMetaObject;

// The design package as the host sees it once it is loaded: only what its Register put in the
// registry.

// Runs the package's initialisation, then its Register; later calls do nothing.
void KvLoadDesignPackage();

// A palette page and its buttons, in registration order.
struct TKvPalettePageInfo
{
    QString Name;
    QList<const QMetaObject*> Classes;
};
QList<TKvPalettePageInfo> KvRegisteredPalette();

// A loaded design package: its name, the description it carries, and its palette.
struct TKvInstalledPackage
{
    QString Name;
    QString Description;
    QList<TKvPalettePageInfo> Pages;
};
QList<TKvInstalledPackage> KvInstalledPackages();

// The class's 24x24 palette button from the package; a drawn stand-in (its initials) when the
// package has no bitmap of that name.
QIcon KvPaletteIcon(const QMetaObject* Class);

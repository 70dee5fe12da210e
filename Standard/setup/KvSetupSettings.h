#pragma once

#include "KvPkgSetup.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the keys and database dialogs decide without a window.

// The shortcut boxes of the keys dialog by object name, in the package's order.
struct TKvShortCutBox
{
    const char* Control;
    TKvSetupShortCut Key;
};
const QList<TKvShortCutBox>& KvShortCutBoxes();
// The texts a shortcut box lists: the standard shortcuts, then Ctrl+Enter, Ctrl+Home, Ctrl+End,
// Ctrl+PgDn and Ctrl+PgUp.
QStringList KvShortCutPickList();
// Stores the shortcut Text names; a text that names none stores none.
void KvSetShortCutText(TKvPkgSetup* Pkg, TKvSetupShortCut Key, const QString& Text);

// "dltNone", "dltBoth", "dltControls", "dltGrids".
QStringList KvDeleteTypeNames();

// What choosing an engine does to the other database settings: the system's engine takes the
// system's date order and separators with quoted numbers and no SQL syntax, the standard one
// the system's date order with "/", ":" and "." and both switches off; the custom engine keeps
// them.
void KvApplyDataBaseEngine(TKvPkgSetupDataBase& DataBase);
// A separator box's text and back: an empty box is no separator (character 0).
QString KvSeparatorText(QChar Separator);
QChar KvSeparatorOf(const QString& Text);

#pragma once

#include <QKeyCombination>
#include <QList>
#include <QString>

// Shortcuts as form files store them: a virtual-key code in the low byte and the modifier bits
// above it, and their text as designers write it ("Shift+Ctrl+F1", "Alt+BkSp", "Num +").

constexpr int scShift = 0x2000;
constexpr int scCtrl = 0x4000;
constexpr int scAlt = 0x8000;
constexpr int scNone = 0;

// The text of a shortcut, modifiers in the order Shift, Ctrl, Alt; an empty text for none, for
// a key without a name and for bits outside the shortcut value.
QString ShortCutToText(int ShortCut);
// The shortcut a text names; modifiers may come in any order and case does not matter. A text
// that names no shortcut gives scNone. ShortCutToText(TextToShortCut(t)) spells t the standard way.
int TextToShortCut(const QString& Text);

// The same key for the window system; an empty combination for none.
QKeyCombination KvShortCutToKey(int ShortCut);
// scNone for a key, or a modifier (Meta), the shortcut codes cannot hold.
int KvKeyToShortCut(QKeyCombination Key);

// The shortcuts offered for picking, in the order lists show them: Ctrl+A to Ctrl+Z, the function
// keys plain, with Ctrl, Shift and Shift+Ctrl, the insert, delete and backspace ones, then
// Ctrl+Enter, Ctrl+Home, Ctrl+End, Ctrl+PgDn and Ctrl+PgUp.
QList<int> KvStandardShortCuts();

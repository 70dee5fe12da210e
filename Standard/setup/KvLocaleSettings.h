#pragma once

#include "KvPkgLanguage.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <variant>

// The locale editor's settings, one per control, and how each is shown as text and written
// back; the window binds its controls through this table.

enum class TKvLocaleKind {
    List,   // a drop-down list; the text is the item
    Char,   // one character; an empty box stands for a blank
    Text,
    Number, // decimal digits only
    Names   // a list of names, one per line
};

using TKvLocaleField = std::variant<int TKvPkgLanguageLocale::*, QChar TKvPkgLanguageLocale::*,
                                    QString TKvPkgLanguageLocale::*, QStringList TKvPkgLanguageLocale::*>;

struct TKvLocaleSetting
{
    // The control's object name; for names lists, its button's.
    const char* Control;
    TKvLocaleKind Kind;
    TKvLocaleField Field;
    // For names lists: the caption of the dialog that edits them.
    const char* Caption = nullptr;
};

// Every setting but AutoLoad, in the order of the editor's tabs.
const QList<TKvLocaleSetting>& KvLocaleSettings();
const TKvLocaleSetting* KvFindLocaleSetting(const QString& Control);
// The items of a list setting; the index of an item is the value.
QStringList KvLocaleItems(const TKvLocaleSetting& Setting);

QString KvLocaleText(const TKvPkgLanguageLocale& Locale, const TKvLocaleSetting& Setting);
// Writes the setting from Text: EConvertError for a number that is no number or an item not
// listed, EKvPkgError for a value the locale refuses; the package is unchanged then.
void KvSetLocaleText(TKvPkgLanguage* Pkg, const TKvLocaleSetting& Setting, const QString& Text);

// Lines as a list's text holds them: separated by line breaks, a break at the end ending the
// last line rather than starting an empty one.
QStringList KvTextToLines(const QString& Text);

// "1951 and 2050" for the century 2050: the years two-digit years stand for.
QString KvCenturyRange(const QString& CenturyText);

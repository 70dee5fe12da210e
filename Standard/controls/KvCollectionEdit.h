#pragma once

#include "DesignIntf.h"

#include <QStringList>

class TKvCollection;
class TCollectionItem;
class TKvCustomPageControl;
class TKvTabSheet;

// What the collection editors do to a collection, without a window. Every change goes through
// the designer as one step the user can undo; positions are item indexes, -1 for none.
namespace KvCollectionEdit {

// A list line: the item's index, " - " and its display name.
QString Line(const TCollectionItem* Item);
QStringList Lines(const TKvCollection* Collection);

// The index of the new item.
int Add(IDesigner* Designer, TKvCollection* Collection);
// A new item at Selected (at the end without a selection).
int Insert(IDesigner* Designer, TKvCollection* Collection, int Selected);
// The index to select afterwards: the same, the new last, or -1 when none is left.
int Delete(IDesigner* Designer, TKvCollection* Collection, int Selected);
// Moves the item From to To; gives where it is afterwards (From when it could not move).
int Move(IDesigner* Designer, TKvCollection* Collection, int From, int To);
void Clear(IDesigner* Designer, TKvCollection* Collection);

// The first line after Selected (downwards) or before it (upwards) that holds Text, or -1;
// WholeWord asks for the whole line.
int Find(const QStringList& Lines, int Selected, const QString& Text, bool Down, bool MatchCase, bool WholeWord);

// The page control whose tabs the collection is, or none.
TKvCustomPageControl* PageControlOf(const TKvCollection* Collection);
// Links tab Tab to Sheet (none: unlinks it).
void LinkTab(IDesigner* Designer, TKvCustomPageControl* Control, int Tab, const TKvTabSheet* Sheet);
// The tab showing Sheet, or -1.
int TabOf(const TKvCustomPageControl* Control, const TKvTabSheet* Sheet);
// A new sheet on the control, through the designer so that the form's unit gets its field.
TKvTabSheet* AddTabSheet(IDesigner* Designer, TKvCustomPageControl* Control);
// Raises when the sheet comes from an ancestor form.
void RemoveTabSheet(IDesigner* Designer, TKvTabSheet* Sheet);

} // namespace KvCollectionEdit

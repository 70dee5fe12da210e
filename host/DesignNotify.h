#pragma once

#include "DesignIntf.h"

// How a designer tells the open design windows what happened to its form.
void DesignNotifyItemsModified(IDesigner* Designer);
void DesignNotifySelectionChanged(IDesigner* Designer, const TDesignerSelectionList& Selection);
void DesignNotifyItemDeleted(IDesigner* Designer, TPersistent* Item);
void DesignNotifyDesignerClosed(IDesigner* Designer);

#include "KvDesignEvents.h"

TKvDesignEvents::TKvDesignEvents(QWidget* parent) : TDesignWindow(parent)
{
    hide();
}

void TKvDesignEvents::ItemsModified(IDesigner* ADesigner)
{
    emit ItemsModifiedIn(ADesigner);
}

void TKvDesignEvents::SelectionChanged(IDesigner* ADesigner, const TDesignerSelectionList& ASelection)
{
    emit SelectionChangedIn(ADesigner, ASelection);
}

void TKvDesignEvents::ItemDeleted(IDesigner* ADesigner, TPersistent* Item)
{
    emit ItemDeletedIn(ADesigner, Item);
}

// Unlike the package's windows it outlives every designer: it is not closed with one.
void TKvDesignEvents::DesignerClosed(IDesigner* ADesigner)
{
    emit DesignerClosedIn(ADesigner);
}

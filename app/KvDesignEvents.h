#pragma once

#include "DesignWindows.h"

// Hears what every designer tells its design windows and passes it on as signals. It is a
// design window that is never shown, so the host reaches the main window the way it reaches the
// package's editors.
class TKvDesignEvents : public TDesignWindow
{
    Q_OBJECT

public:
    explicit TKvDesignEvents(QWidget* parent = nullptr);

    void ItemsModified(IDesigner* ADesigner) override;
    void SelectionChanged(IDesigner* ADesigner, const TDesignerSelectionList& ASelection) override;
    void ItemDeleted(IDesigner* ADesigner, TPersistent* Item) override;
    void DesignerClosed(IDesigner* ADesigner) override;

signals:
    void ItemsModifiedIn(IDesigner* Designer);
    void SelectionChangedIn(IDesigner* Designer, const TDesignerSelectionList& Selection);
    // Item is half destroyed: compare the pointer only.
    void ItemDeletedIn(IDesigner* Designer, TPersistent* Item);
    void DesignerClosedIn(IDesigner* Designer);
};

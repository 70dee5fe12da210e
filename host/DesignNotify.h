#pragma once

#include "DesignIntf.h"

#include <QObject>

// What every designer tells the world about its form. The host emits these; design windows and
// the host program's own views connect to them.
class TDesignNotifier : public QObject
{
    Q_OBJECT

signals:
    void ItemsModified(IDesigner* Designer);
    void SelectionChanged(IDesigner* Designer, const TDesignerSelectionList& Selection);
    // Item is being destroyed: compare the pointer, do not use it.
    void ItemDeleted(IDesigner* Designer, TPersistent* Item);
    void DesignerClosed(IDesigner* Designer);
    // The form the user works on now; none when no form is shown.
    void ActiveDesignerChanged(IDesigner* Designer);
    // The user asked to see the code of a method of the form (an event's handler).
    void MethodShown(IDesigner* Designer, const QString& Name);
};

TDesignNotifier* DesignNotifier();

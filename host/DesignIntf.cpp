#include "DesignIntf.h"

#include "DesignEditors.h"
#include "DesignWindows.h"

#include <QPointer>

void IDesigner::SetProperties(const QString&, const QList<TPropertyChange>& Changes)
{
    for (const TPropertyChange& Change : Changes)
        if (!Change.Instance->setProperty(Change.Name.toLatin1().constData(), Change.Value))
            throw EPropertyError(QStringLiteral("Property %1 cannot be set").arg(Change.Name));
    if (!Changes.isEmpty())
        Modified();
}

void IDesigner::RenameComponent(TComponent* Component, const QString& NewName)
{
    Component->SetName(NewName);
    Modified();
}

void IDesigner::DeleteComponents(const QList<TComponent*>& Components)
{
    const TComponent* Root = GetRoot();
    QList<QPointer<TComponent>> Doomed;
    for (TComponent* Component : Components)
        if (Component && Component != Root)
            Doomed << Component;
    for (const QPointer<TComponent>& Component : std::as_const(Doomed))
        delete Component.data(); // null when a container already took it
    if (!Doomed.isEmpty())
        Modified();
}

TDesignerSelectionList IDesigner::Paste(TComponent* Parent)
{
    TDesignerSelectionList Pasted;
    PasteComponents(GetRoot(), Parent, Pasted, this);
    return Pasted;
}

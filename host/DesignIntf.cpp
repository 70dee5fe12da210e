#include "DesignIntf.h"

#include "DesignEditors.h"

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

#pragma once

#include "DesignIntf.h"

#include <QList>
#include <QPointer>
#include <QString>

class TKvFormEditor;
class TKvSourceEditor;

// The designer of one open form (TKvFormEditor owns it). Changes to the form's unit (event
// handlers, component fields) are made in the unit's text in the code editor; they mark the unit
// modified, so saving the module writes it.
class TKvFormDesigner : public IDesigner
{
public:
    explicit TKvFormDesigner(TKvFormEditor* Editor);
    ~TKvFormDesigner() override;

    void Modified() override;

    // Adds `procedure Name(<parameters of EventType>);` to the form class's first section and an
    // empty body before the unit's final `end.` (or its initialization section). Raises
    // EInvalidOperation naming the unit when the class or the end of the unit cannot be found;
    // the unit is then unchanged.
    TMethod CreateMethod(const QString& Name, const QString& EventType) override;
    QString GetMethodName(const TMethod& Method) const override;
    // A method of the form class, declared in the class or implemented in the unit.
    bool MethodExists(const QString& Name) const override;
    void ShowMethod(const QString& Name) override;
    QString ShownMethod() const { return FShownMethod; }
    QString ShownUnitFile() const { return FShownUnitFile; }

    TDesignerSelectionList GetSelections() const override;
    void SetSelections(const TDesignerSelectionList& List) override;
    void SelectComponent(TPersistent* Instance) override;

    QStringList GetComponentNames(const QMetaObject* AClass) const override;
    // A component of this form, the form itself, or "Form2.Button1" on another open form.
    TComponent* GetComponent(const QString& Name) const override;
    // The new component also gets its field in the form class (`Button1: TButton;`).
    TComponent* CreateComponent(const QMetaObject* AClass, TComponent* Parent, int Left, int Top, int Width,
                                int Height) override;
    QString UniqueName(const QString& BaseName) const override;
    TComponent* GetRoot() const override;

    // Deletes the selected components (never the root) and the controls inside them, removing
    // their fields from the form class; the root is selected afterwards.
    void DeleteSelection();

    TKvFormEditor* FormEditor() const { return FEditor; }

    // Parameters of the handlers CreateMethod writes for an event type ("Sender: TObject");
    // ResultType makes the handler a function. Unknown types get "Sender: TObject".
    static void RegisterEventType(const QString& TypeName, const QString& Params,
                                  const QString& ResultType = QString());

private:
    TKvFormEditor* FEditor;
    QList<QPointer<TPersistent>> FSelection;
    QString FShownMethod;
    QString FShownUnitFile;

    TKvSourceEditor* UnitEditor() const;
    QString FormClassName() const;
};

// The base class of ClassName as a unit declares it (`TForm1 = class(TForm)` gives TForm); empty
// when the unit does not declare the class.
QString FindClassAncestor(const QString& UnitText, const QString& ClassName);

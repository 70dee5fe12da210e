#pragma once

#include "DesignIntf.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>

#include <memory>

class QUndoStack;
class TKvFormEditor;
class TKvSourceEditor;

// The designer of one open form (TKvFormEditor owns it). Every change to the form goes through
// it as a command on its undo stack; commands name components and properties, never hold
// pointers, so undo works after components were deleted and made again. Changes to the form's
// unit (fields, event handlers) are part of the same command; a change the unit cannot take is
// refused with an error naming the unit, and the form stays as it was.
class TKvFormDesigner : public IDesigner
{
public:
    explicit TKvFormDesigner(TKvFormEditor* Editor);
    ~TKvFormDesigner() override;

    // Inside BeginChange/EndChange it joins the change; otherwise the form's change since the
    // last command becomes a command of its own.
    void Modified() override;
    void BeginChange(const QString& Text) override;
    void EndChange() override;
    void SetProperties(const QString& Text, const QList<TPropertyChange>& Changes) override;
    // Renames the component's field and the handlers named after it (EdPhoneChange becomes
    // EdTelChange), and rebinds the form's events to them.
    void RenameComponent(TComponent* Component, const QString& NewName) override;

    // Adds `procedure Name(<parameters of EventType>);` to the form class's first section and an
    // empty body before the unit's final `end.` (or its initialization section).
    TMethod CreateMethod(const QString& Name, const QString& EventType) override;
    QString GetMethodName(const TMethod& Method) const override;
    // A method of the form class, declared in the class or implemented in the unit.
    bool MethodExists(const QString& Name) const override;
    // The form's handlers that an event of EventType can call, in the unit's order.
    QStringList GetMethods(const QString& EventType) const;
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

    // Deletes the selected components (never the root) and what they hold, removing their
    // fields from the form class; the root is selected afterwards.
    void DeleteSelection();
    void DeleteComponents(const QList<TComponent*>& Components) override;
    // Reads the clipboard's components into Parent (the root when null), with their fields.
    TDesignerSelectionList Paste(TComponent* Parent) override;
    // The selected controls drawn above / below their siblings.
    void BringToFront();
    void SendToBack();
    // Moves the selected controls' top-left corners onto the grid.
    void AlignToGrid(int Grid);
    // Tab order of Container's windowed controls, and creation order of the form's components,
    // as lists of names.
    void SetTabOrder(TComponent* Container, const QStringList& Names);
    void SetCreationOrder(const QStringList& Names);
    QStringList TabOrderNames(TComponent* Container) const;
    QStringList CreationOrderNames() const;
    // Whose tab order the tab order window shows: the selected container when it holds windowed
    // controls, else the selected control's parent, else the form.
    TComponent* TabOrderContainer() const;

    // The form as its file holds it in text form (LF line breaks).
    QString FormText();
    // Reads Text back into the form as one step; the unit's fields follow the components added,
    // removed or given another class. Raises (EParserError with line and column when the text
    // does not parse) and leaves form and unit as they were.
    void ApplyFormText(const QString& Text);

    QUndoStack* UndoStack() const { return FStack.get(); }
    // The form was saved (or loaded): what is there now is clean; the history starts anew when
    // Forget is true.
    void MarkClean(bool Forget = false);
    // Unsaved changes: commands since the clean state, or changes made without one.
    bool IsModified() const;
    void SetModifiedOutsideHistory() { FDirty = true; }

    TKvFormEditor* FormEditor() const { return FEditor; }

    // Parameters of the handlers CreateMethod writes for an event type ("Sender: TObject");
    // ResultType makes the handler a function. Unknown types get "Sender: TObject".
    static void RegisterEventType(const QString& TypeName, const QString& Params,
                                  const QString& ResultType = QString());

    // The form and its unit at one moment.
    struct TState
    {
        QByteArray Form;
        QString Unit;
        bool operator==(const TState&) const = default;
    };
    TState CaptureState();
    // Puts the form and unit back to State, keeping the root; components are made anew.
    void RestoreState(const TState& State);
    // A command changed the form: tell the world, keep or drop the remembered state.
    void Applied(const TState* State);

private:
    TKvFormEditor* FEditor;
    QList<QPointer<TPersistent>> FSelection;
    QString FShownMethod;
    QString FShownUnitFile;
    std::unique_ptr<QUndoStack> FStack;
    int FChangeDepth = 0;
    QString FChangeText;
    TState FChangeBefore;
    bool FChangeTouched = false; // Modified was called inside the step
    // The form as the last command left it, so that a change made without BeginChange can
    // still be undone; refreshed lazily after fine-grained commands.
    TState FBaseline;
    bool FBaselineValid = false;
    bool FRefreshScheduled = false;
    bool FApplying = false;
    bool FDirty = false;

    TKvSourceEditor* UnitEditor() const;
    QString FormClassName() const;
    void ScheduleBaseline();
    void Push(const QString& Text, const TState& Before, const TState& After);
    // The unit's new text, or an error naming the unit.
    template <class F>
    QString UnitEdit(F Edit) const;
};

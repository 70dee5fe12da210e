#pragma once

#include "Classes.h"
#include "TypInfo.h"

#include <QFlags>
#include <QList>
#include <QStringList>
#include <QVariant>

// What the design package sees of the form designer. The in-process host implements it
// (KvFormDesigner); property editors, component editors and design windows only use this.

enum TPropertyAttribute {
    paValueList = 0x01,     // a drop-down filled by GetValues
    paSubProperties = 0x02, // an expandable row (GetProperties)
    paDialog = 0x04,        // an ellipsis button and double click call Edit
    paMultiSelect = 0x08,   // shown when several components are selected
    paAutoUpdate = 0x10,    // SetValue on every keystroke
    paSortList = 0x20,      // the drop-down is sorted
    paReadOnly = 0x40,      // the value cannot be typed
    paRevertable = 0x80     // can be reverted to the inherited value
};
Q_DECLARE_FLAGS(TPropertyAttributes, TPropertyAttribute)
Q_DECLARE_OPERATORS_FOR_FLAGS(TPropertyAttributes)

// The designer's selection: components, or collection items and other persistents.
using TDesignerSelectionList = QList<TPersistent*>;

// Edit actions a design window can be asked to perform (EditAction / GetEditState).
enum TEditAction { eaUndo, eaRedo, eaCut, eaCopy, eaPaste, eaDelete, eaSelectAll, eaPrint, eaBringToFront,
                   eaSendToBack, eaAlignToGrid };
enum TEditStateFlag { esCanUndo = 0x1, esCanRedo = 0x2, esCanCut = 0x4, esCanCopy = 0x8, esCanPaste = 0x10,
                      esCanDelete = 0x20, esCanZOrder = 0x40, esCanAlignGrid = 0x80, esCanEditOle = 0x100,
                      esCanTabOrder = 0x200, esCanCreationOrder = 0x400, esCanPrint = 0x800,
                      esCanSelectAll = 0x1000 };
Q_DECLARE_FLAGS(TEditState, TEditStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TEditState)

// One property value a designer sets, as an editor or the form view asks for it.
struct TPropertyChange
{
    TPersistent* Instance = nullptr;
    QString Name;
    QVariant Value;
};

// The designer of one open form.
class IDesigner
{
public:
    virtual ~IDesigner() = default;

    // The form changed: the host marks it modified and tells its design windows.
    virtual void Modified() = 0;

    // What changes between BeginChange and EndChange is one step the user undoes at once,
    // named Text ("Set Caption", "Edit PsDemo"); pairs nest, the outermost names the step.
    virtual void BeginChange(const QString& Text) { Q_UNUSED(Text); }
    virtual void EndChange() {}
    // Sets the properties as one step named Text ("Move EdName"). Left and Top of a component
    // that publishes none (a non-visual one) are its place on the form.
    virtual void SetProperties(const QString& Text, const QList<TPropertyChange>& Changes);
    // Renames a component of the form; the form's unit and its handlers named after it follow.
    virtual void RenameComponent(TComponent* Component, const QString& NewName);

    // Event handlers. CreateMethod adds an empty handler with that name to the form's unit (when
    // it is not there yet) and returns the binding to store in the event property; EventType
    // names the event's type (TNotifyEvent) so the handler gets its parameters.
    virtual TMethod CreateMethod(const QString& Name, const QString& EventType) = 0;
    virtual QString GetMethodName(const TMethod& Method) const = 0;
    virtual bool MethodExists(const QString& Name) const = 0;
    // The host shows the handler's code; it records which method of which unit it shows.
    virtual void ShowMethod(const QString& Name) = 0;

    virtual TDesignerSelectionList GetSelections() const = 0;
    virtual void SetSelections(const TDesignerSelectionList& List) = 0;
    virtual void SelectComponent(TPersistent* Instance) = 0;

    // Names of the form's components (the root included) of AClass or a descendant.
    virtual QStringList GetComponentNames(const QMetaObject* AClass) const = 0;
    virtual TComponent* GetComponent(const QString& Name) const = 0;
    // Creates a component owned by the form under Parent (the root when null); -1 for any
    // bound means the designer's default for it; a non-visual component takes Left and Top as
    // its place on the form.
    virtual TComponent* CreateComponent(const QMetaObject* AClass, TComponent* Parent, int Left, int Top,
                                        int Width, int Height) = 0;
    // Deletes the components, with what they hold (controls, menu sub-items) and their fields
    // in the form's unit, as one step; the root is never deleted.
    virtual void DeleteComponents(const QList<TComponent*>& Components);
    // Reads the clipboard's components into the form under Parent (the root when null), with
    // their fields, as one step; gives the top-level components read.
    virtual TDesignerSelectionList Paste(TComponent* Parent);
    // BaseName without its leading T plus the first free number: Label1, Label2.
    virtual QString UniqueName(const QString& BaseName) const = 0;
    virtual TComponent* GetRoot() const = 0;
};

// Groups an editor's changes into one undoable step; the step ends also when the editor raises.
class TDesignerChange
{
public:
    TDesignerChange(IDesigner* Designer, const QString& Text) : FDesigner(Designer)
    {
        if (FDesigner)
            FDesigner->BeginChange(Text);
    }
    ~TDesignerChange()
    {
        if (FDesigner)
            FDesigner->EndChange();
    }
    TDesignerChange(const TDesignerChange&) = delete;
    TDesignerChange& operator=(const TDesignerChange&) = delete;

private:
    IDesigner* FDesigner;
};

#pragma once

#include "KvAppPrompts.h"

#include <QHash>
#include <QMainWindow>

#include <memory>

namespace Ui {
class TFrKvDesigner;
}

class QButtonGroup;
class QMenu;
class QUndoGroup;
class TComponent;
class TKvComponentTreeModel;
class TKvFormDesigner;
class TKvFormEditor;
class TKvFormView;
class TKvHostServices;
class TKvInspectorModel;
class TKvPascalHighlighter;
class TKvUnitModule;
class TPersistent;
class IDesigner;

// kvdesigner's main window: the palette of the registered components, the project's forms, the
// form being designed, its component tree and the object inspector.
class TFrKvDesigner : public QMainWindow
{
    Q_OBJECT

public:
    explicit TFrKvDesigner(QWidget* parent = nullptr);
    ~TFrKvDesigner() override;

    // Closes the open project (asking to save what is modified), opens FileName and its first
    // form; false, with the error shown, when it cannot.
    bool OpenProject(const QString& FileName);
    // Opens a form (by its unit or form file) in the designer and shows it; it need not belong to
    // the project, nor have a unit.
    TKvFormEditor* OpenForm(const QString& FileName);
    // Saves the form shown (its unit too); false when writing failed.
    bool Save();
    bool SaveAll();
    // Closes the form shown, asking first when it is modified; false when the user cancelled.
    bool CloseForm();
    // Asks whether to save modified forms; false when the user cancelled or saving failed.
    bool QuerySaveAll();

    TKvHostServices& Host() const { return *FHost; }
    TKvFormEditor* CurrentForm() const;
    TKvFormDesigner* CurrentDesigner() const;
    TKvInspectorModel* Inspector() const { return FInspector; }
    TKvComponentTreeModel* ComponentTree() const { return FTree; }
    TKvFormView* FormView() const;
    QUndoGroup* UndoGroup() const { return FUndo; }

    // The component's context menu: its editor's verbs, then Cut, Copy, Paste and Delete. The
    // caller owns it.
    QMenu* CreateComponentMenu(TComponent* Component);
    // What a double click on the component does: its editor's Edit.
    void EditComponent(TComponent* Component);

    // Alt+F12: the form shown as its text, editable, or back to the designer with the text
    // applied as one step. False, with the text kept and the error shown at its line and column,
    // when the text does not read.
    bool ToggleFormText();
    // F12: the form's unit, read-only, or back to the form.
    bool ToggleUnitView();
    // The unit at the code of the form's method Name (an event's handler).
    void ShowMethodCode(IDesigner* Designer, const QString& Name);

    // Edit > Tab Order and Creation Order: the order windows; what they change is one step.
    void EditTabOrder();
    void EditCreationOrder();

    // What the window asks and tells the user; tests answer through it.
    TKvAppPrompts Prompts;

    // Recent projects, newest first.
    QStringList RecentProjects() const;

protected:
    void closeEvent(QCloseEvent* Event) override;
    bool eventFilter(QObject* Object, QEvent* Event) override;

private:
    std::unique_ptr<Ui::TFrKvDesigner> ui;
    std::unique_ptr<TKvHostServices> FHost;
    QUndoGroup* FUndo;
    TKvInspectorModel* FInspector;
    TKvComponentTreeModel* FTree;
    QButtonGroup* FPaletteGroup;
    bool FSyncingTree = false;
    bool FViewsStale = false;
    enum TCodeMode { NoCode, FormTextCode, UnitCode };
    TCodeMode FCodeMode = NoCode;
    TKvFormDesigner* FCodeDesigner = nullptr; // whose text or unit EdCode shows
    TKvPascalHighlighter* FHighlighter;
    QHash<IDesigner*, QString> FShownMarks; // what UpdateMarkers last showed of each form

    void BuildPalette();
    void ShowCode(TCodeMode Mode, const QString& Text);
    // Back to the form, applying edited form text first; false (still in the text) when it does
    // not apply, unless Discard, which drops the text instead.
    bool LeaveCode(bool Discard = false);
    void ReloadCode();
    void ConnectActions();
    void FillFormsList();
    void UpdateMarkers();
    void UpdateTitle();
    void ShowForm(TKvFormEditor* Form);
    void SyncTreeSelection();
    void TreeSelectionChanged();
    void OnSelectionChanged(IDesigner* Designer);
    void OnItemsModified(IDesigner* Designer);
    void RefreshViews();
    void OnItemDeleted(IDesigner* Designer, TPersistent* Item);
    void OnDesignerClosed(IDesigner* Designer);
    void OnActiveDesignerChanged(IDesigner* Designer);
    void CopySelection();
    void CutSelection();
    void PasteIntoSelection();
    void DeleteSelection();
    void AddRecentProject(const QString& FileName);
    void FillRecentMenu();
    // Runs Work, showing what it raises; false when it raised.
    bool Guarded(const std::function<void()>& Work);
    QString FormFileOfTab(int Index) const;
    int TabOfUnit(const QString& UnitFile) const;
    TKvUnitModule* CurrentUnit() const;
};

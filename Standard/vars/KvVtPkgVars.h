#pragma once

#include "vars/KvPkgVarsModel.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class QAction;
class QActionGroup;
class QMenu;
class TFrFindDialog;

namespace Ui {
class TFrPkgVars;
}

// The editor of one variables package: its folder tree, and the variables of the folder chosen.
class TFrPkgVars : public QDialog
{
    Q_OBJECT

public:
    explicit TFrPkgVars(QWidget* Parent = nullptr);
    ~TFrPkgVars() override;

    // Set by the opener before Execute.
    QPointer<TKvPkgVars> PkgVars;

    // Shows the editor modally; afterwards its bounds go into the package and the package's own
    // file is written when it is file-backed.
    void Execute();

    // One search step of the find window.
    void FindNext(const TKvVarsFindOptions& Options);
    bool EndFind() const { return FEndFind; }

    TKvVarsTreeModel* Tree() const { return FTree; }
    TKvVarsListModel* List() const { return FList; }
    QMenu* TreeMenu() const { return FTreeMenu; }
    QMenu* ListMenu() const { return FListMenu; }
    TFrFindDialog* FindDialog() const { return FFindDialog; }
    Ui::TFrPkgVars* ui() const { return FUi.get(); }

private:
    void Prepare();
    void BuildMenus();
    void LoadTree();
    void Detach();
    void FolderSelected();
    void SelectFolder(const QModelIndex& Index);
    void SelectRow(int Row);
    int CurrentRow() const;
    QModelIndex CurrentFolder() const;
    void ChangeState();
    void UpdateStatus();
    void Modified();
    void ChangeModified();
    void ShowError(const QString& Message);
    void UpdateFile();

    void NewFolder(bool Sub);
    void NewVariable(TKvPkgVarsItemType Type);
    void RenameFolder();
    void RenameVariable();
    void ModifyVariable();
    void ChangeType(TKvPkgVarsItemType Type);
    void DeleteFolder();
    void DeleteVariable();
    void ClearFolder();
    void ClearAll();
    void ShowFind();
    void LoadSave(bool Load);
    void LoadFrom();
    void SaveTo();

    std::unique_ptr<Ui::TFrPkgVars> FUi;
    TKvVarsTreeModel* FTree;
    TKvVarsListModel* FList;
    QMenu* FTreeMenu = nullptr;
    QMenu* FListMenu = nullptr;
    QList<QAction*> FRowActions;
    QAction* FMnDeleteFolder = nullptr;
    QAction* FMnRenameFolder = nullptr;
    QAction* FMnClearFolder = nullptr;
    QActionGroup* FTypes = nullptr;
    TFrFindDialog* FFindDialog = nullptr;
    QChar FSeparator = u'.';
    bool FEndFind = false;
};

// Opens the variables editor on Pkg over Parent and returns when it is closed; nothing without
// a package.
void KvEditPkgVars(TKvPkgVars* Pkg, QWidget* Parent = nullptr);

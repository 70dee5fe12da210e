#pragma once

#include "DesignEditors.h"

// The component editors of the package, registered by Register (KvReg).

class TKvPopupMenu;

// The sample popup menu the application editor builds on demand; freed with the package.
void KvFreeSamplePopupMenu();
TKvPopupMenu* KvSamplePopupMenu();

// A showroom of the runtime's standard dialogs plus package maintenance: 12 verbs.
class TKvCApplicationComponentEditor : public TComponentEditor
{
public:
    using TComponentEditor::TComponentEditor;
    int GetVerbCount() const override;
    QString GetVerb(int Index) const override;
    void ExecuteVerb(int Index) override;
    void Edit() override;
};

// Double click opens the menu editor on the menu.
class TKvMenuComponentEditor : public TComponentEditor
{
public:
    using TComponentEditor::TComponentEditor;
    void Edit() override;
};

class TKvMainMenuComponentEditor : public TKvMenuComponentEditor
{
public:
    using TKvMenuComponentEditor::TKvMenuComponentEditor;
};

class TKvPanelMenuComponentEditor : public TKvMenuComponentEditor
{
public:
    using TKvMenuComponentEditor::TKvMenuComponentEditor;
};

class TKvPopupMenuComponentEditor : public TKvMenuComponentEditor
{
public:
    using TKvMenuComponentEditor::TKvMenuComponentEditor;
    int GetVerbCount() const override;
    QString GetVerb(int Index) const override;
    // "View &PopupMenu" pops the menu up at the mouse; "Build SystemMenu" adds one item per
    // window action the menu lacks, the close item after a line.
    void ExecuteVerb(int Index) override;
};

// Package components: double click opens the package's editor, the verb its active packages list.
class TKvPkgComponentEditor : public TComponentEditor
{
public:
    using TComponentEditor::TComponentEditor;
    int GetVerbCount() const override;
    QString GetVerb(int Index) const override;
    // "View &Package List": the active packages window of the component's kind.
    void ExecuteVerb(int Index) override;
    void Edit() override;
};

class TKvPkgImagesComponentEditor : public TKvPkgComponentEditor
{
public:
    using TKvPkgComponentEditor::TKvPkgComponentEditor;
    void Edit() override;
};

class TKvPkgStringsComponentEditor : public TKvPkgComponentEditor
{
public:
    using TKvPkgComponentEditor::TKvPkgComponentEditor;
    void Edit() override;
};

class TKvPkgVarsComponentEditor : public TKvPkgComponentEditor
{
public:
    using TKvPkgComponentEditor::TKvPkgComponentEditor;
    void Edit() override;
};

// Double click opens the page-control collection editor on the tabs.
class TKvPageControlComponentEditor : public TComponentEditor
{
public:
    using TComponentEditor::TComponentEditor;
    void Edit() override;
};

// "New Page", "Next Page", "Previous Page"; the page editor works on its bar.
class TKvOutLookBarComponentEditor : public TComponentEditor
{
public:
    using TComponentEditor::TComponentEditor;
    int GetVerbCount() const override;
    QString GetVerb(int Index) const override;
    void ExecuteVerb(int Index) override;
    void Edit() override;

protected:
    bool FDblClick = false;

private:
    // The bar's (or page's) click handler, made when there is none, shown.
    void ShowClickHandler();
};

class TKvOutLookBarPageComponentEditor : public TKvOutLookBarComponentEditor
{
public:
    using TKvOutLookBarComponentEditor::TKvOutLookBarComponentEditor;
};

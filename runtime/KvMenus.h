#pragma once

#include "KvControls.h"

#include <QPointer>

#include <memory>

class QMenu;
class QWidget;

// Menus: a tree of menu items under a root item that the menu owns. The items themselves are
// owned by the form, as any component, and are written in the form as the children of their
// menu or parent item.

class TKvMenuItem : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TKvMemoryLabel* MemoryLabel READ MemoryLabel)
    Q_PROPERTY(TKvMemoryImage* MemoryImage READ MemoryImage)
    Q_PROPERTY(TKvPrivilege* Privilege READ Privilege)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool RadioItem READ RadioItem WRITE SetRadioItem)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)
    Q_PROPERTY(KvTypes::TKvMenuItemDefaultAction DefaultAction READ DefaultAction WRITE SetDefaultAction)
    Q_PROPERTY(TMethod OnClick READ OnClick WRITE SetOnClick)

public:
    Q_INVOKABLE explicit TKvMenuItem(TComponent* AOwner = nullptr);
    // Destroys the sub-items with it.
    ~TKvMenuItem() override;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    // The label's text when the label is found, else the caption.
    QString DisplayCaption() const;
    bool IsLine() const { return FCaption == QLatin1String("-"); }
    TKvMemoryLabel* MemoryLabel() const { return FMemoryLabel; }
    TKvMemoryImage* MemoryImage() const { return FMemoryImage; }
    TKvPrivilege* Privilege() const { return FPrivilege; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    // A key combination as QKeySequence encodes it; 0 none.
    int ShortCut() const { return FShortCut; }
    void SetShortCut(int Value);
    TKvMenuItemDefaultAction DefaultAction() const { return FDefaultAction; }
    void SetDefaultAction(TKvMenuItemDefaultAction Value);
    TMethod OnClick() const { return FOnClick; }
    void SetOnClick(const TMethod& Value) { FOnClick = Value; }

    // Sub-items in menu order.
    int Count() const { return int(FItems.size()); }
    TKvMenuItem* Items(int Index) const;
    int IndexOf(const TKvMenuItem* Item) const { return int(FItems.indexOf(const_cast<TKvMenuItem*>(Item))); }
    TKvMenuItem* Parent() const { return FParent; }
    // Raise when Item already has a parent (Remove it first) or would contain this item.
    void Add(TKvMenuItem* Item);
    void Insert(int Index, TKvMenuItem* Item);
    void Remove(TKvMenuItem* Item);
    // Destroys every sub-item.
    void Clear();
    // The position among the parent's items (-1 without a parent); setting moves the item.
    int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
    void SetMenuIndex(int Value);
    // The menu (main, popup or panel menu) whose tree holds this item, or none.
    TComponent* GetParentMenu() const;
    // The top-level item list of a menu (set on it only).
    TComponent* RootOf() const { return FRootOf; }
    bool Contains(const TKvMenuItem* Item) const;

    // Menu items always have a parent in the form sense (their menu or parent item), so the
    // form writes them only below it.
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

signals:
    void Changed();

private:
    friend class TKvMenuTree;
    void NotifyChanged();

    QString FCaption;
    TKvMemoryLabel* FMemoryLabel;
    TKvMemoryImage* FMemoryImage;
    TKvPrivilege* FPrivilege;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    int FShortCut = 0;
    TKvMenuItemDefaultAction FDefaultAction = KvTypes::daNone;
    TMethod FOnClick;
    TKvMenuItem* FParent = nullptr;
    QList<TKvMenuItem*> FItems;
    TComponent* FRootOf = nullptr;
};

// What the three menu components share: the root item, the windows list, the image settings,
// the designer's menu editor window. A member of each menu, as the menus have different bases.
class TKvMenuTree
{
public:
    explicit TKvMenuTree(TComponent* Menu);
    // The menu's destructor calls DestroyItems while the menu is whole: destroying the items
    // notifies the menu.
    ~TKvMenuTree() { DestroyItems(); }
    void DestroyItems();

    TKvMenuItem* Items() const { return FItems; }
    TKvMenuItem* WindowsList() const { return FWindowsList; }
    // Raises EInvalidOperation for an item the menu does not accept (ValidAssignWindowsList).
    void SetWindowsList(TKvMenuItem* Value);
    // An item of this menu's tree (not the root) may list the open windows.
    bool ValidAssignWindowsList(const TKvMenuItem* Item) const;
    void Removed(const TComponent* Component);
    QObject* EditorWindow() const { return FEditorWindow; }
    void SetEditorWindow(QObject* Value) { FEditorWindow = Value; }

private:
    TComponent* FMenu;
    TKvMenuItem* FItems;
    TKvMenuItem* FWindowsList = nullptr;
    QPointer<QObject> FEditorWindow;
};

class TKvMenu : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(TKvMenuItem* Items READ Items)
    Q_PROPERTY(bool ImagesVisible READ ImagesVisible WRITE SetImagesVisible)
    Q_PROPERTY(int ImagesSize READ ImagesSize WRITE SetImagesSize)
    Q_PROPERTY(TKvSetFont* SetFont READ SetFont)

public:
    Q_INVOKABLE explicit TKvMenu(TComponent* AOwner = nullptr);
    ~TKvMenu() override;

    TKvMenuItem* Items() const { return FTree.Items(); }
    bool ValidAssignWindowsList(const TKvMenuItem* Item) const { return FTree.ValidAssignWindowsList(Item); }
    bool ImagesVisible() const { return FImagesVisible; }
    void SetImagesVisible(bool Value) { FImagesVisible = Value; }
    // 16, 24 or 32 pixels.
    int ImagesSize() const { return FImagesSize; }
    void SetImagesSize(int Value);
    TKvSetFont* SetFont() const { return FSetFont; }
    QObject* EditorWindow() const { return FTree.EditorWindow(); }
    void SetEditorWindow(QObject* Value) { FTree.SetEditorWindow(Value); }

    // The menu as a Qt menu, built from the current tree and the references' current texts.
    std::unique_ptr<QMenu> CreateQMenu(QWidget* Parent = nullptr) const;

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    TKvMenuTree FTree;

private:
    bool FImagesVisible = false;
    int FImagesSize = 16;
    TKvSetFont* FSetFont;
};

class TKvMainMenu : public TKvMenu
{
    Q_OBJECT
    Q_PROPERTY(TKvMenuItem* WindowsList READ WindowsList WRITE SetWindowsList)

public:
    Q_INVOKABLE explicit TKvMainMenu(TComponent* AOwner = nullptr);

    TKvMenuItem* WindowsList() const { return FTree.WindowsList(); }
    void SetWindowsList(TKvMenuItem* Value) { FTree.SetWindowsList(Value); }
};

class TKvPopupMenu : public TKvMenu
{
    Q_OBJECT
    Q_PROPERTY(bool AutoPopup READ AutoPopup WRITE SetAutoPopup)

public:
    Q_INVOKABLE explicit TKvPopupMenu(TComponent* AOwner = nullptr);
    ~TKvPopupMenu() override;

    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    // Builds the shown menu again from the items, so that it follows the packages' current
    // texts and images.
    void ConfigApp();
    // Shows the menu at a screen position without waiting for a choice.
    void Popup(int X, int Y);
    // The menu last built by ConfigApp or Popup, or none.
    QMenu* Shown() const { return FShown.get(); }

private:
    bool FAutoPopup = true;
    std::unique_ptr<QMenu> FShown;
};

// A menu shown as a panel of buttons on the form.
class TKvPanelMenu : public TKvWinControl
{
    Q_OBJECT
    Q_PROPERTY(TKvMenuItem* Items READ Items)
    Q_PROPERTY(TKvMenuItem* WindowsList READ WindowsList WRITE SetWindowsList)
    Q_PROPERTY(bool ImagesVisible READ ImagesVisible WRITE SetImagesVisible)
    Q_PROPERTY(int ImagesSize READ ImagesSize WRITE SetImagesSize)

public:
    Q_INVOKABLE explicit TKvPanelMenu(TComponent* AOwner = nullptr);
    ~TKvPanelMenu() override;

    TKvMenuItem* Items() const { return FTree.Items(); }
    TKvMenuItem* WindowsList() const { return FTree.WindowsList(); }
    void SetWindowsList(TKvMenuItem* Value) { FTree.SetWindowsList(Value); }
    bool ValidAssignWindowsList(const TKvMenuItem* Item) const { return FTree.ValidAssignWindowsList(Item); }
    bool ImagesVisible() const { return FImagesVisible; }
    void SetImagesVisible(bool Value) { FImagesVisible = Value; }
    int ImagesSize() const { return FImagesSize; }
    void SetImagesSize(int Value);
    QObject* EditorWindow() const { return FTree.EditorWindow(); }
    void SetEditorWindow(QObject* Value) { FTree.SetEditorWindow(Value); }

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TKvMenuTree FTree;
    bool FImagesVisible = true;
    int FImagesSize = 24;
};

// The root item of a main, popup or panel menu; none for any other component.
TKvMenuItem* KvMenuItemsOf(const TComponent* Menu);

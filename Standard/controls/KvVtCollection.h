#pragma once

#include "DesignWindows.h"
#include "KvCollections.h"

#include <QPointer>

#include <memory>

namespace Ui {
class TFrCollection;
}
class QListWidget;
class QMenu;
class QPushButton;
class QWidget;
class TFrFindDialog;

// What both collection editors share: the item list ("index - name") with its buttons and
// popup menu, kept in step with the designer's selection. One window per collection, kept in
// the collection.
class TKvCollectionWindow : public TDesignWindow
{
    Q_OBJECT

public:
    explicit TKvCollectionWindow(QWidget* Parent = nullptr);
    ~TKvCollectionWindow() override;

    // Refreshes the list and shows the window (not modally).
    void Execute();
    void SetCollection(TKvCollection* Collection);
    TKvCollection* Collection() const { return FCollection; }

    // Refreshes the list from the collection, keeping the selected item selected when asked.
    virtual void DisplayInfo(bool KeepSelection);
    int SelectedIndex() const;
    void SelectLine(int Index);

    void Add();
    void Insert();
    void Delete();
    void MoveUp();
    void MoveDown();
    void SelectFirst();
    void SelectLast();
    void Clear();
    void SelectOwner();
    void ShowFind();
    // Selects the next line holding Text; false when none does.
    bool FindNext(const QString& Text, bool Down, bool MatchCase, bool WholeWord);

    void ItemsModified(IDesigner* ADesigner) override;
    void SelectionChanged(IDesigner* ADesigner, const TDesignerSelectionList& ASelection) override;
    void ItemDeleted(IDesigner* ADesigner, TPersistent* Item) override;

protected:
    struct TControls
    {
        QListWidget* List;
        QWidget* ButtonPanel;
        QPushButton *Add, *Insert, *Delete, *Up, *Down, *Owner;
    };
    // The window's own controls, once its form is set up.
    void Setup(const TControls& Controls);
    // The item of a line was chosen: it is selected in the designer.
    virtual void LineChosen();
    void SelectInDesigner(TPersistent* Instance);
    void Run(const std::function<void()>& Command);
    void closeEvent(QCloseEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

    TControls FControls{};
    QMenu* FPopup;
    bool FProcess = false;   // a deletion is under way: no refresh
    bool FFollowing = false; // the list follows the designer: no echo back

private:
    QPointer<TKvCollection> FCollection;
    QString FSelectComponent; // by name, as undo may make it anew
    TFrFindDialog* FFind = nullptr;
    QString FOwnerName; // to find the collection again when undo made its owner anew
    QString FPropName;

    void LayoutButtons();
};

// The editor of any of the library's collections.
class TFrCollection : public TKvCollectionWindow
{
    Q_OBJECT

public:
    explicit TFrCollection(QWidget* Parent = nullptr);
    ~TFrCollection() override;

private:
    std::unique_ptr<Ui::TFrCollection> ui;
};

// Opens the editor of a collection (the page-control editor for a page control's tabs),
// creating it on first use.
TKvCollectionWindow* KvEditCollection(TKvCollection* Collection, IDesigner* Designer, bool PageControl);

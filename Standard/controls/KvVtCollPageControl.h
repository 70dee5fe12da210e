#pragma once

#include "controls/KvVtCollection.h"

namespace Ui {
class TFrCollPageControl;
}
class QMenu;
class TKvCustomPageControl;
class TKvTabSheet;

// The editor of a page control's tabs: the tab list, the control's tab sheets beside it, and
// which sheet each tab shows; sheets are added and removed here too.
class TFrCollPageControl : public TKvCollectionWindow
{
    Q_OBJECT

public:
    explicit TFrCollPageControl(QWidget* Parent = nullptr);
    ~TFrCollPageControl() override;

    void DisplayInfo(bool KeepSelection) override;
    // Refills the sheet list and the "TabSheet:" combo.
    void DisplayTabSheets(bool KeepSelection);
    TKvCustomPageControl* PageControl() const;
    TKvTabSheet* SelectedSheet() const;
    void SelectSheetLine(int Index);

    void AddTabSheet();
    void RemoveTabSheet();
    // The combos: a sheet for the selected tab, a tab for the selected sheet (-1: "<None>").
    void ChooseTabSheet(int Index);
    void ChooseTab(int Index);

protected:
    void LineChosen() override;

private:
    std::unique_ptr<Ui::TFrCollPageControl> ui;
    QMenu* FSheetPopup;

    void SheetChosen();
    void ShowSheetOfTab();
    void ShowTabOfSheet();
    // Sets a combo to entry Index (its last, "<None>", for -1) without reacting to it.
    void SetCombo(class QComboBox* Combo, int Index);
};

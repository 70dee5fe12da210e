#include "KvVtSetsEditor.h"
#include "ui_KvVtSetsEditor.h"

#include "KvApplication.h"

TKvSetsEditor::TKvSetsEditor(TKvSetKind Kind, QWidget* Parent)
    : TKvSetsWindow(Kind, Parent), FUi(std::make_unique<Ui::TFrSetsEditor>())
{
    FUi->setupUi(this);
    TKvSetsControls Ctl;
    Ctl.EdDescrip = FUi->EdDescrip;
    Ctl.List = FUi->Sets;
    Ctl.StatusBar1 = FUi->StatusBar1;
    Ctl.PnButtons = FUi->PnButtons;
    Ctl.BtManager = FUi->BtManager;
    Ctl.BtAdd = FUi->BtAdd;
    Ctl.BtModify = FUi->BtModify;
    Ctl.BtDelete = FUi->BtDelete;
    Ctl.BtOk = FUi->BtOk;
    Bind(Ctl);
}

TKvSetsEditor::~TKvSetsEditor() = default;

int TKvSetsEditor::Execute()
{
    SetCaption();
    Load();
    AdjustComponents();
    UpdateInfo();
    CheckItemHeight();
    return exec() == QDialog::Accepted ? 1 : 2;
}

void TKvSetsEditor::RowDoubleClicked()
{
    if (FUi->BtModify->isEnabled())
        ModifySet();
}

int KvShowSetsEditor(QWidget* Parent, TKvSetKind Kind, TKvCApplication* App)
{
    std::unique_ptr<TKvSetsEditor> Editor;
    switch (Kind) {
    case TKvSetKind::Color: Editor = std::make_unique<TFrSetsColor>(Parent); break;
    case TKvSetKind::Font: Editor = std::make_unique<TFrSetsFont>(Parent); break;
    case TKvSetKind::BackGround: Editor = std::make_unique<TFrSetsBackGround>(Parent); break;
    }
    Editor->CApplication = App;
    return Editor->Execute();
}

#include "KvVtSetPicker.h"
#include "ui_KvVtSetPicker.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvMessages.h"
#include "KvPkgDisplay.h"
#include "KvReferences.h"

namespace {

void ShowError(const Exception& E)
{
    KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
}

} // namespace

TKvSetPicker::TKvSetPicker(TKvSetKind Kind, QWidget* Parent)
    : TKvSetsWindow(Kind, Parent), FUi(std::make_unique<Ui::TFrSetPicker>())
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
    Ctl.BtNull = FUi->BtNull;
    Ctl.BtDefault = FUi->BtDefault;
    Ctl.BtOk = FUi->BtOk;
    Ctl.BtCancel = FUi->BtCancel;
    Bind(Ctl);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FUi->BtNull, &QPushButton::clicked, this, [this] {
        FUi->EdDescrip->clear();
        accept();
    });
    connect(FUi->BtDefault, &QPushButton::clicked, this, [this] {
        FUi->EdDescrip->setText(TKvSetReference::DefaultSetName());
        accept();
    });
}

TKvSetPicker::~TKvSetPicker() = default;

int TKvSetPicker::Execute()
{
    CApplication = KvCApp();
    SetCaption();
    TKvPkgDisplay* Display = Pkg();
    if (Display && Display->InitMode() == TKvPkgInfo::imFILE && Display->FileModified()) {
        try {
            Display->LoadFile();
        } catch (const Exception& E) {
            ShowError(E);
        }
    }
    Load();
    TKvSetReference* Ref = Reference();
    const QString Default = Ref->DefaultSet();
    Change(Ref->IsDefault() && !Default.isEmpty() ? Default : Ref->Name());
    AdjustComponents();
    UpdateInfo();
    CheckItemHeight();
    FUi->EdDescrip->setFocus();
    const int Result = exec() == QDialog::Accepted ? 1 : 2;
    if (Display) {
        try {
            Display->SaveFile();
        } catch (const Exception& E) {
            ShowError(E);
        }
    }
    if (Result == 1) {
        QString Name = FUi->EdDescrip->text();
        if (!Default.isEmpty() && Name.compare(Default, Qt::CaseInsensitive) == 0)
            Name = TKvSetReference::DefaultSetName();
        Ref->SetName(Name);
    }
    return Result;
}

void TKvSetPicker::Modified()
{
    TKvPkgDisplay* Display = Pkg();
    if (Display && Display->InitMode() == TKvPkgInfo::imDFM)
        KvDesignerModified(CApplication);
}

void TKvSetPicker::RowDoubleClicked()
{
    accept();
}

TKvSetReference* TFrSetColor::Reference() const
{
    return FSetColor;
}

TKvSetReference* TFrSetFont::Reference() const
{
    return FSetFont;
}

TKvSetReference* TFrSetBackGround::Reference() const
{
    return FSetBackGround;
}

std::unique_ptr<TKvSetPicker> KvCreateSetPicker(TKvSetReference* Reference)
{
    if (auto* Color = qobject_cast<TKvSetColor*>(Reference)) {
        auto Picker = std::make_unique<TFrSetColor>();
        Picker->FSetColor = Color;
        return Picker;
    }
    if (auto* Font = qobject_cast<TKvSetFont*>(Reference)) {
        auto Picker = std::make_unique<TFrSetFont>();
        Picker->FSetFont = Font;
        return Picker;
    }
    if (auto* BackGround = qobject_cast<TKvSetBackGround*>(Reference)) {
        auto Picker = std::make_unique<TFrSetBackGround>();
        Picker->FSetBackGround = BackGround;
        return Picker;
    }
    return nullptr;
}

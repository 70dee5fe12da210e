#include "KvVtPrivileges.h"
#include "ui_KvVtPrivileges.h"

#include "KvDialogs.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgPrivileges.h"
#include "common/KvPkgDialogs.h"
#include "manager/KvVtPkgLoadSave.h"

#include <QMenu>

void KvEditPrivileges(TKvPkgPrivileges* Pkg, QWidget* Parent)
{
    if (!Pkg)
        return;
    TFrPrivileges Editor(Parent);
    Editor.PkgPrivileges = Pkg;
    Editor.Execute();
}

TFrPrivileges::TFrPrivileges(QWidget* Parent)
    : TKvPrivilegesWindow(Parent), FUi(std::make_unique<Ui::TFrPrivileges>()), FMenu(new QMenu(this))
{
    FUi->setupUi(this);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    Bind({FUi->EdSearch, FUi->EdId, FUi->List, FUi->LaStatus, FUi->BtAdd, FUi->BtModify, FUi->BtDelete,
          FUi->BtManager});
    QAction* MnClearAccess = FMenu->addAction(QStringLiteral("Clear Access"));
    MnClearAccess->setObjectName(QStringLiteral("MnClearAccess"));
    connect(MnClearAccess, &QAction::triggered, this, &TFrPrivileges::ClearAccess);
    connect(FUi->List, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { FMenu->popup(FUi->List->viewport()->mapToGlobal(At)); });
    connect(FUi->CbReadState, &QCheckBox::clicked, this, [this](bool Checked) {
        if (!PkgPrivileges)
            return;
        PkgPrivileges->SetReadStateDisableControl(Checked);
        Modified();
    });
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtClearAll, &QPushButton::clicked, this, &TFrPrivileges::ClearAll);
    connect(FUi->BtLoadTemplate, &QPushButton::clicked, this, &TFrPrivileges::LoadTemplate);
    connect(FUi->BtSaveTemplate, &QPushButton::clicked, this, &TFrPrivileges::SaveTemplate);
    connect(FUi->BtLoadAccess, &QPushButton::clicked, this, [this] { LoadSaveAccess(true); });
    connect(FUi->BtSaveAccess, &QPushButton::clicked, this, [this] { LoadSaveAccess(false); });
    connect(FUi->BtLoadAccessFrom, &QPushButton::clicked, this, &TFrPrivileges::LoadAccessFrom);
    connect(FUi->BtSaveAccessTo, &QPushButton::clicked, this, &TFrPrivileges::SaveAccessTo);
}

TFrPrivileges::~TFrPrivileges() = default;

void TFrPrivileges::Execute()
{
    FUi->List->CheckItemHeight();
    Reload();
    if (!KvRestoreResizeInfoDesigner(this))
        KvCenterWindow(this, false);
    exec();
    KvSaveResizeInfoDesigner(this);
}

void TFrPrivileges::Reload()
{
    FUi->CbReadState->setChecked(PkgPrivileges && PkgPrivileges->ReadStateDisableControl());
    FillList();
    UpdateInfo();
    ChangeState();
}

void TFrPrivileges::RowDoubleClicked()
{
    if (FUi->BtModify->isEnabled())
        ModifyItem();
}

void TFrPrivileges::ClearAll()
{
    if (!PkgPrivileges)
        return;
    if (KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 65, {KvBtnAccept, KvBtnCancel}, KvBtnCancel) != KvBtnAccept)
        return;
    Model()->Clear();
    PkgPrivileges->Clear();
    Modified();
    Reload();
}

void TFrPrivileges::ClearAccess()
{
    if (!PkgPrivileges)
        return;
    if (KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 91, {KvBtnAccept, KvBtnCancel}, KvBtnCancel) != KvBtnAccept)
        return;
    {
        TKvScreenUpdate Busy;
        for (int I = 0; I < PkgPrivileges->Count(); ++I)
            PkgPrivileges->GetItems(I)->SetAccess(TKvPkgPrivilegesItem::AccessReadWrite);
    }
    Reload();
    Modified();
}

void TFrPrivileges::LoadFile(const std::function<void()>& Load)
{
    // The rows point into the privileges a load replaces.
    Model()->Clear();
    try {
        Load();
    } catch (const Exception& E) {
        Reload();
        ShowError(E.Message);
        return;
    }
    Reload();
    Modified();
}

void TFrPrivileges::SaveFile(const std::function<void()>& Save)
{
    try {
        Save();
    } catch (const Exception& E) {
        ShowError(E.Message);
    }
}

void TFrPrivileges::LoadTemplate()
{
    QString FileName;
    if (PkgPrivileges && KvPkgAskFile(this, false, QStringLiteral("Load Template"), KvPrivilegesTemplateFilter(),
                                      QStringLiteral("pri"), FileName))
        LoadFile([&] { PkgPrivileges->LoadTemplateFromFile(FileName); });
}

void TFrPrivileges::SaveTemplate()
{
    QString FileName;
    if (PkgPrivileges && KvPkgAskFile(this, true, QStringLiteral("Save Template"), KvPrivilegesTemplateFilter(),
                                      QStringLiteral("pri"), FileName))
        SaveFile([&] { PkgPrivileges->SaveTemplateToFile(FileName); });
}

void TFrPrivileges::LoadSaveAccess(bool Load)
{
    if (!PkgPrivileges)
        return;
    if (Load)
        Model()->Clear();
    TFrPkgLoadSave Dialog(this);
    Dialog.Pkg = PkgPrivileges;
    Dialog.ModeLoadSave = Load;
    Dialog.OnlyDescription = true;
    FrPkgLoadSave = &Dialog;
    const int Result = Dialog.Execute();
    FrPkgLoadSave = nullptr;
    if (!Load)
        return;
    Reload();
    if (Result == 1)
        Modified();
}

void TFrPrivileges::LoadAccessFrom()
{
    QString FileName;
    if (PkgPrivileges && KvPkgAskFile(this, false, QStringLiteral("Load Access From"),
                                      KvPrivilegesFileFilter(PkgPrivileges), PkgPrivileges->DefaultExt(), FileName))
        LoadFile([&] { PkgPrivileges->LoadFromFile(FileName); });
}

void TFrPrivileges::SaveAccessTo()
{
    QString FileName;
    if (PkgPrivileges && KvPkgAskFile(this, true, QStringLiteral("Save Access To"),
                                      KvPrivilegesFileFilter(PkgPrivileges), PkgPrivileges->DefaultExt(), FileName))
        SaveFile([&] { PkgPrivileges->SaveToFile(FileName); });
}

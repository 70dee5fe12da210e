#include "KvVtMemoryImage.h"
#include "ui_KvVtMemoryImage.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvMessages.h"
#include "KvPkgImages.h"
#include "KvReferences.h"
#include "common/KvPkgDialogs.h"
#include "images/KvVtImportImages.h"
#include "images/KvVtMemoryImageAdd.h"
#include "manager/KvVtManager.h"
#include "strings/KvStringsItemDialog.h"
#include "strings/KvStringsPicker.h"

#include <QAction>
#include <QMenu>

TFrMemoryImage::TFrMemoryImage(QWidget* Parent)
    : QDialog(Parent), FUi(new Ui::TFrMemoryImage), FModel(new TKvImagesModel(this)),
      FMenu(new TKvImagesMenu(this, TKvImagesMenu::WithPackage))
{
    FUi->setupUi(this);
    FUi->Images->setModel(FModel);
    // The id box also shows -1 and -2 set by Null and Default; typing stays at four digits.
    KvSetupIdBox(FUi->EdId);
    connect(FUi->BtManager, &QPushButton::clicked, this, [this] {
        KvShowManager(this, TKvDlgManager::dlmImages, FUi->EdPkg->currentText(), FUi->EdId->text());
    });

    connect(FMenu, &TKvImagesMenu::ViewChanged, this, [this] { FMenu->ApplyTo(FUi->Images); });
    connect(FMenu->MnImport, &QAction::triggered, this, [this] {
        if (!FPkg || !FMenu->MnImport->isEnabled())
            return;
        SaveShown();
        TFrImportImages Import(this);
        Import.PkgAssign = FPkg;
        if (Import.Execute() != 1)
            return;
        FModel->Fill(FPkg);
        IdChange();
        UpdateInfo();
        Modified();
    });
    connect(FMenu->MnProtectAllImages, &QAction::triggered, this, [this] { ProtectAll(true); });
    connect(FMenu->MnUnprotectAllImages, &QAction::triggered, this, [this] { ProtectAll(false); });
    connect(FUi->Images, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { FMenu->Menu()->popup(FUi->Images->viewport()->mapToGlobal(At)); });
    connect(FUi->EdPkg, &QComboBox::currentTextChanged, this, [this] {
        PkgChange();
        UpdateInfo();
    });
    connect(FUi->EdId, &QLineEdit::textEdited, this, [this] { IdChange(); });
    connect(FUi->Images->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { ChangeState(); });
    connect(FUi->Images->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!FSelecting)
            RowClicked();
    });
    connect(FUi->Images, &QAbstractItemView::doubleClicked, this, [this] {
        if (FUi->BtModify->isEnabled())
            AddModify(true);
    });
    connect(FUi->BtAdd, &QPushButton::clicked, this, [this] { AddModify(false); });
    connect(FUi->BtModify, &QPushButton::clicked, this, [this] { AddModify(true); });
    connect(FUi->BtDelete, &QPushButton::clicked, this, [this] {
        if (FUi->BtDelete->isEnabled())
            DeleteRow(FUi->Images->CurrentRow());
    });
    connect(FUi->BtNull, &QPushButton::clicked, this, [this] {
        FUi->EdId->setText(QStringLiteral("-1"));
        accept();
    });
    connect(FUi->BtDefault, &QPushButton::clicked, this, [this] {
        FUi->EdId->setText(QStringLiteral("-2"));
        accept();
    });
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrMemoryImage::~TFrMemoryImage() = default;

int TFrMemoryImage::Execute()
{
    if (!FMemoryImage)
        return 2;
    FUi->BtDefault->setEnabled(FMemoryImage->HasDefault());
    QStringList Names = KvPkgImagesActives();
    Names.sort(Qt::CaseInsensitive);
    const TKvPickerTarget Target = KvPickerInitialTarget(FMemoryImage);
    {
        const QSignalBlocker Quiet(FUi->EdPkg);
        FUi->EdPkg->clear();
        FUi->EdPkg->addItems(Names);
        FUi->EdPkg->setCurrentText(Target.PkgName);
    }
    FUi->EdId->setText(QString::number(Target.Id));
    FUi->EdId->setFocus();
    PkgChange();
    UpdateInfo();
    return exec() == QDialog::Accepted ? 1 : 2;
}

void TFrMemoryImage::SaveShown()
{
    if (!FPkg)
        return;
    try {
        FPkg->SaveFile();
    } catch (const Exception& E) {
        KvShowError(E);
    }
}

void TFrMemoryImage::PkgChange()
{
    SaveShown();
    FModel->Clear();
    FPkg = KvFindPkgImages(FUi->EdPkg->currentText());
    if (FPkg) {
        if (FPkg->InitMode() == TKvPkgInfo::imFILE && FPkg->FileModified()) {
            try {
                FPkg->LoadFile();
            } catch (const Exception& E) {
                KvShowError(E);
            }
        }
        FModel->Fill(FPkg);
    }
    IdChange();
    FMenu->SetPackage(FUi->EdPkg->currentText());
    FMenu->ApplyTo(FUi->Images);
}

void TFrMemoryImage::SelectRow(int Row)
{
    FSelecting = true;
    FUi->Images->SelectRow(Row);
    FSelecting = false;
    ChangeState();
}

void TFrMemoryImage::IdChange()
{
    bool Ok = false;
    const int Id = FUi->EdId->text().toInt(&Ok);
    const TKvPkgImagesImage* Image = FPkg && Ok ? FPkg->Images()->FindId(Id) : nullptr;
    SelectRow(Image ? FModel->RowOf(Image) : -1);
}

void TFrMemoryImage::RowClicked()
{
    const TKvPkgImagesImage* Image = FModel->Item(FUi->Images->currentIndex().row());
    if (!Image)
        return;
    FUi->EdId->setText(QString::number(Image->Id()));
    IdChange();
}

void TFrMemoryImage::ChangeState()
{
    const bool Editable = KvImagesValidPkg(FUi->EdPkg->currentText());
    const bool Selected = Editable && FPkg && FUi->Images->CurrentRow() >= 0;
    FUi->BtAdd->setEnabled(Editable && FPkg);
    FUi->BtModify->setEnabled(Selected);
    FUi->BtDelete->setEnabled(Selected);
    FUi->Images->setFocusPolicy(Editable ? Qt::StrongFocus : Qt::ClickFocus);
}

void TFrMemoryImage::UpdateInfo() { FUi->LaStatus->setText(KvImagesStatus(FPkg)); }

// Only a package stored in the form needs the designer told.
void TFrMemoryImage::Modified()
{
    if (!FPkg || FPkg->InitMode() != TKvPkgInfo::imDFM)
        return;
    KvDesignerModified(FPkg);
    if (TKvCApplication* App = KvCApp())
        KvDesignerModified(App);
}

void TFrMemoryImage::AddModify(bool Modify)
{
    if (!FPkg)
        return;
    TFrMemoryImageAdd Dialog(this);
    Dialog.setWindowTitle(Modify ? QStringLiteral("Modify Image") : QStringLiteral("Add Image"));
    Dialog.Pkg = FPkg;
    Dialog.Modify = Modify;
    if (Modify) {
        bool Ok = false;
        Dialog.Id = FUi->EdId->text().toInt(&Ok);
        if (!Ok || !FPkg->Images()->FindId(Dialog.Id))
            return;
    } else {
        Dialog.Id = FPkg->Images()->UniqueId();
    }
    const bool Changed = Dialog.Execute();
    if (Changed) {
        FUi->EdId->setText(QString::number(Dialog.Id));
        FModel->Fill(FPkg);
        IdChange();
        UpdateInfo();
    }
    if (Changed || Dialog.ModifiedWindowPos)
        Modified();
}

void TFrMemoryImage::DeleteRow(int Row)
{
    TKvPkgImagesImage* Image = FModel->Item(Row);
    if (!Image)
        return;
    FModel->Remove(Row);
    delete Image;
    const int Count = FModel->rowCount();
    const TKvPkgImagesImage* Shown = FModel->Item(Count <= 0 ? -1 : std::min(Row, Count - 1));
    FUi->EdId->setText(Shown ? QString::number(Shown->Id()) : QString());
    IdChange();
    UpdateInfo();
    Modified();
}

void TFrMemoryImage::DeleteItem(TKvPkgImagesImage* Item)
{
    const int Row = FModel->RowOf(Item);
    if (Row >= 0)
        DeleteRow(Row);
}

void TFrMemoryImage::ProtectAll(bool Value)
{
    if (!FPkg || KvImagesProtectAll(FPkg, Value) == 0)
        return;
    ChangeState();
    FModel->Fill(FPkg);
    IdChange();
    UpdateInfo();
    Modified();
}

void TFrMemoryImage::done(int Result)
{
    SaveShown();
    if (FPkg)
        if (auto* Owner = qobject_cast<TKvPkgInfo*>(FPkg->Owner()))
            try {
                Owner->SaveFile();
            } catch (const Exception& E) {
                KvShowError(E);
            }
    if (Result == QDialog::Accepted && FMemoryImage) {
        const QString PkgName = FUi->EdPkg->currentText();
        FMemoryImage->PkgId(PkgName, KvPickerResultId(FMemoryImage, PkgName, FUi->EdId->text(), true));
    }
    QDialog::done(Result);
}

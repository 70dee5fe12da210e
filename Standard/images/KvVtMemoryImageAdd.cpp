#include "KvVtMemoryImageAdd.h"
#include "ui_KvVtMemoryImageAdd.h"

#include "KvDialogs.h"
#include "KvForms.h"
#include "KvGraphics.h"
#include "KvMessages.h"
#include "KvPkgImages.h"
#include "common/KvPkgDialogs.h"
#include "images/KvImagesList.h"
#include "images/KvVtDesignRgn.h"
#include "strings/KvStringsItemDialog.h"

#include <QFileInfo>

TFrMemoryImageAdd::TFrMemoryImageAdd(QWidget* Parent)
    : TKvKeptBoundsDialog(Parent), FUi(new Ui::TFrMemoryImageAdd), LocalPkg(new TKvPkgImages)
{
    FUi->setupUi(this);
    LocalPkg->setParent(this);
    KvSetupIdBox(FUi->EdId);
    FUi->PnImage->installEventFilter(this);
    connect(FUi->BtLoad, &QPushButton::clicked, this, &TFrMemoryImageAdd::LoadClick);
    connect(FUi->BtSave, &QPushButton::clicked, this, &TFrMemoryImageAdd::SaveClick);
    connect(FUi->BtClear, &QPushButton::clicked, this, &TFrMemoryImageAdd::ClearClick);
    connect(FUi->BtCopy, &QPushButton::clicked, this, &TFrMemoryImageAdd::CopyClick);
    connect(FUi->BtCut, &QPushButton::clicked, this, &TFrMemoryImageAdd::CutClick);
    connect(FUi->BtPaste, &QPushButton::clicked, this, &TFrMemoryImageAdd::PasteClick);
    connect(FUi->BtMask, &QPushButton::clicked, this, &TFrMemoryImageAdd::MaskClick);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FUi->EdId, &QLineEdit::textEdited, this, [this] { FModified = true; });
    connect(FUi->EdProtected, &QCheckBox::clicked, this, [this] { FModified = true; });
}

TFrMemoryImageAdd::~TFrMemoryImageAdd() = default;

bool TFrMemoryImageAdd::Execute()
{
    ModifiedWindowPos = false;
    FUi->EdId->setText(QString::number(Id));
    FOldId = Id;
    LocalPkg->Clear();
    FLocalImage = LocalPkg->Images()->Add(0);

    FUi->EdProtected->setChecked(true);
    if (!Pkg || !KvIsSystemImagesName(Pkg->PkgName())) {
        FUi->EdProtected->setVisible(false);
        FUi->EdProtected->setChecked(false);
    }
    const TKvPkgImagesImage* Original = Pkg && Modify ? Pkg->Images()->FindId(Id) : nullptr;
    if (Original)
        FLocalImage->Assign(*Original);
    LoadImage();
    if (Pkg)
        LocalPkg->SetDesignRgn(Pkg->DesignRgn());
    ChangeState();
    FModified = !Modify || (Original && FUi->EdProtected->isChecked() != Original->Protected());

    const bool Accepted = exec() == QDialog::Accepted;

    if (Pkg && LocalPkg->DesignRgn() != Pkg->DesignRgn()) {
        Pkg->SetDesignRgn(LocalPkg->DesignRgn());
        ModifiedWindowPos = true;
    }
    return Accepted && (!Modify || FModified);
}

void TFrMemoryImageAdd::Store()
{
    if (!Pkg)
        KvExcept(QStringLiteral("No images package"));
    const int NewId = KvStrToId(FUi->EdId->text());
    TKvScreenUpdate Busy;
    TKvPkgImagesImage* Target = nullptr;
    if (Modify) {
        Target = Pkg->Images()->FindId(FOldId);
        if (!Target)
            KvExcept(QStringLiteral("Image %1 not found").arg(FOldId));
        Target->SetId(NewId);
    } else {
        Target = Pkg->Images()->Add(NewId);
    }
    Target->Assign(*FLocalImage);
    Target->SetProtected(FUi->EdProtected->isChecked());
    Id = NewId;
}

void TFrMemoryImageAdd::done(int Result)
{
    if (Result == QDialog::Accepted && (!Modify || FModified)) {
        try {
            Store();
        } catch (const Exception& E) {
            KvShowError(E);
            FUi->EdId->setFocus();
            return;
        }
    }
    QDialog::done(Result);
}

bool TFrMemoryImageAdd::event(QEvent* Event)
{
    // The paste button follows the clipboard.
    if (Event->type() == QEvent::WindowActivate)
        ChangeState();
    return QDialog::event(Event);
}

bool TFrMemoryImageAdd::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FUi->PnImage && Event->type() == QEvent::Resize)
        ShowPicture();
    return QDialog::eventFilter(Watched, Event);
}

void TFrMemoryImageAdd::ChangeState()
{
    const TKvPkgImagesImage* Image = FLocalImage;
    const bool Has = Image && !Image->Empty();
    FUi->Label1->setText(Has ? QStringLiteral("(%1) (%2x%3)")
                                   .arg(KvFindGraphicDescription(QString::fromLatin1(Image->Format())))
                                   .arg(Image->Width())
                                   .arg(Image->Height())
                             : QStringLiteral("(None)"));
    for (QPushButton* Button : {FUi->BtSave, FUi->BtClear, FUi->BtMask, FUi->BtCopy, FUi->BtCut})
        Button->setEnabled(Has);
    FUi->LaMask->setChecked(Image && KvImagesHasOutline(Image));
    FUi->BtPaste->setEnabled(KvClipboardHasImage());
}

void TFrMemoryImageAdd::LoadImage()
{
    FPicture = FLocalImage && !FLocalImage->Empty() ? FLocalImage->Graphic() : QImage();
    ShowPicture();
}

void TFrMemoryImageAdd::ShowPicture()
{
    if (FPicture.isNull()) {
        FUi->PnImage->clear();
        return;
    }
    const QSize Room = FUi->PnImage->contentsRect().size() - QSize(4, 4);
    const QRect Target = KvImageRect(FPicture.size(), QRect(QPoint(0, 0), Room), true);
    FUi->PnImage->setPixmap(QPixmap::fromImage(FPicture.scaled(Target.size(), Qt::IgnoreAspectRatio,
                                                               Qt::FastTransformation)));
}

void TFrMemoryImageAdd::LoadClick()
{
    TKvFileDialogRequest Request;
    Request.Title = QStringLiteral("Load Image");
    Request.Filter = KvFormatGraphics() + QStringLiteral("|KvControls Image Files (*.imkv)|*.imkv");
    Request.FileMustExist = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    try {
        FLocalImage->LoadFromFile(Request.FileName);
    } catch (const Exception& E) {
        KvShowError(E);
        return;
    }
    FModified = true;
    LoadImage();
    ChangeState();
}

void TFrMemoryImageAdd::SaveClick()
{
    if (FLocalImage->Empty())
        return;
    const QString Format = QString::fromLatin1(FLocalImage->Format());
    TKvFileDialogRequest Request;
    Request.Save = true;
    Request.Title = QStringLiteral("Save Image");
    Request.Filter = KvGraphicFilter(Format) + QStringLiteral("|KvControls Image Files lala(*.imkv)|*.IMKV");
    Request.FilterIndex = FFilterIndex;
    Request.OverwritePrompt = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    FFilterIndex = Request.FilterIndex;
    QString Name = Request.FileName;
    if (QFileInfo(Name).suffix().isEmpty())
        Name += Request.FilterIndex == 1 ? QLatin1Char('.') + Format : QStringLiteral(".IMKV");
    try {
        FLocalImage->SaveToFile(Name);
    } catch (const Exception& E) {
        KvShowError(E);
    }
}

void TFrMemoryImageAdd::ClearClick()
{
    FLocalImage->Clear();
    FModified = true;
    LoadImage();
    ChangeState();
}

void TFrMemoryImageAdd::CopyClick()
{
    FLocalImage->SaveToClipBoard();
    ChangeState();
}

void TFrMemoryImageAdd::CutClick()
{
    FLocalImage->SaveToClipBoard();
    ClearClick();
}

void TFrMemoryImageAdd::PasteClick()
{
    try {
        if (!FLocalImage->LoadFromClipBoard())
            return;
    } catch (const Exception& E) {
        KvShowError(E);
        return;
    }
    FModified = true;
    LoadImage();
    ChangeState();
}

void TFrMemoryImageAdd::MaskClick()
{
    if (FLocalImage->Empty())
        return;
    if (KvDesignRgn(FLocalImage, this)) {
        FModified = true;
        ChangeState();
    }
}

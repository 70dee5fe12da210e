#include "KvSetAddDialog.h"
#include "ui_KvVtSetsBackGroundAdd.h"
#include "ui_KvVtSetsColorAdd.h"
#include "ui_KvVtSetsFontAdd.h"

#include "images/KvVtMemoryImage.h"
#include "strings/KvVtMemoryLabel.h"

#include "Colors.h"
#include "KvApplication.h"
#include "KvDialogs.h"
#include "KvForms.h"
#include "KvGraphics.h"
#include "KvMessages.h"
#include "KvPkgDisplay.h"
#include "KvReferences.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFocusEvent>
#include <QPainter>

namespace {

constexpr int CustomSlots = 16;

QColor Rgb(TColor Color)
{
    return QColor::fromRgb(ColorToRGB(Color.Value));
}

} // namespace

qint32 KvColorOfRgb(QRgb Rgb)
{
    return qint32(qBlue(Rgb)) << 16 | qint32(qGreen(Rgb)) << 8 | qint32(qRed(Rgb));
}

QList<QRgb> KvMergeUserColors(const QList<QRgb>& Stored, const QList<QRgb>& Custom)
{
    QList<QRgb> Result = Stored;
    const QRgb Empty = QColor(Qt::white).rgb();
    for (int I = 0; I < Custom.size() && I < CustomSlots; ++I) {
        if (I < Result.size()) {
            Result[I] = Custom[I];
        } else if (Custom[I] != Empty) {
            // An untouched slot past the stored colours is white; one filled further on keeps
            // its place, with the white slots before it.
            while (Result.size() < I)
                Result.append(Custom[Result.size()]);
            Result.append(Custom[I]);
        }
    }
    return Result;
}

// ---------------------------------------------------------------------------------------------

TKvColorChooser::TKvColorChooser(QComboBox* Box, QFrame* Sample, QAbstractButton* Button, TKvPkgDisplay* Pkg)
    : QObject(Box), FBox(Box), FSample(Sample), FPkg(Pkg)
{
    FBox->addItems(ColorNames());
    // The user colours beyond the dialog's 16 slots are reached here.
    if (FPkg)
        for (const QRgb User : FPkg->UserColors()) {
            const QString Text = ColorToString(KvColorOfRgb(User));
            if (FBox->findText(Text, Qt::MatchFixedString) < 0)
                FBox->addItem(Text);
        }
    connect(FBox, &QComboBox::textActivated, this, &TKvColorChooser::TextEdited);
    connect(FBox->lineEdit(), &QLineEdit::textEdited, this, &TKvColorChooser::TextEdited);
    connect(Button, &QAbstractButton::clicked, this, &TKvColorChooser::PickColor);
    FBox->installEventFilter(this);
    FBox->lineEdit()->installEventFilter(this);
    ShowSample();
}

void TKvColorChooser::SetColor(TColor Value)
{
    FColor = Value;
    const QString Text = ColorToString(Value.Value);
    const int Index = FBox->findText(Text, Qt::MatchFixedString);
    const QSignalBlocker Block(FBox);
    if (Index >= 0)
        FBox->setCurrentIndex(Index);
    else
        FBox->setEditText(Text);
    ShowSample();
    emit Changed();
}

// Text that names no colour is ignored until the box is left.
void TKvColorChooser::TextEdited(const QString& Text)
{
    qint32 Value = 0;
    if (!TryStringToColor(Text.trimmed(), Value))
        return;
    FColor = TColor{Value};
    ShowSample();
    emit Changed();
}

void TKvColorChooser::ShowSample()
{
    QPalette Palette = FSample->palette();
    Palette.setColor(QPalette::Window, Rgb(FColor));
    FSample->setPalette(Palette);
}

bool TKvColorChooser::eventFilter(QObject*, QEvent* Event)
{
    // Opening the box's own list is not leaving it.
    if (Event->type() == QEvent::FocusOut && !FBox->hasFocus()
        && static_cast<QFocusEvent*>(Event)->reason() != Qt::PopupFocusReason)
        SetColor(FColor);
    return false;
}

void TKvColorChooser::PickColor()
{
    QList<QRgb> Stored = FPkg ? FPkg->UserColors() : QList<QRgb>();
    for (int I = 0; I < CustomSlots; ++I)
        QColorDialog::setCustomColor(I, I < Stored.size() ? QColor(Stored[I]) : QColor(Qt::white));
    QColor Chosen = Rgb(FColor);
    const bool Ok = KvColorDialog(Chosen, FBox->window());
    if (FPkg) {
        QList<QRgb> Custom;
        for (int I = 0; I < CustomSlots; ++I)
            Custom.append(QColorDialog::customColor(I).rgb());
        const QList<QRgb> Merged = KvMergeUserColors(Stored, Custom);
        if (Merged != Stored)
            FPkg->SetUserColors(Merged);
    }
    if (Ok)
        SetColor(TColor{KvColorOfRgb(Chosen.rgb())});
}

// ---------------------------------------------------------------------------------------------

TKvSetAddDialog::TKvSetAddDialog(TKvSetKind Kind, QWidget* Parent)
    : QDialog(Parent), FKind(Kind), FMemoryLabel(new TKvMemoryLabel(this))
{
}

TKvSetAddDialog::~TKvSetAddDialog() = default;

void TKvSetAddDialog::Bind(const TKvSetAddControls& Controls)
{
    C = Controls;
    connect(C.BtOk, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(C.BtCancel, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(C.SpeedButton5, &QAbstractButton::clicked, this, [this] {
        TFrMemoryLabel Picker(this);
        Picker.FMemoryLabel = FMemoryLabel;
        if (Picker.Execute() == 1)
            UpdateRefID();
    });
}

TKvPkgDisplay* TKvSetAddDialog::Pkg() const
{
    return FCApplication ? FCApplication->PkgDisplay() : nullptr;
}

int TKvSetAddDialog::Execute()
{
    if (FModify && FSet) {
        C.EdName->setText(FSet->Name());
        C.EdDescrip->setText(FSet->Description());
        FMemoryLabel->PkgId(FSet->DescriptionPkgName(), FSet->DescriptionId());
    } else {
        C.EdName->setText(KvUniqueSetName(FKind, Pkg()));
    }
    Prepare();
    UpdateRefID();
    return exec() == QDialog::Accepted ? 1 : 2;
}

void TKvSetAddDialog::UpdateRefID()
{
    const bool Defined = FMemoryLabel->Id() >= 0;
    if (Defined) {
        const QString Text = FMemoryLabel->Text();
        C.LabRefID->setText(QStringLiteral("(%1,%2)").arg(FMemoryLabel->Id()).arg(FMemoryLabel->PkgName()));
        C.EdDescripID->setText(Text);
        C.EdDescrip->setText(Text);
    } else {
        C.LabRefID->setText(QStringLiteral("(None)"));
        C.EdDescripID->clear();
    }
    C.EdDescrip->setEnabled(!Defined);
}

void TKvSetAddDialog::done(int Result)
{
    if (Result == QDialog::Accepted) {
        try {
            if (!Pkg())
                throw EKvError(QStringLiteral("Component TKvCApplication not found"));
            TKvScreenUpdate Busy;
            if (FModify && !FSet)
                throw EKvError(QStringLiteral("No set to modify"));
            // A second OK after a failed one goes on with the set the first one made.
            if (!FSet) {
                FSet = KvAddSet(FKind, Pkg(), C.EdName->text());
                FAdded = true;
            }
            FSet->SetName(C.EdName->text());
            FSet->SetDescription(C.EdDescrip->text());
            FSet->SetDescriptionId(FMemoryLabel->PkgName(), FMemoryLabel->Id());
            Store(FSet);
        } catch (const Exception& E) {
            KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
            C.EdName->setFocus();
            return;
        }
    } else if (FAdded && FSet) {
        // Cancelled after a failed OK: the half-made set goes again.
        if (TKvDisplaySets* List = FSet->List())
            List->Delete(List->IndexOf(FSet));
        FSet = nullptr;
        FAdded = false;
    }
    QDialog::done(Result);
}

void TKvSetAddDialog::showEvent(QShowEvent* Event)
{
    if (!FRestored) {
        FRestored = true;
        KvRestoreResizeInfoDesigner(this);
    }
    QDialog::showEvent(Event);
}

void TKvSetAddDialog::hideEvent(QHideEvent* Event)
{
    KvSaveResizeInfoDesigner(this);
    QDialog::hideEvent(Event);
}

// ---------------------------------------------------------------------------------------------

namespace {

// The common controls carry the same names in every set dialog's form.
template <class TUi>
TKvSetAddControls CommonControls(const TUi* Ui)
{
    TKvSetAddControls Ctl;
    Ctl.EdName = Ui->EdName;
    Ctl.EdDescrip = Ui->EdDescrip;
    Ctl.EdDescripID = Ui->EdDescripID;
    Ctl.LabRefID = Ui->LabRefID;
    Ctl.SpeedButton5 = Ui->SpeedButton5;
    Ctl.BtOk = Ui->BtOk;
    Ctl.BtCancel = Ui->BtCancel;
    return Ctl;
}

} // namespace

TFrSetsColorAdd::TFrSetsColorAdd(QWidget* Parent)
    : TKvSetAddDialog(TKvSetKind::Color, Parent), FUi(std::make_unique<Ui::TFrSetsColorAdd>())
{
    FUi->setupUi(this);
    Bind(CommonControls(FUi.get()));
}

TFrSetsColorAdd::~TFrSetsColorAdd() = default;

void TFrSetsColorAdd::Prepare()
{
    // Made here rather than in the constructor: the list holds the package's user colours.
    FSolid = new TKvColorChooser(FUi->CBSolidC, FUi->ShapeSolidC, FUi->SpeedButton3, Pkg());
    FSolid->SetColor(FModify && FSet ? static_cast<TKvSetColorItem*>(FSet)->Color() : TColor{KvColors::clWhite});
}

void TFrSetsColorAdd::Store(TKvDisplaySet* Set)
{
    static_cast<TKvSetColorItem*>(Set)->SetColor(FSolid->Color());
}

// ---------------------------------------------------------------------------------------------

TFrSetsFontAdd::TFrSetsFontAdd(QWidget* Parent)
    : TKvSetAddDialog(TKvSetKind::Font, Parent), FUi(std::make_unique<Ui::TFrSetsFontAdd>())
{
    FUi->setupUi(this);
    Bind(CommonControls(FUi.get()));
    QPalette Palette = FUi->LabFont->palette();
    Palette.setColor(QPalette::Window, Qt::white);
    Palette.setColor(QPalette::WindowText, Qt::black);
    FUi->LabFont->setPalette(Palette);
    // The fitted font must not make the preview ask for more room.
    FUi->LabFont->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    FUi->LabFont->installEventFilter(this);
    connect(FUi->SpeedButton3, &QAbstractButton::clicked, this, &TFrSetsFontAdd::PickFont);
}

TFrSetsFontAdd::~TFrSetsFontAdd() = default;

void TFrSetsFontAdd::Prepare()
{
    if (FModify && FSet) {
        FPreview = static_cast<TKvSetFontItem*>(FSet)->Font();
        FSizeFont = FPreview.pointSize() > 0 ? FPreview.pointSize() : 8;
    } else {
        FPreview = font();
        FSizeFont = 8;
    }
    UpdateLabFont();
}

QFont TFrSetsFontAdd::ChosenFont() const
{
    QFont Font = FPreview;
    Font.setPointSize(FSizeFont);
    return Font;
}

void TFrSetsFontAdd::UpdateLabFont()
{
    const QString Family = FPreview.family();
    QFont Shown = FPreview;
    Shown.setPixelSize(KvFitFontHeight(FPreview, Family, FUi->LabFont->width(), FUi->LabFont->height()));
    FUi->LabFont->setFont(Shown);
    FUi->LabFont->setText(Family);
    FUi->LabelFont->setTitle(QStringLiteral("Font ( Size : %1 ) ( %2 )").arg(FSizeFont).arg(Family));
}

void TFrSetsFontAdd::PickFont()
{
    QFont Font = ChosenFont();
    if (!KvFontDialog(Font, this))
        return;
    FPreview = Font;
    FSizeFont = Font.pointSize() > 0 ? Font.pointSize() : FSizeFont;
    UpdateLabFont();
}

void TFrSetsFontAdd::Store(TKvDisplaySet* Set)
{
    static_cast<TKvSetFontItem*>(Set)->SetFont(ChosenFont());
}

// The preview is fitted to its own size, known only once the layout gave it.
bool TFrSetsFontAdd::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FUi->LabFont && Event->type() == QEvent::Resize)
        UpdateLabFont();
    return TKvSetAddDialog::eventFilter(Watched, Event);
}

// ---------------------------------------------------------------------------------------------

TFrSetsBackGroundAdd::TFrSetsBackGroundAdd(QWidget* Parent)
    : TKvSetAddDialog(TKvSetKind::BackGround, Parent), FUi(std::make_unique<Ui::TFrSetsBackGroundAdd>()),
      FMemoryImage(new TKvMemoryImage(this))
{
    FUi->setupUi(this);
    Bind(CommonControls(FUi.get()));
    FUi->CBStyle->addItems(KvBackGroundStyleNames());
    connect(FUi->CBStyle, &QComboBox::currentIndexChanged, this, &TFrSetsBackGroundAdd::ChangeBackGround);
    connect(FUi->EdTransparent, &QCheckBox::toggled, this, &TFrSetsBackGroundAdd::ChangeBackGround);
    connect(FUi->SpeedButton4, &QAbstractButton::clicked, this, &TFrSetsBackGroundAdd::PickImage);
    FUi->ImgImage->installEventFilter(this);
    FUi->ImgResult->installEventFilter(this);
}

TFrSetsBackGroundAdd::~TFrSetsBackGroundAdd() = default;

void TFrSetsBackGroundAdd::Prepare()
{
    FStart = new TKvColorChooser(FUi->CBStartG, FUi->ShapeStartG, FUi->SpeedButton1, Pkg());
    FEnd = new TKvColorChooser(FUi->CBEndG, FUi->ShapeEndG, FUi->SpeedButton2, Pkg());
    FSolid = new TKvColorChooser(FUi->CBSolidC, FUi->ShapeSolidC, FUi->SpeedButton3, Pkg());
    const auto* Set = FModify ? static_cast<TKvSetBackGroundItem*>(FSet) : nullptr;
    const TColor Face{KvColors::clBtnFace};
    FStart->SetColor(Set ? Set->StartGraColor() : Face);
    FEnd->SetColor(Set ? Set->EndGraColor() : Face);
    FSolid->SetColor(Set ? Set->SolidColor() : Face);
    {
        const QSignalBlocker Block1(FUi->CBStyle), Block2(FUi->EdTransparent);
        FUi->CBStyle->setCurrentIndex(Set ? Set->Style() : 0);
        FUi->EdTransparent->setChecked(Set && Set->Transparent());
    }
    if (Set)
        FMemoryImage->PkgId(Set->ImagePkgName(), Set->ImageId());
    for (TKvColorChooser* Chooser : {FStart, FEnd, FSolid})
        connect(Chooser, &TKvColorChooser::Changed, this, &TFrSetsBackGroundAdd::ChangeBackGround);
    ChangeImage();
    ChangeBackGround();
}

void TFrSetsBackGroundAdd::ChangeImage()
{
    const bool HasPkg = !FMemoryImage->PkgName().isEmpty();
    FUi->LabPkg->setText(HasPkg ? FMemoryImage->PkgName() : QStringLiteral("(None)"));
    FUi->LabPkgID->setText(HasPkg ? QString::number(FMemoryImage->Id()) : QStringLiteral("(None)"));
    const QImage Image = FMemoryImage->Id() >= 0 ? FMemoryImage->Graphic() : QImage();
    if (Image.isNull()) {
        FUi->ImgImage->clear();
        return;
    }
    QPixmap Box(FUi->ImgImage->contentsRect().size());
    Box.fill(Qt::transparent);
    QPainter P(&Box);
    KvDrawImage(P, Box.rect(), Image, false, true);
    P.end();
    FUi->ImgImage->setPixmap(Box);
}

void TFrSetsBackGroundAdd::ChangeBackGround()
{
    if (!FSolid)
        return;
    const QSize Size = FUi->ImgResult->size();
    if (Size.isEmpty())
        return;
    FResult = QImage(Size, QImage::Format_ARGB32_Premultiplied);
    FResult.fill(Qt::transparent);
    QPainter P(&FResult);
    KvDrawGradient(P, FResult.rect(), FUi->CBStyle->currentIndex(), Rgb(FStart->Color()), Rgb(FEnd->Color()),
                   Rgb(FSolid->Color()), FMemoryImage->Id() >= 0 ? FMemoryImage->Graphic() : QImage(),
                   FUi->EdTransparent->isChecked());
    P.end();
    FUi->ImgResult->setPixmap(QPixmap::fromImage(FResult));
}

void TFrSetsBackGroundAdd::PickImage()
{
    TFrMemoryImage Picker(this);
    Picker.FMemoryImage = FMemoryImage;
    if (Picker.Execute() != 1)
        return;
    ChangeImage();
    ChangeBackGround();
}

void TFrSetsBackGroundAdd::Store(TKvDisplaySet* Set)
{
    auto* B = static_cast<TKvSetBackGroundItem*>(Set);
    B->SetStartGraColor(FStart->Color());
    B->SetEndGraColor(FEnd->Color());
    B->SetSolidColor(FSolid->Color());
    B->SetStyle(FUi->CBStyle->currentIndex());
    B->SetTransparent(FUi->EdTransparent->isChecked());
    B->SetImage(FMemoryImage->PkgName(), FMemoryImage->Id());
}

bool TFrSetsBackGroundAdd::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FUi->ImgImage && Event->type() == QEvent::MouseButtonDblClick) {
        PickImage();
        return true;
    }
    if (Watched == FUi->ImgResult && Event->type() == QEvent::Resize)
        ChangeBackGround();
    return TKvSetAddDialog::eventFilter(Watched, Event);
}

std::unique_ptr<TKvSetAddDialog> KvCreateSetAddDialog(TKvSetKind Kind, QWidget* Owner)
{
    switch (Kind) {
    case TKvSetKind::Color: return std::make_unique<TFrSetsColorAdd>(Owner);
    case TKvSetKind::Font: return std::make_unique<TFrSetsFontAdd>(Owner);
    case TKvSetKind::BackGround: return std::make_unique<TFrSetsBackGroundAdd>(Owner);
    }
    return nullptr;
}

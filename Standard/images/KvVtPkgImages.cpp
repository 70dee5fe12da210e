#include "KvVtPkgImages.h"
#include "ui_KvVtPkgImages.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvDialogs.h"
#include "KvForms.h"
#include "KvGraphics.h"
#include "KvMessages.h"
#include "KvPkgDisplay.h"
#include "KvPkgImages.h"
#include "common/KvPkgDialogs.h"
#include "images/KvVtImportImages.h"
#include "images/KvVtMemoryImageAdd.h"
#include "images/KvVtUpdateSystemImages.h"
#include "manager/KvVtManager.h"
#include "manager/KvVtPkgSynchronizer.h"
#include "strings/KvStringsItemDialog.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {

int RowAfterDelete(int Removed, int Count)
{
    if (Count <= 0)
        return -1;
    return Removed < Count ? Removed : Count - 1;
}

} // namespace

int KvPrintImagesReport(QPrinter& Printer, const TKvPkgImages* Pkg)
{
    Printer.setDocName(QStringLiteral("Images Report"));
    QPainter P;
    if (!P.begin(&Printer))
        throw Exception(QStringLiteral("The printer cannot start the images report"));
    const int X = Printer.logicalDpiX();
    const int Y = Printer.logicalDpiY();
    const QRect Page(QPoint(0, 0), Printer.pageLayout().paintRectPixels(Printer.resolution()).size());
    const QString Heading = QStringLiteral("**** Images Report ****");
    const QFont Body = P.font();
    QFont HeadingFont = Body;
    HeadingFont.setPointSize(10);
    P.setFont(HeadingFont);
    const int HeadingHeight = P.fontMetrics().height();
    P.setFont(Body);
    auto DrawHeading = [&] {
        P.setFont(HeadingFont);
        P.drawText(QPoint(0, P.fontMetrics().ascent()), Heading);
        P.setFont(Body);
    };

    const int CellW = int(0.7 * X);
    const int CellH = Y;
    const int Top = HeadingHeight + Y / 4;
    int Pages = 1;
    int Left = 0;
    int Row = Top;
    DrawHeading();
    std::vector<const TKvPkgImagesImage*> Images;
    for (int I = 0; I < Pkg->Images()->Count(); ++I)
        if (!Pkg->Images()->GetItems(I)->Empty())
            Images.push_back(Pkg->Images()->GetItems(I));
    std::sort(Images.begin(), Images.end(), [](auto* A, auto* B) { return A->Id() < B->Id(); });
    for (const TKvPkgImagesImage* Image : Images) {
        const QRect Cell(Left, Row, CellW, CellH);
        const QString Text = KvImagesCellText(Image, TKvImagesShow::WidthHeight).replace(u'\r', u'\n');
        const int Flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
        const QRect TextRect = P.boundingRect(Cell, Flags, Text);
        P.drawText(Cell, Flags, Text);
        const QRect PictureRoom(Cell.left(), TextRect.bottom() + 1, Cell.width(), Cell.bottom() - TextRect.bottom());
        if (PictureRoom.height() > 0)
            P.drawImage(KvImageRect(QSize(Image->Width(), Image->Height()), PictureRoom, true), Image->Graphic());
        Left += CellW + X / 6;
        if (Left + CellW > Page.right()) {
            Left = 0;
            Row += Y + Y / 6;
            if (Row + CellH > Page.bottom() && Image != Images.back()) {
                Printer.newPage();
                ++Pages;
                Row = Top;
                DrawHeading();
            }
        }
    }
    P.end();
    return Pages;
}

void KvEditPkgImages(TKvPkgImages* Pkg)
{
    if (!Pkg)
        return;
    auto Editor = std::make_unique<TFrPkgImages>();
    Editor->PkgImages = Pkg;
    Editor->Execute();
}

// ---------------------------------------------------------------------------------------------

TFrPkgImages::TFrPkgImages(QWidget* parent)
    : TDesignWindow(parent), FUi(new Ui::TFrPkgImages), FModel(new TKvImagesModel(this)),
      FMenu(new TKvImagesMenu(this, TKvImagesMenu::WithSystemUpdate))
{
    FUi->setupUi(this);
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose, false);
    FUi->Images->setModel(FModel);
    KvSetupIdBox(FUi->EdId);
    connect(FMenu, &TKvImagesMenu::ViewChanged, this, &TFrPkgImages::Redraw);
    connect(FMenu->MnProtectAllImages, &QAction::triggered, this, [this] { ProtectAll(true); });
    connect(FMenu->MnUnprotectAllImages, &QAction::triggered, this, [this] { ProtectAll(false); });
    connect(FMenu->MnImport, &QAction::triggered, this, &TFrPkgImages::ImportImages);
    connect(FMenu->MnUpdateSystemImages, &QAction::triggered, this, &TFrPkgImages::UpdateSystemImages);
    connect(FUi->BtManager, &QPushButton::clicked, this, [this] {
        KvShowManager(this, TKvDlgManager::dlmImages, PkgImages ? PkgImages->PkgName() : QString(), FUi->EdId->text());
    });
    connect(FUi->BtSynchronizer, &QPushButton::clicked, this, [this] {
        if (!PkgImages)
            return;
        KvShowSynchronizer(this, PkgImages);
        LoadImages();
        UpdateInfo();
        Modified();
    });

    // Only typing selects: text the editor sets itself is not edited.
    connect(FUi->EdId, &QLineEdit::textEdited, this, &TFrPkgImages::IdChange);
    connect(FUi->Images->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { ChangeState(); });
    connect(FUi->Images->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!FSelecting)
            RowClicked();
    });
    connect(FUi->Images, &QAbstractItemView::doubleClicked, this, [this] {
        if (FUi->BtModify->isEnabled())
            ModifyImage();
    });
    connect(FUi->Images, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { FMenu->Menu()->popup(FUi->Images->viewport()->mapToGlobal(At)); });
    connect(FUi->BtOk, &QPushButton::clicked, this, &QWidget::close);
    connect(FUi->BtAdd, &QPushButton::clicked, this, &TFrPkgImages::AddImage);
    connect(FUi->BtModify, &QPushButton::clicked, this, &TFrPkgImages::ModifyImage);
    connect(FUi->BtDelete, &QPushButton::clicked, this, &TFrPkgImages::DeleteSelected);
    connect(FUi->BtClear, &QPushButton::clicked, this, &TFrPkgImages::ClearAll);
    connect(FUi->BtLoad, &QPushButton::clicked, this, [this] { LoadSave(true); });
    connect(FUi->BtSave, &QPushButton::clicked, this, [this] { LoadSave(false); });
    connect(FUi->BtLoadFrom, &QPushButton::clicked, this, &TFrPkgImages::LoadFrom);
    connect(FUi->BtSaveTo, &QPushButton::clicked, this, &TFrPkgImages::SaveTo);
    connect(FUi->BtReport, &QPushButton::clicked, this, &TFrPkgImages::Report);

    // The buttons and the id box are placed by AdjustComponents, not by layouts.
    FUi->PnButtons->installEventFilter(this);
    FUi->PnTop->installEventFilter(this);
    ChangeState();
}

TFrPkgImages::~TFrPkgImages() = default;

void TFrPkgImages::Redraw() { FMenu->ApplyTo(FUi->Images); }

bool TFrPkgImages::ValidPkg(const QString& Name) const { return KvImagesValidPkg(Name); }

bool TFrPkgImages::IsFilePkg() const { return KvImagesIsFilePkg(PkgImages); }

void TFrPkgImages::Modified()
{
    if (!Memory && PkgImages)
        KvDesignerModified(PkgImages);
}

void TFrPkgImages::ModifiedUnlessFile()
{
    if (!IsFilePkg())
        Modified();
}

// Open forms redraw what refers to the package.
void TFrPkgImages::ItemsChanged()
{
    if (PkgImages)
        KvFormsPerform(KvMmPkgImages, PkgImages);
    ModifiedUnlessFile();
}

void TFrPkgImages::UpdateFile()
{
    KvPkgUpdateFile(PkgImages);
}

void TFrPkgImages::Execute()
{
    Prepare();
    setWindowModality(Qt::ApplicationModal);
    show();
    activateWindow();
    QEventLoop Loop;
    FLoop = &Loop;
    Loop.exec();
    FLoop = nullptr;
    StoreBounds();
    UpdateFile();
}

void TFrPkgImages::Prepare()
{
    TKvPkgImages* Pkg = PkgImages;
    setWindowTitle(QStringLiteral("Package : ") + (Pkg ? Pkg->PkgName() : QString()));

    const TKvEditorBounds Bounds = Pkg ? Pkg->EditorBounds() : TKvEditorBounds();
    if (!Bounds.IsStored()) {
        KvCenterWindow(this, true);
    } else {
        setGeometry(Bounds.Left, Bounds.Top, Bounds.Width, Bounds.Height);
        KvAdjustWindow(this);
    }
    FMaximized = Bounds.IsStored() && Bounds.WindowState == KvWindowStateMaximized;
    RecordBounds();

    for (QWidget* Control : {static_cast<QWidget*>(FUi->LaFileNameCaption), static_cast<QWidget*>(FUi->Label7),
                             static_cast<QWidget*>(FUi->LaInitModeCaption), static_cast<QWidget*>(FUi->LabMode),
                             static_cast<QWidget*>(FUi->BtLoad), static_cast<QWidget*>(FUi->BtSave),
                             static_cast<QWidget*>(FUi->BtSynchronizer)})
        Control->setVisible(!Memory);

    FMenu->SetPackage(Pkg ? Pkg->PkgName() : QString());

    if (Pkg) {
        // A load replaces every image: the cells must not outlive them.
        disconnect(FAfterLoad);
        FAfterLoad = connect(Pkg, &TKvPkgInfo::AfterLoad, this, [this] {
            LoadImages();
            UpdateInfo();
        });
        if (IsFilePkg() && Pkg->FileModified()) {
            try {
                Pkg->LoadFile();
            } catch (const Exception& E) {
                KvShowError(E);
            }
        }
    }
    PkgChange();
    UpdateInfo();
    AdjustComponents();
    Redraw();
}

void TFrPkgImages::StoreBounds()
{
    if (!PkgImages)
        return;
    const TKvEditorBounds Bounds{FLeft, FTop, FWidth, FHeight, isMaximized() ? KvWindowStateMaximized : 0};
    if (Bounds != PkgImages->EditorBounds()) {
        PkgImages->SetEditorBounds(Bounds);
        Modified();
    }
}

void TFrPkgImages::PkgChange()
{
    FModel->Clear();
    if (PkgImages)
        LoadImages();
    ChangeState();
}

void TFrPkgImages::LoadImages()
{
    FModel->Fill(PkgImages);
    IdChange();
}

void TFrPkgImages::SelectRow(int Row)
{
    FSelecting = true;
    FUi->Images->SelectRow(Row);
    FSelecting = false;
    ChangeState();
}

void TFrPkgImages::IdChange()
{
    if (!PkgImages)
        return;
    bool Ok = false;
    const int Id = FUi->EdId->text().toInt(&Ok);
    const TKvPkgImagesImage* Image = Ok ? PkgImages->Images()->FindId(Id) : nullptr;
    SelectRow(Image ? FModel->RowOf(Image) : -1);
}

void TFrPkgImages::RowClicked()
{
    const TKvPkgImagesImage* Image = FModel->Item(FUi->Images->currentIndex().row());
    if (!Image)
        return;
    FUi->EdId->setText(QString::number(Image->Id()));
    IdChange();
}

void TFrPkgImages::ChangeState()
{
    const TKvPkgImages* Pkg = PkgImages;
    FUi->LabMode->setText(Pkg && Pkg->InitMode() == TKvPkgInfo::imFILE ? QStringLiteral("FILE") : QStringLiteral("DFM"));
    const QString Name = Pkg ? Pkg->FileName() : QString();
    FUi->Label7->setText(Name.isEmpty() ? QStringLiteral("(Memory)") : Name);
    const bool Editable = Pkg && ValidPkg(Pkg->PkgName());
    const bool Selected = Editable && FUi->Images->CurrentRow() >= 0;
    FUi->BtAdd->setEnabled(Editable);
    FUi->BtModify->setEnabled(Selected);
    FUi->BtDelete->setEnabled(Selected);
    FUi->BtClear->setEnabled(Editable);
    FUi->BtLoadFrom->setEnabled(Editable);
    FUi->Images->setFocusPolicy(Editable ? Qt::StrongFocus : Qt::ClickFocus);
}

void TFrPkgImages::UpdateInfo()
{
    QString Text = KvImagesStatus(PkgImages);
    // The display package's system images tell which base file they were last rebuilt from.
    const TKvPkgImages* Pkg = PkgImages;
    const auto* Display = Pkg ? qobject_cast<const TKvPkgDisplay*>(Pkg->Owner()) : nullptr;
    if (Display && KvIsSystemImagesName(Pkg->PkgName()))
        Text += QStringLiteral("(LastUpdateFile:") + Display->LastUpdateFile() + QStringLiteral(") (UpdateDateTime:") +
                QLocale().toString(Display->UpdateDateTime(), QLocale::ShortFormat) + QLatin1Char(')');
    FUi->LaStatus->setText(Text);
}

void TFrPkgImages::AdjustComponents()
{
    QWidget* Top = FUi->PnTop;
    const int EdW = FUi->EdId->fontMetrics().horizontalAdvance(QStringLiteral("999999")) + 12;
    const int EdH = FUi->EdId->sizeHint().height();
    FUi->EdId->setGeometry(Top->width() - 4 - EdW, (Top->height() - EdH) / 2, EdW, EdH);
    const QSize LaSize = FUi->LabId->sizeHint();
    FUi->LabId->setGeometry(FUi->EdId->x() - 2 - LaSize.width(), (Top->height() - LaSize.height()) / 2,
                            LaSize.width(), LaSize.height());
    FUi->Label7->setFixedWidth(std::max(40, FUi->LaInitModeCaption->x() - FUi->Label7->x() - 4));

    // Stacked upwards from the bottom: small gaps a fifth of a button's height, large a third.
    QWidget* Panel = FUi->PnButtons;
    const int H = FUi->BtOk->sizeHint().height();
    const int Small = H / 5, Large = H / 3;
    const int W = Panel->width() - 4;
    const std::pair<QPushButton*, int> Stack[] = {
        {FUi->BtOk, Small},       {FUi->BtClear, Large},  {FUi->BtDelete, Large},    {FUi->BtModify, Small},
        {FUi->BtAdd, Small},      {FUi->BtSaveTo, Large}, {FUi->BtLoadFrom, Small},  {FUi->BtSave, Large},
        {FUi->BtLoad, Small},     {FUi->BtSynchronizer, Large}, {FUi->BtManager, Small}, {FUi->BtReport, Small}};
    int Y = Panel->height();
    for (const auto& [Button, Gap] : Stack) {
        if (Button->isHidden())
            continue;
        Y -= Gap + H;
        Button->setGeometry(2, Y, W, H);
    }
}

bool TFrPkgImages::event(QEvent* Event)
{
    if (Event->type() == QEvent::WindowActivate && FMaximized) {
        FMaximized = false;
        showMaximized();
    }
    return TDesignWindow::event(Event);
}

bool TFrPkgImages::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::Resize)
        AdjustComponents();
    return TDesignWindow::eventFilter(Watched, Event);
}

void TFrPkgImages::RecordBounds()
{
    const QRect Bounds = geometry();
    FLeft = Bounds.x();
    FTop = Bounds.y();
    FWidth = Bounds.width();
    FHeight = Bounds.height();
}

void TFrPkgImages::resizeEvent(QResizeEvent* Event)
{
    TDesignWindow::resizeEvent(Event);
    if (isVisible() && !isMaximized() && !isMinimized())
        RecordBounds();
}

void TFrPkgImages::moveEvent(QMoveEvent* Event)
{
    TDesignWindow::moveEvent(Event);
    if (isVisible() && !isMaximized() && !isMinimized())
        RecordBounds();
}

void TFrPkgImages::closeEvent(QCloseEvent* Event)
{
    Event->accept();
    if (FLoop)
        FLoop->quit();
}

void TFrPkgImages::keyPressEvent(QKeyEvent* Event)
{
    if (Event->key() == Qt::Key_Escape && Event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    TDesignWindow::keyPressEvent(Event);
}

// ---------------------------------------------------------------------------------------------

void TFrPkgImages::AddImage()
{
    TKvPkgImages* Pkg = PkgImages;
    if (!Pkg || !FUi->BtAdd->isEnabled())
        return;
    TFrMemoryImageAdd Dialog(this);
    Dialog.setWindowTitle(QStringLiteral("Add Image"));
    Dialog.Pkg = Pkg;
    Dialog.Id = Pkg->Images()->UniqueId();
    Dialog.Modify = false;
    if (Dialog.Execute()) {
        FUi->EdId->setText(QString::number(Dialog.Id));
        LoadImages();
        UpdateInfo();
        ItemsChanged();
    } else if (Dialog.ModifiedWindowPos) {
        ModifiedUnlessFile();
    }
}

void TFrPkgImages::ModifyImage()
{
    TKvPkgImages* Pkg = PkgImages;
    if (!Pkg || !FUi->BtModify->isEnabled())
        return;
    bool Ok = false;
    const int Id = FUi->EdId->text().toInt(&Ok);
    if (!Ok || !Pkg->Images()->FindId(Id))
        return;
    TFrMemoryImageAdd Dialog(this);
    Dialog.setWindowTitle(QStringLiteral("Modify Image"));
    Dialog.Pkg = Pkg;
    Dialog.Id = Id;
    Dialog.Modify = true;
    if (Dialog.Execute()) {
        if (Dialog.Id != Id) {
            FUi->EdId->setText(QString::number(Dialog.Id));
            LoadImages();
        }
        FModel->Refresh(FUi->Images->CurrentRow());
        UpdateInfo();
        ItemsChanged();
    } else if (Dialog.ModifiedWindowPos) {
        ModifiedUnlessFile();
    }
}

void TFrPkgImages::DeleteSelected()
{
    if (!PkgImages || !FUi->BtDelete->isEnabled())
        return;
    if (KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 25, {KvBtnAccept, KvBtnCancel}, KvBtnAccept) != KvBtnAccept)
        return;
    DeleteRow(FUi->Images->CurrentRow());
}

void TFrPkgImages::DeleteRow(int Row)
{
    TKvPkgImagesImage* Image = FModel->Item(Row);
    if (!Image)
        return;
    FModel->Remove(Row);
    delete Image;
    const TKvPkgImagesImage* Shown = FModel->Item(RowAfterDelete(Row, FModel->rowCount()));
    FUi->EdId->setText(Shown ? QString::number(Shown->Id()) : QString());
    IdChange();
    UpdateInfo();
    ItemsChanged();
}

void TFrPkgImages::DeleteItem(TKvPkgImagesImage* Item)
{
    const int Row = FModel->RowOf(Item);
    if (Row >= 0)
        DeleteRow(Row);
}

void TFrPkgImages::ClearAll()
{
    if (!PkgImages || !FUi->BtClear->isEnabled())
        return;
    if (KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 50, {KvBtnAccept, KvBtnCancel}, KvBtnCancel) != KvBtnAccept)
        return;
    FModel->Clear();
    PkgImages->Clear();
    ItemsChanged();
    LoadImages();
    UpdateInfo();
}

void TFrPkgImages::LoadSave(bool Load)
{
    if (!PkgImages || !KvPkgLoadSave(this, PkgImages, Load))
        return;
    ChangeState();
    if (Load) {
        LoadImages();
        UpdateInfo();
    }
    Modified();
}

void TFrPkgImages::LoadFrom()
{
    if (!PkgImages || !FUi->BtLoadFrom->isEnabled() || !KvPkgLoadFrom(this, PkgImages, KvImagesFileFilter(PkgImages)))
        return;
    LoadImages();
    UpdateInfo();
    ItemsChanged();
}

void TFrPkgImages::SaveTo()
{
    KvPkgSaveTo(this, PkgImages, KvImagesFileFilter(PkgImages));
}

void TFrPkgImages::Report()
{
    if (!PkgImages)
        return;
    QPrinter Printer;
    // Shown first in a preview, whose print button opens the printer set-up. Painting runs
    // inside the preview's event handling, where an exception must not pass.
    QString Failure;
    KvPrintPreviewDialog(
        Printer,
        [&](QPrinter& Target) {
            try {
                KvPrintImagesReport(Target, PkgImages);
            } catch (const Exception& E) {
                Failure = E.Message;
            }
        },
        this);
    if (!Failure.isEmpty())
        KvMessage(KvMsgError, Failure, {KvBtnAccept}, KvBtnAccept);
}

void TFrPkgImages::ImportImages()
{
    if (!PkgImages || !FMenu->MnImport->isEnabled())
        return;
    UpdateFile();
    TFrImportImages Import(this);
    Import.PkgAssign = PkgImages;
    if (Import.Execute() != 1)
        return;
    ChangeState();
    LoadImages();
    UpdateInfo();
    Modified();
}

// The application that holds the display package holding this package.
void TFrPkgImages::UpdateSystemImages()
{
    const auto* Display = PkgImages ? qobject_cast<TKvPkgDisplay*>(PkgImages->Owner()) : nullptr;
    auto* App = Display ? qobject_cast<TKvCApplication*>(Display->Owner()) : nullptr;
    if (!App || !FMenu->MnUpdateSystemImages->isEnabled())
        return;
    TFrUpdateSystemImages Dialog(this);
    Dialog.App = App;
    if (!Dialog.Execute())
        return;
    ChangeState();
    LoadImages();
    UpdateInfo();
    Modified();
}

void TFrPkgImages::ProtectAll(bool Value)
{
    if (!PkgImages || KvImagesProtectAll(PkgImages, Value) == 0)
        return;
    ChangeState();
    LoadImages();
    UpdateInfo();
    Modified();
}

#include "KvVtImageE.h"

#include "KvDialogs.h"
#include "KvFiles.h"
#include "KvGraphics.h"
#include "KvMessages.h"
#include "KvStdCtrls.h"
#include "ui_KvVtImageE.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

namespace {

void ShowError(const Exception& E)
{
    KvMsg(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
}

} // namespace

TFrImageE::TFrImageE(QWidget* Parent)
    : QDialog(Parent), FUi(std::make_unique<Ui::TFrImageE>()), FWork(std::make_unique<TKvImage>())
{
    FUi->setupUi(this);
    connect(FUi->BtLoad, &QPushButton::clicked, this, &TFrImageE::Load);
    connect(FUi->BtSave, &QPushButton::clicked, this, &TFrImageE::Save);
    connect(FUi->BtCopy, &QPushButton::clicked, this, &TFrImageE::Copy);
    connect(FUi->BtPaste, &QPushButton::clicked, this, &TFrImageE::Paste);
    connect(FUi->BtClear, &QPushButton::clicked, this, &TFrImageE::Clear);
    connect(FUi->CBStretch, &QCheckBox::toggled, this, [this](bool On) {
        FWork->SetStretch(On);
        ShowPicture();
    });
}

TFrImageE::~TFrImageE() = default;

void TFrImageE::ShowPicture()
{
    const QImage Image = QImage::fromData(FWork->Picture());
    const bool Has = !Image.isNull();
    FUi->BtSave->setEnabled(Has);
    FUi->BtCopy->setEnabled(Has);
    FUi->BtClear->setEnabled(Has);
    FUi->LaSize->setText(Has ? QStringLiteral("%1 x %2 %3").arg(Image.width()).arg(Image.height()).arg(FWork->GraphicClass())
                             : QStringLiteral("(None)"));
    if (!Has) {
        FUi->LaImage->clear();
        return;
    }
    const QRect Place = KvImageRect(Image.size(), FUi->SbImage->viewport()->rect(), FWork->Stretch());
    FUi->LaImage->setPixmap(QPixmap::fromImage(
        Place.size() == Image.size() ? Image : Image.scaled(Place.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TFrImageE::resizeEvent(QResizeEvent* Event)
{
    QDialog::resizeEvent(Event);
    if (FWork->Stretch())
        ShowPicture();
}

void TFrImageE::Load()
{
    TKvFileDialogRequest Request;
    Request.Title = QStringLiteral("Load Picture");
    Request.Filter = KvFormatGraphics();
    Request.FileMustExist = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    try {
        FWork->LoadPicture(Request.FileName);
    } catch (const Exception& E) {
        ShowError(E);
    }
    ShowPicture();
}

void TFrImageE::Save()
{
    const QString Format = FWork->GraphicClass().toLower();
    TKvFileDialogRequest Request;
    Request.Save = true;
    Request.Title = QStringLiteral("Save Picture");
    Request.Filter = KvGraphicFilter(Format);
    Request.DefaultExt = Format;
    Request.OverwritePrompt = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    try {
        // The picture's own bytes, unless the name asks for another format.
        QByteArray Data = FWork->Picture();
        const QByteArray Suffix = QFileInfo(Request.FileName).suffix().toLower().toLatin1();
        if (!Suffix.isEmpty() && Suffix != Format.toLatin1() && QImageWriter::supportedImageFormats().contains(Suffix)) {
            Data.clear();
            QBuffer Buffer(&Data);
            Buffer.open(QIODevice::WriteOnly);
            QImage::fromData(FWork->Picture()).save(&Buffer, Suffix.constData());
        }
        KvWriteFile(Request.FileName, Data);
    } catch (const Exception& E) {
        ShowError(E);
    }
}

void TFrImageE::Copy()
{
    QGuiApplication::clipboard()->setImage(QImage::fromData(FWork->Picture()));
}

void TFrImageE::Paste()
{
    const QImage Image = QGuiApplication::clipboard()->image();
    if (Image.isNull())
        return;
    QByteArray Data;
    QBuffer Buffer(&Data);
    Buffer.open(QIODevice::WriteOnly);
    Image.save(&Buffer, "PNG");
    FWork->SetPicture(Data);
    FWork->SetGraphicClass(QStringLiteral("PNG"));
    ShowPicture();
}

void TFrImageE::Clear()
{
    FWork->SetPicture({});
    FWork->SetGraphicClass({});
    ShowPicture();
}

bool TFrImageE::Execute(const QString& Caption, TKvCustomImage* Image)
{
    setWindowTitle(Caption);
    if (Image) {
        FWork->SetPicture(Image->Picture());
        FWork->SetGraphicClass(Image->GraphicClass());
    }
    {
        const QSignalBlocker Quiet(FUi->CBStretch);
        FUi->CBStretch->setChecked(Image && Image->Stretch());
    }
    FWork->SetStretch(Image && Image->Stretch());
    ShowPicture();
    if (KvShowModal(*this) != QDialog::Accepted)
        return false;
    if (Image) {
        Image->SetPicture(FWork->Picture());
        Image->SetGraphicClass(FWork->GraphicClass());
        Image->SetStretch(FWork->Stretch());
    }
    return true;
}

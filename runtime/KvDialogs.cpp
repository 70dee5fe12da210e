#include "KvDialogs.h"

#include "KvUtils.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

template <class THandler>
THandler& Handler()
{
    static THandler Value;
    return Value;
}

template <class THandler>
THandler Install(THandler Value)
{
    return std::exchange(Handler<THandler>(), std::move(Value));
}

QWidget* DialogParent(QWidget* Parent)
{
    if (Parent)
        return Parent;
    if (QWidget* Modal = QApplication::activeModalWidget())
        return Modal;
    return QApplication::activeWindow();
}

bool ShowFileDialog(TKvFileDialogRequest& Request)
{
    QFileDialog Dialog(DialogParent(Request.Parent), Request.Title, Request.InitialDir);
    Dialog.setAcceptMode(Request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (Request.Save)
        Dialog.setFileMode(QFileDialog::AnyFile);
    else if (Request.MultiSelect)
        Dialog.setFileMode(QFileDialog::ExistingFiles);
    else
        Dialog.setFileMode(Request.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!Request.OverwritePrompt)
        Dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList Filters = KvQtNameFilters(Request.Filter);
    if (!Filters.isEmpty()) {
        Dialog.setNameFilters(Filters);
        Dialog.selectNameFilter(Filters.value(Request.FilterIndex - 1, Filters.first()));
    }
    if (!Request.FileName.isEmpty())
        Dialog.selectFile(Request.FileName);
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty())
        return false;
    Request.Files = Dialog.selectedFiles();
    Request.FileName = Request.Files.first();
    Request.FilterIndex = int(Filters.indexOf(Dialog.selectedNameFilter())) + 1;
    return true;
}

} // namespace

QStringList KvQtNameFilters(const QString& Filter)
{
    const QStringList Parts = Filter.split(u'|');
    QStringList Result;
    for (qsizetype i = 0; i + 1 < Parts.size(); i += 2) {
        const QString Description = Parts.at(i).trimmed();
        const QString Patterns = Parts.at(i + 1).split(u';', Qt::SkipEmptyParts).join(u' ');
        // Qt reads the patterns from the final parentheses of a name filter.
        const QString Own = QStringLiteral("(%1)").arg(Patterns);
        Result << (Description.endsWith(Own) ? Description : QStringLiteral("%1 %2").arg(Description, Own));
    }
    return Result;
}

TKvFileDialogHandler KvSetFileDialogHandler(TKvFileDialogHandler Value) { return Install(std::move(Value)); }

bool KvFileDialog(TKvFileDialogRequest& Request)
{
    const TKvFileDialogHandler Answer = Handler<TKvFileDialogHandler>();
    if (!(Answer ? Answer(Request) : ShowFileDialog(Request)))
        return false;
    if (Request.Files.isEmpty())
        Request.Files = {Request.FileName};
    if (!Request.DefaultExt.isEmpty())
        for (QString& Name : Request.Files)
            if (QFileInfo(Name).suffix().isEmpty())
                Name += KvAddPointExt(Request.DefaultExt);
    Request.FileName = Request.Files.first();
    return true;
}

TKvFolderDialogHandler KvSetFolderDialogHandler(TKvFolderDialogHandler Value) { return Install(std::move(Value)); }

bool KvFolderDialog(QString& Path, const QString& Prompt, bool AddPathBar, QWidget* Parent)
{
    TKvFolderDialogRequest Request{Prompt, Path, Parent};
    bool Chosen = false;
    if (const TKvFolderDialogHandler Answer = Handler<TKvFolderDialogHandler>()) {
        Chosen = Answer(Request);
    } else {
        Request.Path = QFileDialog::getExistingDirectory(DialogParent(Parent), Prompt, Path);
        Chosen = !Request.Path.isEmpty();
    }
    if (!Chosen)
        return false;
    Path = AddPathBar ? KvAddPathBar(Request.Path) : Request.Path;
    return true;
}

TKvColorDialogHandler KvSetColorDialogHandler(TKvColorDialogHandler Value) { return Install(std::move(Value)); }

bool KvColorDialog(QColor& Color, QWidget* Parent)
{
    if (const TKvColorDialogHandler Answer = Handler<TKvColorDialogHandler>())
        return Answer(Color);
    const QColor Chosen = QColorDialog::getColor(Color, DialogParent(Parent));
    if (!Chosen.isValid())
        return false;
    Color = Chosen;
    return true;
}

TKvFontDialogHandler KvSetFontDialogHandler(TKvFontDialogHandler Value) { return Install(std::move(Value)); }

bool KvFontDialog(QFont& Font, QWidget* Parent)
{
    if (const TKvFontDialogHandler Answer = Handler<TKvFontDialogHandler>())
        return Answer(Font);
    bool Ok = false;
    const QFont Chosen = QFontDialog::getFont(&Ok, Font, DialogParent(Parent));
    if (Ok)
        Font = Chosen;
    return Ok;
}

TKvPrinterSetupHandler KvSetPrinterSetupHandler(TKvPrinterSetupHandler Value) { return Install(std::move(Value)); }

bool KvPrinterSetupDialog(QPrinter& Printer, QWidget* Parent)
{
    if (const TKvPrinterSetupHandler Answer = Handler<TKvPrinterSetupHandler>())
        return Answer(Printer);
    QPrintDialog Dialog(&Printer, DialogParent(Parent));
    return Dialog.exec() == QDialog::Accepted;
}

TKvPrintPreviewHandler KvSetPrintPreviewHandler(TKvPrintPreviewHandler Value) { return Install(std::move(Value)); }

bool KvPrintPreviewDialog(QPrinter& Printer, const TKvPrintPaint& Paint, QWidget* Parent)
{
    if (const TKvPrintPreviewHandler Answer = Handler<TKvPrintPreviewHandler>())
        return Answer(Printer, Paint);
    QPrintPreviewDialog Dialog(&Printer, DialogParent(Parent));
    QObject::connect(&Dialog, &QPrintPreviewDialog::paintRequested, &Dialog, [&Paint](QPrinter* Target) { Paint(*Target); });
    return Dialog.exec() == QDialog::Accepted;
}

TKvModalHandler KvSetModalHandler(TKvModalHandler Value) { return Install(std::move(Value)); }

int KvShowModal(QDialog& Window)
{
    if (const TKvModalHandler Answer = Handler<TKvModalHandler>())
        return Answer(Window);
    return Window.exec();
}

#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QPrinter;
class QWidget;

// The platform dialogs the library and its editors open. Each kind goes through a handler that
// a test installs to answer it; without one the real Qt dialog is shown. Every setter gives the
// previous handler back, and an empty handler restores the real dialog.

struct TKvFileDialogRequest
{
    bool Save = false;
    QString Title;
    // Pairs of description and patterns, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*".
    QString Filter;
    // 1-based entry of Filter; the dialog reports the one chosen.
    int FilterIndex = 1;
    // Without a point; given to a chosen name that has no extension.
    QString DefaultExt;
    QString InitialDir;
    // The proposed name; on confirmation the chosen one (the first with MultiSelect).
    QString FileName;
    QStringList Files;
    bool MultiSelect = false;
    bool FileMustExist = false;
    bool OverwritePrompt = false;
    QWidget* Parent = nullptr;
};
using TKvFileDialogHandler = std::function<bool(TKvFileDialogRequest& Request)>;
TKvFileDialogHandler KvSetFileDialogHandler(TKvFileDialogHandler Handler);
// True when a file was chosen; Request then holds it.
bool KvFileDialog(TKvFileDialogRequest& Request);

struct TKvFolderDialogRequest
{
    QString Prompt;
    // In: the folder to start in; out: the folder chosen.
    QString Path;
    QWidget* Parent = nullptr;
};
using TKvFolderDialogHandler = std::function<bool(TKvFolderDialogRequest& Request)>;
TKvFolderDialogHandler KvSetFolderDialogHandler(TKvFolderDialogHandler Handler);
// Lets the user pick a folder, starting at Path. On confirmation Path becomes the folder, with
// a trailing separator when AddPathBar is set (ready for a file name to be appended).
bool KvFolderDialog(QString& Path, const QString& Prompt, bool AddPathBar, QWidget* Parent = nullptr);

using TKvColorDialogHandler = std::function<bool(QColor& Color)>;
TKvColorDialogHandler KvSetColorDialogHandler(TKvColorDialogHandler Handler);
bool KvColorDialog(QColor& Color, QWidget* Parent = nullptr);

using TKvFontDialogHandler = std::function<bool(QFont& Font)>;
TKvFontDialogHandler KvSetFontDialogHandler(TKvFontDialogHandler Handler);
bool KvFontDialog(QFont& Font, QWidget* Parent = nullptr);

// Printer set-up before a report; a test's handler typically points the printer at a PDF file.
using TKvPrinterSetupHandler = std::function<bool(QPrinter& Printer)>;
TKvPrinterSetupHandler KvSetPrinterSetupHandler(TKvPrinterSetupHandler Handler);
bool KvPrinterSetupDialog(QPrinter& Printer, QWidget* Parent = nullptr);

// A print preview: Paint draws the document on the printer it is given, for the preview and
// again when the developer prints from it (its print button opens the printer dialog, where a
// PDF file may be chosen). True when it was printed. A test's handler prints to a PDF file.
using TKvPrintPaint = std::function<void(QPrinter& Printer)>;
using TKvPrintPreviewHandler = std::function<bool(QPrinter& Printer, const TKvPrintPaint& Paint)>;
TKvPrintPreviewHandler KvSetPrintPreviewHandler(TKvPrintPreviewHandler Handler);
bool KvPrintPreviewDialog(QPrinter& Printer, const TKvPrintPaint& Paint, QWidget* Parent = nullptr);

// The library's own modal windows (calculator, calendar, the sample editors) run through a
// handler too: a test sees which window was asked for, drives it and answers with a modal
// result, without a window blocking. Without a handler the window runs with exec().
using TKvModalHandler = std::function<int(QDialog& Window)>;
TKvModalHandler KvSetModalHandler(TKvModalHandler Handler);
int KvShowModal(QDialog& Window);

// "Text Files (*.txt)|*.txt|All Files" style filters as Qt name filters, one per pair; a
// description gets its patterns appended in parentheses unless it already ends with them.
QStringList KvQtNameFilters(const QString& Filter);

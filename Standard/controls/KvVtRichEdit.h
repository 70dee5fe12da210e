#pragma once

#include <QColor>
#include <QDialog>

#include <memory>

class IDesigner;
class QLabel;
class QTextEdit;
class TKvCustomRichEdit;

namespace Ui {
class TFrRichEdit;
}

// The formatted text of a rich edit, edited in a small word processor. The component's Lines are
// rewritten only when the text was changed here; a text only looked at keeps every control word
// it had, also those this editor does not know.
class TFrRichEdit : public QDialog
{
    Q_OBJECT

public:
    explicit TFrRichEdit(QWidget* Parent = nullptr);
    ~TFrRichEdit() override;

    TKvCustomRichEdit* RichEdit = nullptr;
    IDesigner* Designer = nullptr;

    // Edits RichEdit modally; on OK a changed text goes back into it and the designer hears of
    // it. Raises EReadError (naming the component) when its Lines are no rich text it can read.
    void Execute();

    QTextEdit* Editor() const;
    QString FileName() const { return FFileName; }
    bool UpdateBase() const { return FUpdateBase; }
    Ui::TFrRichEdit* ui() const { return FUi.get(); }

    void done(int Result) override;

protected:
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    void Changed();
    void UpdateControls();
    void PaintColorButton();
    void SetFileName(const QString& Name);
    void SetUpdateBase(bool Value);
    void MarkUnmodified();
    // Puts Text (rich text or plain) into the editor; nothing changes when it cannot be read.
    void LoadText(const QString& Text, bool Plain);
    // False when the user chose to abandon the command.
    bool AskSave();
    void NewFile();
    void LoadFile();
    void SaveFile();
    // False when the dialog was cancelled.
    bool SaveFileAs();
    void WriteFile(const QString& Name);
    void Print();
    void Find(bool Replace);
    void FontNameChosen();
    void FontSizeChosen();
    void StyleClicked();
    void AlignClicked(Qt::Alignment Align);
    void BulletClicked();
    void ColorClicked();

    std::unique_ptr<Ui::TFrRichEdit> FUi;
    QLabel* FLocation;
    QLabel* FModified;
    QLabel* FUpdate;
    QString FFileName;
    QColor FColorFont;
    bool FUpdateBase = false;
    bool FLoading = false;
    bool FRestored = false;
};

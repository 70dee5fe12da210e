#pragma once

#include <QDialog>

#include <memory>

class QTextCharFormat;
class TKvCustomRichEdit;

namespace Ui {
class TFrRichEditE;
}

// The library's rich text editor: fonts, sizes, bold, italic, underline, colour, alignment and
// bullets on the selection; rich text and text files loaded and saved. OK writes the document
// back into the rich edit's lines (as rich text unless the control holds plain text).
class TFrRichEditE : public QDialog
{
    Q_OBJECT

public:
    explicit TFrRichEditE(QWidget* Parent = nullptr);
    ~TFrRichEditE() override;

    // Edits RichEdit's lines (an empty document without one); ReadOnly shows them without
    // letting them change. True when confirmed with OK.
    bool Execute(const QString& Caption, TKvCustomRichEdit* RichEdit, bool ReadOnly);

    Ui::TFrRichEditE* ui() const { return FUi.get(); }

private:
    void LoadText(const QString& Text, bool Plain);
    void Load();
    void Save();
    void Merge(const QTextCharFormat& Format);
    void UpdateControls();

    std::unique_ptr<Ui::TFrRichEditE> FUi;
    bool FUpdating = false;
};

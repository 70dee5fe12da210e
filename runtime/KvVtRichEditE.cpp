#include "KvVtRichEditE.h"

#include "KvDialogs.h"
#include "KvFiles.h"
#include "KvMessages.h"
#include "KvRichText.h"
#include "KvStdCtrls.h"
#include "ui_KvVtRichEditE.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextList>

namespace {

const int Sizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

void ShowError(const QString& Text)
{
    KvMsg(KvMsgError, Text, {KvBtnAccept}, KvBtnAccept);
}

} // namespace

TFrRichEditE::TFrRichEditE(QWidget* Parent) : QDialog(Parent), FUi(std::make_unique<Ui::TFrRichEditE>())
{
    FUi->setupUi(this);
    for (int Size : Sizes)
        FUi->EdSize->addItem(QString::number(Size));
    auto* Alignment = new QButtonGroup(this);
    Alignment->addButton(FUi->SBLeft);
    Alignment->addButton(FUi->SBCenter);
    Alignment->addButton(FUi->SBRight);

    QTextEdit* Edit = FUi->EdRich;
    connect(Edit, &QTextEdit::cursorPositionChanged, this, &TFrRichEditE::UpdateControls);
    connect(Edit, &QTextEdit::currentCharFormatChanged, this, &TFrRichEditE::UpdateControls);
    connect(Edit->document(), &QTextDocument::modificationChanged, this, &TFrRichEditE::UpdateControls);
    connect(FUi->EdFont, &QFontComboBox::currentFontChanged, this, [this](const QFont& Font) {
        QTextCharFormat Format;
        Format.setFontFamilies({Font.family()});
        Merge(Format);
    });
    connect(FUi->EdSize, &QComboBox::textActivated, this, [this](const QString& Text) {
        bool Ok = false;
        const int Size = Text.toInt(&Ok);
        if (!Ok || Size <= 0) {
            ShowError(QStringLiteral("'%1' is not a valid font size").arg(Text));
            UpdateControls();
            return;
        }
        QTextCharFormat Format;
        Format.setFontPointSize(Size);
        Merge(Format);
    });
    connect(FUi->SBBold, &QToolButton::clicked, this, [this](bool On) {
        QTextCharFormat Format;
        Format.setFontWeight(On ? QFont::Bold : QFont::Normal);
        Merge(Format);
    });
    connect(FUi->SBItalic, &QToolButton::clicked, this, [this](bool On) {
        QTextCharFormat Format;
        Format.setFontItalic(On);
        Merge(Format);
    });
    connect(FUi->SBUnderline, &QToolButton::clicked, this, [this](bool On) {
        QTextCharFormat Format;
        Format.setFontUnderline(On);
        Merge(Format);
    });
    const std::pair<QToolButton*, Qt::Alignment> Aligns[] = {
        {FUi->SBLeft, Qt::AlignLeft}, {FUi->SBCenter, Qt::AlignHCenter}, {FUi->SBRight, Qt::AlignRight}};
    for (const auto& [Button, Align] : Aligns)
        connect(Button, &QToolButton::clicked, this, [this, Align = Align] {
            FUi->EdRich->setAlignment(Align);
            FUi->EdRich->setFocus();
        });
    connect(FUi->SBBullet, &QToolButton::clicked, this, [this](bool On) {
        QTextCursor Cursor = FUi->EdRich->textCursor();
        if (On) {
            Cursor.createList(QTextListFormat::ListDisc);
        } else if (QTextList* List = Cursor.currentList()) {
            List->remove(Cursor.block());
            QTextBlockFormat Block = Cursor.blockFormat();
            Block.setIndent(0);
            Cursor.setBlockFormat(Block);
        }
        FUi->EdRich->setFocus();
    });
    connect(FUi->SBColor, &QToolButton::clicked, this, [this] {
        QColor Color = FUi->EdRich->textColor();
        if (!KvColorDialog(Color, this))
            return;
        QTextCharFormat Format;
        Format.setForeground(Color);
        Merge(Format);
    });
    connect(FUi->BtLoad, &QPushButton::clicked, this, &TFrRichEditE::Load);
    connect(FUi->BtSave, &QPushButton::clicked, this, &TFrRichEditE::Save);
}

TFrRichEditE::~TFrRichEditE() = default;

void TFrRichEditE::Merge(const QTextCharFormat& Format)
{
    if (FUpdating)
        return;
    FUi->EdRich->mergeCurrentCharFormat(Format);
    FUi->EdRich->setFocus();
}

void TFrRichEditE::UpdateControls()
{
    FUpdating = true;
    const auto Done = qScopeGuard([this] { FUpdating = false; });
    const QTextEdit* Edit = FUi->EdRich;
    const QTextCursor Cursor = Edit->textCursor();
    FUi->LaPosition->setText(
        QStringLiteral("Line %1, Column %2").arg(Cursor.blockNumber() + 1).arg(Cursor.positionInBlock() + 1));
    FUi->LaModified->setText(Edit->document()->isModified() ? QStringLiteral("Modified") : QString());
    const QTextCharFormat Format = Edit->currentCharFormat();
    const QFont Font = Format.font();
    FUi->EdFont->setCurrentFont(Font);
    FUi->EdSize->setEditText(QString::number(qRound(Font.pointSizeF() > 0 ? Font.pointSizeF() : Edit->font().pointSizeF())));
    FUi->SBBold->setChecked(Font.bold());
    FUi->SBItalic->setChecked(Font.italic());
    FUi->SBUnderline->setChecked(Font.underline());
    const Qt::Alignment Align = Edit->alignment();
    FUi->SBCenter->setChecked(Align & Qt::AlignHCenter);
    FUi->SBRight->setChecked(Align & Qt::AlignRight);
    FUi->SBLeft->setChecked(!(Align & (Qt::AlignHCenter | Qt::AlignRight)));
    FUi->SBBullet->setChecked(Cursor.currentList() != nullptr);
}

void TFrRichEditE::LoadText(const QString& Text, bool Plain)
{
    if (Plain || !KvIsRichText(Text)) {
        FUi->EdRich->setPlainText(Text);
        return;
    }
    // The editor owns the new document and drops the one it had before.
    QTextDocument* Doc = KvReadRichText(Text, FUi->EdRich);
    Doc->setDefaultFont(FUi->EdRich->font());
    FUi->EdRich->setDocument(Doc);
    connect(Doc, &QTextDocument::modificationChanged, this, &TFrRichEditE::UpdateControls);
}

void TFrRichEditE::Load()
{
    TKvFileDialogRequest Request;
    Request.Title = QStringLiteral("Load");
    Request.Filter = QStringLiteral("Rich Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    Request.DefaultExt = QStringLiteral("rtf");
    Request.FileMustExist = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    try {
        bool Rich = false;
        const QString Text = KvDecodeTextFile(KvReadFile(Request.FileName), Rich);
        LoadText(Text, !Rich);
        FUi->EdRich->document()->setModified(true);
    } catch (const Exception& E) {
        ShowError(QStringLiteral("%1: %2").arg(Request.FileName, E.Message));
    }
    UpdateControls();
}

void TFrRichEditE::Save()
{
    TKvFileDialogRequest Request;
    Request.Save = true;
    Request.Title = QStringLiteral("Save");
    Request.Filter = QStringLiteral("Rich Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    Request.DefaultExt = QStringLiteral("rtf");
    Request.OverwritePrompt = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    const QTextDocument& Doc = *FUi->EdRich->document();
    try {
        // A text file gets the plain text; anything else the rich text.
        if (QFileInfo(Request.FileName).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0)
            KvWriteFile(Request.FileName, Doc.toPlainText().split(u'\n').join(QStringLiteral("\r\n")).toUtf8());
        else
            KvWriteFile(Request.FileName, KvWriteRichText(Doc).toLatin1());
    } catch (const Exception& E) {
        ShowError(E.Message);
    }
}

bool TFrRichEditE::Execute(const QString& Caption, TKvCustomRichEdit* RichEdit, bool ReadOnly)
{
    setWindowTitle(Caption);
    if (RichEdit && RichEdit->Lines()->Count() > 0) {
        try {
            LoadText(RichEdit->Lines()->Text(), RichEdit->PlainText());
        } catch (const EReadError& E) {
            throw EReadError(QStringLiteral("%1.Lines: %2").arg(RichEdit->GetName(), E.Reason), E.Offset);
        }
    }
    FUi->EdRich->setReadOnly(ReadOnly);
    const QList<QWidget*> Tools{FUi->BtLoad, FUi->EdFont,   FUi->EdSize,   FUi->SBBold,
                                FUi->SBItalic, FUi->SBUnderline, FUi->SBLeft, FUi->SBCenter,
                                FUi->SBRight, FUi->SBBullet, FUi->SBColor};
    for (QWidget* Tool : Tools)
        Tool->setEnabled(!ReadOnly);
    FUi->EdRich->document()->setModified(false);
    UpdateControls();
    FUi->EdRich->setFocus();
    if (KvShowModal(*this) != QDialog::Accepted)
        return false;
    if (RichEdit && !ReadOnly && FUi->EdRich->document()->isModified()) {
        const QTextDocument& Doc = *FUi->EdRich->document();
        if (Doc.isEmpty())
            RichEdit->Lines()->Clear();
        else
            RichEdit->Lines()->SetText(RichEdit->PlainText() ? Doc.toPlainText() : KvWriteRichText(Doc));
    }
    return true;
}

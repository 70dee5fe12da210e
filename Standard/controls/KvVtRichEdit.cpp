#include "KvVtRichEdit.h"

#include "DesignIntf.h"
#include "KvDialogs.h"
#include "KvFiles.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvRichText.h"
#include "KvStdCtrls.h"
#include "ui_KvVtRichEdit.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QInputDialog>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QScopeGuard>
#include <QStyle>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>

namespace {

const QString Untitled = QStringLiteral("Untitled");
const int FontSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// Tool bar glyphs, drawn rather than taken from an icon theme the system may not have.
template <class F>
QIcon Glyph(F Paint)
{
    QPixmap Pixmap(16, 16);
    Pixmap.fill(Qt::transparent);
    QPainter P(&Pixmap);
    P.setRenderHint(QPainter::Antialiasing);
    P.setPen(QPen(QColor(40, 40, 40), 1.2));
    Paint(P);
    return QIcon(Pixmap);
}

QIcon LetterGlyph(const QString& Letter, bool Bold, bool Italic, bool Underline)
{
    return Glyph([&](QPainter& P) {
        QFont F(QStringLiteral("Serif"));
        F.setPixelSize(14);
        F.setBold(Bold);
        F.setItalic(Italic);
        F.setUnderline(Underline);
        P.setFont(F);
        P.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, Letter);
    });
}

QIcon LinesGlyph(Qt::Alignment Align, bool Bullets)
{
    return Glyph([&](QPainter& P) {
        const int Lengths[] = {12, 8, 12, 8};
        for (int I = 0; I < 4; ++I) {
            const int Y = 3 + I * 3;
            int Len = Bullets ? 9 : Lengths[I];
            int X = Align & Qt::AlignHCenter ? (16 - Len) / 2 : Align & Qt::AlignRight ? 14 - Len : 2;
            if (Bullets) {
                X = 6;
                if (I % 2 == 0)
                    P.drawEllipse(QPointF(3, Y), 1, 1);
            }
            P.drawLine(X, Y, X + Len, Y);
        }
    });
}

QIcon PageGlyph(bool Lines)
{
    return Glyph([&](QPainter& P) {
        P.setBrush(Qt::white);
        P.drawPolygon(QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 15), QPoint(3, 15)}));
        if (Lines)
            for (int Y = 6; Y <= 12; Y += 3)
                P.drawLine(5, Y, 11, Y);
    });
}

} // namespace

TFrRichEdit::TFrRichEdit(QWidget* Parent) : QDialog(Parent), FUi(std::make_unique<Ui::TFrRichEdit>())
{
    FUi->setupUi(this);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    FFileName = Untitled;

    QStringList Families = QFontDatabase::families();
    Families.sort(Qt::CaseInsensitive);
    for (const QString& Family : std::as_const(Families)) {
        FUi->EdFontName->addItem(Family);
        FUi->EdFontName->setItemData(FUi->EdFontName->count() - 1, QFont(Family), Qt::FontRole);
    }
    for (int Size : FontSizes)
        FUi->EdFontSize->addItem(QString::number(Size));

    FLocation = new QLabel(this);
    FModified = new QLabel(this);
    FUpdate = new QLabel(this);
    FLocation->setObjectName(QStringLiteral("LaLocation"));
    FModified->setObjectName(QStringLiteral("LaModified"));
    FUpdate->setObjectName(QStringLiteral("LaUpdate"));
    FLocation->setMinimumWidth(140);
    FModified->setMinimumWidth(80);
    FUi->SbStatus->addWidget(FLocation);
    FUi->SbStatus->addWidget(FModified);
    FUi->SbStatus->addWidget(FUpdate, 1);

    const auto Std = [this](QStyle::StandardPixmap Pixmap) { return style()->standardIcon(Pixmap); };
    FUi->BtNew->setIcon(PageGlyph(false));
    FUi->BtLoad->setIcon(Std(QStyle::SP_DialogOpenButton));
    FUi->BtSave->setIcon(Std(QStyle::SP_DialogSaveButton));
    FUi->BtSaveAs->setIcon(Std(QStyle::SP_DriveFDIcon));
    FUi->BtPrint->setIcon(Glyph([](QPainter& P) {
        P.setBrush(Qt::white);
        P.drawRect(4, 1, 8, 5);
        P.setBrush(QColor(170, 170, 170));
        P.drawRoundedRect(1, 6, 14, 6, 1, 1);
        P.setBrush(Qt::white);
        P.drawRect(4, 10, 8, 5);
    }));
    FUi->BtFind->setIcon(Glyph([](QPainter& P) {
        P.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        P.setPen(QPen(QColor(40, 40, 40), 2.2));
        P.drawLine(10, 10, 14, 14);
    }));
    FUi->BtReplace->setIcon(Glyph([](QPainter& P) {
        QFont F = P.font();
        F.setPixelSize(8);
        P.setFont(F);
        P.drawText(QRect(0, 0, 10, 8), Qt::AlignCenter, QStringLiteral("ab"));
        P.drawText(QRect(6, 8, 10, 8), Qt::AlignCenter, QStringLiteral("cd"));
        P.drawLine(3, 9, 3, 13);
        P.drawLine(3, 13, 6, 13);
    }));
    FUi->BtCut->setIcon(Glyph([](QPainter& P) {
        P.drawEllipse(QPointF(4, 12), 2.5, 2.5);
        P.drawEllipse(QPointF(12, 12), 2.5, 2.5);
        P.drawLine(5, 10, 11, 1);
        P.drawLine(11, 10, 5, 1);
    }));
    FUi->BtCopy->setIcon(Glyph([](QPainter& P) {
        P.setBrush(Qt::white);
        P.drawRect(2, 1, 8, 10);
        P.drawRect(6, 5, 8, 10);
    }));
    FUi->BtPaste->setIcon(Glyph([](QPainter& P) {
        P.setBrush(QColor(205, 170, 110));
        P.drawRect(2, 2, 10, 13);
        P.setBrush(Qt::white);
        P.drawRect(7, 6, 7, 9);
        P.drawRect(5, 1, 4, 3);
    }));
    FUi->BtUndo->setIcon(Glyph([](QPainter& P) {
        QPainterPath Arc;
        Arc.moveTo(4, 6);
        Arc.cubicTo(8, 2, 15, 4, 13, 11);
        P.drawPath(Arc);
        P.drawPolyline(QPolygon({QPoint(3, 2), QPoint(3, 7), QPoint(8, 7)}));
    }));
    FUi->BtInsertObject->setIcon(Glyph([](QPainter& P) {
        P.setBrush(Qt::white);
        P.drawRect(1, 3, 11, 10);
        P.drawLine(12, 1, 12, 7);
        P.drawLine(9, 4, 15, 4);
    }));
    FUi->SbBold->setIcon(LetterGlyph(QStringLiteral("B"), true, false, false));
    FUi->SbItalic->setIcon(LetterGlyph(QStringLiteral("I"), false, true, false));
    FUi->SbUnderline->setIcon(LetterGlyph(QStringLiteral("U"), false, false, true));
    FUi->SbLeft->setIcon(LinesGlyph(Qt::AlignLeft, false));
    FUi->SbCenter->setIcon(LinesGlyph(Qt::AlignHCenter, false));
    FUi->SbRight->setIcon(LinesGlyph(Qt::AlignRight, false));
    FUi->SbBullet->setIcon(LinesGlyph(Qt::AlignLeft, true));
    PaintColorButton();
    // Objects cannot be embedded in the text this editor stores.
    FUi->BtInsertObject->setEnabled(false);
    FUi->BtInsertObject->setToolTip(QStringLiteral("Insert object (objects are not kept in the text)"));

    QTextEdit* E = Editor();
    connect(E, &QTextEdit::textChanged, this, &TFrRichEdit::Changed);
    connect(E, &QTextEdit::cursorPositionChanged, this, &TFrRichEdit::UpdateControls);
    connect(E, &QTextEdit::currentCharFormatChanged, this, &TFrRichEdit::UpdateControls);
    connect(E, &QTextEdit::undoAvailable, FUi->BtUndo, &QWidget::setEnabled);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FUi->BtNew, &QToolButton::clicked, this, &TFrRichEdit::NewFile);
    connect(FUi->BtLoad, &QToolButton::clicked, this, &TFrRichEdit::LoadFile);
    connect(FUi->BtSave, &QToolButton::clicked, this, &TFrRichEdit::SaveFile);
    connect(FUi->BtSaveAs, &QToolButton::clicked, this, &TFrRichEdit::SaveFileAs);
    connect(FUi->BtPrint, &QToolButton::clicked, this, &TFrRichEdit::Print);
    connect(FUi->BtFind, &QToolButton::clicked, this, [this] { Find(false); });
    connect(FUi->BtReplace, &QToolButton::clicked, this, [this] { Find(true); });
    connect(FUi->BtCut, &QToolButton::clicked, E, &QTextEdit::cut);
    connect(FUi->BtCopy, &QToolButton::clicked, E, &QTextEdit::copy);
    connect(FUi->BtPaste, &QToolButton::clicked, E, &QTextEdit::paste);
    connect(FUi->BtUndo, &QToolButton::clicked, E, &QTextEdit::undo);
    connect(FUi->EdFontName, &QComboBox::activated, this, &TFrRichEdit::FontNameChosen);
    connect(FUi->EdFontSize, &QComboBox::activated, this, &TFrRichEdit::FontSizeChosen);
    // A name or size typed that is not in the list comes with Enter.
    connect(FUi->EdFontName->lineEdit(), &QLineEdit::returnPressed, this, &TFrRichEdit::FontNameChosen);
    connect(FUi->EdFontSize->lineEdit(), &QLineEdit::returnPressed, this, &TFrRichEdit::FontSizeChosen);
    connect(FUi->SbBold, &QToolButton::clicked, this, &TFrRichEdit::StyleClicked);
    connect(FUi->SbItalic, &QToolButton::clicked, this, &TFrRichEdit::StyleClicked);
    connect(FUi->SbUnderline, &QToolButton::clicked, this, &TFrRichEdit::StyleClicked);
    connect(FUi->SbLeft, &QToolButton::clicked, this, [this] { AlignClicked(Qt::AlignLeft); });
    connect(FUi->SbCenter, &QToolButton::clicked, this, [this] { AlignClicked(Qt::AlignHCenter); });
    connect(FUi->SbRight, &QToolButton::clicked, this, [this] { AlignClicked(Qt::AlignRight); });
    connect(FUi->SbBullet, &QToolButton::clicked, this, &TFrRichEdit::BulletClicked);
    connect(FUi->SbColor, &QToolButton::clicked, this, &TFrRichEdit::ColorClicked);
    UpdateControls();
}

TFrRichEdit::~TFrRichEdit() = default;

QTextEdit* TFrRichEdit::Editor() const
{
    return FUi->EdRichEdit;
}

void TFrRichEdit::Execute()
{
    if (RichEdit) {
        const QString Text = RichEdit->Lines()->Text();
        try {
            LoadText(Text, RichEdit->PlainText());
        } catch (const EReadError& E) {
            throw EReadError(QStringLiteral("%1.Lines: %2").arg(RichEdit->GetName(), E.Reason), E.Offset);
        }
    }
    MarkUnmodified();
    SetUpdateBase(false);
    UpdateControls();
    if (exec() != QDialog::Accepted || !RichEdit || !FUpdateBase)
        return;
    QTextDocument* Doc = Editor()->document();
    if (Doc->isEmpty())
        RichEdit->Lines()->Clear();
    else
        RichEdit->Lines()->SetText(RichEdit->PlainText() ? Doc->toPlainText() : KvWriteRichText(*Doc));
    if (Designer)
        Designer->Modified();
}

void TFrRichEdit::LoadText(const QString& Text, bool Plain)
{
    FLoading = true;
    const auto Done = qScopeGuard([this] { FLoading = false; });
    if (Plain || !KvIsRichText(Text)) {
        Editor()->setPlainText(Text);
        return;
    }
    // The editor owns the new document and drops the one it had read before.
    QTextDocument* Doc = KvReadRichText(Text, Editor());
    Doc->setDefaultFont(Editor()->font());
    Editor()->setDocument(Doc);
}

void TFrRichEdit::MarkUnmodified()
{
    Editor()->document()->setModified(false);
    FModified->clear();
    FUi->BtUndo->setEnabled(Editor()->document()->isUndoAvailable());
}

void TFrRichEdit::SetUpdateBase(bool Value)
{
    FUpdateBase = Value;
    FUpdate->setText(Value ? QStringLiteral("Update Component") : QString());
}

void TFrRichEdit::SetFileName(const QString& Name)
{
    FFileName = Name;
    setWindowTitle(QStringLiteral("RichEdit - ") + QFileInfo(Name).fileName());
}

void TFrRichEdit::Changed()
{
    if (FLoading)
        return;
    FModified->setText(Editor()->document()->isModified() ? QStringLiteral("Modified") : QString());
    SetUpdateBase(true);
    FUi->BtUndo->setEnabled(Editor()->document()->isUndoAvailable());
}

void TFrRichEdit::UpdateControls()
{
    const QTextCursor C = Editor()->textCursor();
    FLocation->setText(QStringLiteral("Line: %1   Col: %2").arg(C.blockNumber() + 1).arg(C.positionInBlock() + 1));
    // At the start of a paragraph the text that follows shows its format, as in a word processor.
    QTextCursor Probe = C;
    if (!C.hasSelection() && C.atBlockStart() && !C.atBlockEnd())
        Probe.movePosition(QTextCursor::NextCharacter);
    const QTextCharFormat F = Probe.charFormat();
    const QColor Color = F.hasProperty(QTextFormat::ForegroundBrush) ? F.foreground().color() : QColor(Qt::black);
    if (Color != FColorFont) {
        FColorFont = Color;
        PaintColorButton();
    }
    const QString Family = F.fontFamilies().toStringList().value(0, Editor()->document()->defaultFont().family());
    const int At = FUi->EdFontName->findText(Family, Qt::MatchFixedString);
    if (At >= 0)
        FUi->EdFontName->setCurrentIndex(At);
    else
        FUi->EdFontName->setEditText(Family);
    const qreal Size = F.fontPointSize() > 0 ? F.fontPointSize() : Editor()->document()->defaultFont().pointSizeF();
    FUi->EdFontSize->setEditText(QString::number(qRound(Size)));
    FUi->SbBold->setChecked(F.fontWeight() >= QFont::DemiBold);
    FUi->SbItalic->setChecked(F.fontItalic());
    FUi->SbUnderline->setChecked(F.fontUnderline());
    const Qt::Alignment Align = C.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    FUi->SbCenter->setChecked(Align.testFlag(Qt::AlignHCenter));
    FUi->SbRight->setChecked(Align.testFlag(Qt::AlignRight));
    FUi->SbLeft->setChecked(!FUi->SbCenter->isChecked() && !FUi->SbRight->isChecked());
    FUi->SbBullet->setChecked(C.currentList() != nullptr);
}

void TFrRichEdit::PaintColorButton()
{
    FUi->SbColor->setIcon(Glyph([this](QPainter& P) {
        QFont F(QStringLiteral("Serif"));
        F.setPixelSize(12);
        F.setBold(true);
        P.setFont(F);
        P.drawText(QRect(0, -2, 16, 14), Qt::AlignCenter, QStringLiteral("A"));
        P.fillRect(QRect(1, 12, 14, 4), FColorFont);
    }));
}

void TFrRichEdit::FontNameChosen()
{
    QTextCharFormat F;
    F.setFontFamilies(QStringList(FUi->EdFontName->currentText()));
    Editor()->mergeCurrentCharFormat(F);
    Editor()->setFocus();
}

void TFrRichEdit::FontSizeChosen()
{
    bool Ok = false;
    const QString Text = FUi->EdFontSize->currentText().trimmed();
    const int Size = Text.toInt(&Ok);
    if (!Ok || Size <= 0 || Size > 1638) {
        KvMsg(KvMsgError, QStringLiteral("'%1' is not a valid font size").arg(Text), {KvBtnAccept}, KvBtnAccept);
        UpdateControls();
        return;
    }
    QTextCharFormat F;
    F.setFontPointSize(Size);
    Editor()->mergeCurrentCharFormat(F);
    Editor()->setFocus();
}

void TFrRichEdit::StyleClicked()
{
    QTextCharFormat F;
    F.setFontWeight(FUi->SbBold->isChecked() ? QFont::Bold : QFont::Normal);
    F.setFontItalic(FUi->SbItalic->isChecked());
    F.setFontUnderline(FUi->SbUnderline->isChecked());
    Editor()->mergeCurrentCharFormat(F);
}

void TFrRichEdit::AlignClicked(Qt::Alignment Align)
{
    Editor()->setAlignment(Align);
    UpdateControls();
}

void TFrRichEdit::BulletClicked()
{
    QTextCursor C = Editor()->textCursor();
    C.beginEditBlock();
    if (FUi->SbBullet->isChecked()) {
        C.createList(QTextListFormat::ListDisc);
    } else {
        // Every paragraph of the selection leaves its list.
        const int End = C.selectionEnd();
        for (QTextBlock B = Editor()->document()->findBlock(C.selectionStart()); B.isValid() && B.position() <= End;
             B = B.next())
            if (QTextList* List = B.textList()) {
                List->remove(B);
                QTextCursor At(B);
                QTextBlockFormat F = B.blockFormat();
                F.setIndent(0);
                At.setBlockFormat(F);
            }
    }
    C.endEditBlock();
    UpdateControls();
}

void TFrRichEdit::ColorClicked()
{
    QColor Color = FColorFont;
    if (!KvColorDialog(Color, this))
        return;
    QTextCharFormat F;
    F.setForeground(Color);
    Editor()->mergeCurrentCharFormat(F);
    UpdateControls();
}

bool TFrRichEdit::AskSave()
{
    if (!Editor()->document()->isModified())
        return true;
    const int Answer = KvMsgArgs(KvMsgQuestion, QStringLiteral("Save changes to %s?"), {FFileName},
                                 {KvBtnYes, KvBtnNo, KvBtnCancel}, KvBtnYes);
    if (Answer == KvBtnCancel)
        return false;
    if (Answer == KvBtnYes) {
        if (FFileName == Untitled)
            return SaveFileAs();
        SaveFile();
    }
    return true;
}

void TFrRichEdit::NewFile()
{
    if (!AskSave())
        return;
    SetFileName(Untitled);
    Editor()->clear();
    MarkUnmodified();
    SetUpdateBase(true);
}

void TFrRichEdit::LoadFile()
{
    if (!AskSave())
        return;
    TKvFileDialogRequest Request;
    Request.Filter = QStringLiteral("Rich Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    Request.DefaultExt = QStringLiteral("txt");
    Request.FileMustExist = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    try {
        bool Rich = false;
        const QString Text = KvDecodeTextFile(KvReadFile(Request.FileName), Rich);
        LoadText(Text, !Rich);
    } catch (const EReadError& E) {
        KvMsg(KvMsgError, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(Request.FileName), E.Message),
              {KvBtnAccept}, KvBtnAccept);
        return;
    } catch (const Exception& E) {
        KvMsg(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
        return;
    }
    SetFileName(Request.FileName);
    Editor()->setFocus();
    MarkUnmodified();
    SetUpdateBase(true);
    UpdateControls();
}

void TFrRichEdit::SaveFile()
{
    if (FFileName == Untitled) {
        SaveFileAs();
        return;
    }
    WriteFile(FFileName);
}

bool TFrRichEdit::SaveFileAs()
{
    TKvFileDialogRequest Request;
    Request.Save = true;
    Request.Filter = QStringLiteral("Rich Files (*.rtf)|*.rtf|All Files (*.*)|*.*");
    Request.DefaultExt = QStringLiteral("txt");
    Request.OverwritePrompt = true;
    Request.FileName = FFileName == Untitled ? QString() : FFileName;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return false;
    WriteFile(Request.FileName);
    SetFileName(Request.FileName);
    return true;
}

void TFrRichEdit::WriteFile(const QString& Name)
{
    // Rich text whatever the extension, as the rich edit control saves its lines.
    try {
        KvWriteFile(Name, KvWriteRichText(*Editor()->document()).toLatin1());
    } catch (const Exception& E) {
        KvMsg(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
        return;
    }
    MarkUnmodified();
}

void TFrRichEdit::Print()
{
    QPrinter Printer;
    Printer.setDocName(QStringLiteral("RichEdit"));
    if (!KvPrinterSetupDialog(Printer, this))
        return;
    Editor()->document()->print(&Printer);
    UpdateControls();
}

void TFrRichEdit::Find(bool Replace)
{
    bool Ok = false;
    const QString What = QInputDialog::getText(this, Replace ? QStringLiteral("Replace") : QStringLiteral("Find"),
                                               QStringLiteral("&Text to Find:"), QLineEdit::Normal,
                                               Editor()->textCursor().selectedText(), &Ok);
    if (!Ok || What.isEmpty())
        return;
    if (Replace) {
        const QString With = QInputDialog::getText(this, QStringLiteral("Replace"), QStringLiteral("&Replace with:"),
                                                   QLineEdit::Normal, QString(), &Ok);
        if (!Ok)
            return;
        QTextCursor Edit(Editor()->document());
        Edit.beginEditBlock();
        int Count = 0;
        for (QTextCursor At = Editor()->document()->find(What); !At.isNull();
             At = Editor()->document()->find(What, At)) {
            At.insertText(With);
            ++Count;
        }
        Edit.endEditBlock();
        if (Count > 0)
            return;
    } else if (Editor()->find(What)) {
        return;
    } else {
        // From the top once more before giving up.
        const QTextCursor Was = Editor()->textCursor();
        Editor()->moveCursor(QTextCursor::Start);
        if (Editor()->find(What))
            return;
        Editor()->setTextCursor(Was);
    }
    KvMsgArgs(KvMsgNotice, QStringLiteral("Search string '%s' not found"), {What}, {KvBtnAccept}, KvBtnAccept);
}

void TFrRichEdit::done(int Result)
{
    if (Result != QDialog::Accepted && FUpdateBase
        && KvMsg(KvMsgQuestion, QStringLiteral("Do you wish to cancel the changes?"), {KvBtnYes, KvBtnNo}, KvBtnNo)
               == KvBtnNo)
        return;
    QDialog::done(Result);
}

void TFrRichEdit::showEvent(QShowEvent* Event)
{
    if (!FRestored) {
        FRestored = true;
        KvRestoreResizeInfoDesigner(this);
    }
    QDialog::showEvent(Event);
    Editor()->setFocus();
}

void TFrRichEdit::hideEvent(QHideEvent* Event)
{
    KvSaveResizeInfoDesigner(this);
    QDialog::hideEvent(Event);
}

#include "KvVtMemoE.h"

#include "KvDialogs.h"
#include "KvFiles.h"
#include "KvMessages.h"
#include "KvStdCtrls.h"
#include "ui_KvVtMemoE.h"

namespace {

const QString TextFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");

} // namespace

TFrMemoE::TFrMemoE(QWidget* Parent) : QDialog(Parent), FUi(std::make_unique<Ui::TFrMemoE>())
{
    FUi->setupUi(this);
    connect(FUi->BtLoad, &QPushButton::clicked, this, &TFrMemoE::Load);
    connect(FUi->BtSave, &QPushButton::clicked, this, &TFrMemoE::Save);
    connect(FUi->EdMemo, &QPlainTextEdit::cursorPositionChanged, this, &TFrMemoE::ShowState);
    connect(FUi->EdMemo, &QPlainTextEdit::modificationChanged, this, &TFrMemoE::ShowState);
}

TFrMemoE::~TFrMemoE() = default;

void TFrMemoE::ShowState()
{
    const QTextCursor Cursor = FUi->EdMemo->textCursor();
    FUi->LaPosition->setText(
        QStringLiteral("Line %1, Column %2").arg(Cursor.blockNumber() + 1).arg(Cursor.positionInBlock() + 1));
    FUi->LaModified->setText(FUi->EdMemo->document()->isModified() ? QStringLiteral("Modified") : QString());
}

void TFrMemoE::Load()
{
    TKvFileDialogRequest Request;
    Request.Title = QStringLiteral("Load");
    Request.Filter = TextFilter;
    Request.DefaultExt = QStringLiteral("txt");
    Request.FileMustExist = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    try {
        FUi->EdMemo->setPlainText(QString::fromUtf8(KvReadFile(Request.FileName)));
        FUi->EdMemo->document()->setModified(true);
    } catch (const Exception& E) {
        KvMsg(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
    }
}

void TFrMemoE::Save()
{
    TKvFileDialogRequest Request;
    Request.Save = true;
    Request.Title = QStringLiteral("Save");
    Request.Filter = TextFilter;
    Request.DefaultExt = QStringLiteral("txt");
    Request.OverwritePrompt = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    try {
        KvWriteFile(Request.FileName, FUi->EdMemo->toPlainText().split(u'\n').join(QStringLiteral("\r\n")).toUtf8());
    } catch (const Exception& E) {
        KvMsg(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
    }
}

bool TFrMemoE::Execute(const QString& Caption, TKvCustomMemo* Memo)
{
    setWindowTitle(Caption);
    FUi->EdMemo->setPlainText(Memo ? Memo->Lines()->Text() : QString());
    FUi->EdMemo->setReadOnly(Memo && Memo->ReadOnly());
    FUi->EdMemo->document()->setModified(false);
    ShowState();
    FUi->EdMemo->setFocus();
    if (KvShowModal(*this) != QDialog::Accepted)
        return false;
    if (Memo && FUi->EdMemo->document()->isModified())
        Memo->Lines()->SetText(FUi->EdMemo->toPlainText());
    return true;
}

#pragma once

#include "manager/KvManagerScan.h"

#include <QDialog>
#include <QElapsedTimer>

#include <memory>

namespace Ui {
class TFrManagerProgress;
}

// The progress window of the package manager's long commands: a caption, a bar and Cancel.
// At most one exists; FrManagerProgress holds it while it is shown.
class TFrManagerProgress : public QDialog
{
    Q_OBJECT

public:
    explicit TFrManagerProgress(QWidget* Owner);
    ~TFrManagerProgress() override;

    bool Cancel = false;
    QString ProgressCaption;

    Ui::TFrManagerProgress* ui() const { return FUi.get(); }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void reject() override;

private:
    std::unique_ptr<Ui::TFrManagerProgress> FUi;
};

extern TFrManagerProgress* FrManagerProgress;

// The progress operations: each does nothing while no progress window is shown.
// Show opens the window (disabling Owner), hide closes it (enabling Owner again).
void SetWindowProgress(QWidget* Owner, bool Show, const QString& Caption = QString());
void ProgressLabel(const QString& Text);
void IncProgressBar(qint64 Steps = 1);
bool CheckCancel();

// The engine's feedback through the progress window and the library's messages: the bar moves
// by the engine's steps, and the window is repainted and Cancel looked at every 50 ms at most.
class TKvManagerProgressFeedback : public TKvManagerFeedback
{
public:
    void Caption(const QString& Text) override;
    void Start(qint64 Maximum) override;
    bool Advance(qint64 Steps) override;
    void Error(int MsgType, const QString& Text, const QStringList& Args) override;

private:
    qint64 FMaximum = 0;
    qint64 FPosition = 0;
    QElapsedTimer FShown;
};
